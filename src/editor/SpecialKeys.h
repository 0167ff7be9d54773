#pragma once

#include <array>
#include <string_view>

namespace pontrel {

struct SpecialKey {
    std::string_view caption;  // entry of "Spezial Eingaben:"
    std::string_view token;    // appended to the keyboard text
};

// Entry 0 is the prompt and appends nothing.
inline constexpr std::array<SpecialKey, 38> specialKeys{{
    {"Wähle einen Befehl", ""},
    {"Shift", "{SHIFT}"},
    {"Strg", "{CTRL}"},
    {"Alt", "{ALT}"},
    {"Alt Gr", "{ALTGR}"},
    {"Entf", "{DEL}"},
    {"Einfg", "{INS}"},
    {"ESC", "{ESC}"},
    {"Eingabetaste", "{ENTER}"},
    {"Rücktaste", "{BS}"},
    {"TAB", "{TAB}"},
    {"Pfeil oben", "{UP}"},
    {"Pfeil links", "{LEFT}"},
    {"Pfeil rechts", "{RIGHT}"},
    {"Pfeil unten", "{DOWN}"},
    {"Feststelltaste Shift", "{CAPSLOCK}"},
    {"Feststelltaste Nummernblock", "{NUMLOCK}"},
    {"Feststelltaste Rollen", "{SCROLLLOCK}"},
    {"Pause", "{BREAK}"},
    {"Pos1", "{HOME}"},
    {"Ende", "{END}"},
    {"Bild up", "{PGUP}"},
    {"Bild down", "{PGDN}"},
    {"F1", "{F1}"},
    {"F2", "{F2}"},
    {"F3", "{F3}"},
    {"F4", "{F4}"},
    {"F5", "{F5}"},
    {"F6", "{F6}"},
    {"F7", "{F7}"},
    {"F8", "{F8}"},
    {"F9", "{F9}"},
    {"F10", "{F10}"},
    {"F11", "{F11}"},
    {"F12", "{F12}"},
    {"{", "{{}"},
    {"}", "{}}"},
    {"CODE5", "{CODE5}"},
}};

}  // namespace pontrel
