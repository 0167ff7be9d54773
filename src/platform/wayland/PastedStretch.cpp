#include "platform/wayland/PastedStretch.h"

namespace pontrel {

namespace {

// The most plain characters between two pasted stretches that join them: typing that many takes
// about as long as the paste it saves.
constexpr std::size_t joinedCharacters = 24;

}  // namespace

std::size_t pastedStretchEnd(std::u32string_view run, std::size_t start, bool keyHeld,
                             const std::function<CharacterWay(char32_t)>& way) {
    std::size_t end = start + 1;
    for (std::size_t i = end; i < run.size(); ++i) {
        const CharacterWay next = way(run[i]);
        if (next == CharacterWay::Paste) {
            end = i + 1;
        } else if (keyHeld || i - end >= joinedCharacters || next != CharacterWay::Key ||
                   run[i] < U' ') {
            break;
        }
    }
    return end;
}

}  // namespace pontrel
