// The program password's dialogs.
#include "shell/ui/PasswordDlgs.h"

#include "platform/qt/QtText.h"
#include "shell/HelpTopics.h"
#include "shell/ui/FontFaces.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr const char* kControlId = "controlId";

QLineEdit* PasswordEdit(int controlId)
{
    auto* edit = new QLineEdit;
    edit->setEchoMode(QLineEdit::Password);
    edit->setMaxLength(kPasswordMaxLength);
    edit->setProperty(kControlId, controlId);
    return edit;
}

} // namespace

CPasswordSettingsDlg::CPasswordSettingsDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Program password settings"));
    auto* note = new QLabel(QStringLiteral(
        "This password is to prevent unauthorised entry into Quorvantis.  For the comms password (needed to update "
        "the database) see the Comms settings in the Update menu."));
    note->setWordWrap(true);
    current_ = PasswordEdit(1250);
    new_ = PasswordEdit(1346);
    confirm_ = PasswordEdit(1345);
    lock_ = new QCheckBox(QStringLiteral("Program password on"));
    lock_->setProperty(kControlId, 1344);
    lock_->setChecked(settings_.lockOnAtOpen());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPasswordSettingsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { emit helpRequested(kPasswordHelpTopic); });
    connect(current_, &QLineEdit::textChanged, this, &CPasswordSettingsDlg::tryUnlock);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Current password:"), current_);
    form->addRow(lock_);
    form->addRow(QStringLiteral("New password:"), new_);
    form->addRow(QStringLiteral("Confirm password:"), confirm_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(380);
    setLocked(settings_.locked());
    if (!settings_.locked())
        new_->setFocus();
}

void CPasswordSettingsDlg::setLocked(bool locked)
{
    current_->setEnabled(locked);
    for (QWidget* w : {static_cast<QWidget*>(lock_), static_cast<QWidget*>(new_), static_cast<QWidget*>(confirm_)})
        w->setEnabled(!locked);
    if (locked)
        current_->setFocus();
}

void CPasswordSettingsDlg::tryUnlock(const QString& typed)
{
    if (!settings_.locked() || !settings_.TryUnlock(ToCp1252(typed)))
        return;
    setLocked(false);
    lock_->setFocus();
    // OK straight away keeps the same password.
    new_->setText(typed);
    confirm_->setText(typed);
}

void CPasswordSettingsDlg::accept()
{
    if (settings_.Ok(ToCp1252(new_->text()), ToCp1252(confirm_->text()), lock_->isChecked()))
        QDialog::accept();
}

void CPasswordSettingsDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_F1)
        return QDialog::keyPressEvent(event);
    QWidget* focus = focusWidget();
    QVariant id = focus ? focus->property(kControlId) : QVariant();
    emit helpRequested(id.isValid() ? kHelpCommandBase + id.toUInt() : kPasswordHelpTopic);
}

CPasswordEntryDlg::CPasswordEntryDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Please enter password"));
    auto* name = new QLabel(QStringLiteral("Quorvantis"));
    name->setFont(ProgramFont(QStringLiteral("Arial"), 20, 700));
    auto* version = new QLabel(QString::asprintf("Version %i.%02i %c", 3, 74, ' '));
    edit_ = PasswordEdit(1249);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
    setMinimumWidth(260);
    edit_->setFocus();
}

std::string CPasswordEntryDlg::typed() const
{
    return ToCp1252(edit_->text());
}

} // namespace qv
