#pragma once

#include <array>
#include <string_view>

namespace pontrel {

struct HotKey {
    std::string_view name;  // what the chooser shows and the record stores
    std::string_view code;  // the virtual-key code as the form keeps it ("&H70")
};

// Row index = chooser index. "no" stands for F13, which ordinary keyboards lack.
inline constexpr std::array<HotKey, 13> startHotKeys{{
    {"no", "&H7C"},
    {"F1", "&H70"},
    {"F2", "&H71"},
    {"F3", "&H72"},
    {"F4", "&H73"},
    {"F5", "&H74"},
    {"F6", "&H75"},
    {"F7", "&H76"},
    {"F8", "&H77"},
    {"F9", "&H78"},
    {"F10", "&H79"},
    {"F11", "&H7A"},
    {"F12", "&H7B"},
}};

inline constexpr std::array<HotKey, 13> abortHotKeys{{
    {"ESC", "&H1B"},
    {"F1", "&H70"},
    {"F2", "&H71"},
    {"F3", "&H72"},
    {"F4", "&H73"},
    {"F5", "&H74"},
    {"F6", "&H75"},
    {"F7", "&H76"},
    {"F8", "&H77"},
    {"F9", "&H78"},
    {"F10", "&H79"},
    {"F11", "&H7A"},
    {"F12", "&H7B"},
}};

}  // namespace pontrel
