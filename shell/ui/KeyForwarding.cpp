// Key forwarding between the find dialogs' controls and their dialog.
#include "shell/ui/KeyForwarding.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace qv {
namespace {

void ForwardKey(QWidget* to, const QKeyEvent& event)
{
    if (!to)
        return;
    QKeyEvent press(QEvent::KeyPress, event.key(), event.modifiers(), event.text());
    QKeyEvent release(QEvent::KeyRelease, event.key(), event.modifiers(), event.text());
    QCoreApplication::sendEvent(to, &press);
    QCoreApplication::sendEvent(to, &release);
}

} // namespace

bool IsListMoveKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: return true;
    default: return false;
    }
}

CSmallListBox::CSmallListBox(QWidget* parent) : QListWidget(parent) {}

void CSmallListBox::keyPressEvent(QKeyEvent* event)
{
    if (IsListMoveKey(event->key())) {
        QListWidget::keyPressEvent(event);
        return;
    }
    ForwardKey(parentWidget(), *event);
}

void CSmallListBox::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    if (QListWidgetItem* item = itemAt(event->position().toPoint()))
        emit itemDoubleClicked(item);
}

CKeyEdit::CKeyEdit(QWidget* parent) : QLineEdit(parent) {}

void CKeyEdit::keyPressEvent(QKeyEvent* event)
{
    if (IsListMoveKey(event->key())) {
        ForwardKey(parentWidget(), *event);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

CKeyForwardButton::CKeyForwardButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

void CKeyForwardButton::keyPressEvent(QKeyEvent* event) { emit keyForwarded(event->key()); }

} // namespace qv
