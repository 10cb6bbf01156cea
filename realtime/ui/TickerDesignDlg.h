// The ticker design dialog: one ticker view's settings record and the program's ticker font, with a
// live preview on the view, light and dark defaults, and Cancel putting back what was there.
#pragma once

#include "core/ConfigRecords.h"
#include "core/LogFont.h"

#include <QDialog>
#include <QRect>
#include <QString>

#include <array>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QSlider;

namespace qv {

class CStyleButton;
class CViewRTTicker;

class CTickerDesignDlg : public QDialog {
public:
    static constexpr int kTemplateId = 705;
    static constexpr int kPreview = 18127, kLightDefault = 3, kDarkDefault = 2426;

    CTickerDesignDlg(const TickerSetting& record, int32_t slot, CViewRTTicker* view, const std::string& name,
                     QWidget* parent = nullptr);

    // True when OK stored a change (the view then lays out every ticker on the slot again).
    bool changed() const { return changed_; }
    const TickerSetting& working() const { return working_; }

    // The controls into the working record, and back.
    void ReadControls();
    void FillControls();
    void Preview();
    void SetLook(bool dark);
    void accept() override;
    void reject() override;

    QCheckBox* fieldBox(int bit) const { return fields_[size_t(bit)]; }
    QRadioButton* layoutButton(int index) const { return layouts_[size_t(index)]; }
    QRadioButton* variableSpeed() const { return variable_; }
    QRadioButton* constantSpeed() const { return constant_; }
    QSlider* speedSlider() const { return speed_; }

private:
    void EnableControls();

    TickerSetting working_;
    TickerSetting opening_;
    LogFont openingFont_;
    CViewRTTicker* view_;
    int32_t slot_;
    bool previewed_ = false;
    bool changed_ = false;
    QRect frameRect_;
    // The font the category buttons were given: unchanged, the ticker font stays as it is.
    QString filledFace_;
    uint32_t filledStyle_ = 0;
    int filledPoints_ = 0;
    std::array<QCheckBox*, 9> fields_{};
    std::array<QCheckBox*, 6> categories_{};
    std::array<CStyleButton*, 6> categoryButtons_{};
    std::array<CStyleButton*, 5> colours_{};
    std::array<QRadioButton*, 4> layouts_{};
    QRadioButton *variable_, *constant_;
    QCheckBox* discard_;
    QSlider *speed_, *whiteSpace_;
    QLabel *slower_, *faster_;
    std::array<QCheckBox*, 2> portfolioBoxes_{};
    std::array<QComboBox*, 2> portfolioLists_{};
};

} // namespace qv
