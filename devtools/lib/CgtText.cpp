// The capital gains report of a portfolio in a program folder, as text.
#include "devtools/lib/CgtText.h"

#include "core/Database.h"
#include "core/Portfolio.h"
#include "core/RecordAccess.h"
#include "core/RecordLists.h"
#include "core/ShareList.h"
#include "devtools/lib/ShareListChain.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"
#include "portfolio/CapitalGains.h"
#include "portfolio/PortfolioFile.h"
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
    TempFolder copy("qvcgt");
    for (const char* pattern : {"*.por", "*.new"})
        for (const std::string& name : FindFiles(folder, pattern))
            std::filesystem::copy_file(folder / name, copy.path() / name);
    SetProgramFolder(folder);
    bool database = LoadDatabase(AppPath("data\\Quorva.dat"));
    SetProgramFolder(copy.path());
    LoadPortfolios();
    std::optional<std::string> out;
    error = "no portfolio " + request.portfolio;
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->name.str() == request.portfolio) {
            error.clear();
            out = Report(*p, request, error);
            break;
        }
    FreePortfolioChain();
    FreeShareListChain();
    CurrentShareList() = nullptr;
    if (database)
        FreeDatabase(true);
    SetProgramFolder(folder);
    return out;
}

} // namespace qv::dev
