// The window chooser for linking.
#include "shell/ui/LinkWindowDlg.h"

#include "platform/qt/QtText.h"
#include "shell/ui/ModalDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace qv {

CLinkWindowDlg::CLinkWindowDlg(const CViewBase* active, ViewTitleFn title, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Link window"));
    list_->setObjectName(QStringLiteral("2830"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Create a link between the current window and the one selected below"), this));
    layout->addWidget(list_);
    // Each line keeps its share list: from list 100 on "View %02d" prints three digits, so the
    // number is not read back from the text.
    for (const LinkCandidate& c : LinkWindowCandidates(active, title)) {
        auto* item = new QListWidgetItem(FromCp1252(c.line), list_);
        item->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(c.list)));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CLinkWindowDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &CLinkWindowDlg::accept);
}

void CLinkWindowDlg::accept()
{
    // Without a chosen line the dialog stays open.
    QListWidgetItem* item = list_->currentItem();
    if (!item)
        return;
    chosen_ = reinterpret_cast<ShareList*>(item->data(Qt::UserRole).value<quintptr>());
    QDialog::accept();
}

ShareList* CLinkWindowDlg::Run() { return RunModalDialog(*this) == QDialog::Accepted ? chosen_ : nullptr; }

} // namespace qv
