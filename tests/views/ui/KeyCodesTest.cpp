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

} // namespace
} // namespace qv
