// The dialog of the export of every share's prices in a table.
#include "tools/ui/ExportPricesDlg.h"

#include "core/PriceExport.h"
#include "core/SystemDate.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"
#include "tools/ui/PriceExportCommand.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <filesystem>

namespace qv {
namespace {

constexpr uint16_t kExportPageMask = 32;
constexpr int kDaysOffered = 365;

CExportPricesDlg::PathChooser& Chooser()
{
    static CExportPricesDlg::PathChooser chooser;
    return chooser;
}

std::string DialogChooser(QWidget* parent, const std::string& start, bool file)
{
    if (!file)
        return QFileDialog::getExistingDirectory(parent, QStringLiteral("Export directory"),
                                                 QString::fromStdString(start))
            .toStdString();
    QFileDialog dialog(parent, QStringLiteral("Export file"), QString::fromStdString(start));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (RunModalDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst().toStdString();
}

} // namespace

CExportPricesDlg::CExportPricesDlg(const ExportPricesChoice& choice, QWidget* parent)
    : QDialog(parent), choice_(choice), group_(new QGroupBox(this)), path_(new QLabel(group_)),
      single_(new QCheckBox(QStringLiteral("Export to a single file."), this)), format_(new QComboBox(this)),
      all_(new QRadioButton(QStringLiteral("Export all available data for the shares."), this)),
      after_(new QRadioButton(QStringLiteral("Only export data occurring after"), this)), from_(new CDateEdit(this))
{
    setObjectName(QStringLiteral("512"));
    setWindowTitle(QStringLiteral("Export prices for all shares in list"));
    group_->setObjectName(QString::number(kPathGroup));
    path_->setObjectName(QString::number(kPath));
    path_->setMinimumWidth(360);
    single_->setObjectName(QString::number(kSingleFile));
    single_->setChecked(choice_.singleFile);
    format_->setObjectName(QString::number(kFormat));
    for (const char* filter : kPriceExportFilters)
        format_->addItem(QString::fromLatin1(filter));
    format_->setCurrentIndex(std::clamp(choice_.format, 1, int(std::size(kPriceExportFilters))) - 1);
    all_->setObjectName(QString::number(kAllData));
    after_->setObjectName(QString::number(kAfter));
    all_->setChecked(choice_.allData);
    after_->setChecked(!choice_.allData);
    // Without a stored date the field offers the last year.
    const PackedDate shown = choice_.fromDate ? choice_.fromDate : GetTodayDate(kDaysOffered);
    from_->Create(kFromDate, this, QRect(0, 0, 220, 24), nullptr, shown);
    from_->setMinimumWidth(220);
    from_->EnableWindow(!choice_.allData);
    connect(after_, &QRadioButton::toggled, this, [this](bool on) { from_->EnableWindow(on); });
    connect(single_, &QCheckBox::toggled, this, [this] { ShowPath(); });
    connect(format_, &QComboBox::currentIndexChanged, this, [this](int index) {
        choice_.format = index + 1;
        ShowPath();
    });
    auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
    browse->setObjectName(QString::number(kBrowse));
    connect(browse, &QPushButton::clicked, this, &CExportPricesDlg::Browse);
    auto* groupLayout = new QHBoxLayout(group_);
    groupLayout->addWidget(path_, 1);
    groupLayout->addWidget(browse);
    auto* source = new QGroupBox(QStringLiteral(" Source options "), this);
    auto* sourceLayout = new QVBoxLayout(source);
    sourceLayout->addWidget(all_);
    auto* afterRow = new QHBoxLayout;
    afterRow->addWidget(after_);
    afterRow->addWidget(from_);
    afterRow->addStretch();
    sourceLayout->addLayout(afterRow);
    auto* formatRow = new QHBoxLayout;
    formatRow->addWidget(new QLabel(QStringLiteral("Export Format"), this));
    formatRow->addWidget(format_, 1);
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, 0x20000 + 512);
    QPushButton* options = buttons->addButton(QStringLiteral("Options"), QDialogButtonBox::ActionRole);
    options->setObjectName(QString::number(kOptions));
    options->setEnabled(bool(FrameDialogs().optionsSheet));
    connect(options, &QPushButton::clicked, this, [] {
        if (FrameDialogs().optionsSheet)
            FrameDialogs().optionsSheet(kExportPageMask);
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group_);
    layout->addWidget(single_);
    layout->addLayout(formatRow);
    layout->addWidget(source);
    layout->addWidget(buttons);
    ShowPath();
}

void CExportPricesDlg::ShowPath()
{
    choice_.singleFile = single_->isChecked();
    if (!choice_.singleFile) {
        group_->setTitle(QStringLiteral(" Export directory "));
        path_->setText(FromCp1252(choice_.folder));
        return;
    }
    group_->setTitle(QStringLiteral(" Export file "));
    const std::string file = choice_.file.empty() ? std::string("out") : choice_.file;
    const int format = choice_.format == kExportDailyCsv ? kExportCsv : choice_.format;
    path_->setText(FromCp1252((std::filesystem::path(choice_.folder) / (file + ExportExtension(format))).string()));
}

void CExportPricesDlg::SetPathChooser(PathChooser chooser) { Chooser() = std::move(chooser); }

void CExportPricesDlg::Browse()
{
    const bool file = single_->isChecked();
    const std::string chosen = Chooser() ? Chooser()(choice_.folder, file) : DialogChooser(this, choice_.folder, file);
    if (chosen.empty())
        return;
    const std::filesystem::path path(chosen);
    if (file) {
        choice_.folder = path.parent_path().string();
        choice_.file = path.stem().string();
    } else {
        choice_.folder = path.string();
    }
    ShowPath();
}

void CExportPricesDlg::accept()
{
    choice_.allData = all_->isChecked();
    choice_.fromDate = 0;
    if (!choice_.allData) {
        choice_.fromDate = from_->ReadDate();
        if (choice_.fromDate == 0) {
            ShowMessage("The date entered was out of range or invalid. Please re-enter the date", {}, MsgButtons::Ok,
                        MsgIcon::Exclamation);
            return;
        }
    }
    choice_.format = format_->currentIndex() + 1;
    choice_.singleFile = single_->isChecked();
    QDialog::accept();
}

} // namespace qv
