#pragma once

#include <string>

namespace pontrel {

// A file dialog instance: its filter ("description|pattern|description|pattern") and the file
// name it keeps between uses. A cancelled dialog leaves the file name as it was.
struct CommonDialog {
    std::string name;
    std::string filter;
    std::string fileName;
};

}  // namespace pontrel
