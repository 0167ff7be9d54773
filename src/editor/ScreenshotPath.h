#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pontrel {

// Playback saves a screenshot path ending in ".jpg" as JPEG with the quality this mark names.
inline constexpr std::string_view jpegQualityMark = " <90%>";

// What the screenshot picker offers the save dialog: the path without its quality mark and
// without its extension, which is kept aside for a name chosen without one.
struct ScreenshotDialogStart {
    std::string fileName;
    std::string extension;  // the last four characters when the first of them is ".", else empty
};

// Takes the box's path apart: a trailing "<...>" goes with the character before it (normally the
// blank), then the extension is split off. Nothing when the path cannot be taken apart (a ">"
// without "<", a "<" as first or second character, one to three characters left): the picker then
// ends without a dialog.
std::optional<ScreenshotDialogStart> screenshotDialogStart(std::string_view path);

// The path after the dialog: the dialog's file name followed by the remembered extension, where a
// name that brought its own extension keeps only that one; ".jpg" gets the quality mark. Nothing
// when the result is too short to hold an extension check (three characters or fewer, or four to
// seven with "." fourth from the end): the picker then leaves the box alone.
std::optional<std::string> screenshotPathAfterDialog(std::string_view fileName,
                                                     std::string_view extension);

}  // namespace pontrel
