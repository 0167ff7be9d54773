#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace pontrel {

// How a typing backend gets a character into the focused program.
enum class CharacterWay {
    Key,    // a key of the user's layout
    Paste,  // the layout lacks it: through the clipboard and Ctrl+V
    None,   // a control character no key gives: left out
};

// Where the paste that starts at run[start], a character to paste, ends. A paste costs far more
// than a key, so stretches apart by a few plain characters of the layout (no control character
// such as Enter or Tab) go as one paste; never under a held key, whose chord the pasted
// characters would lose.
std::size_t pastedStretchEnd(std::u32string_view run, std::size_t start, bool keyHeld,
                             const std::function<CharacterWay(char32_t)>& way);

}  // namespace pontrel
