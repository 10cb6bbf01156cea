// The new shares dialog.
#include "realtime/ui/NewSharesDlg.h"

#include "platform/qt/QtText.h"
#include "realtime/store/RTStore.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {

CNewSharesDlg::CNewSharesDlg(const std::vector<std::string>& lines, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this))
{
    setObjectName(QStringLiteral("704"));
    setWindowTitle(QStringLiteral("New Shares"));
    list_->setObjectName(QString::number(kList));
    list_->setMinimumSize(360, 220);
    for (const std::string& line : lines)
        list_->addItem(FromCp1252(line));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    InstallControlHelp(*this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

bool RunNewSharesDialog()
{
    CNewSharesDlg dialog(RTStoreExists() ? NewRTShareLines(TheRTStore().table) : std::vector<std::string>{},
                         QApplication::activeWindow());
    RunModalDialog(dialog);
    return true;
}

} // namespace qv
