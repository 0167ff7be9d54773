#pragma once

#include <string>
#include <string_view>

namespace pontrel {

// Where a screenshot goes and how: the path of a screenshot command, optionally followed by
// blanks and a quality mark such as " <90%>".
struct ScreenshotTarget {
    std::string path;   // empty: nothing is saved
    int quality = 100;  // JPEG quality, 10 to 100

    // A JPEG exactly when the path ends in ".jpg" (lower case); anything else is a bitmap.
    bool jpeg() const;
};

// Splits the field at its first "<": the path is the text before it without trailing blanks,
// the quality the rounded number that the three characters behind it begin with (0 or above 100
// gives 100, below 10 gives 10). A field of at most three characters names no target.
ScreenshotTarget splitScreenshotTarget(std::string_view field);

}  // namespace pontrel
