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
    for (const LinkCandidate& c : LinkWindowCandidates(active, title))
        list_->addItem(FromCp1252(c.line));
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
    chosen_ = LinkCandidateList(ToCp1252(item->text()));
    QDialog::accept();
}

ShareList* CLinkWindowDlg::Run() { return RunModalDialog(*this) == QDialog::Accepted ? chosen_ : nullptr; }

} // namespace qv
