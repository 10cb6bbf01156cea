// The date field of dialogs: an edit for "dd/mm/yy", a "..." button that opens the calendar, and the
// date in long form below; and its edit part, which the calculator number field shares.
#pragma once

#include "core/PackedDate.h"
#include "platform/MessageDispatch.h"

#include "shell/ui/FilteredEdit.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string_view>

class QLabel;
class QPushButton;

namespace qv {

class CDateControl;

// Mode 0: the edit part of a date field, taking digits, "/" and Backspace, telling its owner 1045.
// Mode 1: that of a calculator number field, taking digits, one "." and Backspace, telling 1086.
class CDateEditField : public CFilteredEdit {
    Q_OBJECT
public:
    CDateEditField(int mode, MessageTarget* owner, QWidget* parent = nullptr);

    int mode() const { return mode_; }
    // Mode 0: the command sent to the dialog when the field takes the focus.
    void SetFocusCommand(MessageTarget* dialog, uintptr_t wParam, intptr_t lParam);
    // Mode 0: asked when Return is pressed or the focus moves on; true keeps the text and the focus.
    void SetRefusal(std::function<bool()> refuse) { refuse_ = std::move(refuse); }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int mode_;
    std::function<bool()> refuse_;
    uint64_t dialogId_ = 0;
    uintptr_t focusWParam_ = 0;
    intptr_t focusLParam_ = 0;
};

class CDateEdit : public QWidget, public MessageTarget {
    Q_OBJECT
public:
    static constexpr int kEditId = 100001;
    static constexpr int kButtonId = 100002;
    static constexpr int kLongDateId = 100003;

    explicit CDateEdit(QWidget* parent = nullptr);

    // Takes the placeholder's place in its dialog; the dialog target receives the field's messages.
    bool Create(int controlId, QWidget& placeholder, MessageTarget* dialog, PackedDate date);
    // The same in a rectangle of a parent window.
    bool Create(int controlId, QWidget* parent, const QRect& rect, MessageTarget* dialog, PackedDate date);

    // The held date: dialogs set it and call FormatDate, and read it back when they close.
    PackedDate date = 0;
    // The long-date line always, the edit text when asked.
    void FormatDate(bool setEditText);
    // The edit's text as a date; 0 when it is not a valid date.
    PackedDate ReadDate() const;
    // A typed text that is no date the program can hold (none after 31/12/2027, none that does not
    // exist) is refused with kBadDateMessage, the focus kept in the edit: true then.
    bool RefuseBadText();
    static constexpr std::string_view kBadDateMessage =
        "That is not a date. Please type a date from 01/01/60 to 31/12/27 as day/month/year.";
    // The edit and the drop button together.
    void EnableWindow(bool enable);

    int controlId() const { return controlId_; }
    CDateEditField* edit() const { return edit_; }
    QPushButton* dropButton() const { return button_; }
    QLabel* longDate() const { return longDate_; }
    // The calendar while it is open.
    CDateControl* calendar() const;

    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void DropClicked();
    void TellDialog(uint32_t message, uintptr_t wParam, intptr_t lParam);

    int controlId_ = 0;
    uint64_t dialogId_ = 0; // by id: a dialog being destroyed is never called
    CDateEditField* edit_;
    QPushButton* button_;
    QLabel* longDate_;
    QPointer<CDateControl> calendar_;
    QString written_; // the text FormatDate last wrote
};

} // namespace qv
