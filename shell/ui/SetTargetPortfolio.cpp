// The target-portfolio chooser.
#include "shell/ui/SetTargetPortfolio.h"

#include "core/Portfolio.h"
#include "platform/qt/QtText.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace qv {

CSetTargetPortfolio::CSetTargetPortfolio(uint32_t portfolio, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)), given_(portfolio)
{
    setWindowTitle(QStringLiteral("Set Target Portfolio"));
    list_->setObjectName(QStringLiteral("1620"));
    for (Portfolio* p = PortfolioChain(); p; p = p->next.get()) {
        if (p->name.empty())
            continue;
        auto* item = new QListWidgetItem(FromCp1252(p->name.str()), list_);
        item->setData(Qt::UserRole, uint32_t(p->number));
        if (p->number == portfolio)
            list_->setCurrentItem(item);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Select a portfolio for this toolbar button"), this));
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

uint32_t CSetTargetPortfolio::portfolio() const
{
    QListWidgetItem* item = list_->currentItem();
    return item ? item->data(Qt::UserRole).toUInt() : given_;
}

} // namespace qv
