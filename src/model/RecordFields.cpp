#include "model/RecordFields.h"

#include <cstddef>

namespace pontrel {

const std::optional<std::string>& RecordFields::value(int number) const {
    static const std::optional<std::string> none;
    switch (number) {
        case 1:
            return value1;
        case 2:
            return value2;
        case 3:
            return value3;
        case 4:
            return value4;
        default:
            return none;
    }
}

RecordFields splitRecord(std::string_view record) {
    RecordFields fields;
    std::optional<std::string>* const closedBy[10] = {
        nullptr,        &fields.codeText, nullptr,        &fields.value1, nullptr,
        &fields.value2, nullptr,          &fields.value3, nullptr,        &fields.value4,
    };
    std::size_t fieldStart = 0;
    int bars = 0;  // "|" seen before the current one
    for (std::size_t i = 0; i < record.size() && bars < 10; ++i) {
        if (record[i] != '|') {
            continue;
        }
        if (bars % 2 == 0) {
            fieldStart = i + 1;
        } else {
            *closedBy[bars] = std::string(record.substr(fieldStart, i - fieldStart));
        }
        ++bars;
    }
    return fields;
}

std::string listLine(int index, std::string_view record) {
    const long long wide = index;
    std::string digits = std::to_string(wide < 0 ? -wide : wide);
    if (digits.size() < 3) {
        digits.insert(0, 3 - digits.size(), '0');
    }
    std::string line;
    line.reserve(digits.size() + 4 + record.size());
    if (wide < 0) {
        line.push_back('-');
    }
    line += digits;
    line += " - ";
    for (const char c : record) {
        line.push_back(c == '|' ? ' ' : c);
    }
    return line;
}

}  // namespace pontrel
