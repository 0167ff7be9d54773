#include "editor/PathPickers.h"

#include "editor/ScreenshotPath.h"
#include "window/MainForm.h"

namespace pontrel {

namespace {

constexpr const char* programFilter = ".exe|*.exe|.bat|*.bat";
constexpr const char* screenshotFilter = "BMP - Windows Bitmap|*.bmp|JPG - JPEG Dateien|*.jpg";

}  // namespace

PathPickers::PathPickers(MainForm& form) : form_(form) {
    form_.cmd_6_pfad.Click.connect([this] { cmd_6_pfad_Click(); });
    form_.cmd_9_pfad.Click.connect([this] { cmd_9_pfad_Click(); });
}

void PathPickers::cmd_6_pfad_Click() {
    MainForm& f = form_;
    f.comdia_6.filter = programFilter;
    // A cancelled dialog keeps the name of its last use, which is then put into the box again.
    (void)f.platform.dialogs.showOpen(f.comdia_6);
    if (!f.comdia_6.fileName.empty()) {
        f.txt_6_pfad.setText(f.comdia_6.fileName);
    }
}

void PathPickers::cmd_9_pfad_Click() {
    MainForm& f = form_;
    const auto start = screenshotDialogStart(f.txt_9_pfad.text());
    if (!start) {
        return;
    }
    f.comdia_9.fileName = start->fileName;
    f.comdia_9.filter = screenshotFilter;
    // A cancelled dialog leaves the name set above: the old path comes back with its mark.
    (void)f.platform.dialogs.showSave(f.comdia_9);
    if (const auto path = screenshotPathAfterDialog(f.comdia_9.fileName, start->extension)) {
        f.txt_9_pfad.setText(*path);
    }
}

}  // namespace pontrel
