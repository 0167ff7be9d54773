#include "platform/win/WinEnvironment.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>

#include "platform/win/WideText.h"

namespace pontrel {

WinEnvironment::WinEnvironment(std::function<void()> beforeExit)
    : beforeExit_(std::move(beforeExit)) {}

std::wstring argumentsOf(const std::wstring& commandLine) {
    std::size_t at = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const std::size_t closing = commandLine.find(L'"', 1);
        at = closing == std::wstring::npos ? commandLine.size() : closing + 1;
    } else {
        at = std::min(commandLine.find_first_of(L" \t"), commandLine.size());
    }
    at = std::min(commandLine.find_first_not_of(L" \t", at), commandLine.size());
    return commandLine.substr(at);
}

std::string WinEnvironment::commandLine() {
    return narrow(argumentsOf(GetCommandLineW()));
}

std::string WinEnvironment::currentDirectory() {
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring directory(length, L'\0');
    directory.resize(GetCurrentDirectoryW(length, directory.data()));
    return narrow(directory);
}

std::string WinEnvironment::decimalSeparator() {
    wchar_t separator[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) == 0) {
        return ".";
    }
    return narrow(separator);
}

double WinEnvironment::randomUnit() {
    return random_.next();
}

void WinEnvironment::exitProcess(int code) {
    if (beforeExit_) {
        beforeExit_();
    }
    ExitProcess(static_cast<UINT>(code));
}

Status WinEnvironment::openUrl(const std::string& url) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) {
        return Status::failure("ShellExecute failed (" + std::to_string(result) + ")");
    }
    return Status::success();
}

void WinEnvironment::writeLog(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace pontrel
