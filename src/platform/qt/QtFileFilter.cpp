#include "platform/qt/QtFileFilter.h"

#include <algorithm>
#include <vector>

namespace pontrel {

namespace {

std::vector<std::string> splitAtBars(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = text.find('|', start);
        parts.emplace_back(text.substr(start, bar - start));
        if (bar == std::string_view::npos) {
            return parts;
        }
        start = bar + 1;
    }
}

}  // namespace

std::string qtFileFilter(std::string_view classic) {
    if (classic.empty()) {
        return {};
    }
    const std::vector<std::string> parts = splitAtBars(classic);
    std::string filter;
    bool programs = false;
    // A description without a pattern at the end is left out.
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string patterns = parts[i + 1];
        std::replace(patterns.begin(), patterns.end(), ';', ' ');
        programs = programs || patterns.find("*.exe") != std::string::npos;
        if (!filter.empty()) {
            filter += ";;";
        }
        filter += parts[i] + " (" + patterns + ")";
    }
    if (programs) {
        filter += ";;Alle Dateien (*)";
    }
    return filter;
}

}  // namespace pontrel
