// The key field.
#include "shell/ui/ShortcutKeyCtrl.h"

#include "platform/Beep.h"
#include "platform/qt/QtText.h"
#include "shell/KeyEditing.h"
#include "shell/KeyTable.h"
#include "views/ui/KeyCodes.h"

#include <QKeyEvent>

namespace qv {

CShortcutKeyCtrl::CShortcutKeyCtrl(QWidget* parent) : QLineEdit(parent)
{
    setObjectName(QStringLiteral("1882"));
    setReadOnly(true);
    setPlaceholderText(QStringLiteral("None"));
}

void CShortcutKeyCtrl::SetHotKey(uint16_t key, uint8_t modifiers)
{
    key_ = key;
    modifiers_ = key ? modifiers : 0;
    setText(key ? FromCp1252(KeyText(AcceleratorKey{key, modifiers_, 0, 0, 0})) : QString());
    emit hotKeyChanged();
}

bool CShortcutKeyCtrl::TakeKey(uint32_t virtualKey, bool shift, bool ctrl)
{
    if (virtualKey == 0x10 || virtualKey == 0x11)
        return true; // a modifier alone waits for its key
    if (KeyFieldRefuses(virtualKey, shift, ctrl)) {
        SystemBeep();
        return false;
    }
    SetHotKey(uint16_t(OemKeyToChar(virtualKey)), uint8_t((shift ? kAccelShift : 0) | (ctrl ? kAccelCtrl : 0)));
    return true;
}

void CShortcutKeyCtrl::keyPressEvent(QKeyEvent* event)
{
    uint32_t key = WindowsKeyCode(*event);
    if (key == 0x09 || key == 0x0D || key == 0x1B) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (key == 0x08) {
        SetHotKey(0, 0);
        return;
    }
    KeyState state = KeyStateOf(*event);
    TakeKey(key, state.shift, state.ctrl);
}

} // namespace qv
