#include "engine/ScreenActions.h"

#include "engine/ScreenshotTarget.h"
#include "engine/TextSubstitution.h"
#include "model/Numbers.h"
#include "window/MainForm.h"

namespace pontrel {

namespace {

constexpr int watchedBlockSize = 5;
constexpr int watchPollInterval = 10;
// Polls per time unit of the watch's time-out.
constexpr double pollsPerTimeUnit = 20;
// A capture file of a 5 by 5 block is a few hundred bytes; anything beyond is not ours.
constexpr std::size_t captureFileLimit = 1u << 20;
// The status number reported with a failed JPEG write (a generic failure).
constexpr int jpegFailureStatus = 1;

}  // namespace

ScreenActions::ScreenActions(MainForm& form) : form_(form) {}

void ScreenActions::screenshot() {
    MainForm& f = form_;
    std::string& field = f.befehl_wert1[static_cast<std::size_t>(f.befehl_nr)];
    field = withCounter(replaceAll(field, "|", ""), f.input.counterText());

    ScreenService& screen = f.platform.screen;
    const ScreenSize size = screen.screenSize();
    f.pic_screenshot.setImage(screen.capture(0, 0, size.width, size.height));

    const ScreenshotTarget target = splitScreenshotTarget(field);
    if (target.path.empty()) {
        return;
    }
    if (target.jpeg()) {
        Save_JPG(f.pic_screenshot.image(), target.path, target.quality);
    } else {
        f.logIgnoredFailure("Screenshot speichern",
                            screen.writeBitmapFile(f.pic_screenshot.image(), target.path));
    }
}

void ScreenActions::Save_JPG(const Bitmap& pict, const std::string& FileName, int quality) {
    const Status written = form_.platform.screen.writeJpegFile(pict, FileName, quality);
    if (!written.ok()) {
        // The step swallows the error below, which carries only a number: the log keeps why.
        form_.logIgnoredFailure("Screenshot speichern", written);
        throw ImageSaveError("Speicherung des Bildes fehlgeschlagen. GDI+ Error:" +
                             std::to_string(jpegFailureStatus));
    }
}

ScreenActions::WatchedBlock ScreenActions::captureWatchedBlock(int x, int y) {
    MainForm& f = form_;
    f.pic_pixel.setImage(f.platform.screen.capture(x, y, watchedBlockSize, watchedBlockSize));
    Environment& environment = f.platform.environment;
    const std::string path =
        environment.currentDirectory() + environment.pathSeparator() + "code10.bmp";

    WatchedBlock block;
    block.image = f.pic_pixel.image();
    // Only a file written by this poll counts: an older one would hide a change.
    if (f.platform.screen.writeBitmapFile(block.image, path).ok()) {
        if (auto text = f.platform.files.readFile(path, captureFileLimit)) {
            block.fromFile = true;
            block.fileText = std::move(*text);
        }
    }
    return block;
}

void ScreenActions::endWatch() {
    form_.Timer_start.setInterval(toInt(form_.grund_wartezeit));
    form_.pixel_status = 0;
}

void ScreenActions::pixelWatch() {
    MainForm& f = form_;
    const auto slot = static_cast<std::size_t>(f.befehl_nr);
    const int x = toInt(leadingNumber(f.befehl_wert1[slot]));
    const int y = toInt(leadingNumber(f.befehl_wert2[slot]));
    const double timeOut = leadingNumber(f.befehl_wert3[slot]);

    if (f.pixel_status == 0) {
        f.pixel_status = 1;
    }
    const WatchedBlock current = captureWatchedBlock(x, y);

    // The capture that takes the reference is the watch's first poll.
    if (f.pixel_status == 1) {
        f.pixel_referenz = current.fileText;
        reference_ = current;
        f.pixel_status = 2;
        f.pixel_takte = 0;
        f.pixel_zeit = 0;
    }

    f.pixel_takte += 1;
    if (f.pixel_takte >= pollsPerTimeUnit) {
        f.pixel_zeit += 1;
        f.pixel_takte = 0;
    }
    f.Timer_start.setInterval(watchPollInterval);
    if (current.fromFile) {
        f.pixel_aktuell = current.fileText;
    }

    if (timeOut != 0 && f.pixel_zeit >= timeOut) {
        endWatch();
    }
    // Two read-back files are compared whole; where either poll had no file, the captures are.
    const bool changed = reference_.fromFile && current.fromFile
                             ? f.pixel_aktuell != f.pixel_referenz
                             : current.image != reference_.image;
    if (changed) {
        endWatch();
    }
}

}  // namespace pontrel
