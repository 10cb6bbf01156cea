// The note editor.
#include "lists/ui/EditNoteDlg.h"

#include "shell/ui/DialogHelp.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

namespace {

constexpr int kNoteLength = 200;
constexpr uint32_t kEditNoteHelp = 0x20000 + 522;

} // namespace

CEditNoteDlg::CEditNoteDlg(const QString& what, const QString& owner, const QString& text, QWidget* parent)
    : QDialog(parent), edit_(new QLineEdit(text.left(kNoteLength), this))
{
    setObjectName(QStringLiteral("522"));
    setWindowTitle(owner.isEmpty() ? QStringLiteral("Edit Text") : QStringLiteral("Edit %1 for %2").arg(what, owner));
    edit_->setObjectName(QStringLiteral("1350"));
    edit_->setMaxLength(kNoteLength);
    edit_->setMinimumWidth(360);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Type up to 200 characters"), this));
    layout->addWidget(edit_);
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, kEditNoteHelp);
    QPushButton* remove = buttons->addButton(QStringLiteral("Delete"), QDialogButtonBox::ActionRole);
    remove->setObjectName(QStringLiteral("1549"));
    remove->setEnabled(!owner.isEmpty());
    connect(remove, &QPushButton::clicked, this, [this] {
        deleted_ = true;
        QDialog::accept();
    });
    layout->addWidget(buttons);
    edit_->setFocus();
}

QString CEditNoteDlg::text() const { return deleted_ ? QString() : edit_->text(); }

} // namespace qv
