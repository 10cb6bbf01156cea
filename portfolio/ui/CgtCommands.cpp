// The report commands of the portfolio-type views.
#include "portfolio/ui/CgtCommands.h"

#include "core/Portfolio.h"
#include "core/SystemDate.h"
#include "lists/ui/ViewListTop.h"
#include "platform/qt/QtText.h"
#include "portfolio/CapitalGains.h"
#include "portfolio/CgtSummary.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/Transaction.h"
#include "portfolio/ui/CgtDisplays.h"
#include "portfolio/ui/DividendReportDlg.h"
#include "portfolio/ui/TaxYearDlgs.h"
#include "portfolio/ui/ValuationDlgs.h"
#include "shell/PortfolioAdd.h"
#include "shell/ui/ModalDialog.h"
#include "views/CommandUpdate.h"

#include <QPointer>

namespace qv {
namespace {

enum : uint32_t {
    kShareHistory = 26302,
    kRpiTable = 26303,
    kTaperTable = 26304,
    kFactorTable = 26305,
    kOtherYear = 26306,
    kPreviousYear = 26307,
    kFollowingYear = 26308,
    kCurrentYear = 26309,
    kExemptionTable = 26310,
    kPortfolioHistory = 26311,
    kAdjustLosses = 26390,
    kValuation = 26398,
    kDividendReport = 26903,
};

constexpr uint32_t kRpiHelp = 86494;
constexpr uint32_t kFactorHelp = 86495;
constexpr uint32_t kTaperHelp = 86492;
constexpr uint32_t kExemptionHelp = 86493;

bool IsCgtCommand(uint32_t command)
{
    return (command >= kShareHistory && command <= kPortfolioHistory) || command == kAdjustLosses ||
           command == kValuation || command == kDividendReport;
}

int YearOffset(uint32_t command)
{
    return command == kPreviousYear ? -1 : command == kCurrentYear ? 0 : 1;
}

std::string FaceOf(const CViewListTop& view) { return ToCp1252(view.listFontFace()); }

CgtPassResult RunPass(Portfolio& p, const CgtReportFilter& filter)
{
    CgtInputs inputs;
    inputs.transactions = p.transactions;
    inputs.manualLosses = PortfolioManualLosses(p);
    inputs.price = DatabaseCgtPrice();
    return CapitalGainsReport(inputs, filter);
}

std::function<void()> TaxTablesOf(CViewListTop& view)
{
    QPointer<CViewListTop> guard(&view);
    return [guard] {
        if (guard)
            RunCgtCommand(*guard, kExemptionTable);
    };
}

// Shows the pass's report when it kept anything.
void ShowReport(CViewListTop& view, const CgtPassResult& result, const std::string& name, bool summaryFollows)
{
    if (result.report.empty())
        return;
    CCGTDisplay::Args args;
    args.face = FaceOf(view);
    args.text = result.report + "\n";
    args.caption = result.title;
    args.name = name;
    args.gains = CgtYearGains{result.yearGains, result.valuationGain};
    args.summaryFollows = summaryFollows;
    args.taxTables = TaxTablesOf(view);
    CCGTDisplay dialog(std::move(args), &view);
    RunModalDialog(dialog);
}

std::string ShareName(const Portfolio& p, int share)
{
    for (const Transaction* t = p.transactions; t; t = t->next)
        if (t->shareId() == share)
            return std::string(t->text(0));
    return {};
}

void ShowShareHistory(CViewListTop& view, Portfolio& p)
{
    const int share = view.CurrentShareId();
    if (share <= 0)
        return;
    ShowReport(view, RunPass(p, CgtReportFilter{share, -1, false}), ShareName(p, share), false);
}

void ShowSummary(CViewListTop& view, Portfolio& p, int taxYear)
{
    CgtPassResult result = RunPass(p, CgtReportFilter{0, CgtTableYear(taxYear), false});
    ShowReport(view, result, "All", true);
    CgtSummaryInput input;
    input.transactions = p.transactions;
    input.manualLosses = PortfolioManualLosses(p);
    input.lossesCarried = result.lossesCarried;
    input.taxYear = taxYear;
    CCGTDisplay::Args args;
    args.face = FaceOf(view);
    args.text = CgtTaxYearSummary(input);
    args.caption = CgtSummaryCaption(taxYear);
    args.columns = 3;
    CCGTDisplay dialog(std::move(args), &view);
    RunModalDialog(dialog);
}

void ShowTable(CViewListTop& view, const std::string& caption, const std::string& text, int columns, uint32_t help)
{
    CTaxDisplayDetail dialog(caption, text, columns, help, FaceOf(view), &view);
    RunModalDialog(dialog);
}

void AdjustLosses(CViewListTop& view, Portfolio& p)
{
    CCGTLosses dialog(&p, &view);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return;
    RunSilentCapitalGains(p, DatabaseCgtPrice());
    p.changed = 1;
    SavePortfolio(&p, false);
    RefreshListsOfPortfolio(&p);
    view.update();
}

void ShowDividends(CViewListTop& view, Portfolio& p)
{
    CDividendReport dialog(&p, FaceOf(view), LastDividendYear(), &view);
    RunModalDialog(dialog);
    LastDividendYear() = dialog.year();
}

} // namespace

int& LastCgtSummaryYear()
{
    static int year = 2000;
    return year;
}

int& LastDividendYear()
{
    static int year = 0;
    return year;
}

bool UpdateCgtCommand(const CViewListTop& view, CommandUi& ui)
{
    if (!IsCgtCommand(ui.command))
        return false;
    const Portfolio* p = view.portfolio();
    ui.enabled = p && p->transactions;
    if (ui.command == kPreviousYear || ui.command == kCurrentYear || ui.command == kFollowingYear)
        ui.text = CgtSummaryMenuText(GetTodayDate(0), YearOffset(ui.command));
    return true;
}

bool RunCgtCommand(CViewListTop& view, uint32_t command)
{
    if (!IsCgtCommand(command))
        return false;
    Portfolio* p = view.portfolio();
    if (!p || !p->transactions)
        return true;
    switch (command) {
    case kShareHistory: ShowShareHistory(view, *p); break;
    case kPortfolioHistory: ShowReport(view, RunPass(*p, CgtReportFilter{0, -1, true}), "All", false); break;
    case kOtherYear: {
        CSelectTaxYear dialog(LastCgtSummaryYear(), &view);
        if (RunModalDialog(dialog) != QDialog::Accepted)
            break;
        LastCgtSummaryYear() = dialog.year();
        ShowSummary(view, *p, dialog.year() - 1990);
        break;
    }
    case kPreviousYear:
    case kCurrentYear:
    case kFollowingYear: ShowSummary(view, *p, CgtSummaryYearOf(GetTodayDate(0), YearOffset(command))); break;
    case kRpiTable: ShowTable(view, CgtRpiTableCaption(false), CgtRpiTableText(false), 13, kRpiHelp); break;
    case kFactorTable: ShowTable(view, CgtRpiTableCaption(true), CgtRpiTableText(true), 13, kFactorHelp); break;
    case kTaperTable: ShowTable(view, "Capital Gains Tax taper", CgtTaperTableText(), 12, kTaperHelp); break;
    case kExemptionTable:
        ShowTable(view, "Annual CGT exemption and income tax rates", CgtExemptionTableText(), 4, kExemptionHelp);
        break;
    case kAdjustLosses: AdjustLosses(view, *p); break;
    case kDividendReport: ShowDividends(view, *p); break;
    case kValuation: {
        CPortfolioValuation dialog(p, FaceOf(view), &view);
        RunModalDialog(dialog);
        break;
    }
    }
    return true;
}

} // namespace qv
