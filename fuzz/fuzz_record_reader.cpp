// Drops arbitrary bytes as a macro file onto the window: the loader, its header options and the
// record reader on every loaded slot. Then saves what was loaded, loads that and saves again: the
// second file must equal the first, and the macro must come back unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/MacroFile.h"
#include "model/RecordFields.h"
#include "support/FakePlatform.h"
#include "window/MainForm.h"

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

struct Window {
    pontrel::test::FakePlatform fake;
    pontrel::MainForm form{fake.platform};
    int touched = pontrel::FormState::lastSlot;  // slots an earlier input may have filled

    Window() { form.lifecycle.Form_Load(); }

    // Back to the macro of a new window. Cheaper than "Neu", which empties every slot and would
    // take most of the time: only the slots an earlier input may have filled are emptied.
    void newMacro() {
        pontrel::MainForm& f = form;
        for (int slot = 0; slot <= touched; ++slot) {
            const auto i = static_cast<std::size_t>(slot);
            for (auto* texts : {&f.befehl_zeilen, &f.befehl_codetext, &f.befehl_wert1,
                                &f.befehl_wert2, &f.befehl_wert3, &f.befehl_wert4}) {
                (*texts)[i].clear();
            }
        }
        f.befehl_zeilen[0] = std::string(pontrel::defaultBasicSettingsRecord);
        for (std::size_t slot = 1; slot <= 3; ++slot) {
            f.befehl_zeilen[slot] = std::string(pontrel::defaultRecord);
        }
        f.navigation.anzahl_setzen(3);
    }
};

std::vector<std::string> macroOf(const pontrel::MainForm& f) {
    return {f.befehl_zeilen.begin(), f.befehl_zeilen.begin() + f.befehl_anzahl + 1};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One window for the whole run: building one per input would dominate the time.
    static Window* const window = new Window;
    pontrel::MainForm& f = window->form;
    auto& files = window->fake.files.files;

    window->newMacro();
    files.clear();
    const std::string input(reinterpret_cast<const char*>(data), size);
    files["in.qmc"] = input;
    // A load stores at most one slot per line; a save writes the count's slots and the key line.
    const auto lineBreaks =
        std::count_if(input.begin(), input.end(), [](char c) { return c == '\r' || c == '\n'; });
    f.lst_code.FilesDropped({"in.qmc"});
    // Start digit 2: the file was read once more during the run, which composes nothing, so
    // record 0 may still read as the file wrote it until the next load.
    const bool started = f.run.running();
    if (started) {
        f.run.start_stop();
    }
    window->fake.take();
    window->touched = static_cast<int>(std::min<std::int64_t>(
        pontrel::FormState::lastSlot, std::max<std::int64_t>(lineBreaks, f.befehl_anzahl + 1)));

    require(!f.aenderung_sperren, "the change lock is released");
    require(f.befehl_anzahl >= 0 && f.befehl_anzahl <= pontrel::FormState::lastSlot, "count");
    require(f.befehl_nr == 0, "record 0 is current");

    f.dateipfad = "out.qmc";
    std::string previous;
    std::vector<std::string> previousMacro;
    for (int round = 0; round < 3; ++round) {
        f.cmd_save.click();
        const auto saved = files.find("out.qmc");
        if (saved == files.end()) {
            // Refused because the reader would cut it: said so, nothing written.
            require(round == 0, "only the first save can be refused");
            require(window->fake.take().size() == 1, "a refused save shows one message");
            return 0;
        }
        require(pontrel::withinReadLimits(saved->second), "a written file is read whole");
        if (round > 0 && (!started || round > 1)) {
            require(saved->second == previous, "saving what was loaded gives the same bytes");
            require(macroOf(f) == previousMacro, "the saved macro loads back unchanged");
        }
        previous = saved->second;
        previousMacro = macroOf(f);
        f.cmd_load.click();
    }
    return 0;
}
