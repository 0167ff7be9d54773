#include <gtest/gtest.h>

#include <string>

#include "support/FormFixture.h"

namespace pontrel {
namespace {

struct RecordReadingTest : test::FormFixture {
    void read(int slot, const std::string& record) {
        f().befehl_nr = slot;
        f().befehl_zeilen[static_cast<std::size_t>(slot)] = record;
        f().records.befehl_aktuellencode();
    }
};

TEST_F(RecordReadingTest, ValuesAreFoundByPositionNotByKeyName) {
    read(4, "code:|002|a:|5|b:|6|");
    EXPECT_EQ(f().befehl_code, 2);
    EXPECT_EQ(f().befehl_codetext[4], "002");
    EXPECT_EQ(f().befehl_wert1[4], "5");
    EXPECT_EQ(f().befehl_wert2[4], "6");
}

TEST_F(RecordReadingTest, FieldsMissingFromARecordKeepWhatTheSlotHeld) {
    read(4, "code:|010|xpos:|100|ypos:|200|break:|30|");
    read(4, "code:|002|xpos:|7|ypos:|9|");
    EXPECT_EQ(f().befehl_wert1[4], "7");
    EXPECT_EQ(f().befehl_wert3[4], "30");
}

TEST_F(RecordReadingTest, ACodeAboveTenIsReplacedButReadOnceAsItStands) {
    read(2, "code:|011|wait:|7|");
    EXPECT_EQ(f().befehl_code, 11);
    EXPECT_EQ(f().befehl_wert1[2], "7");
    EXPECT_EQ(f().befehl_zeilen[2], "code:|001|wait:|0|");
}

TEST_F(RecordReadingTest, NegativeFractionalAndTextCodesStay) {
    for (const auto& [record, code] : std::vector<std::pair<std::string, double>>{
             {"code:|-3|wait:|0|", -3}, {"code:|2.5|", 2.5}, {"code:|abc|", 0}}) {
        read(1, record);
        EXPECT_EQ(f().befehl_code, code) << record;
        EXPECT_EQ(f().befehl_zeilen[1], record);
    }
}

TEST_F(RecordReadingTest, AnEmptySlotIsSkippedAndTheCodeKept) {
    read(1, "code:|005|start:|1|step:|2|");
    read(2, "");
    EXPECT_EQ(f().befehl_code, 5);
    EXPECT_EQ(f().befehl_codetext[2], "");
}

TEST_F(RecordReadingTest, TheListShowsAtMostRowsZeroToNineHundredNinetyNine) {
    start();
    f().befehl_anzahl = 1200;
    for (std::size_t slot = 1; slot <= 1200; ++slot) {
        f().befehl_zeilen[slot] = "code:|001|wait:|0|";
    }
    f().befehl_nr = 1100;
    f().records.befehlsliste();
    ASSERT_EQ(f().lst_code.listCount(), 1000);
    EXPECT_EQ(f().lst_code.item(999), "999 - code: 001 wait: 0 ");
    EXPECT_EQ(f().lst_code.selCount(), 0);

    f().befehl_nr = 999;
    f().records.befehlsliste();
    EXPECT_TRUE(f().lst_code.selected(999));
}

}  // namespace
}  // namespace pontrel
