// The default toolbar chooser.
#include "shell/ui/DefaultButtons.h"

#include "shell/UserToolbars.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace qv {

CDefaultButtons::CDefaultButtons(QWidget* parent) : QDialog(parent), list_(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Select default button layout"));
    list_->setObjectName(QStringLiteral("1061"));
    for (int n = 0; n < kDefaultToolbarCount; ++n) {
        auto* item = new QListWidgetItem(QString::fromLatin1(DefaultToolbarName(n)), list_);
        item->setData(Qt::UserRole, n);
    }
    list_->setCurrentRow(0);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Select one of the default toolbar button layouts"), this));
    layout->addWidget(list_);
    auto* note = new QLabel(
        QStringLiteral("NOTE that all the current buttons will be replaced with those from the selected layout."), this);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

int CDefaultButtons::selected() const
{
    QListWidgetItem* item = list_->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

} // namespace qv
