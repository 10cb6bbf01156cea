// The key field where the user gives a command a key: it takes a key with Shift or Ctrl and
// refuses, with a beep, the keys the key table cannot hold.
#pragma once

#include <QLineEdit>
#include <cstdint>

namespace qv {

class CShortcutKeyCtrl : public QLineEdit {
    Q_OBJECT
public:
    explicit CShortcutKeyCtrl(QWidget* parent = nullptr);
    // The key (as the key table stores it, 0 for none) and its modifiers (1 Shift, 2 Ctrl).
    uint16_t key() const { return key_; }
    uint8_t modifiers() const { return modifiers_; }
    void SetHotKey(uint16_t key, uint8_t modifiers);
    // Takes a key press as the field would; false when refused.
    bool TakeKey(uint32_t virtualKey, bool shift, bool ctrl);

signals:
    void hotKeyChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    uint16_t key_ = 0;
    uint8_t modifiers_ = 0;
};

} // namespace qv
