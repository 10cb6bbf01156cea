// The summary of trades, the trade price history and the trade list's date chooser.
#include "realtime/ui/TradeDialogs.h"

#include "core/FormatValue.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "core/TimeZones.h"
#include "lists/ListViewOptions.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "portfolio/TransactionRows.h"
#include "realtime/RTMarketTable.h"
#include "realtime/TradePriceHistory.h"
#include "realtime/ui/TradeSummaryPanel.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv {
namespace {

// The home market: the stored times are its times.
constexpr unsigned kHomeMarket = 0;

QWidget* FrameWindow()
{
    if (auto* frame = dynamic_cast<QWidget*>(MainFrameTarget()))
        return frame;
    return QApplication::activeWindow();
}

QDialogButtonBox* CloseHelpButtons(QDialog& dialog, uint32_t topic)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("2"));
    QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
    help->setObjectName(QStringLiteral("9"));
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    InstallDialogHelp(dialog, topic, help);
    return buttons;
}

TradeSummaryContext ContextOf(const CViewBase& view, const TradeTotals& totals)
{
    TradeSummaryContext c;
    if (const uint8_t* record = totals.share ? FindShareRecord(totals.share) : nullptr)
        c.shareName = std::string(GetRecordName(record));
    c.newsView = view.kind == kViewNews;
    const unsigned market = kHomeMarket;
    if (totals.day) {
        c.zoneOffset = (GetMarketUtcBias(kHomeMarket, totals.day) - GetMarketUtcBias(market, totals.day)) * 60;
        c.zoneName = std::string(GetMarketTimeZoneName(market, totals.day));
    }
    c.referenceTime = ExchangeTimesTable()[market].second;
    const CurrencySymbols symbols = GetCurrencyUnitSymbols(totals.unit);
    for (char ch : symbols.major)
        if (ch)
            c.currencySymbol += ch;
    return c;
}

} // namespace

CTradeSummaryDlg::CTradeSummaryDlg(CViewBase& view, uint32_t flags, QWidget* parent)
    : QDialog(parent), significant_(new QCheckBox(QStringLiteral("3 significant figures"), this)),
      percentages_(new QCheckBox(QStringLiteral("Show percentages"), this)), time_(new QLabel(this)),
      date_(new QLabel(this)), panel_(new TradeSummaryPanel(this))
{
    setObjectName(QString::number(kTemplateId));
    view.GetTradeTotals(totals_);
    context_ = ContextOf(view, totals_);
    significant_->setObjectName(QString::number(kSignificantBox));
    percentages_->setObjectName(QString::number(kPercentBox));
    significant_->setChecked(flags & kSummarySignificant);
    percentages_->setChecked(flags & kSummaryPercentages);
    // The table sets the width; the options and the buttons go under it.
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(time_);
    layout->addWidget(date_);
    layout->addWidget(panel_);
    layout->addWidget(significant_);
    layout->addWidget(percentages_);
    layout->addWidget(CloseHelpButtons(*this, 0x20000 + kTemplateId));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(significant_, &QCheckBox::toggled, this, [this] { Show(); });
    connect(percentages_, &QCheckBox::toggled, this, [this] { Show(); });
    Show();
}

uint32_t CTradeSummaryDlg::options() const
{
    return (significant_->isChecked() ? kSummarySignificant : 0) | (percentages_->isChecked() ? kSummaryPercentages : 0);
}

void CTradeSummaryDlg::Show()
{
    table_ = FormatTradeSummary(totals_, context_, options());
    setWindowTitle(FromCp1252(table_.caption));
    time_->setText(FromCp1252(table_.timeLine));
    date_->setText(FromCp1252(table_.dateLine));
    const bool empty = !table_.message.empty();
    significant_->setVisible(!empty);
    percentages_->setVisible(!empty);
    panel_->SetTable(table_);
}

bool CTradeSummaryDlg::Open(CViewBase* view, QWidget* parent)
{
    if (!view || view->kind == kViewCash || !CurrentListViewOptions().livePrices)
        return false;
    CTradeSummaryDlg dialog(*view, kSummarySignificant | kSummaryPercentages, parent ? parent : FrameWindow());
    RunModalDialog(dialog);
    return true;
}

CTradePriceHistoryDlg::CTradePriceHistoryDlg(uint16_t share, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Trade price history"));
    for (const std::string& line : ReadTradePriceHistory(share))
        list_->addItem(FromCp1252(line));
    list_->setMinimumSize(460, 320);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(CloseHelpButtons(*this, 0x20000 + kTemplateId));
}

CTradeListDateDlg::CTradeListDateDlg(PackedDate day, PackedDate newest, QWidget* parent)
    : QDialog(parent), day_(day), newest_(newest), date_(new CDateEdit(this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Set Trade/Quote List Date"));
    date_->Create(kDateControl, this, QRect(0, 0, 240, 24), nullptr, day);
    date_->setMinimumSize(240, 48);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(date_);
    layout->addWidget(OkCancelHelpButtons(*this, 0x20000 + kTemplateId));
}

void CTradeListDateDlg::accept()
{
    const PackedDate chosen = date_->ReadDate();
    // A text that is no date puts back the day the dialog opened with.
    if (chosen == 0) {
        date_->date = day_;
        date_->FormatDate(true);
        return;
    }
    if (chosen > newest_) {
        ShowMessage(kTradeDateOutOfRange, {}, MsgButtons::Ok, MsgIcon::Exclamation);
        date_->date = newest_;
        date_->FormatDate(true);
        return;
    }
    day_ = chosen;
    QDialog::accept();
}

void InstallTradeDialogs()
{
    SetCommandDialog(27200, [] { return CTradeSummaryDlg::Open(MainFrameState().activeView, nullptr); });
    SetCommandDialog(26807, [] {
        CViewBase* view = MainFrameState().activeView;
        if (BusyFlag || ModalCount || !view || !view->list)
            return false;
        // A trade list's rows are its own records; its share is the list's.
        const RecordCursor* entry = CurrentEntry(view->list);
        const uint16_t share = view->kind == kViewTradeList ? uint16_t(view->list->currentId)
                               : entry && entry->record ? EntryRecordId(ShareOfRow(*view->list, *entry))
                                                        : uint16_t(0);
        CTradePriceHistoryDlg dialog(share, FrameWindow());
        RunModalDialog(dialog);
        return true;
    });
}

} // namespace qv
