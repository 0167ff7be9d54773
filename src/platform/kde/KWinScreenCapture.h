#pragma once

#include "platform/PictureWriter.h"
#include "platform/ScreenService.h"
#include "platform/wayland/WaylandConnection.h"

namespace pontrel {

// Whether KWin's screenshot service answers on the session bus. Whether it serves this program
// shows only with the first picture: the desktop file that allows fake input allows it too.
bool kwinScreenshotsAnswer();

// Reads the screen of KDE Plasma through KWin's screenshot service on the session bus, which
// KWin grants to programs one of its desktop files allows (or to every program while its
// permission checks are off). Pictures are written by the writer given.
class KWinScreenCapture final : public ScreenService {
public:
    explicit KWinScreenCapture(PictureWriter& pictures);

    // False when KWin's screenshot service does not answer.
    bool usable() const;

    ScreenSize screenSize() override;
    Bitmap capture(int x, int y, int width, int height) override;
    Status writeBitmapFile(const Bitmap& image, const std::string& path) override;
    Status writeJpegFile(const Bitmap& image, const std::string& path, int quality) override;

private:
    PictureWriter& pictures_;
    WaylandConnection layout_;  // for the monitors' layout
    bool usable_ = false;
};

}  // namespace pontrel
