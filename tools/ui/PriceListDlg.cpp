// The price list window, its settings and the print settings.
#include "tools/ui/PriceListDlg.h"

#include "views/ActiveShare.h"
#include "chartmodel/EodPriceEdit.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "lists/ListViewOptions.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "platform/qt/QtText.h"
#include "shell/FrameDialogSeams.h"
#include "shell/PortfolioAdd.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr uint32_t kPriceListCommand = 21117, kPrintSettingsCommand = 26213;
constexpr const char* kSection = "Settings";
constexpr int kVisibleHeight = 30;

struct SettingBox {
    int id;
    const char* text;
    bool PriceListOptions::*field;
};
constexpr SettingBox kSettingBoxes[8] = {
    {3376, "Open, High, Low as well as Close", &PriceListOptions::ohlc},
    {3380, "Volume", &PriceListOptions::volume},
    {3381, "Percent change", &PriceListOptions::percentChange},
    {3377, "Show adjustment for splits and consolidations", &PriceListOptions::adjustment},
    {3378, "Separator lines", &PriceListOptions::separatorLines},
    {3379, "Oldest data first", &PriceListOptions::oldestFirst},
    {3383, "Show days where there is no data", &PriceListOptions::daysWithoutData},
    {4091, "Show only edited prices", &PriceListOptions::editedOnly},
};

void StoreSettings()
{
    Registry& registry = Registry::Instance();
    registry.setU32(kSection, "PriceListOptions", PackPriceListOptions(PriceListSettings()));
    const PriceListRect& r = PriceListWindowRect();
    registry.setString(kSection, "PriceListRect",
                       std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.width) + "," +
                           std::to_string(r.height));
    registry.setU32(kSection, "PrintDoubleLines", PrintDoubleLines() ? 1 : 0);
}

void LoadSettings()
{
    Registry& registry = Registry::Instance();
    if (std::optional<uint32_t> bits = registry.getU32(kSection, "PriceListOptions"))
        PriceListSettings() = UnpackPriceListOptions(uint8_t(*bits));
    PriceListRect r;
    if (std::optional<std::string> text = registry.getString(kSection, "PriceListRect"))
        if (std::sscanf(text->c_str(), "%d,%d,%d,%d", &r.left, &r.top, &r.width, &r.height) == 4)
            PriceListWindowRect() = r;
    PrintDoubleLines() = registry.getU32(kSection, "PrintDoubleLines").value_or(0) != 0;
}

// The kept rectangle when at least 30 pixels of its height lie on a screen, else the default.
QRect OpeningRect()
{
    const PriceListRect& r = PriceListWindowRect();
    const QRect kept(r.left, r.top, r.width, r.height);
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect shown = screen->availableGeometry().intersected(kept);
        if (shown.height() >= kVisibleHeight && shown.width() > 0)
            return kept;
    }
    const PriceListRect defaults;
    return QRect(defaults.left, defaults.top, defaults.width, defaults.height);
}


bool RunPriceList()
{
    RecordCursor share;
    if (!ActiveViewShare(share))
        return false;
    CPriceListDlg dialog(share, false, QApplication::activeWindow());
    return RunModalDialog(dialog) == QDialog::Accepted;
}

bool RunPrintSettings()
{
    ListViewOptions& options = CurrentListViewOptions();
    CPrintSettingsDlg dialog(options.printFontSize, PrintDoubleLines(), QApplication::activeWindow());
    dialog.SetDataMiningPrint(options.dataMiningOwnPrintPage, options.dataMiningPrintRows);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return false;
    options.printFontSize = dialog.stored();
    options.dataMiningOwnPrintPage = dialog.graphsBox()->isChecked();
    options.dataMiningPrintRows = dialog.rowsBox()->isChecked();
    PrintDoubleLines() = dialog.doubleLines();
    StoreSettings();
    return true;
}

} // namespace

bool& PrintDoubleLines()
{
    static bool doubleLines = false;
    return doubleLines;
}

CPriceListDlg::CPriceListDlg(const RecordCursor& share, bool editedPrices, QWidget* parent)
    : QDialog(parent), share_(share), editedPrices_(editedPrices), list_(new QTreeWidget(this)),
      adjust_(new QCheckBox(QStringLiteral("Adjust for any splits and consolidations"), this))
{
    setObjectName(QStringLiteral("362"));
    setSizeGripEnabled(true);
    list_->setObjectName(QString::number(kList));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(false);
    adjust_->setObjectName(QString::number(kAdjust));
    adjust_->setChecked(PriceListSettings().adjustment);
    connect(adjust_, &QCheckBox::toggled, this, [this](bool on) {
        PriceListSettings().adjustment = on;
        StoreSettings();
        Fill();
    });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { EditDay(item); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("1"));
    QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    InstallDialogHelp(*this, 0x20000 + 362, help);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(adjust_);
    bottom->addStretch();
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(bottom);
    setGeometry(OpeningRect());
    Fill();
}

void CPriceListDlg::Fill()
{
    PriceListMode mode{PriceListSettings(), editedPrices_};
    setWindowTitle(FromCp1252(PriceListTitle(std::string(GetRecordName(share_.record)), mode)));
    QStringList heads{QStringLiteral("Date")};
    for (const std::string& head : PriceListHeads(mode))
        heads << QString::fromStdString(head);
    list_->clear();
    list_->setColumnCount(int(heads.size()));
    list_->setHeaderLabels(heads);
    for (const PriceListRow& row : BuildPriceListRows(share_, mode)) {
        QStringList cells = FromCp1252(row.text).split(QLatin1Char('\t'));
        // The weekday and the date share the "Date" column.
        if (cells.size() > 1)
            cells.replace(0, cells.at(0) + QLatin1Char(' ') + cells.takeAt(1));
        auto* item = new QTreeWidgetItem(list_, cells);
        item->setData(0, Qt::UserRole, int(row.date));
        for (int c = 1; c < cells.size(); ++c)
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int c = 0; c < list_->columnCount(); ++c)
        list_->resizeColumnToContents(c);
    list_->setAlternatingRowColors(mode.options.separatorLines);
    if (list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
}

bool CPriceListDlg::EditSettings()
{
    CPriceListSettingsDlg dialog(PriceListSettings(), editedPrices_, this);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return false;
    PriceListOptions chosen = dialog.options();
    PriceListOptions& kept = PriceListSettings();
    if (editedPrices_) {
        kept.percentChange = chosen.percentChange;
        kept.adjustment = chosen.adjustment;
        kept.separatorLines = chosen.separatorLines;
        kept.oldestFirst = chosen.oldestFirst;
    } else {
        kept = chosen;
    }
    StoreSettings();
    adjust_->blockSignals(true);
    adjust_->setChecked(kept.adjustment);
    adjust_->blockSignals(false);
    Fill();
    return true;
}

bool CPriceListDlg::EditDay(QTreeWidgetItem* item)
{
    const PackedDate date = item ? PackedDate(item->data(0, Qt::UserRole).toInt()) : 0;
    if (!EditShareDay(share_, date))
        return false;
    Fill();
    // Keep the edited day in view.
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        if (list_->topLevelItem(i)->data(0, Qt::UserRole).toInt() == int(date))
            list_->setCurrentItem(list_->topLevelItem(i));
    InvalidateMatchingViews(ShareListChain(), false, -1, -1, 0xFFFFFFFF, nullptr);
    return true;
}

void CPriceListDlg::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    EditSettings();
}

void CPriceListDlg::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    RememberRect();
}

void CPriceListDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    RememberRect();
}

void CPriceListDlg::RememberRect()
{
    if (!isVisible())
        return;
    const QRect r = geometry();
    PriceListWindowRect() = {r.left(), r.top(), r.width(), r.height()};
}

CPriceListSettingsDlg::CPriceListSettingsDlg(const PriceListOptions& options, bool editedPrices, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("792"));
    setWindowTitle(QStringLiteral("Settings for the price list"));
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < 8; ++i) {
        const SettingBox& s = kSettingBoxes[i];
        boxes_[i] = new QCheckBox(QString::fromLatin1(s.text), this);
        boxes_[i]->setObjectName(QString::number(s.id));
        boxes_[i]->setChecked(options.*s.field);
        const bool fixedInEditedMode = s.id == 4091 || s.id == 3376 || s.id == 3380 || s.id == 3383;
        boxes_[i]->setEnabled(!(editedPrices && fixedInEditedMode));
        layout->addWidget(boxes_[i]);
    }
    layout->addWidget(OkCancelHelpButtons(*this, 0x20000 + 792));
}

PriceListOptions CPriceListSettingsDlg::options() const
{
    PriceListOptions options;
    for (int i = 0; i < 8; ++i)
        options.*kSettingBoxes[i].field = boxes_[i]->isChecked();
    return options;
}

QCheckBox* CPriceListSettingsDlg::box(int id) const
{
    for (int i = 0; i < 8; ++i)
        if (kSettingBoxes[i].id == id)
            return boxes_[i];
    return nullptr;
}

CPrintSettingsDlg::CPrintSettingsDlg(uint8_t stored, bool doubleLines, QWidget* parent)
    : QDialog(parent), size_(new QLineEdit(this)), screen_(new QCheckBox(QStringLiteral("Use screen font size"), this)),
      double_(new QCheckBox(QStringLiteral("Print double thick lines"), this)),
      graphs_(new QCheckBox(QStringLiteral("Print the data mining graphs as the first page"), this)),
      rows_(new QCheckBox(QStringLiteral("Print the data mining table after the graphs"), this)), stored_(stored),
      doubleLines_(doubleLines)
{
    setObjectName(QStringLiteral("353"));
    setWindowTitle(QStringLiteral("Print settings"));
    size_->setObjectName(QString::number(kSize));
    screen_->setObjectName(QString::number(kScreenSize));
    double_->setObjectName(QString::number(kDoubleLines));
    const int size = stored & 0x7F;
    size_->setText(QString::number(size == 0 ? 10 : size));
    size_->setMaximumWidth(60);
    screen_->setChecked(stored & 0x80);
    size_->setEnabled(!screen_->isChecked());
    double_->setChecked(doubleLines);
    connect(screen_, &QCheckBox::toggled, size_, [this](bool on) { size_->setEnabled(!on); });
    connect(graphs_, &QCheckBox::toggled, rows_, [this](bool on) { rows_->setEnabled(on); });
    SetDataMiningPrint(false, true);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Type the new font size (4 - 30)"), this));
    row->addWidget(size_);
    row->addStretch();
    QDialogButtonBox* buttons = OkCancelHelpButtons(*this, 0x20000 + 353);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(screen_);
    layout->addWidget(double_);
    layout->addWidget(graphs_);
    layout->addWidget(rows_);
    layout->addWidget(buttons);
}

void CPrintSettingsDlg::SetDataMiningPrint(bool graphs, bool rows)
{
    graphs_->setChecked(graphs);
    rows_->setChecked(rows);
    rows_->setEnabled(graphs);
}

void CPrintSettingsDlg::accept()
{
    bool number = false;
    const int size = size_->text().trimmed().toInt(&number);
    if (!screen_->isChecked() && (!number || size < 4 || size > 30)) {
        ShowMessage("Please enter a font size between 4 and 30.", {}, MsgButtons::Ok, MsgIcon::Exclamation);
        size_->setFocus();
        size_->selectAll();
        return;
    }
    uint8_t kept = uint8_t(number && size >= 4 && size <= 30 && size != 10 ? size : 0);
    if (screen_->isChecked())
        kept |= 0x80;
    stored_ = kept;
    doubleLines_ = double_->isChecked();
    QDialog::accept();
}

void InstallPriceListDialogs()
{
    LoadSettings();
    SetCommandDialog(kPriceListCommand, [] {
        const bool ok = RunPriceList();
        StoreSettings();
        return ok;
    });
    SetCommandDialog(kPrintSettingsCommand, RunPrintSettings);
    SetReviewPriceEditsDialog([](const RecordCursor& share) {
        CPriceListDlg dialog(share, true, QApplication::activeWindow());
        RunModalDialog(dialog);
        StoreSettings();
    });
}

void RemovePriceListDialogs()
{
    SetCommandDialog(kPriceListCommand, nullptr);
    SetCommandDialog(kPrintSettingsCommand, nullptr);
    SetReviewPriceEditsDialog(nullptr);
}

} // namespace qv
