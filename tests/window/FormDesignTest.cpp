#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/controls/Label.h"
#include "support/VirtualClock.h"
#include "window/FormControls.h"
#include "window/FormDesign.h"

namespace pontrel {
namespace {

// The design table and the controls placed on the window name each other one to one, and only
// labels carry a label style.
TEST(FormDesignTest, EveryRowNamesOneControlAndEveryPlacedControlHasOneRow) {
    test::VirtualClock clock;
    FormControls controls(clock);

    std::map<std::string, int> placed;
    std::map<std::string, const Control*> byName;
    for (const Control* control : controls.frm_pontrel.controls()) {
        ++placed[control->name()];
        byName[control->name()] = control;
    }
    std::map<std::string, int> rows;
    for (const ControlDesign& row : formDesign()) {
        const std::string name(row.name);
        ++rows[name];
        if (row.labelStyle != LabelStyle::plain && byName.count(name) != 0) {
            EXPECT_NE(dynamic_cast<const Label*>(byName[name]), nullptr) << name << " is no label";
        }
    }
    EXPECT_EQ(rows, placed);
    for (const auto& [name, count] : rows) {
        EXPECT_EQ(count, 1) << name;
    }
}

}  // namespace
}  // namespace pontrel
