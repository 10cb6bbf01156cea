// The capital gains report of a portfolio in a program folder, as text.
#include "devtools/lib/CgtText.h"

#include "core/Database.h"
#include "core/Portfolio.h"
#include "core/RecordAccess.h"
#include "devtools/lib/PortfolioText.h"
#include "platform/TextCodec.h"
#include "portfolio/CapitalGains.h"
#include "portfolio/CgtSummary.h"
#include "portfolio/DividendReport.h"
#include "portfolio/HoldingsPass.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/Transaction.h"

namespace qv::dev {
namespace {

int ShareOf(const Portfolio& p, const std::string& epic)
{
    for (uint8_t* r = MainRecordBlock; r && RecordLength(r) != 0; r = NextRecord(r))
        if (GetRecordTexts(r).epic == epic)
            return RecordId(r);
    for (const Transaction* t = p.transactions; t; t = t->next)
        if (t->text(0) == epic)
            return t->shareId();
    return -1;
}

std::optional<std::string> Report(Portfolio& p, const CgtTextRequest& request, std::string& error)
{
    if (p.type == kGroupPortfolio)
        RebuildGroupPortfolio(&p);
    BuildHoldingRows(p);
    CgtReportFilter filter{0, request.taxYear, request.taxYear < 0};
    if (request.summaryYear >= 0)
        filter = {0, CgtTableYear(request.summaryYear), false};
    if (!request.epic.empty()) {
        filter = {ShareOf(p, request.epic), -1, false};
        if (filter.shareId <= 0) {
            error = "no share " + request.epic + " in the portfolio";
            return std::nullopt;
        }
    }
    CgtInputs inputs;
    inputs.transactions = p.transactions;
    inputs.manualLosses = PortfolioManualLosses(p);
    inputs.price = DatabaseCgtPrice();
    inputs.today = request.today ? request.today : LatestDatabaseDate;
    CgtPassResult result = CapitalGainsReport(inputs, filter);
    if (request.summaryYear >= 0) {
        CgtSummaryInput summary;
        summary.transactions = p.transactions;
        summary.manualLosses = inputs.manualLosses;
        summary.lossesCarried = result.lossesCarried;
        summary.taxYear = request.summaryYear;
        return Cp1252ToUtf8(CgtTaxYearSummary(summary));
    }
    std::string text = result.report.empty() ? result.title : result.report;
    return Cp1252ToUtf8(text) + "\n";
}

// Runs `report` over the named portfolio of the loaded folder.
template <typename Report>
std::optional<std::string> WithPortfolio(const std::filesystem::path& folder, const std::string& name,
                                         std::string& error, Report report)
{
    std::optional<std::string> text;
    error = "no portfolio " + name;
    WithLoadedFolder(folder, [&](std::string&) {
        for (Portfolio* p = PortfolioChain(); p; p = p->next)
            if (p->name.str() == name) {
                error.clear();
                text = report(*p);
                return;
            }
    });
    return text;
}

} // namespace

std::optional<std::string> DescribeCapitalGains(const std::filesystem::path& folder, const CgtTextRequest& request,
                                                std::string& error)
{
    return WithPortfolio(folder, request.portfolio, error, [&](Portfolio& p) { return Report(p, request, error); });
}

std::optional<std::string> DescribeDividends(const std::filesystem::path& folder, const std::string& portfolio, int year,
                                             std::string& error)
{
    return WithPortfolio(folder, portfolio, error, [&](Portfolio& p) -> std::optional<std::string> {
        std::string text = DividendReportCaption(p.name.str(), year) + "\n";
        for (const std::string& line : DividendReportLines(p.transactions, year))
            text += line + "\n";
        return Cp1252ToUtf8(text);
    });
}

} // namespace qv::dev
