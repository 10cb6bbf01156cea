// The capital gains report of a portfolio in a program folder, as text.
#include "devtools/lib/CgtText.h"

#include "core/Database.h"
#include "core/Portfolio.h"
#include "core/RecordAccess.h"
#include "devtools/lib/PortfolioText.h"
#include "platform/TextCodec.h"
#include "portfolio/CapitalGains.h"
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
    CgtPassResult result = CapitalGainsReport(inputs, filter);
    std::string text = result.report.empty() ? result.title : result.report;
    return Cp1252ToUtf8(text) + "\n";
}

} // namespace

std::optional<std::string> DescribeCapitalGains(const std::filesystem::path& folder, const CgtTextRequest& request,
                                                std::string& error)
{
    std::optional<std::string> report;
    error = "no portfolio " + request.portfolio;
    WithLoadedFolder(folder, [&](std::string&) {
        for (Portfolio* p = PortfolioChain(); p; p = p->next)
            if (p->name.str() == request.portfolio) {
                error.clear();
                report = Report(*p, request, error);
                return;
            }
    });
    return report;
}

} // namespace qv::dev
