// The date field's pop-up calendar "Date Control": day, month and year pages, each move posted at once
// to the field (or the nearest program window above the anchor) as the date-field message.
#pragma once

#include "core/PackedDate.h"
#include "shell/DateControlRules.h"

#include <QWidget>

namespace qv {

class MessageTarget;

class CDateControl : public QWidget {
    Q_OBJECT
public:
    // The dialog frame round the client area, whose coordinates the calendar's rules use.
    static constexpr int kFrame = 3;

    // Opens at the anchor's top-left corner and returns at once; the pop-up deletes itself when it
    // closes (Return, Escape, a day of the shown month, a click elsewhere or focus loss).
    static CDateControl* Open(PackedDate date, QWidget* anchor, MessageTarget* owner);
    // Open, then dispatch messages until it has closed.
    static void Run(PackedDate date, QWidget* anchor);
    static void RunForOwner(PackedDate date, QWidget* anchor, MessageTarget* owner);

    const CalendarState& state() const { return state_; }
    // The header button drawn pressed, or 0.
    int pressedButton() const { return pressedButton_; }

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    CDateControl(PackedDate date, QWidget* anchor, MessageTarget* owner);
    QPoint ClientPoint(const QPointF& position) const;
    void Settle();
    void CloseIfDone();
    void PaintHeader(QPainter& painter);
    void PaintDays(QPainter& painter);
    void PaintMonths(QPainter& painter);
    void PaintYears(QPainter& painter);

    CalendarState state_;
    uint64_t ownerId_ = 0; // posting by id: a field destroyed meanwhile is never touched
    int pressed_ = 0;
    int pressedButton_ = 0;
};

} // namespace qv
