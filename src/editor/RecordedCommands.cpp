#include "editor/RecordedCommands.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "editor/RecordWords.h"

namespace pontrel {

namespace {

constexpr std::int64_t longestWait = 60000;

std::string waitRecord(std::int64_t ms) {
    return "code:|001|wait:|" + std::to_string(ms) + "|";
}

std::string moveRecord(const RecordedInput& click) {
    return "code:|002|xpos:|" + std::to_string(click.x) + "|ypos:|" + std::to_string(click.y) + "|";
}

std::string clickRecord(const RecordedInput& click) {
    return "code:|003|mouseclick:|" +
           std::string(clickWords.at(static_cast<std::size_t>(click.button))) + "|";
}

// The key text of one key press; nothing for a character no record can hold.
std::optional<std::string> keyText(const RecordedInput& input) {
    std::string text;
    if (input.ctrl) {
        text += "{CTRL}";
    }
    if (input.alt) {
        text += "{ALT}";
    }
    if (input.kind == RecordedInput::Kind::Key) {
        if (input.shift) {
            text += "{SHIFT}";
        }
        return text + "{" + input.text + "}";
    }
    if (input.text == "|") {
        return std::nullopt;  // it would end the record's field
    }
    if (input.text.size() == 1 &&
        (static_cast<unsigned char>(input.text[0]) < 0x20 || input.text[0] == 0x7F)) {
        return std::nullopt;  // control characters have named keys or none
    }
    // Braces are key-text syntax; braced they type themselves.
    if (input.text == "{" || input.text == "}") {
        return text + "{" + input.text + "}";
    }
    return text + input.text;
}

std::string codePoints(const std::string& text) {
    std::string names;
    for (const unsigned char byte : text) {
        static constexpr char digits[] = "0123456789ABCDEF";
        names += names.empty() ? "0x" : " 0x";
        names += digits[byte >> 4];
        names += digits[byte & 0xF];
    }
    return names;
}

class Converter {
public:
    explicit Converter(std::int64_t baseWait) : baseWait_(baseWait) {}

    void add(const RecordedInput& input) {
        const bool click = input.kind == RecordedInput::Kind::Click;
        const std::optional<std::int64_t> pause =
            last_ ? std::optional(input.time - *last_) : std::nullopt;
        last_ = input.time;
        if (click) {
            endTyping();
            wait(pause, 2);
            result_.records.push_back(moveRecord(input));
            result_.records.push_back(clickRecord(input));
            return;
        }
        const std::optional<std::string> text = keyText(input);
        if (!text) {
            result_.notes.push_back("Aufnahme: ein getipptes Zeichen (" + codePoints(input.text) +
                                    ") kann in keinem Befehl stehen und wurde ausgelassen.");
            return;
        }
        if (!typing_ || (pause && *pause >= typingPause)) {
            endTyping();
            wait(pause, 1);
            typing_ = true;
        }
        text_ += *text;
    }

    RecordedCommands finish() {
        endTyping();
        return std::move(result_);
    }

private:
    // The pause before an action whose own record comes commandsToAction commands after the
    // previous action: each of those commands, and each wait written, adds a base wait.
    void wait(std::optional<std::int64_t> pause, int commandsToAction) {
        if (!pause) {
            return;
        }
        std::int64_t left = *pause - baseWait_ * commandsToAction;
        while (left - baseWait_ >= shortestRecordedWait) {
            const std::int64_t ms = std::min(left - baseWait_, longestWait);
            result_.records.push_back(waitRecord(ms));
            left -= ms + baseWait_;
        }
    }

    void endTyping() {
        if (typing_) {
            result_.records.push_back("code:|004|text:|" + text_ + "|");
        }
        typing_ = false;
        text_.clear();
    }

    std::int64_t baseWait_;
    std::optional<std::int64_t> last_;
    bool typing_ = false;
    std::string text_;
    RecordedCommands result_;
};

}  // namespace

RecordedCommands recordedCommands(std::span<const RecordedInput> inputs, int baseWait) {
    Converter converter(baseWait);
    for (const RecordedInput& input : inputs) {
        converter.add(input);
    }
    return converter.finish();
}

}  // namespace pontrel
