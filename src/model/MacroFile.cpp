#include "model/MacroFile.h"

#include "model/Cp1252.h"
#include "model/Numbers.h"

namespace pontrel {

std::string macroFileHeader() {
    std::string header(macroFileHeaderStart);
    header += macroFileCredit;
    return header;
}

std::int64_t macroChecksum(const std::vector<std::string>& records) {
    if (records.size() < 2) {
        return 0;
    }
    const auto n = static_cast<std::int64_t>(records.size() - 1);
    double sum = 0.0;
    for (const std::string& record : records) {
        const auto length = static_cast<std::int64_t>(countCharacters(record));
        const double term = static_cast<double>(length % n) +
                            static_cast<double>(length) * static_cast<double>(length) +
                            static_cast<double>(length | 75) - static_cast<double>(length % 4);
        sum += term;
    }
    return toInt64(sum / static_cast<double>(n));
}

std::string keyLine(std::int64_t checksum) {
    return "key:|" + std::to_string(checksum) + "|";
}

namespace {

// The text itself when it is well-formed UTF-8; otherwise every bad byte becomes U+FFFD.
std::string wellFormed(std::string_view text) {
    if (isValidUtf8(text)) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size() + 8);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto character = nextCharacter(text, pos);
        appendUtf8(out, character.value_or(U'\uFFFD'));
    }
    return out;
}

bool readsAsUtf8(std::string_view bytes) {
    return hasNonAscii(bytes) && isValidUtf8(bytes);
}

}  // namespace

std::string encodeMacroFile(const std::vector<std::string>& records) {
    std::string text = macroFileHeader();
    text += lineEnd;
    for (const std::string& record : records) {
        text += wellFormed(record);
        text += lineEnd;
    }
    text += keyLine(macroChecksum(records));
    text += lineEnd;

    // Windows-1252 bytes that happen to form UTF-8 would be read back as UTF-8: write UTF-8 then.
    if (auto bytes = encodeCp1252(text); bytes && !readsAsUtf8(*bytes)) {
        return std::move(*bytes);
    }
    return text;
}

bool withinReadLimits(std::string_view bytes) {
    if (bytes.size() > maxFileBytes) {
        return false;
    }
    std::size_t lineStart = 0;
    for (std::size_t pos = 0; pos < bytes.size(); ++pos) {
        if (bytes[pos] == '\r' || bytes[pos] == '\n') {
            if (pos - lineStart > maxLineBytes) {
                return false;
            }
            lineStart = pos + 1;
        }
    }
    return bytes.size() - lineStart <= maxLineBytes;
}

MacroFileText decodeMacroFile(std::string_view bytes) {
    MacroFileText result;
    const bool tooLarge = bytes.size() > maxFileBytes;
    if (tooLarge) {
        bytes = bytes.substr(0, maxFileBytes);
    }

    std::vector<std::string_view> raw;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        // Look no further than one byte past the longest line allowed.
        const std::string_view window = bytes.substr(pos, maxLineBytes + 1);
        const char* const data = window.data();
        std::size_t end = 0;
        while (end < window.size() && data[end] != '\r' && data[end] != '\n') {
            ++end;
        }
        if (end == window.size()) {
            if (window.size() > maxLineBytes) {
                result.stop = ReadStop::LineTooLong;
            } else if (tooLarge) {
                result.stop = ReadStop::FileTooLarge;
            } else {
                raw.push_back(window);
            }
            pos = bytes.size();
            break;
        }
        raw.push_back(window.substr(0, end));
        pos += end + 1;
        if (window[end] == '\r' && pos < bytes.size() && bytes[pos] == '\n') {
            ++pos;
        }
    }
    if (tooLarge && result.stop == ReadStop::None) {
        result.stop = ReadStop::FileTooLarge;
    }

    bool allValid = true;
    bool anyNonAscii = false;
    for (const std::string_view line : raw) {
        if (hasNonAscii(line)) {
            anyNonAscii = true;
            allValid = allValid && isValidUtf8(line);
        }
    }
    result.encoding = anyNonAscii && allValid ? TextEncoding::Utf8 : TextEncoding::Windows1252;

    result.lines.reserve(raw.empty() ? 0 : raw.size() - 1);
    for (std::size_t i = 0; i < raw.size(); ++i) {
        std::string line =
            result.encoding == TextEncoding::Utf8 ? std::string(raw[i]) : decodeCp1252(raw[i]);
        if (i == 0) {
            result.header = std::move(line);
        } else {
            result.lines.push_back(std::move(line));
        }
    }
    return result;
}

bool isMacroHeader(std::string_view line) {
    return line.substr(0, 4) == macroFileMagic;
}

int headerDigit(std::string_view header, int position) {
    if (position < 1) {
        return 0;
    }
    std::size_t pos = 0;
    for (int i = 1; pos < header.size(); ++i) {
        const auto character = nextCharacter(header, pos);
        if (i == position) {
            return character && *character >= U'0' && *character <= U'9'
                       ? static_cast<int>(*character - U'0')
                       : 0;
        }
    }
    return 0;
}

bool isRecordLine(std::string_view line) {
    return line.substr(0, 4) == "code";
}

bool namesMacroFile(std::string_view commandLine) {
    // Where each character begins; the four before the last must be ".qmc".
    std::vector<std::size_t> starts;
    for (std::size_t pos = 0; pos < commandLine.size();) {
        starts.push_back(pos);
        (void)nextCharacter(commandLine, pos);
    }
    const std::size_t length = starts.size();
    if (length <= 5) {
        return false;
    }
    const std::size_t from = starts[length - 5];
    return commandLine.substr(from, starts[length - 1] - from) == macroFileMagic;
}

std::string commandLinePath(std::string_view commandLine) {
    std::string path;
    path.reserve(commandLine.size());
    for (const char c : commandLine) {
        if (c != '"') {
            path += c;
        }
    }
    return path;
}

SlotAssignment assignSlots(std::span<const std::string> lines) {
    constexpr auto slots = static_cast<std::size_t>(lastSlot) + 1;
    SlotAssignment result;
    int records = 0;
    for (std::size_t i = 0; i < lines.size() && i < slots; ++i) {
        result.storedLines = i + 1;
        if (isRecordLine(lines[i])) {
            ++records;
            continue;
        }
        result.terminated = true;
        if (i + 1 < lines.size() && i + 1 < slots) {
            result.storedLines = i + 2;
        }
        break;
    }
    result.commandCount = records - 1;
    return result;
}

}  // namespace pontrel
