#include "platform/wayland/TypingKeymap.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <xkbcommon/xkbcommon.h>

namespace pontrel {
namespace {

// The keymap text of an XKB layout, as a compositor hands it to its clients.
std::string layoutText(const char* layout) {
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    xkb_rule_names names{};
    names.layout = layout;
    xkb_keymap* keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    std::string result = text;
    std::free(text);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    return result;
}

struct StrokeCase {
    const char* layout;
    Keysym keysym;
    const char* modifier;  // the one modifier the level needs; nullptr: none
};

TEST(TypingKeymapTest, CharactersOfTheLayoutUseTheirOwnKeyAndLevel) {
    const StrokeCase cases[] = {
        {"de", XKB_KEY_adiaeresis, nullptr},    {"de", XKB_KEY_Adiaeresis, XKB_MOD_NAME_SHIFT},
        {"de", XKB_KEY_ssharp, nullptr},        {"de", XKB_KEY_at, "Mod5"},
        {"de", XKB_KEY_EuroSign, "Mod5"},       {"de", XKB_KEY_braceleft, "Mod5"},
        {"us", XKB_KEY_at, XKB_MOD_NAME_SHIFT}, {"us", XKB_KEY_a, nullptr},
        {"us", XKB_KEY_Return, nullptr},        {"us", XKB_KEY_F12, nullptr},
    };
    for (const StrokeCase& c : cases) {
        SCOPED_TRACE(std::string(c.layout) + " keysym " + std::to_string(c.keysym));
        const TypingLayout layout(layoutText(c.layout));
        ASSERT_TRUE(layout.valid());
        const auto stroke = layout.layout().stroke(c.keysym);
        ASSERT_TRUE(stroke);
        EXPECT_EQ(stroke->group, 0U);
        EXPECT_EQ(stroke->mods, c.modifier ? layout.layout().modMask(c.modifier) : 0U);
        EXPECT_EQ(layout.layout().keysymAt(stroke->keycode, stroke->group, stroke->mods), c.keysym);
    }
    EXPECT_FALSE(TypingLayout(layoutText("de")).layout().stroke(0x1004e2d));  // 中
}

TEST(TypingKeymapTest, AddedKeysymsGetFreeX11KeycodesAndTheLayoutStaysAsItWas) {
    for (const char* name : {"us", "de"}) {
        SCOPED_TRACE(name);
        const TypingLayout layout(layoutText(name));
        ASSERT_GE(layout.capacity(), 100U);
        const std::vector<Keysym> extra = {0x1004e2d, 0x101f600, XKB_KEY_rightarrow,
                                           XKB_KEY_lstroke, XKB_KEY_F13};
        const auto keymap = layout.withKeysyms(extra);
        ASSERT_TRUE(keymap);
        std::vector<std::uint32_t> keycodes;
        for (Keysym keysym : extra) {
            const auto stroke = keymap->stroke(keysym);
            ASSERT_TRUE(stroke) << keysym;
            EXPECT_LE(stroke->keycode, 255U);
            EXPECT_EQ(stroke->mods, 0U);
            keycodes.push_back(stroke->keycode);
        }
        std::sort(keycodes.begin(), keycodes.end());
        EXPECT_EQ(std::unique(keycodes.begin(), keycodes.end()), keycodes.end());
        for (Keysym kept : {XKB_KEY_a, XKB_KEY_Return, XKB_KEY_Shift_L, XKB_KEY_Control_L,
                            XKB_KEY_Alt_L, XKB_KEY_F1, XKB_KEY_BackSpace}) {
            const auto before = layout.layout().stroke(kept);
            ASSERT_TRUE(before) << kept;
            EXPECT_EQ(keymap->stroke(kept), before) << kept;
            EXPECT_EQ(keymap->modsOfKey(before->keycode),
                      layout.layout().modsOfKey(before->keycode));
        }
    }
}

TEST(TypingKeymapTest, MoreKeysymsThanFreeKeycodesAddOnlyWhatFits) {
    const TypingLayout layout(layoutText("de"));
    std::vector<Keysym> many;
    for (Keysym cjk = 0x1004e00; many.size() < layout.capacity() + 10; ++cjk) {
        many.push_back(cjk);
    }
    const auto keymap = layout.withKeysyms(many);
    ASSERT_TRUE(keymap);
    EXPECT_TRUE(keymap->stroke(many[layout.capacity() - 1]));
    EXPECT_FALSE(keymap->stroke(many[layout.capacity()]));
}

}  // namespace
}  // namespace pontrel
