#include "platform/win/WinScreenService.h"

#include <algorithm>

#include <gdiplus.h>
#include <objbase.h>

#include "platform/win/WideText.h"

namespace pontrel {

namespace {

using namespace Gdiplus;

// The published encoder class identifiers and the quality parameter.
constexpr wchar_t bmpEncoder[] = L"{557CF400-1A04-11D3-9A73-0000F81EF32E}";
constexpr wchar_t jpegEncoder[] = L"{557CF401-1A04-11D3-9A73-0000F81EF32E}";
constexpr wchar_t qualityParameter[] = L"{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}";

GUID guidOf(const wchar_t* text) {
    GUID guid{};
    CLSIDFromString(text, &guid);
    return guid;
}

Status gdiplusFailure(GpStatus status) {
    return Status::failure("GDI+ status " + std::to_string(static_cast<int>(status)));
}

}  // namespace

WinScreenService::WinScreenService() {
    GdiplusStartupInput input;
    gdiplusStarted_ = GdiplusStartup(&gdiplusToken_, &input, nullptr) == Ok;
}

WinScreenService::~WinScreenService() {
    if (gdiplusStarted_) {
        GdiplusShutdown(gdiplusToken_);
    }
}

ScreenSize WinScreenService::screenSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

Bitmap WinScreenService::capture(int x, int y, int width, int height) {
    Bitmap image;
    if (width <= 0 || height <= 0) {
        return image;
    }
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);

    // Only the part on the screen is copied; the rest stays black.
    const ScreenSize screen = screenSize();
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + width, screen.width);
    const int bottom = std::min(y + height, screen.height);
    if (left >= right || top >= bottom) {
        return image;
    }

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    HDC screenDc = GetDC(nullptr);
    HDC memoryDc = CreateCompatibleDC(screenDc);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(memoryDc, dib);
        PatBlt(memoryDc, 0, 0, width, height, BLACKNESS);
        BitBlt(memoryDc, left - x, top - y, right - left, bottom - top, screenDc, left, top,
               SRCCOPY);
        GdiFlush();
        const auto* source = static_cast<const std::uint32_t*>(bits);
        std::transform(source, source + image.pixels.size(), image.pixels.begin(),
                       [](std::uint32_t pixel) { return pixel & 0x00FFFFFFu; });
        SelectObject(memoryDc, previous);
    }
    if (dib != nullptr) {
        DeleteObject(dib);
    }
    DeleteDC(memoryDc);
    ReleaseDC(nullptr, screenDc);
    return image;
}

Status WinScreenService::writeBitmapFile(const Bitmap& image, const std::string& path) {
    return save(image, path, bmpEncoder, 0);
}

Status WinScreenService::writeJpegFile(const Bitmap& image, const std::string& path, int quality) {
    return save(image, path, jpegEncoder, std::clamp(quality, 0, 100));
}

Status WinScreenService::save(const Bitmap& image, const std::string& path, const wchar_t* encoder,
                              int quality) {
    if (!gdiplusStarted_) {
        return Status::failure("GDI+ is not available");
    }
    if (image.empty()) {
        return Status::failure("empty picture");
    }
    // 0x00RRGGBB in memory is GDI+'s 32bppRGB layout; the buffer is only read while saving.
    GpBitmap* bitmap = nullptr;
    auto* scan0 = reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(image.pixels.data()));
    GpStatus status = DllExports::GdipCreateBitmapFromScan0(
        image.width, image.height, image.width * 4, PixelFormat32bppRGB, scan0, &bitmap);
    if (status != Ok) {
        return gdiplusFailure(status);
    }
    const CLSID encoderId = guidOf(encoder);
    const std::wstring widePath = widen(path);
    if (encoder == jpegEncoder) {
        ULONG value = static_cast<ULONG>(quality);
        EncoderParameters parameters{};
        parameters.Count = 1;
        parameters.Parameter[0].Guid = guidOf(qualityParameter);
        parameters.Parameter[0].NumberOfValues = 1;
        parameters.Parameter[0].Type = EncoderParameterValueTypeLong;
        parameters.Parameter[0].Value = &value;
        status = DllExports::GdipSaveImageToFile(bitmap, widePath.c_str(), &encoderId, &parameters);
    } else {
        status = DllExports::GdipSaveImageToFile(bitmap, widePath.c_str(), &encoderId, nullptr);
    }
    DllExports::GdipDisposeImage(bitmap);
    return status == Ok ? Status::success() : gdiplusFailure(status);
}

}  // namespace pontrel
