// Qt keys to the virtual keys the frame's key tables use: shifted punctuation is the key it is typed on,
// so a menu key shown as ">" (Shift and ".") is found when the user types it.
#include "views/ui/KeyCodes.h"

#include "shell/KeyEditing.h"
#include "shell/KeyTable.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(KeyCodes, ShiftedPunctuationIsTheKeyItIsTypedOn)
{
    struct Case {
        Qt::Key qtKey;
        const char* shown;
    };
    const Case cases[] = {{Qt::Key_Greater, ">"}, {Qt::Key_Less, "<"}, {Qt::Key_Plus, "+"}, {Qt::Key_Bar, "|"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        const QKeyEvent event(QEvent::KeyPress, c.qtKey, Qt::ShiftModifier, QString::fromLatin1(c.shown));
        const std::optional<ShortcutKey> shown = ParseShortcutText(c.shown);
        ASSERT_TRUE(shown);
        EXPECT_EQ(OemKeyToChar(WindowsKeyCode(event)), shown->key);
        EXPECT_EQ(KeyStateOf(event).shift, (shown->modifiers & kAccelShift) != 0);
    }
}

// Shift and a digit arrives as the character it types; the default keys give Shift+1 ... Shift+6 the
// date-range limits, so each typed character must find its command.
TEST(KeyCodes, ShiftedDigitsReachTheirDefaultKeys)
{
    struct Case {
        Qt::Key qtKey;
        const char* typed;
        uint16_t command;
    };
    const Case cases[] = {{Qt::Key_Exclam, "!", 26743},   {Qt::Key_QuoteDbl, "\"", 26744}, {Qt::Key_At, "@", 26744},
                          {Qt::Key_sterling, "\xa3", 26745}, {Qt::Key_NumberSign, "#", 26745}, {Qt::Key_Dollar, "$", 26746},
                          {Qt::Key_Percent, "%", 26747},  {Qt::Key_AsciiCircum, "^", 26748}};
    std::vector<AcceleratorKey> saved = KeyTable();
    KeyTable().clear();
    AddDefaultAccelerators(KeyTable(), true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const QKeyEvent event(QEvent::KeyPress, c.qtKey, Qt::ShiftModifier, QString::fromLatin1(c.typed));
        EXPECT_EQ(FindAcceleratorCommand(WindowsKeyCode(event), ModifierState(KeyStateOf(event))), c.command);
    }
    // Without Shift the British "#" key keeps its own code.
    const QKeyEvent hash(QEvent::KeyPress, Qt::Key_NumberSign, Qt::NoModifier, QStringLiteral("#"));
    EXPECT_EQ(WindowsKeyCode(hash), 0xDEu);
    KeyTable() = saved;
}

} // namespace
} // namespace qv
