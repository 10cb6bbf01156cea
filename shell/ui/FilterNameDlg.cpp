// The name dialog of filters and toolbars.
#include "shell/ui/FilterNameDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace qv {

CFilterNameDlg::CFilterNameDlg(QWidget* parent)
    : QDialog(parent), prompt_(new QLabel(QStringLiteral("Enter the new name:"), this)), edit_(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("Enter name of Filter"));
    edit_->setObjectName(QStringLiteral("1906"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
}

void CFilterNameDlg::SetPrompt(const QString& prompt) { prompt_->setText(prompt); }
void CFilterNameDlg::SetName(const QString& name) { edit_->setText(name); }
QString CFilterNameDlg::Name() const { return edit_->text(); }

} // namespace qv
