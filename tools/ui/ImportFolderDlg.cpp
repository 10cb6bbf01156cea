// The folder-import dialog.
#include "tools/ui/ImportFolderDlg.h"

#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr uint32_t kHelpTopic = 0x20000 + 369;

CImportFolderDlg::FileChooser& Chooser()
{
    static CImportFolderDlg::FileChooser chooser;
    return chooser;
}

QString DialogChooser(QWidget* parent, const QString& folder)
{
    QFileDialog dialog(parent, QStringLiteral("Select one of the files you want to import"), folder,
                       QStringLiteral("All Files (*)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly);
    if (RunModalDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

CImportFolderDlg::CImportFolderDlg(const QString& folder, const QString& extension, QWidget* parent)
    : QDialog(parent), folder_(new QLabel(folder, this)), extension_(new QLineEdit(extension, this))
{
    setObjectName(QStringLiteral("369"));
    setWindowTitle(QStringLiteral("Import all shares in folder"));
    folder_->setObjectName(QString::number(kFolder));
    folder_->setFrameShape(QFrame::StyledPanel);
    folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folder_->setMinimumWidth(320);
    extension_->setObjectName(QString::number(kExtension));
    extension_->setMaximumWidth(80);
    auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
    connect(browse, &QPushButton::clicked, this, &CImportFolderDlg::Browse);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Import folder"), this), 0, 0);
    grid->addWidget(folder_, 0, 1);
    grid->addWidget(browse, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Select import file extension"), this), 1, 0);
    grid->addWidget(extension_, 1, 1, Qt::AlignLeft);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(OkCancelHelpButtons(*this, kHelpTopic));
}

QString CImportFolderDlg::folder() const { return folder_->text(); }

QString CImportFolderDlg::extension() const
{
    QString text = extension_->text().trimmed();
    while (text.startsWith(QLatin1Char('.')))
        text.remove(0, 1);
    return text;
}

void CImportFolderDlg::Browse()
{
    const QString chosen = Chooser() ? Chooser()(folder()) : DialogChooser(this, folder());
    if (chosen.isEmpty())
        return;
    const QFileInfo info(chosen);
    extension_->setText(info.suffix());
    folder_->setText(info.absolutePath());
}

void CImportFolderDlg::SetFileChooser(FileChooser chooser) { Chooser() = std::move(chooser); }

} // namespace qv
