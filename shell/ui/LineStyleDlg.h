// "Select the line type and colour": one packed line word edited through its style button.
#pragma once

#include <QDialog>

#include <cstdint>

class QCheckBox;

namespace qv {

class CStyleButton;

class CLineStyleDlg : public QDialog {
    Q_OBJECT
public:
    CLineStyleDlg(uint32_t word, uint32_t background, QWidget* parent = nullptr);

    uint32_t word() const { return word_; }
    bool setAsDefault() const { return setAsDefault_; }
    CStyleButton* sample() const { return sample_; }

    void accept() override;

private:
    uint32_t word_;
    bool setAsDefault_ = false;
    CStyleButton* sample_;
    QCheckBox* defaultBox_;
};

} // namespace qv
