// The name dialog of filters and toolbars.
#include "shell/ui/FilterNameDlg.h"

#include "core/DMFilter.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

CFilterNameDlg::CFilterNameDlg(QWidget* parent)
    : QDialog(parent), prompt_(new QLabel(QStringLiteral("Enter the new name:"), this)), edit_(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Enter name of Filter"));
    edit_->setObjectName(QStringLiteral("1906"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setObjectName(QStringLiteral("1"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(edit_, &QLineEdit::textChanged, this, [this] { checkName(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
}

void CFilterNameDlg::SetPrompt(const QString& prompt) { prompt_->setText(prompt); }
void CFilterNameDlg::SetName(const QString& name) { edit_->setText(name); }
QString CFilterNameDlg::Name() const { return edit_->text(); }

void CFilterNameDlg::SetRenaming(bool renaming)
{
    setWindowTitle(renaming ? QStringLiteral("Edit Filter Name") : QStringLiteral("Enter Filter Name"));
}

void CFilterNameDlg::SetNameCheck(bool on)
{
    nameCheck_ = on;
    checkName();
}

void CFilterNameDlg::accept()
{
    if (ok_->isEnabled())
        QDialog::accept();
}

void CFilterNameDlg::checkName()
{
    if (!nameCheck_) {
        ok_->setEnabled(true);
        return;
    }
    const std::string name = edit_->text().toStdString();
    ok_->setEnabled(!name.empty() && FindFilterPosition(name) < 0);
}

} // namespace qv
