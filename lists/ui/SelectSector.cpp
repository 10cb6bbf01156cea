// The sector chooser.
#include "lists/ui/SelectSector.h"

#include "platform/qt/QtText.h"
#include "shell/ui/DialogHelp.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {

CSelectSector::CSelectSector(bool oneSector, int32_t level, int32_t index, QWidget* parent)
    : QDialog(parent), oneSector_(new QCheckBox(QStringLiteral("Display only one sector"), this)),
      levels_(new QButtonGroup(this)), list_(new QListWidget(this))
{
    setObjectName(QStringLiteral("227"));
    setWindowTitle(QStringLiteral("Choose sector to display"));
    oneSector_->setObjectName(QStringLiteral("2838"));
    oneSector_->setChecked(oneSector);
    list_->setObjectName(QStringLiteral("1207"));
    auto* levelBox = new QGroupBox(this);
    auto* levelLayout = new QVBoxLayout(levelBox);
    const std::pair<int32_t, const char*> kLevels[] = {{kSectorLevelFinancials, "Financial / Non-Financial"},
        {kSectorLevelMain, "Main Sectors"}, {kSectorLevelSectors, "Sectors"}, {kSectorLevelSubSectors, "Sub Sectors"}};
    for (auto [id, text] : kLevels) {
        auto* button = new QRadioButton(QString::fromLatin1(text), levelBox);
        button->setObjectName(QString::number(id));
        levels_->addButton(button, id);
        levelLayout->addWidget(button);
    }
    levelLayout->addStretch();
    levels_->button(SectorChooserLevel(level))->setChecked(true);
    fillList(index);
    connect(levels_, &QButtonGroup::idClicked, this, [this](int) { fillList(-1); });
    connect(oneSector_, &QCheckBox::toggled, this, [this] { updateEnabling(); });
    auto* middle = new QHBoxLayout;
    middle->addWidget(levelBox);
    middle->addWidget(list_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(oneSector_);
    layout->addLayout(middle);
    layout->addWidget(OkCancelHelpButtons(*this, 0x20000 + 227));
    updateEnabling();
    resize(460, 320);
}

void CSelectSector::setLevel(int32_t level)
{
    levels_->button(SectorChooserLevel(level))->setChecked(true);
    fillList(-1);
}

void CSelectSector::fillList(int32_t index)
{
    list_->clear();
    const std::vector<std::string> names = SectorLevelNames(levels_->checkedId());
    for (size_t i = 0; i < names.size(); ++i) {
        auto* item = new QListWidgetItem(FromCp1252(names[i]), list_);
        item->setData(Qt::UserRole, int(i));
        if (int32_t(i) == index)
            list_->setCurrentItem(item);
    }
    if (!list_->currentItem() && list_->count() > 0)
        list_->setCurrentRow(0);
}

void CSelectSector::updateEnabling()
{
    const bool on = oneSector_->isChecked();
    for (QAbstractButton* b : levels_->buttons())
        b->setEnabled(on);
    list_->setEnabled(on);
}

SectorChoice CSelectSector::choice() const
{
    SectorChoice c;
    c.oneSector = oneSector_->isChecked();
    c.level = levels_->checkedId();
    const QListWidgetItem* item = list_->currentItem();
    c.index = item ? item->data(Qt::UserRole).toInt() : -1;
    return c;
}

} // namespace qv
