// A small dialog for hosting a shared control in tests: it records every program message its
// controls send it, and makes placeholder controls for them to take over.
#pragma once

#include "support/RecordingTarget.h"

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QWidget>

namespace qv::test {

class ControlDialog : public QDialog, public RecordingTarget {
public:
    ControlDialog() { resize(320, 240); }

    QWidget& Placeholder(const QRect& rect)
    {
        auto* placeholder = new QWidget(this);
        placeholder->setGeometry(rect);
        return *placeholder;
    }

    // Messages of one number received, in order.
    std::vector<Message> Received(uint32_t message) const
    {
        std::vector<Message> found;
        for (const Message& m : received)
            if (m.message == message)
                found.push_back(m);
        return found;
    }
};

// A mouse event delivered at once, with the buttons held during it.
inline void SendMouse(QWidget* widget, QEvent::Type type, QPoint point, Qt::MouseButton button = Qt::LeftButton)
{
    Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    if (type == QEvent::MouseMove)
        button = Qt::NoButton;
    QMouseEvent event(type, QPointF(point), QPointF(widget->mapToGlobal(point)), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void Click(QWidget* widget, QPoint point)
{
    SendMouse(widget, QEvent::MouseButtonPress, point);
    SendMouse(widget, QEvent::MouseButtonRelease, point);
}

} // namespace qv::test
