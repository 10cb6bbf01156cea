// An edit box that lets through only the characters its rule accepts and tells its owner, by a
// program message, when a character went through and when it lost the focus.
#pragma once

#include "platform/MessageDispatch.h"

#include <QLineEdit>
#include <functional>
#include <string_view>

namespace qv {

// wParam codes of the owner's message: a character went through (or, for some fields, the field
// took the focus), and the field lost the focus. Dates are below 0x10000 and chosen times are
// multiples of 30 minutes, so neither code is taken for one.
inline constexpr uintptr_t kEditChanged = 0x10000;
inline constexpr uintptr_t kEditLeft = 0x20000;

class CFilteredEdit : public QLineEdit {
    Q_OBJECT
public:
    // The rule sees the text before the character; Backspace comes as 8.
    using Accepts = std::function<bool(std::string_view text, char c)>;
    CFilteredEdit(MessageTarget* owner, uint32_t message, Accepts accepts, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void TellOwner(uintptr_t code);

private:
    uint64_t ownerId_; // by id: an owner being destroyed is never called
    uint32_t message_;
    Accepts accepts_;
};

} // namespace qv
