// "Event Display Settings": how one kind of event marker is drawn: where it sits, its lines from the
// close, its letter and its colours.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

class QCheckBox;
class QLineEdit;

namespace qv {

class CStyleButton;

class CEventDisplayDlg : public QDialog {
public:
    // The four words of the kind's event entry (16 bytes), written back on OK.
    CEventDisplayDlg(uint8_t* entry, QWidget* parent = nullptr);
    void done(int result) override;

private:
    uint8_t* entry_;
    std::array<QCheckBox*, 5> boxes_{};
    QLineEdit* letter_ = nullptr;
    CStyleButton* character_ = nullptr;
    CStyleButton* border_ = nullptr;
    CStyleButton* background_ = nullptr;
};

} // namespace qv
