#include "engine/KeyTextParser.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "model/Cp1252.h"

namespace pontrel {

namespace {

constexpr std::size_t kMaxGroupDepth = 3;

struct Keyword {
    std::string_view name;  // upper case
    NamedKey key;
};

// No keyword has a single letter, so "{c}" always types c.
constexpr std::array kKeywords{
    Keyword{"BACKSPACE", NamedKey::Backspace},
    Keyword{"BS", NamedKey::Backspace},
    Keyword{"BKSP", NamedKey::Backspace},
    Keyword{"BREAK", NamedKey::Break},
    Keyword{"CAPSLOCK", NamedKey::CapsLock},
    Keyword{"CLEAR", NamedKey::Clear},
    Keyword{"DELETE", NamedKey::Delete},
    Keyword{"DEL", NamedKey::Delete},
    Keyword{"DOWN", NamedKey::Down},
    Keyword{"END", NamedKey::End},
    Keyword{"ENTER", NamedKey::Enter},
    Keyword{"ESC", NamedKey::Escape},
    Keyword{"ESCAPE", NamedKey::Escape},
    Keyword{"HELP", NamedKey::Help},
    Keyword{"HOME", NamedKey::Home},
    Keyword{"INSERT", NamedKey::Insert},
    Keyword{"INS", NamedKey::Insert},
    Keyword{"LEFT", NamedKey::Left},
    Keyword{"NUMLOCK", NamedKey::NumLock},
    Keyword{"PGDN", NamedKey::PageDown},
    Keyword{"PGUP", NamedKey::PageUp},
    Keyword{"PRTSC", NamedKey::PrintScreen},
    Keyword{"RIGHT", NamedKey::Right},
    Keyword{"SCROLLLOCK", NamedKey::ScrollLock},
    Keyword{"TAB", NamedKey::Tab},
    Keyword{"UP", NamedKey::Up},
    Keyword{"F1", NamedKey::F1},
    Keyword{"F2", NamedKey::F2},
    Keyword{"F3", NamedKey::F3},
    Keyword{"F4", NamedKey::F4},
    Keyword{"F5", NamedKey::F5},
    Keyword{"F6", NamedKey::F6},
    Keyword{"F7", NamedKey::F7},
    Keyword{"F8", NamedKey::F8},
    Keyword{"F9", NamedKey::F9},
    Keyword{"F10", NamedKey::F10},
    Keyword{"F11", NamedKey::F11},
    Keyword{"F12", NamedKey::F12},
    Keyword{"F13", NamedKey::F13},
    Keyword{"F14", NamedKey::F14},
    Keyword{"F15", NamedKey::F15},
    Keyword{"F16", NamedKey::F16},
    Keyword{"ADD", NamedKey::NumpadAdd},
    Keyword{"SUBTRACT", NamedKey::NumpadSubtract},
    Keyword{"MULTIPLY", NamedKey::NumpadMultiply},
    Keyword{"DIVIDE", NamedKey::NumpadDivide},
};

bool isBlank(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\v' || c == U'\f' || c == U'\r';
}

bool isDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

bool sameKeyword(std::u32string_view name, std::string_view keyword) {
    return std::equal(name.begin(), name.end(), keyword.begin(), keyword.end(),
                      [](char32_t c, char k) {
                          const char32_t upper = (c >= U'a' && c <= U'z') ? c - U'a' + U'A' : c;
                          return upper == static_cast<unsigned char>(k);
                      });
}

std::optional<NamedKey> keywordKey(std::u32string_view name) {
    for (const Keyword& keyword : kKeywords) {
        if (sameKeyword(name, keyword.name)) {
            return keyword.key;
        }
    }
    return std::nullopt;
}

std::optional<NamedKey> modifierOf(char32_t c) {
    switch (c) {
        case U'+':
            return NamedKey::Shift;
        case U'^':
            return NamedKey::Ctrl;
        case U'%':
            return NamedKey::Alt;
        default:
            return std::nullopt;
    }
}

KeyAction keyAction(KeyAction::Kind kind, NamedKey key) {
    KeyAction action;
    action.kind = kind;
    action.key = key;
    return action;
}

KeyAction typeAction(char32_t character) {
    KeyAction action;
    action.kind = KeyAction::Kind::Type;
    action.character = character;
    return action;
}

// Distinct modifiers in the order they are pressed (there are only three).
class ModifierList {
public:
    bool contains(NamedKey key) const { return std::find(begin(), end(), key) != end(); }
    bool empty() const { return count_ == 0; }
    void add(NamedKey key) { keys_[count_++] = key; }
    void add(const ModifierList& other) {
        for (NamedKey key : other) {
            add(key);
        }
    }
    void clear() { count_ = 0; }
    const NamedKey* begin() const { return keys_.data(); }
    const NamedKey* end() const { return keys_.data() + count_; }

private:
    std::array<NamedKey, 3> keys_{};
    std::size_t count_ = 0;
};

// An open "(": the modifiers written before it, pressed with the group's first key.
struct Group {
    ModifierList modifiers;
    bool pressed = false;
    std::size_t openedAt = 0;
};

class Parser {
public:
    explicit Parser(std::u32string text) : text_(std::move(text)) {}

    KeyTextParse run() {
        while (pos_ < text_.size()) {
            tokenStart_ = pos_;
            if (auto error = step()) {
                return {{}, error};
            }
            if (limitReached_) {
                return {{}, KeyTextError{KeyTextErrorReason::TooManyActions, tokenStart_}};
            }
        }
        if (!groups_.empty()) {
            return {{}, KeyTextError{KeyTextErrorReason::UnclosedGroup, groups_.back().openedAt}};
        }
        tokenStart_ = text_.size();
        tapDangling(pending_);
        if (limitReached_) {
            return {{}, KeyTextError{KeyTextErrorReason::TooManyActions, tokenStart_}};
        }
        return {std::move(actions_), std::nullopt};
    }

private:
    static std::optional<KeyTextError> fail(KeyTextErrorReason reason, std::size_t position) {
        return KeyTextError{reason, position};
    }

    std::optional<KeyTextError> step() {
        const char32_t c = text_[pos_];
        if (const auto modifier = modifierOf(c)) {
            if (!inForce(*modifier)) {
                pending_.add(*modifier);
            }
            ++pos_;
            return std::nullopt;
        }
        switch (c) {
            case U'(':
                if (groups_.size() == kMaxGroupDepth) {
                    return fail(KeyTextErrorReason::NestingTooDeep, pos_);
                }
                groups_.push_back({pending_, false, pos_});
                pending_.clear();
                ++pos_;
                return std::nullopt;
            case U')':
                if (groups_.empty()) {
                    return fail(KeyTextErrorReason::StrayDelimiter, pos_);
                }
                closeGroup();
                ++pos_;
                return std::nullopt;
            case U'}':
                return fail(KeyTextErrorReason::StrayDelimiter, pos_);
            case U'{':
                return braceItem();
            case U'~':
                ++pos_;
                key(keyAction(KeyAction::Kind::Tap, NamedKey::Enter), 1);
                return std::nullopt;
            default:
                ++pos_;
                key(typeAction(c), 1);
                return std::nullopt;
        }
    }

    // "{" name [blanks [digits]] "}"; moves pos_ behind the item.
    std::optional<KeyTextError> braceItem() {
        const std::size_t open = pos_;
        const std::size_t nameStart = open + 1;
        std::size_t close = text_.find(U'}', nameStart);
        if (close == nameStart) {
            // "{}}" and "{} 3}": a "}" right after "{" is the name when another "}" follows.
            if (const std::size_t later = text_.find(U'}', nameStart + 1);
                later != std::u32string::npos) {
                close = later;
            }
        }
        if (close == std::u32string::npos) {
            return fail(KeyTextErrorReason::MissingClosingBrace, open);
        }
        const std::u32string_view item(text_.data() + nameStart, close - nameStart);
        const std::size_t nameLength =
            std::find_if(item.begin(), item.end(), isBlank) - item.begin();
        if (nameLength == 0) {
            return fail(KeyTextErrorReason::EmptyKeyName, nameStart);
        }
        const std::u32string_view name = item.substr(0, nameLength);
        KeyAction action = typeAction(name[0]);
        if (name.size() > 1) {
            const auto named = keywordKey(name);
            if (!named) {
                return fail(KeyTextErrorReason::UnknownKeyName, nameStart);
            }
            action = keyAction(KeyAction::Kind::Tap, *named);
        }

        std::size_t i = nameLength;
        while (i < item.size() && isBlank(item[i])) {
            ++i;
        }
        int count = 1;
        if (i < item.size()) {
            const std::size_t digitsStart = i;
            count = 0;
            for (; i < item.size() && isDigit(item[i]); ++i) {
                count = std::min(count * 10 + static_cast<int>(item[i] - U'0'), kMaxKeyRepeat + 1);
            }
            if (i < item.size()) {
                return fail(KeyTextErrorReason::BadRepeatCount, nameStart + i);
            }
            if (count > kMaxKeyRepeat) {
                return fail(KeyTextErrorReason::RepeatCountTooLarge, nameStart + digitsStart);
            }
        }
        pos_ = close + 1;
        key(action, static_cast<std::size_t>(count));
        return std::nullopt;
    }

    bool inForce(NamedKey modifier) const {
        return pending_.contains(modifier) ||
               std::any_of(groups_.begin(), groups_.end(), [modifier](const Group& group) {
                   return group.modifiers.contains(modifier);
               });
    }

    ModifierList held() const {
        ModifierList list;
        for (const Group& group : groups_) {
            if (group.pressed) {
                list.add(group.modifiers);
            }
        }
        return list;
    }

    // One key, item or "~", `count` times, under every modifier in force; the one-shot
    // modifiers end with it.
    void key(const KeyAction& action, std::size_t count) {
        if (count == 0) {
            tapDangling(pending_);
            pending_.clear();
            return;
        }
        for (Group& group : groups_) {
            if (!group.pressed) {
                press(group.modifiers);
                group.pressed = true;
            }
        }
        press(pending_);
        emit(action, count);
        release(pending_);
        pending_.clear();
    }

    void closeGroup() {
        const Group group = groups_.back();
        ModifierList dangling;
        if (!group.pressed) {
            dangling.add(group.modifiers);
        }
        dangling.add(pending_);
        tapDangling(dangling);
        pending_.clear();
        if (group.pressed) {
            release(group.modifiers);
        }
        groups_.pop_back();
    }

    // Modifiers that precede no key are pressed and released together, except that Alt and Shift
    // are never down without a key (a lone Alt+Shift switches the input language on some
    // desktops): then each is tapped on its own, and not at all while its partner is held.
    void tapDangling(const ModifierList& modifiers) {
        if (modifiers.empty()) {
            return;
        }
        const ModifierList down = held();
        const auto involved = [&](NamedKey key) {
            return modifiers.contains(key) || down.contains(key);
        };
        if (!(involved(NamedKey::Alt) && involved(NamedKey::Shift))) {
            press(modifiers);
            release(modifiers);
            return;
        }
        for (NamedKey modifier : modifiers) {
            const bool partnerDown =
                (modifier == NamedKey::Alt && down.contains(NamedKey::Shift)) ||
                (modifier == NamedKey::Shift && down.contains(NamedKey::Alt));
            if (partnerDown) {
                continue;
            }
            emit(keyAction(KeyAction::Kind::Press, modifier), 1);
            emit(keyAction(KeyAction::Kind::Release, modifier), 1);
        }
    }

    void press(const ModifierList& modifiers) {
        for (NamedKey modifier : modifiers) {
            emit(keyAction(KeyAction::Kind::Press, modifier), 1);
        }
    }

    void release(const ModifierList& modifiers) {
        for (auto it = std::make_reverse_iterator(modifiers.end());
             it != std::make_reverse_iterator(modifiers.begin()); ++it) {
            emit(keyAction(KeyAction::Kind::Release, *it), 1);
        }
    }

    void emit(const KeyAction& action, std::size_t count) {
        if (limitReached_ || kMaxKeyActions - actions_.size() < count) {
            limitReached_ = true;
            return;
        }
        actions_.insert(actions_.end(), count, action);
    }

    std::u32string text_;
    std::size_t pos_ = 0;
    std::size_t tokenStart_ = 0;
    KeyActions actions_;
    ModifierList pending_;
    std::vector<Group> groups_;
    bool limitReached_ = false;
};

std::u32string decodeUtf8(std::string_view utf8) {
    std::u32string text;
    text.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        text.push_back(nextCharacter(utf8, pos).value_or(U'\uFFFD'));
    }
    return text;
}

std::string_view reasonText(KeyTextErrorReason reason) {
    switch (reason) {
        case KeyTextErrorReason::MissingClosingBrace:
            return "missing '}'";
        case KeyTextErrorReason::StrayDelimiter:
            return "delimiter without an opening partner";
        case KeyTextErrorReason::UnclosedGroup:
            return "missing ')'";
        case KeyTextErrorReason::NestingTooDeep:
            return "groups nested deeper than three levels";
        case KeyTextErrorReason::EmptyKeyName:
            return "empty key name";
        case KeyTextErrorReason::UnknownKeyName:
            return "unknown key name";
        case KeyTextErrorReason::BadRepeatCount:
            return "bad repeat count";
        case KeyTextErrorReason::RepeatCountTooLarge:
            return "repeat count too large";
        case KeyTextErrorReason::TooManyActions:
            return "text expands to too many key actions";
    }
    return "invalid key text";
}

}  // namespace

std::string KeyTextError::message() const {
    return std::string(reasonText(reason)) + " at character " + std::to_string(position) +
           " (counted from 0)";
}

KeyTextParse parseKeyText(std::string_view utf8Text) {
    return Parser(decodeUtf8(utf8Text)).run();
}

}  // namespace pontrel
