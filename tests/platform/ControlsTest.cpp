#include <gtest/gtest.h>

#include <string>

#include "platform/controls/CheckBox.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/HScrollBar.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/OptionGroup.h"
#include "platform/controls/TextBox.h"

namespace pontrel {
namespace {

TEST(TextBoxTest, ChangeIsRaisedOnlyWhenTheTextDiffers) {
    TextBox box("txt");
    int changes = 0;
    box.Change.connect([&] { ++changes; });
    box.setText("500");
    box.setText("500");
    box.setText("");
    EXPECT_EQ(changes, 2);
}

TEST(TextBoxTest, HandlerSettingItsOwnTextRunsOnceMoreAndStops) {
    TextBox box("txt");
    int changes = 0;
    box.Change.connect([&] {
        ++changes;
        std::string cleaned;
        for (const char c : box.text()) {
            if (c != '|') {
                cleaned += c;
            }
        }
        box.setText(cleaned);
    });
    box.setText("a|b");
    EXPECT_EQ(box.text(), "ab");
    EXPECT_EQ(changes, 2);
}

TEST(TextBoxTest, ProgramTextIsNeverCutByTheMaximumLength) {
    TextBox box("txt");
    box.setMaxLength(5);
    box.setText("1234567890");
    EXPECT_EQ(box.text(), "1234567890");
}

TEST(ComboBoxTest, SettingTheTextSelectsAListedItemAndClicks) {
    ComboBox combo("com");
    combo.setItems({"no", "F1", "F2"});
    int clicks = 0;
    combo.Click.connect([&] { ++clicks; });

    EXPECT_TRUE(combo.setText("F2"));
    EXPECT_EQ(combo.listIndex(), 2);
    EXPECT_TRUE(combo.setText("F2"));
    EXPECT_FALSE(combo.setText("F13"));
    EXPECT_EQ(combo.text(), "F2");
    EXPECT_EQ(clicks, 1);
}

TEST(HScrollBarTest, LoweringTheMaximumBelowTheValueClampsAndRaisesChange) {
    HScrollBar bar("hsc");
    bar.setMax(10);
    bar.setValue(8);
    int changes = 0;
    bar.Change.connect([&] { ++changes; });

    bar.setMax(20);
    EXPECT_EQ(changes, 0);
    bar.setMax(5);
    EXPECT_EQ(bar.value(), 5);
    EXPECT_EQ(changes, 1);
    bar.setValue(99);
    EXPECT_EQ(bar.value(), 5);
}

TEST(ListBoxTest, SelectingARowMakesItTheCurrentRowAndNewItemsClearTheSelection) {
    ListBox list("lst");
    list.setItems({"000", "001", "002"});
    list.setSelected(2, true);
    list.setSelected(0, true);
    EXPECT_EQ(list.listIndex(), 0);
    EXPECT_EQ(list.selCount(), 2);

    const auto revision = list.itemsRevision();
    list.setItems({"000"});
    EXPECT_GT(list.itemsRevision(), revision);
    EXPECT_EQ(list.selCount(), 0);
    EXPECT_EQ(list.listIndex(), -1);
    EXPECT_FALSE(list.selected(5));
}

TEST(ListBoxTest, SelectedRowsComeInRunsOfNeighbours) {
    ListBox list("lst");
    list.setItems({"0", "1", "2", "3", "4", "5"});
    list.applyUserSelection({true, true, false, true, false, true}, 0);
    EXPECT_EQ(list.selectedRuns(6), (std::vector<std::pair<int, int>>{{0, 1}, {3, 3}, {5, 5}}));
    EXPECT_EQ(list.selectedRuns(4), (std::vector<std::pair<int, int>>{{0, 1}, {3, 3}}));
    EXPECT_TRUE(list.selectedRuns(0).empty());
}

TEST(OptionGroupTest, SelectingAnotherMemberClicksOnceWithItsIndex) {
    OptionGroup group("opt", {"a", "b", "c"});
    std::vector<int> clicks;
    group.Click.connect([&](int index) { clicks.push_back(index); });

    group.select(1);
    group[1].click();
    group[2].click();
    group.select(7);
    EXPECT_EQ(clicks, (std::vector<int>{1, 2}));
    EXPECT_TRUE(group[2].value());
    EXPECT_FALSE(group[1].value());
    EXPECT_EQ(group[0].name(), "opt(0)");
}

TEST(CheckBoxTest, SettingADifferentValueClicks) {
    CheckBox box("chk");
    int clicks = 0;
    box.Click.connect([&] { ++clicks; });
    box.setValue(1);
    box.setValue(5);
    box.setValue(0);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(box.value(), 0);
}

}  // namespace
}  // namespace pontrel
