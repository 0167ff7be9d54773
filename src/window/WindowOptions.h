#pragma once

#include <string>

namespace pontrel {

class MainForm;

// Transparency, always on top, list display, layout, pointer display and colour schemes.
class WindowOptions {
public:
    explicit WindowOptions(MainForm& form);

    // Applies the window digit and the look digit of a macro file's header line.
    void form_eigenschaften(const std::string& kopfzeile);
    // Colour scheme 1, 2 or 3: the background colour and the logo picture.
    void farbschema(int schema);

private:
    MainForm& form_;
};

}  // namespace pontrel
