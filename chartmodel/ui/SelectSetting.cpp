// The graph-settings chooser.
#include "chartmodel/ui/SelectSetting.h"

#include "core/ConfigState.h"
#include "platform/qt/QtText.h"
#include "shell/ui/DialogHelp.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QCheckBox>
#include <QGridLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

CSelectSetting::CSelectSetting(uint16_t mask, int current, bool intraday, QWidget* parent)
    : QDialog(parent), modes_(new QButtonGroup(this)), current_(current), allAsBit_(mask & kAllBit)
{
    setObjectName(QStringLiteral("614"));
    setWindowTitle(QStringLiteral("Select setting to display"));
    auto* layout = new QVBoxLayout(this);
    const std::pair<int, const char*> radios[] = {
        {kAll, "All settings"}, {kCurrentOnly, "Current settings only"}, {kSelected, "Selected settings"}};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(radios[i].second), this);
        radio->setObjectName(QString::number(radios[i].first));
        modes_->addButton(radio, i);
        layout->addWidget(radio);
    }
    const auto& names = intraday ? Config().intradayGraphs.names : Config().dailyGraphs.names;
    auto* grid = new QGridLayout;
    for (int i = 0; i < 12; ++i) {
        QString name = size_t(i) < names.size() && names[size_t(i)] ? FromCp1252(*names[size_t(i)])
                                                                    : QStringLiteral("Setting %1").arg(i + 1);
        if (i == current)
            name += QStringLiteral(" (current)");
        boxes_[i] = new QCheckBox(name, this);
        boxes_[i]->setObjectName(QString::number(kFirstBox + i));
        boxes_[i]->setChecked((mask >> i) & 1);
        grid->addWidget(boxes_[i], i % 6, i / 6);
    }
    layout->addLayout(grid);
    default_ = new QCheckBox(QStringLiteral("Set as default"), this);
    default_->setObjectName(QString::number(kSetAsDefault));
    layout->addWidget(default_);
    layout->addWidget(OkCancelHelpButtons(*this, 0x20000 + 614));
    const uint16_t currentBit = current >= 0 && current < 12 ? uint16_t(1u << current) : 0;
    if (allAsBit_ || (mask & kAllMask) == kAllMask)
        setMode(All);
    else if (mask == currentBit || mask == 0)
        setMode(CurrentOnly);
    else
        setMode(Selected);
    connect(modes_, &QButtonGroup::idClicked, this, [this] { Enable(); });
}

void CSelectSetting::setMode(Mode mode)
{
    modes_->button(mode)->setChecked(true);
    Enable();
}

CSelectSetting::Mode CSelectSetting::mode() const { return Mode(modes_->checkedId()); }

void CSelectSetting::Enable()
{
    for (QCheckBox* box : boxes_)
        box->setEnabled(mode() == Selected);
}

uint16_t CSelectSetting::mask() const
{
    switch (mode()) {
    case All: return allAsBit_ ? kAllBit : kAllMask;
    case CurrentOnly: return current_ >= 0 && current_ < 12 ? uint16_t(1u << current_) : 0;
    case Selected: break;
    }
    uint16_t mask = 0;
    for (int i = 0; i < 12; ++i)
        if (boxes_[i]->isChecked())
            mask = uint16_t(mask | (1u << i));
    return mask;
}

bool CSelectSetting::setAsDefault() const { return default_->isChecked(); }

} // namespace qv
