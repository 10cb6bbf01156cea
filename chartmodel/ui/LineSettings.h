// " Line Settings ": how a partial trend or quadrant line labels its levels (none, values or ratios),
// whether it always calculates linearly and whether it adds repeating time bars.
#pragma once

#include <QDialog>

#include <cstdint>

class QButtonGroup;
class QCheckBox;

namespace qv {

class CLineSettings : public QDialog {
    Q_OBJECT
public:
    static constexpr int kLinear = 3391, kTimeBars = 3392, kNone = 3393, kValues = 3394, kRatios = 3395, kSetAsDefault = 3396;
    static constexpr uint16_t kValuesFlag = 4, kRatiosFlag = 8, kLinearFlag = 16, kTimeBarsFlag = 32;
    static constexpr uint16_t kOwnFlags = kValuesFlag | kRatiosFlag | kLinearFlag | kTimeBarsFlag;

    explicit CLineSettings(uint16_t flags, QWidget* parent = nullptr);

    // The flags given with the dialog's own bits replaced.
    uint16_t flags() const;
    bool setAsDefault() const;

private:
    uint16_t given_;
    QButtonGroup* labels_;
    QCheckBox *linear_, *timeBars_, *default_;
};

} // namespace qv
