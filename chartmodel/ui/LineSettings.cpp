// The line settings dialog.
#include "chartmodel/ui/LineSettings.h"

#include "shell/ui/DialogHelp.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

CLineSettings::CLineSettings(uint16_t flags, QWidget* parent)
    : QDialog(parent), given_(flags), labels_(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("805"));
    setWindowTitle(QStringLiteral(" Line Settings "));
    auto* values = new QGroupBox(QStringLiteral(" Line Values "), this);
    auto* valuesLayout = new QVBoxLayout(values);
    const std::pair<int, const char*> radios[] = {{kNone, "None"}, {kValues, "Show as values"}, {kRatios, "Show as ratios"}};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(radios[i].second), values);
        radio->setObjectName(QString::number(radios[i].first));
        labels_->addButton(radio, i);
        valuesLayout->addWidget(radio);
    }
    // Values win when both label bits are set.
    labels_->button((flags & kValuesFlag) ? 1 : (flags & kRatiosFlag) ? 2 : 0)->setChecked(true);
    linear_ = new QCheckBox(QStringLiteral("Always use linear calculations"), this);
    linear_->setObjectName(QString::number(kLinear));
    linear_->setChecked(flags & kLinearFlag);
    timeBars_ = new QCheckBox(QStringLiteral("Add repeating time bars"), this);
    timeBars_->setObjectName(QString::number(kTimeBars));
    timeBars_->setChecked(flags & kTimeBarsFlag);
    default_ = new QCheckBox(QStringLiteral("Set as default"), this);
    default_->setObjectName(QString::number(kSetAsDefault));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(values);
    layout->addWidget(linear_);
    layout->addWidget(timeBars_);
    layout->addWidget(default_);
    layout->addWidget(OkCancelHelpButtons(*this, 0x20000 + 805));
}

uint16_t CLineSettings::flags() const
{
    const uint16_t labels[] = {0, kValuesFlag, kRatiosFlag};
    return uint16_t((given_ & ~kOwnFlags) | labels[std::max(0, labels_->checkedId())] | (linear_->isChecked() ? kLinearFlag : 0) |
                    (timeBars_->isChecked() ? kTimeBarsFlag : 0));
}

bool CLineSettings::setAsDefault() const { return default_->isChecked(); }

} // namespace qv
