// Listing portfolios, transactions and cash accounts.
#include "devtools/lib/PortfolioText.h"

#include "core/CashAccountFile.h"
#include "core/CashAccounts.h"
#include "core/Database.h"
#include "core/DateText.h"
#include "core/ImportsFile.h"
#include "core/RecordLists.h"
#include "core/ShareList.h"
#include "devtools/lib/ShareListChain.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/TextCodec.h"
#include "portfolio/CashEntry.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/HoldingsPass.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/Transaction.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>

namespace qv::dev {
namespace {

void Line(std::string& out, const char* format, auto... values)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, values...);
    out += buffer;
    out += '\n';
}

const char* TypeName(uint8_t type)
{
    switch (type) {
    case kUserPortfolio:
        return "user";
    case kPresetList:
        return "pre-set";
    case kFilterPreset:
        return "filter";
    case kGroupPortfolio:
        return "group";
    default:
        return "?";
    }
}

void DescribeTransactions(std::string& out, const Portfolio& p)
{
    for (const Transaction* t = p.transactions; t; t = t->next) {
        auto f = DecodeTransaction(t->bytes);
        if (!f)
            continue;
        Line(out, "    %s type %2u share 0x%04X line %u \"%s\" shares %g price %g amount %g charges %g ref \"%.20s\"",
             FormatDate(f->date).c_str(), f->type, f->shareId, f->line, f->texts[0].c_str(), double(f->shares),
             double(f->price), double(f->amount), double(f->charges),
             reinterpret_cast<const char*>(f->reference.data()));
        for (int i = 1; i < TransactionLayout::TextCount; ++i)
            if (!f->texts[size_t(i)].empty())
                Line(out, "      note %d \"%s\"", i, f->texts[size_t(i)].c_str());
    }
}

void DescribePortfolio(std::string& out, const Portfolio& p)
{
    Line(out, "portfolio %u \"%s\" %s flags %u: %u entries, %llu transaction bytes", p.number, p.name.c_str(),
         TypeName(p.type), p.flags, CountPortfolioEntries(p),
         static_cast<unsigned long long>(TransactionBytes(p.transactions)));
    for (uint32_t i = 0; i < CountPortfolioEntries(p); ++i)
        Line(out, "    share 0x%04X line %u", RecordId(p.entries[i].record), p.entries[i].count);
    for (const MissingShare* m = p.missing; m; m = m->next)
        Line(out, "    missing share 0x%04X second word %u", m->id, m->second);
    DescribeTransactions(out, p);
}

void DescribeAccounts(std::string& out)
{
    for (const CashAccount* a = CashAccounts().head; a; a = a->next) {
        Line(out, "cash account %u \"%s\" portfolio %d, %u bytes", a->number, a->name.c_str(), a->kind, a->dataSize);
        for (uint32_t pos = 0; pos < a->dataSize && a->data[pos] != 0; pos += a->data[pos]) {
            auto entry = DecodeCashEntry({a->data + pos, a->dataSize - pos});
            if (!entry) {
                Line(out, "    damaged entry at %u", pos);
                break;
            }
            Line(out, "    %s type %u amount %g \"%.20s\" \"%s\"", FormatDate(entry->date).c_str(), entry->type,
                 double(entry->amount), reinterpret_cast<const char*>(entry->description.data()),
                 entry->note.c_str());
        }
    }
}

void FreeShareLists()
{
    FreeShareListChain();
    CurrentShareList() = nullptr;
}

} // namespace

std::string WithLoadedFolder(const std::filesystem::path& folder, const std::function<void(std::string&)>& describe)
{
    TempFolder copy("qvportfolios");
    for (const char* pattern : {"*.por", "*.new"})
        for (const std::string& name : FindFiles(folder, pattern))
            std::filesystem::copy_file(folder / name, copy.path() / name);
    for (const char* sub : {"data\\Quorva.dat", "data\\Comp.dat", "data\\Imports.dat", "Data\\Cash.dat", "Data\\Cash.tem",
                            "Filter.cfg"}) {
        std::error_code ec;
        SetProgramFolder(folder);
        std::filesystem::path from = AppPath(sub);
        SetProgramFolder(copy.path());
        std::filesystem::path to = AppPath(sub, MakeFolders::Yes);
        std::filesystem::copy_file(from, to, ec);
    }
    SetProgramFolder(copy.path());
    std::string out;
    bool database = LoadDatabase(AppPath("data\\Quorva.dat"));
    if (!database)
        out += "no database: every share is listed as missing\n";
    LoadImports();
    LoadPortfolios();
    LoadCashAccounts();
    describe(out);
    FreePortfolioChain();
    FreeShareLists();
    FreeCashAccounts();
    FreeDatabase(true);
    FreeRecordList(&ImportedItemList, &ImportedItemCount);
    SetProgramFolder(folder);
    return out;
}

namespace {

std::string Shown(float v, const char* format)
{
    char text[64];
    if (v == kNotComputed)
        return "-";
    std::snprintf(text, sizeof text, format, double(v));
    return text;
}

void DescribeHoldingRows(std::string& out, const Portfolio& p)
{
    Line(out, "holdings of portfolio %u \"%s\" on %s", p.number, p.name.c_str(), FormatDate(LatestDatabaseDate).c_str());
    Line(out, "%-32s %10s %9s %11s %11s %9s %9s %10s %9s", "Share", "Held", "Price", "Value", "Profit", "Return%",
         "Annual%", "Realised", "Charges");
    for (const Transaction* t = p.transactions; t; t = t->next) {
        if (t->type() != kLatestRowType)
            continue;
        auto f = DecodeTransaction(t->bytes);
        if (!f)
            continue;
        Line(out, "%-32.32s %10s %9s %11s %11s %9s %9s %10s %9s%s", f->texts[0].c_str(), Shown(f->holding, "%.0f").c_str(),
             Shown(f->price, "%.2f").c_str(), Shown(f->consideration, "%.2f").c_str(), Shown(f->profit, "%.2f").c_str(),
             Shown(f->returnPercent, "%.1f").c_str(), Shown(f->annualReturn, "%.1f").c_str(),
             Shown(f->realisedProfit, "%.2f").c_str(), Shown(f->charges, "%.2f").c_str(),
             (f->flags & TransactionFlag::IgnoreInGains) ? " (ignored in CGT)" : "");
    }
    std::string summary;
    for (const HeaderItem& item : PortfolioValueLine(p, IncludeAttachedCashOption()))
        summary += (item.label.empty() ? std::string(" ") : "  " + item.label + " ") + item.value;
    Line(out, "summary:%s", Cp1252ToUtf8(summary).c_str());
}

} // namespace

std::string DescribePortfolioFolder(const std::filesystem::path& folder)
{
    return WithLoadedFolder(folder, [](std::string& out) {
        for (const Portfolio* p = PortfolioChain(); p; p = p->next)
            DescribePortfolio(out, *p);
        DescribeAccounts(out);
    });
}

std::optional<std::string> DescribeHoldings(const std::filesystem::path& folder, const std::string& name)
{
    bool found = false;
    std::string text = WithLoadedFolder(folder, [&](std::string& out) {
        for (Portfolio* p = PortfolioChain(); p && !found; p = p->next) {
            const bool wanted = name.empty() ? p->type == kUserPortfolio || p->type == kGroupPortfolio : p->name.str() == name;
            if (!wanted)
                continue;
            found = true;
            if (p->type == kGroupPortfolio)
                RebuildGroupPortfolio(p);
            BuildHoldingRows(*p);
            DescribeHoldingRows(out, *p);
        }
    });
    if (!found)
        return std::nullopt;
    return text;
}

} // namespace qv::dev
