// The owner-drawn command list of the key editor and the toolbar designer: each line the button's
// small picture and the command's text, and with a key table the command's key after the text.
#pragma once

#include "core/DefaultAccelerators.h"

#include <QListWidget>
#include <vector>

namespace qv {

// Item data: a button code (0xFFFE a spacer; codes from 228 on stand for code - 228 shown without a
// picture), with a portfolio index in the upper 16 bits for Portfolio 1-9.
class CShortcutKeyCtrl;

class CAccelListBox : public QListWidget {
public:
    explicit CAccelListBox(QWidget* parent = nullptr);
    void SetKeyTable(const std::vector<AcceleratorKey>* keys) { keys_ = keys; }
    const std::vector<AcceleratorKey>* keyTable() const { return keys_; }
    QListWidgetItem* AddCode(uint32_t data, const QString& text);
    static uint16_t CodeOf(const QListWidgetItem* item);
    // Key presses in the list go to the key field, except letters, digits and navigation keys.
    void LinkKeyField(CShortcutKeyCtrl* field) { keyField_ = field; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    const std::vector<AcceleratorKey>* keys_ = nullptr;
    CShortcutKeyCtrl* keyField_ = nullptr;
};

} // namespace qv
