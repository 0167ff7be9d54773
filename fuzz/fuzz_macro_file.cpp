// Feeds arbitrary bytes to the macro-file reader and everything a load does with the lines:
// slot assignment, record splitting and the number rule. Checks the invariants of each step and
// that writing the lines read gives them back.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Cp1252.h"
#include "model/MacroFile.h"
#include "model/Numbers.h"
#include "model/RecordFields.h"

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

void checkNumber(std::string_view text) {
    const double value = pontrel::leadingNumber(text);
    require(std::isfinite(value), "leadingNumber is finite");
    const std::string plain = pontrel::numberText(value);
    require(plain.find_first_of("eE") == std::string::npos, "numberText has no exponent");
    require(pontrel::leadingNumber(plain) == value, "numberText reads back exactly");
    require(pontrel::numberRuleText(text) == plain, "numberRuleText");

    const std::string counter = pontrel::counterText(value, ".");
    require(counter.find_first_of("eE") == std::string::npos, "counterText has no exponent");
    const double back = pontrel::leadingNumber(counter);
    require(std::fabs(back - value) <= std::fabs(value) * 1e-14, "counterText keeps 15 digits");

    const double rounded = pontrel::roundHalfEven(value);
    require(std::fabs(rounded - value) <= 0.5, "roundHalfEven is nearest");
    (void)pontrel::toInt64(value);
    (void)pontrel::toInt(value);
    (void)pontrel::toInt16(value);
}

void checkRecord(int slot, const std::string& line) {
    const pontrel::RecordFields fields = pontrel::splitRecord(line);
    const std::optional<std::string>* all[] = {&fields.codeText, &fields.value1, &fields.value2,
                                               &fields.value3, &fields.value4};
    bool missing = false;
    for (const auto* field : all) {
        if (field->has_value()) {
            require(!missing, "fields are present in order");
            require((*field)->find('|') == std::string::npos, "a field holds no bar");
            checkNumber(**field);
        } else {
            missing = true;
        }
    }
    const std::string shown = pontrel::listLine(slot, line);
    require(shown.size() >= line.size() + 6, "list line length");
    require(shown.find('|') == std::string::npos, "list line has no bar");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // Windows-1252 keeps every byte.
    const std::string decoded = pontrel::decodeCp1252(bytes);
    require(pontrel::isValidUtf8(decoded), "decoded text is UTF-8");
    require(pontrel::encodeCp1252(decoded) == std::optional<std::string>(bytes),
            "cp1252 round trip");
    require(pontrel::countCharacters(decoded) == size, "one character per byte");

    checkNumber(bytes);

    if (pontrel::namesMacroFile(bytes)) {
        require(pontrel::commandLinePath(bytes).find('"') == std::string::npos, "path unquoted");
    }

    const pontrel::MacroFileText text = pontrel::decodeMacroFile(bytes);
    if (text.header) {
        require(pontrel::isValidUtf8(*text.header), "header is UTF-8");
        (void)pontrel::isMacroHeader(*text.header);
        for (int position = 0; position <= 12; ++position) {
            const int digit = pontrel::headerDigit(*text.header, position);
            require(digit >= 0 && digit <= 9, "header digit");
        }
    } else {
        require(text.lines.empty(), "no lines without a header");
    }
    for (const std::string& line : text.lines) {
        require(pontrel::isValidUtf8(line), "line is UTF-8");
        require(line.find_first_of("\r\n") == std::string::npos, "line holds no line break");
    }

    const pontrel::SlotAssignment slots = pontrel::assignSlots(text.lines);
    require(slots.storedLines <= text.lines.size(), "stored lines exist");
    require(slots.storedLines <= static_cast<std::size_t>(pontrel::lastSlot) + 1, "slot bound");
    require(slots.commandCount >= -1, "command count");
    require(static_cast<std::size_t>(slots.commandCount + 1) <= slots.storedLines,
            "counted lines are stored");
    for (std::size_t i = 0; i < slots.storedLines; ++i) {
        checkRecord(static_cast<int>(i), text.lines[i]);
    }

    // Writing the lines read and reading them again gives them back.
    if (!text.stoppedEarly() && text.header) {
        const std::string written = pontrel::encodeMacroFile(text.lines);
        const pontrel::MacroFileText again = pontrel::decodeMacroFile(written);
        require(pontrel::withinReadLimits(written) == !again.stoppedEarly(),
                "the read limits say what the reader takes whole");
        if (!again.stoppedEarly()) {
            require(again.header == pontrel::macroFileHeader(), "written header");
            require(again.lines.size() == text.lines.size() + 1, "written line count");
            for (std::size_t i = 0; i < text.lines.size(); ++i) {
                require(again.lines[i] == text.lines[i], "written line reads back");
            }
            require(again.lines.back() == pontrel::keyLine(pontrel::macroChecksum(text.lines)),
                    "key line");
        }
    }
    return 0;
}
