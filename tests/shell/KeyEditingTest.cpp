// The key editor's rules and the menus' key texts.
#include "shell/KeyEditing.h"

#include "shell/KeyTable.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

AcceleratorKey Key(uint16_t key, uint8_t modifiers, uint16_t command) { return {key, modifiers, 0, command, 0}; }

TEST(KeyEditing, AssignKeepsOneKeyPerCommandAndOneCommandPerKey)
{
    std::vector<AcceleratorKey> table;
    AddDefaultAccelerators(table, true);
    size_t before = table.size();
    EXPECT_EQ(AssignKey(table, 26116, 'S', kAccelCtrl), SetKeyResult::FixedKey);
    EXPECT_EQ(AssignKey(table, 26116, 0, kAccelCtrl), SetKeyResult::NoKey);
    EXPECT_EQ(table.size(), before);
    // Ctrl+D moves from its default command to the new one.
    EXPECT_EQ(AssignKey(table, 26116, 'D', kAccelCtrl), SetKeyResult::Set);
    EXPECT_EQ(table.size(), before);
    EXPECT_EQ(KeyHolder(table, 'D', kAccelCtrl), 26116);
    EXPECT_EQ(KeyOfCommand(table, 25002), nullptr);
    // Giving the command another key drops its old one.
    EXPECT_EQ(AssignKey(table, 26116, 'E', kAccelCtrl), SetKeyResult::Set);
    EXPECT_EQ(KeyHolder(table, 'D', kAccelCtrl), 0);
    EXPECT_EQ(KeyOfCommand(table, 26116)->key, 'E');
    EXPECT_TRUE(ClearKey(table, 26116));
    EXPECT_FALSE(ClearKey(table, 26116));
    EXPECT_EQ(KeyHolder(table, 'S', kAccelCtrl), 26265); // the fixed keys answer too
}

TEST(KeyEditing, KeyFieldRefusals)
{
    struct Case {
        uint32_t key;
        bool shift, ctrl, refused;
    };
    const Case cases[] = {
        {'A', false, false, true}, {'A', false, true, false}, {'5', true, false, false}, {'5', true, true, true},
        {0x61, false, true, true}, {0x70, false, false, true}, {0x7B, true, false, true}, {0xBC, false, true, true},
        {0xDC, false, false, true}, {0xDB, false, false, false}, {0xBD, true, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyFieldRefuses(c.key, c.shift, c.ctrl), c.refused) << c.key << c.shift << c.ctrl;
}

TEST(KeyEditing, ShortcutTexts)
{
    EXPECT_EQ(ParseShortcutText("F5"), (ShortcutKey{0x74, 0}));
    EXPECT_EQ(ParseShortcutText("Shift+F11"), (ShortcutKey{0x7A, kAccelShift}));
    EXPECT_EQ(ParseShortcutText("Shift+Ctrl+F9"), (ShortcutKey{0x78, kAccelShift | kAccelCtrl}));
    EXPECT_EQ(ParseShortcutText("Ctrl+P"), (ShortcutKey{'P', kAccelCtrl}));
    EXPECT_EQ(ParseShortcutText("]"), (ShortcutKey{']', 0}));
    EXPECT_EQ(ParseShortcutText("`"), (ShortcutKey{223, 0}));
    EXPECT_EQ(ParseShortcutText("+"), (ShortcutKey{'=', kAccelShift}));
    EXPECT_EQ(ParseShortcutText(">"), (ShortcutKey{'.', kAccelShift}));
    EXPECT_EQ(ParseShortcutText("<"), (ShortcutKey{',', kAccelShift}));
    EXPECT_EQ(ParseShortcutText("-"), (ShortcutKey{'_', 0}));
    EXPECT_EQ(ParseShortcutText(", (comma)"), (ShortcutKey{',', 0})) << "a key named in brackets";
    EXPECT_FALSE(ParseShortcutText("(comma)"));
    EXPECT_FALSE(ParseShortcutText("F0"));
    EXPECT_FALSE(ParseShortcutText("Alt+X"));
    EXPECT_FALSE(ParseShortcutText(""));
    EXPECT_EQ(KeyText(Key('[', kAccelCtrl | kAccelShift, 1)), "Ctrl + Shift + [");
}

} // namespace
} // namespace qv
