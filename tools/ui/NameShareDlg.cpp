// The dialog that names an imported item.
#include "tools/ui/NameShareDlg.h"

#include "platform/qt/QtText.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr uint32_t kHelpTopic = 0x20000 + 382;

} // namespace

CNameShareDlg::CNameShareDlg(const QString& fileName, QWidget* parent) : QDialog(parent), name_(new QLineEdit(this))
{
    setObjectName(QStringLiteral("382"));
    setWindowTitle(QStringLiteral("Please give this share a name"));
    auto* file = new QLabel(fileName, this);
    file->setObjectName(QString::number(kFileName));
    name_->setObjectName(QString::number(kName));
    name_->setMaxLength(kNameLimit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("You are importing the file:"), this));
    layout->addWidget(file);
    layout->addWidget(new QLabel(QStringLiteral("Type in your name for this share"), this));
    layout->addWidget(name_);
    layout->addWidget(OkCancelHelpButtons(*this, kHelpTopic));
    setMinimumWidth(340);
}

QString CNameShareDlg::name() const { return name_->text().trimmed(); }

std::optional<std::string> AskImportName(const std::string& fileName)
{
    CNameShareDlg dialog(FromCp1252(fileName), QApplication::activeWindow());
    if (RunModalDialog(dialog) != QDialog::Accepted || dialog.name().isEmpty())
        return std::nullopt;
    return ToCp1252(dialog.name());
}

} // namespace qv
