#pragma once

#include <array>
#include <string_view>

namespace pontrel {

// The entries of the command chooser; entry index = code − 1.
inline constexpr std::array<std::string_view, 10> commandNames{
    "Zufall Wartezeit",    "Mauszeiger zu X/Y Position gehen",  "Mauszeiger Tastendruck",
    "Tastatur Eingabe",    "Zahl hochzählen in Zwischenablage", "Programmpfad öffnen",
    "PC Befehl ausführen", "CD-Laufwerk öffnen/schließen",      "Screenshot erzeugen",
    "Pixel Veränderung",
};

inline constexpr std::string_view basicSettingsName = "Grundeinstellungen";

}  // namespace pontrel
