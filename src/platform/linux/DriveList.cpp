#include "platform/linux/DriveList.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>
#include <tuple>

namespace pontrel {

namespace {

// Name order with the trailing number compared as a number: sr2 < sr10.
bool namedBefore(const std::string& a, const std::string& b) {
    auto split = [](const std::string& name) {
        std::size_t digits = name.size();
        while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) {
            --digits;
        }
        const std::string number = name.substr(digits);
        return std::make_tuple(name.substr(0, digits), number.size(), number);
    };
    return split(a) < split(b);
}

std::vector<std::string> devicePaths(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(), namedBefore);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    for (std::string& name : names) {
        name = "/dev/" + name;
    }
    return names;
}

}  // namespace

std::vector<std::string> cdromDevicesFromInfo(std::string_view info) {
    constexpr std::string_view label = "drive name:";
    std::istringstream lines{std::string(info)};
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, label.size(), label) != 0) {
            continue;
        }
        std::istringstream words(line.substr(label.size()));
        std::vector<std::string> names{std::istream_iterator<std::string>(words),
                                       std::istream_iterator<std::string>()};
        // Only plain device names can become paths under /dev.
        std::erase_if(names, [](const std::string& name) {
            return name.find('/') != std::string::npos || name == "." || name == "..";
        });
        return devicePaths(std::move(names));
    }
    return {};
}

std::vector<std::string> cdromDevicesFromBlockNames(std::vector<std::string> names) {
    std::erase_if(names, [](const std::string& name) {
        return name.size() < 3 || name.compare(0, 2, "sr") != 0 ||
               !std::all_of(name.begin() + 2, name.end(),
                            [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    });
    return devicePaths(std::move(names));
}

std::vector<std::string> cdromDevices(const std::string& infoFile, const std::string& blockFolder) {
    std::ifstream file(infoFile);
    if (file) {
        std::ostringstream text;
        text << file.rdbuf();
        auto drives = cdromDevicesFromInfo(text.str());
        if (!drives.empty()) {
            return drives;
        }
    }
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(blockFolder, error);
         !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        names.push_back(entry->path().filename().string());
    }
    return cdromDevicesFromBlockNames(std::move(names));
}

}  // namespace pontrel
