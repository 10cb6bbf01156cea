// The time-of-day field of dialogs: an edit box with a "..." button that opens the "Time Control"
// chooser, optionally paired with a second field as a from/to range.
#pragma once

#include "platform/MessageDispatch.h"
#include "shell/TimeFieldRules.h"

#include <QPointer>
#include <QWidget>

class QPushButton;

namespace qv {

class CFilteredEdit;

// The pop-up grid of half hours; times the limit rules out are greyed and cannot be chosen.
class CTimeChooser : public QWidget {
    Q_OBJECT
public:
    // Opens at the anchor's top-left corner; the notify target receives the time-field message with
    // the chosen time. The pop-up deletes itself when it closes (a choice, a click elsewhere, focus loss).
    static CTimeChooser* Create(int limit, bool beforeLimit, QWidget* anchor, MessageTarget* notify);

    ChooserMetrics metrics() const { return metrics_; }
    int limit() const { return limit_; }
    bool beforeLimit() const { return beforeLimit_; }
    // The client point at the centre of a cell.
    QPoint CellCentre(int column, int row) const;

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    CTimeChooser(int limit, bool beforeLimit, QWidget* anchor, MessageTarget* notify);

    int limit_;
    bool beforeLimit_;
    uint64_t notifyId_;
    ChooserMetrics metrics_;
};

class CTimeEdit : public QWidget, public MessageTarget {
    Q_OBJECT
public:
    static constexpr int kEditId = 100001;
    static constexpr int kButtonId = 100002;

    explicit CTimeEdit(QWidget* parent = nullptr);

    // Takes the placeholder's place; the dialog target receives the field's messages. A start field
    // (isStart) chooses only times before its partner's, an end field only times after.
    bool Create(int controlId, QWidget& placeholder, MessageTarget* dialog, CTimeEdit* partner, bool isStart);
    bool Create(int controlId, QWidget* parent, const QRect& rect, MessageTarget* dialog, CTimeEdit* partner,
                bool isStart);

    // Seconds since midnight; the partner's limit becomes this time.
    void SetTime(int seconds, bool updateText);
    void SetLimit(int seconds) { limit_ = seconds; }
    int limit() const { return limit_; }
    int ReadTime() const;
    void EnableWindow(bool enable);

    int controlId() const { return controlId_; }
    CFilteredEdit* edit() const { return edit_; }
    QPushButton* button() const { return button_; }
    CTimeChooser* chooser() const { return chooser_; }

    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ButtonClicked();

    int controlId_ = 0;
    uint64_t dialogId_ = 0; // by id: a dialog being destroyed is never called
    QPointer<CTimeEdit> partner_;
    bool isStart_ = false;
    int limit_ = kNoTimeLimit;
    CFilteredEdit* edit_;
    QPushButton* button_;
    QPointer<CTimeChooser> chooser_;
};

} // namespace qv
