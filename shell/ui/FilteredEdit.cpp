// Character filtering and owner notices of the small edit boxes of composite fields.
#include "shell/ui/FilteredEdit.h"

#include <QKeyEvent>

namespace qv {
namespace {

// The character a key types, 8 for Backspace, 0 for none. Ctrl+A, Ctrl+C and the like carry a control
// character as their text: they are the edit's own keys (select all, copy, paste, undo), not typing.
int TypedCharacter(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Backspace)
        return 8;
    const Qt::KeyboardModifiers held = event.modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (held == Qt::ControlModifier)
        return 0;
    const QString text = event.text();
    const int c = text.size() == 1 ? text[0].unicode() : 0;
    const bool dialogKey = c == '\r' || c == '\n' || c == 0x1B || c == '\t';
    return c < 0x20 && !dialogKey ? 0 : c;
}

// Return, Escape and Tab belong to the dialog.
bool IsDialogKey(int c) { return c == '\r' || c == '\n' || c == 0x1B || c == '\t'; }

} // namespace

CFilteredEdit::CFilteredEdit(MessageTarget* owner, uint32_t message, Accepts accepts, QWidget* parent)
    : QLineEdit(parent), ownerId_(owner ? owner->targetId() : 0), message_(message), accepts_(std::move(accepts))
{
}

void CFilteredEdit::TellOwner(uintptr_t code)
{
    SendProgramMessageTo(ownerId_, message_, code, 0);
}

void CFilteredEdit::keyPressEvent(QKeyEvent* event)
{
    const int c = TypedCharacter(*event);
    if (c == 0 || IsDialogKey(c)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (c > 0xFF || !accepts_(text().toStdString(), char(c))) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
    TellOwner(kEditChanged);
}

void CFilteredEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    TellOwner(kEditLeft);
}

} // namespace qv
