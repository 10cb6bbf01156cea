// The portfolio valuation report and its dates dialog.
#include "portfolio/ui/ValuationDlgs.h"

#include "core/CashAccounts.h"
#include "core/Database.h"
#include "core/Portfolio.h"
#include "core/PriceLookups.h"
#include "core/RecordLookup.h"
#include "core/SystemDate.h"
#include "lists/ui/ColumnDialogs.h"
#include "platform/qt/QtText.h"
#include "portfolio/HoldingsPass.h"
#include "portfolio/ReportHtml.h"
#include "portfolio/ui/CgtDisplays.h"
#include "shell/ui/DateEdit.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/GridListBox.h"
#include "shell/ui/ModalDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qv {
namespace {

constexpr uint32_t kDatesHelp = 66095;
constexpr uint32_t kValuationHelp = 86534;

template <typename W>
W* Named(W* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

GridColumns Stops(int width, std::initializer_list<int> percents)
{
    GridColumns columns;
    size_t i = 1;
    for (int percent : percents) {
        columns.stops[i] = width * percent / 100;
        columns.formats[i++] = int(Qt::AlignRight);
    }
    return columns;
}

GridColumns SingleColumns(int width) { return Stops(width, {45, 65, 85}); }
GridColumns ComparisonColumns(int width) { return Stops(width, {40, 50, 64, 74, 88}); }

ValuationInputs InputsOf(const Portfolio* p, bool includeCash)
{
    ValuationInputs in;
    in.transactions = p ? p->transactions.get() : nullptr;
    in.includeCash = includeCash;
    in.pricePence = [](uint16_t shareId, uint8_t line, PackedDate date) -> double {
        uint8_t* record = FindShareRecord(shareId);
        return record ? GetRawPriceOnDate(record, line, date, true) : 0.0;
    };
    if (!p)
        return in;
    for (const CashAccount* a = CashAccounts().head; a; a = a->next)
        if (a->kind == int32_t(p->number))
            in.cash.push_back({a->name, [a, p](PackedDate date) { return double(CashBalanceAt(*a, p, date)); }});
    return in;
}

} // namespace

CValuationDates::CValuationDates(const ValuationSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings),
      latest_(Named(new QRadioButton(QStringLiteral("Latest valuation"), this), 2075)),
      onDate_(Named(new QRadioButton(QStringLiteral("Date"), this), 1546)),
      date_(MakeDialogDateField(this, 1856, settings.valuationDate, "1856")),
      comparison_(MakeDialogDateField(this, 1857, settings.comparisonDate, "1857")),
      compare_(Named(new QCheckBox(QStringLiteral("Compare value with value on"), this), 1825)),
      percent_(Named(new QRadioButton(QStringLiteral("Percent"), this), 1876)),
      absolute_(Named(new QRadioButton(QStringLiteral("Absolute change"), this), 1877)),
      cash_(Named(new QCheckBox(QStringLiteral("Include attached Cash balance(s) in valuation"), this), 2428))
{
    setObjectName(QStringLiteral("559"));
    setWindowTitle(QStringLiteral("Select valuation date or date range"));
    // Two pairs of choices in one dialog: each pair is its own group.
    for (auto pair : {std::pair{latest_, onDate_}, std::pair{percent_, absolute_}}) {
        auto* group = new QButtonGroup(this);
        group->addButton(pair.first);
        group->addButton(pair.second);
    }
    (settings.useDate ? onDate_ : latest_)->setChecked(true);
    compare_->setChecked(settings.compare);
    (settings.changeAs == 1 ? absolute_ : percent_)->setChecked(true);
    cash_->setChecked(settings.includeCash);
    auto* grid = new QGridLayout;
    grid->addWidget(latest_, 0, 0);
    grid->addWidget(onDate_, 1, 0);
    grid->addWidget(date_, 1, 1);
    grid->addWidget(compare_, 2, 0);
    grid->addWidget(comparison_, 2, 1);
    auto* change = new QHBoxLayout;
    change->addWidget(percent_);
    change->addWidget(absolute_);
    grid->addLayout(change, 3, 1);
    grid->addWidget(cash_, 4, 0, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(OkCancelHelpButtons(*this, kDatesHelp));
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{latest_, onDate_, compare_})
        connect(b, &QAbstractButton::toggled, this, [this] { UpdateEnabling(); });
    UpdateEnabling();
}

void CValuationDates::UpdateEnabling()
{
    date_->EnableWindow(onDate_->isChecked());
    comparison_->EnableWindow(compare_->isChecked());
    percent_->setEnabled(compare_->isChecked());
    absolute_->setEnabled(compare_->isChecked());
}

void CValuationDates::accept()
{
    settings_.useDate = onDate_->isChecked();
    if (const PackedDate d = date_->ReadDate())
        settings_.valuationDate = d;
    if (const PackedDate d = comparison_->ReadDate())
        settings_.comparisonDate = d;
    settings_.compare = compare_->isChecked();
    settings_.changeAs = absolute_->isChecked() ? 1 : 0;
    settings_.includeCash = cash_->isChecked();
    QDialog::accept();
}

CPortfolioValuation::CPortfolioValuation(const Portfolio* portfolio, const std::string& face, QWidget* parent)
    : QDialog(parent), portfolio_(portfolio), face_(face), name_(portfolio ? portfolio->name.str() : std::string()),
      list_(Named(new CGridListBox(true, this), 1888))
{
    setObjectName(QStringLiteral("572"));
    setWindowTitle(QStringLiteral("Portfolio %1 valuation").arg(FromCp1252(name_)));
    resize(760, 480);
    QPushButton* dates = ReportButton("Dates", 26413, this);
    QPushButton* print = ReportButton("Print", 26414, this);
    QPushButton* save = ReportButton("Save", 26415, this);
    QPushButton* chart = ReportButton("Chart", 26416, this);
    QPushButton* close = ReportButton("Close", 2, this);
    QPushButton* help = ReportButton("Help", 9, this);
    save->setEnabled(false);
    chart->setEnabled(false);
    LayOutReport(*this, list_, {dates, print, save, chart}, {close, help});
    connect(dates, &QPushButton::clicked, this, [this] { ChooseDates(); });
    connect(print, &QPushButton::clicked, this, [this] { Print(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    InstallDialogHelp(*this, kValuationHelp, help);
    ValuationSettings& settings = CurrentValuationSettings();
    if (settings.valuationDate == 0) {
        settings.valuationDate = GetLatestTradingDate(0);
        settings.comparisonDate = GetLatestTradingDate(1);
    }
    Build();
}

void CPortfolioValuation::Build()
{
    const ValuationSettings& settings = CurrentValuationSettings();
    const ValuationInputs in = InputsOf(portfolio_, settings.includeCash);
    const PackedDate date = settings.useDate ? settings.valuationDate : LatestDatabaseDate;
    if (settings.compare) {
        lines_ = ComparisonValuation(in, date, settings.comparisonDate, settings.changeAs == 0);
        list_->SetColumnCallback(ComparisonColumns);
    } else {
        lines_ = SingleDateValuation(in, ValuationDay(date));
        list_->SetColumnCallback(SingleColumns);
    }
    FillGridList(*list_, PadToColumns(lines_, settings.compare ? 6 : 4, 3));
}

void CPortfolioValuation::ChooseDates()
{
    CValuationDates dialog(CurrentValuationSettings(), this);
    if (RunModalDialog(dialog) == QDialog::Accepted)
        CurrentValuationSettings() = dialog.settings();
    Build();
}

void CPortfolioValuation::Print()
{
    file_.Print(ValuationHtmlReport(lines_, name_), face_);
}

} // namespace qv
