#pragma once

#include <string>
#include <vector>

#include "support/FormFixture.h"

namespace pontrel::test {

// A started window with a macro of ten commands, and the list click as the list box makes it.
struct EditorFixture : FormFixture {
    static constexpr int commands = 10;

    void SetUp() override {
        start();
        f().befehl_anzahl = commands;
        for (std::size_t slot = 1; slot <= commands; ++slot) {
            f().befehl_zeilen[slot] = "code:|001|wait:|0|";
        }
        f().aenderung_sperren = true;
        f().txt_befehle.setText(std::to_string(commands));
        f().hsc_befehle.setMax(commands);
        f().aenderung_sperren = false;
        f().records.befehlsliste();
    }

    // Selects rows (the first one becomes the current row) and takes the click over as the list's
    // left-button handler does; then lets the chooser update run.
    void click(const std::vector<int>& rows) {
        std::vector<bool> selection(static_cast<std::size_t>(f().lst_code.listCount()), false);
        for (const int row : rows) {
            selection[static_cast<std::size_t>(row)] = true;
        }
        f().lst_code.applyUserSelection(selection, rows.front());
        f().aenderung_sperren = true;
        f().panels.codebox_auswahlclick();
        f().panels.codesichtbar();
        f().aenderung_sperren = false;
        fake.clock.advance(10);
    }

    // Puts a record into a slot and clicks its row.
    void show(int slot, const std::string& record) {
        f().befehl_zeilen[static_cast<std::size_t>(slot)] = record;
        f().records.befehlsliste();
        click({slot});
    }

    // The user picks an entry of a drop-down list.
    static void pick(ComboBox& box, const std::string& entry) { ASSERT_TRUE(box.setText(entry)); }

    const std::string& slot(int index) {
        return f().befehl_zeilen[static_cast<std::size_t>(index)];
    }
};

}  // namespace pontrel::test
