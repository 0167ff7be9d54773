#include "platform/win/WmiPowerRequest.h"

#include <string>

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include "platform/win/WideText.h"

namespace pontrel {

namespace {

// The moniker ends in the WMI namespace root/cimv2.
constexpr wchar_t moniker[] =
    L"WinMgmts:{impersonationLevel=impersonate, (Shutdown)}!/"
    L"root/cimv2";
constexpr wchar_t query[] = L"SELECT * FROM Win32_OperatingSystem";

// Releases a COM interface when it goes out of scope.
template <typename Interface>
struct ComPointer {
    Interface* p = nullptr;
    ComPointer() = default;
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;
    ~ComPointer() {
        if (p != nullptr) {
            p->Release();
        }
    }
};

// The COM apartment of the calling thread for the time of one request.
struct ComScope {
    HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ComScope() = default;
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(result)) {
            CoUninitialize();
        }
    }
};

Status failed(const char* step, HRESULT result) {
    return Status::failure(std::string(step) + " failed (HRESULT " +
                           std::to_string(static_cast<unsigned long>(result)) + ")");
}

// Calls a method (with one string argument, or none) or reads a property of an automation object.
HRESULT invoke(IDispatch* object, const wchar_t* name, WORD kind, const wchar_t* argument,
               VARIANT* result) {
    DISPID id = 0;
    auto* member = const_cast<LPOLESTR>(name);
    HRESULT hr = object->GetIDsOfNames(IID_NULL, &member, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) {
        return hr;
    }
    VARIANT value;
    VariantInit(&value);
    DISPPARAMS parameters{};
    if (argument != nullptr) {
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocString(argument);
        parameters.rgvarg = &value;
        parameters.cArgs = 1;
    }
    hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters, result, nullptr,
                        nullptr);
    VariantClear(&value);
    return hr;
}

}  // namespace

Status requestWmiPower(const wchar_t* method) {
    const ComScope com;
    if (FAILED(com.result) && com.result != RPC_E_CHANGED_MODE) {
        return failed("CoInitializeEx", com.result);
    }
    ComPointer<IDispatch> service;
    HRESULT hr = CoGetObject(moniker, nullptr, IID_IDispatch, reinterpret_cast<void**>(&service.p));
    if (FAILED(hr)) {
        return failed("CoGetObject", hr);
    }
    VARIANT objects;
    VariantInit(&objects);
    hr = invoke(service.p, L"ExecQuery", DISPATCH_METHOD, query, &objects);
    if (FAILED(hr) || objects.vt != VT_DISPATCH || objects.pdispVal == nullptr) {
        VariantClear(&objects);
        return failed("ExecQuery", hr);
    }
    // The collection is walked with its _NewEnum enumerator.
    VARIANT enumerator;
    VariantInit(&enumerator);
    hr = invoke(objects.pdispVal, L"_NewEnum", DISPATCH_METHOD | DISPATCH_PROPERTYGET, nullptr,
                &enumerator);
    ComPointer<IEnumVARIANT> items;
    if (SUCCEEDED(hr) && enumerator.vt == VT_UNKNOWN && enumerator.punkVal != nullptr) {
        hr = enumerator.punkVal->QueryInterface(IID_IEnumVARIANT,
                                                reinterpret_cast<void**>(&items.p));
    } else if (SUCCEEDED(hr)) {
        hr = E_NOINTERFACE;
    }
    VariantClear(&enumerator);
    VariantClear(&objects);
    if (FAILED(hr)) {
        return failed("_NewEnum", hr);
    }
    Status status = Status::success();
    VARIANT item;
    VariantInit(&item);
    while (items.p->Next(1, &item, nullptr) == S_OK) {
        if (item.vt == VT_DISPATCH && item.pdispVal != nullptr) {
            VARIANT answer;
            VariantInit(&answer);
            hr = invoke(item.pdispVal, method, DISPATCH_METHOD, nullptr, &answer);
            VariantClear(&answer);
            if (FAILED(hr)) {
                status = failed(narrow(method).c_str(), hr);
            }
        }
        VariantClear(&item);
    }
    return status;
}

}  // namespace pontrel
