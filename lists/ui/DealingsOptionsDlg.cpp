// The dealings display options dialog.
#include "lists/ui/DealingsOptionsDlg.h"

#include "lists/HoldList.h"
#include "shell/ui/DialogHelp.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr uint32_t kOptionsHelpTopic = 66073;

struct Category {
    const char* text;
    int id;
    uint8_t bit;
};
const Category kCategories[] = {
    {"Directors' dealings", 1608, kHoldDirectorDeals},  {"Directors' holdings", 1609, kHoldDirectorHoldings},
    {"Major holdings' dealings", 1610, kHoldMajorDeals}, {"Major holdings", 1612, kHoldMajorHoldings},
    {"Latest only", 1615, kHoldLatestOnly},
};

template <typename T>
T* Named(T* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

} // namespace

CDealingsOptionsDlg::CDealingsOptionsDlg(uint8_t filter, bool parentListMode, QWidget* parent)
    : QDialog(parent), parentListMode_(parentListMode)
{
    setWindowTitle(QStringLiteral("Directors' Dealings / Holdings display options"));
    auto* layout = new QVBoxLayout(this);
    for (size_t i = 0; i < std::size(kCategories); ++i) {
        categories_[i] = Named(new QCheckBox(QString::fromLatin1(kCategories[i].text), this), kCategories[i].id);
        categories_[i]->setChecked(filter & kCategories[i].bit);
        layout->addWidget(categories_[i]);
    }
    limitGroup_ = Named(new QGroupBox(QStringLiteral(" Limit to "), this), 3158);
    auto* limitLayout = new QVBoxLayout(limitGroup_);
    allShares_ = Named(new QRadioButton(QStringLiteral("All shares"), limitGroup_), 3089);
    parentList_ = Named(new QRadioButton(QStringLiteral("Current list or portfolio"), limitGroup_), 1617);
    selectedShare_ = Named(new QRadioButton(QStringLiteral("Selected share"), limitGroup_), 3088);
    parentOnly_ = Named(new QCheckBox(QStringLiteral("Current list or portfolio only"), limitGroup_), 1622);
    for (QWidget* w : {static_cast<QWidget*>(allShares_), static_cast<QWidget*>(parentList_),
                       static_cast<QWidget*>(selectedShare_), static_cast<QWidget*>(parentOnly_)})
        limitLayout->addWidget(w);
    const uint8_t limit = filter & kHoldLimitMask;
    allShares_->setChecked(limit == 0);
    parentList_->setChecked(limit == kHoldLimitParent);
    selectedShare_->setChecked(limit == kHoldLimitShare);
    parentOnly_->setChecked(limit == kHoldLimitParent);
    // Outside the parent-list mode the group shrinks to the one check box.
    allShares_->setVisible(parentListMode);
    parentList_->setVisible(parentListMode);
    selectedShare_->setVisible(parentListMode);
    parentOnly_->setVisible(!parentListMode);
    layout->addWidget(limitGroup_);
    layout->addWidget(OkCancelHelpButtons(*this, kOptionsHelpTopic));
    InstallControlHelp(*this);
}

uint8_t CDealingsOptionsDlg::filter() const
{
    uint8_t filter = 0;
    for (size_t i = 0; i < std::size(kCategories); ++i)
        if (categories_[i]->isChecked())
            filter |= kCategories[i].bit;
    if (!parentListMode_)
        return filter | (parentOnly_->isChecked() ? kHoldLimitParent : 0);
    if (parentList_->isChecked())
        filter |= kHoldLimitParent;
    else if (selectedShare_->isChecked())
        filter |= kHoldLimitShare;
    return filter;
}

} // namespace qv
