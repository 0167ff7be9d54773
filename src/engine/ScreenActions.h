#pragma once

#include <stdexcept>
#include <string>

#include "platform/Bitmap.h"

namespace pontrel {

class MainForm;

// A picture that could not be written; the step that caused it ignores it.
class ImageSaveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The commands that read the screen: the screenshot and the pixel watch. Each works on the
// record at befehl_nr.
class ScreenActions {
public:
    explicit ScreenActions(MainForm& form);

    void screenshot();
    // One poll of the pixel watch; the advance loop repeats the entry while pixel_status is not 0.
    void pixelWatch();

    // Writes pict as JPEG; throws ImageSaveError when that fails.
    void Save_JPG(const Bitmap& pict, const std::string& FileName, int quality);

private:
    // The watched block as read back from the capture file, or the capture itself where the file
    // cannot be written or read.
    struct WatchedBlock {
        bool fromFile = false;
        std::string fileText;
        Bitmap image;
    };

    WatchedBlock captureWatchedBlock(int x, int y);
    void endWatch();

    MainForm& form_;
    WatchedBlock reference_;
};

}  // namespace pontrel
