#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/InputService.h"

namespace pontrel {

// The window-level state of the main window, under its design names.
struct FormState {
    // Record slots 0 to 32001; slot 0 is the basic-settings record.
    static constexpr int slotCount = 32002;
    static constexpr int lastSlot = slotCount - 1;

    // The macro and the parsed fields of each slot.
    std::vector<std::string> befehl_zeilen = std::vector<std::string>(slotCount);
    std::vector<std::string> befehl_codetext = std::vector<std::string>(slotCount);
    std::vector<std::string> befehl_wert1 = std::vector<std::string>(slotCount);
    std::vector<std::string> befehl_wert2 = std::vector<std::string>(slotCount);
    std::vector<std::string> befehl_wert3 = std::vector<std::string>(slotCount);
    std::vector<std::string> befehl_wert4 = std::vector<std::string>(slotCount);
    int befehl_nr = 0;
    int befehl_anzahl = 0;
    double befehl_code = 0;  // as read from the record: may be negative, fractional or above 10

    // Editing.
    bool aenderung_sperren = false;
    bool auswahl_klick = false;
    std::string klick_art = "left";
    std::string pc_befehl = "lockpc";
    std::vector<std::string> kopier_puffer = std::vector<std::string>(slotCount);

    // Files.
    std::string dateipfad = "pontrel.qmc";

    // Limits, set at start-up.
    int hoechster_code = 0;
    int befehl_maximum = 0;
    int anzeige_grenze = 0;

    // Hot keys.
    std::string start_taste = "&H7C";
    std::string start_tastenname = "no";
    std::string abbruch_taste = "&H1B";
    std::string abbruch_tastenname = "ESC";

    // Playback.
    double grund_wartezeit = 0;
    double wiederholungen = 0;
    double durchlauf = 0;
    double zaehler_wert = 0;
    double zaehler_naechster = 0;
    bool zaehler_neu = true;
    std::int16_t pixel_status = 0;
    double pixel_takte = 0;
    double pixel_zeit = 0;
    std::string pixel_referenz;
    std::string pixel_aktuell;
    bool keine_cd = false;
    std::string mci_antwort;

    // Window.
    std::int16_t twips_pro_pixel_x = 15;
    std::int16_t twips_pro_pixel_y = 15;
    bool ausgeblendet = false;
    // The desktop lets the window be neither transparent nor always on top.
    bool keine_fenstereffekte = false;
    ScreenPoint mausposition;
};

}  // namespace pontrel
