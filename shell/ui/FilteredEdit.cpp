// Character filtering and owner notices of the small edit boxes of composite fields.
#include "shell/ui/FilteredEdit.h"

#include <QKeyEvent>

namespace qv {
namespace {

// The character a key types, 8 for Backspace, 0 for none.
int TypedCharacter(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Backspace)
        return 8;
    const QString text = event.text();
    return text.size() == 1 ? text[0].unicode() : 0;
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
    // Selecting all and copying change no text, so the filter has nothing to say about them.
    if (event->matches(QKeySequence::SelectAll) || event->matches(QKeySequence::Copy)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
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
