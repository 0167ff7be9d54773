#pragma once

#include <windows.h>

#include "platform/ScreenService.h"

namespace pontrel {

// The primary screen through GDI (BitBlt into a DIB) and pictures written by GDI+.
class WinScreenService : public ScreenService {
public:
    WinScreenService();
    ~WinScreenService() override;
    WinScreenService(const WinScreenService&) = delete;
    WinScreenService& operator=(const WinScreenService&) = delete;

    ScreenSize screenSize() override;
    Bitmap capture(int x, int y, int width, int height) override;
    Status writeBitmapFile(const Bitmap& image, const std::string& path) override;
    Status writeJpegFile(const Bitmap& image, const std::string& path, int quality) override;

private:
    Status save(const Bitmap& image, const std::string& path, const wchar_t* encoder, int quality);

    ULONG_PTR gdiplusToken_ = 0;
    bool gdiplusStarted_ = false;
};

}  // namespace pontrel
