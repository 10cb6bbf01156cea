// The demo's portfolios: a long history of buys, sales, a split and dividends under the capital gains
// rules of 1993-2008, recent buys at the demo market's prices, an income portfolio, a group of both,
// and a cash account attached to the first.
#include "devtools/lib/DemoPortfolios.h"

#include "core/CashAccountFile.h"
#include "core/CashAccounts.h"
#include "core/Database.h"
#include "core/PackedDate.h"
#include "core/PriceLookups.h"
#include "core/RecordAccess.h"
#include "core/ShareList.h"
#include "devtools/lib/DemoFilters.h"
#include "devtools/lib/ShareListChain.h"
#include "platform/Paths.h"
#include "portfolio/CashEntry.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/Transaction.h"

#include <cstring>
#include <vector>

namespace qv::dev {
namespace {

constexpr uint16_t kDemoCashAccount = 2;
constexpr float kBrokerCharge = 12.5f;
constexpr PackedDate kFirstBuyDay = PackDate(8, 3, 2010);

struct Share {
    uint8_t* record = nullptr;
    std::string name;
};

enum Type : uint8_t { kBuy = 1, kSell = 2, kDividend = 3, kSplit = 13 };

struct Deal {
    int day, month, year;
    uint8_t type;
    float shares;
    float price; // pounds per share (dividend per share for a dividend; the ratio for a split)
    uint8_t flags = 0;
    uint32_t time = 0;
};

// Every fifth of the companies' ordinary shares priced from 2010 to today, in record order.
std::vector<Share> OrdinaryShares()
{
    std::vector<Share> out;
    int seen = 0;
    for (uint8_t* r = MainRecordBlock; r && RecordLength(r) != 0; r = NextRecord(r)) {
        if (SubRecordKindOf(FirstSubRecord(r)) != SubRecordKind::Ordinary2)
            continue;
        const std::string name(GetRecordTexts(r).name);
        if (GetPriceOnDate(r, 0, LatestDatabaseDate, true) <= 0 || GetPriceOnDate(r, 0, kFirstBuyDay, true) <= 0)
            continue;
        if (seen++ % 5 == 0)
            out.push_back({r, name});
    }
    return out;
}

Portfolio* MakePortfolio(uint16_t number, const std::string& name, uint8_t type)
{
    auto* p = new Portfolio;
    p->number = number;
    p->type = type;
    p->name = name;
    p->changed = 1; // as a loaded portfolio: its holdings are worked out when it is first shown
    std::memset(p->settings, 0xFF, sizeof p->settings);
    ResetPortfolioEntries(*p);
    AppendToChain(p);
    return p;
}

void Record(Portfolio& p, const Share& s, const Deal& d, uint16_t cash)
{
    TransactionFields f;
    f.date = PackDate(d.day, d.month, d.year);
    f.type = d.type;
    f.shareId = RecordId(s.record);
    f.flags = uint8_t(TransactionFlag::FloatValues | d.flags);
    f.texts[0] = s.name;
    f.portfolioNumber = p.number;
    f.cashAccount = cash;
    f.time = d.time;
    f.taxCreditRate = d.type == kDividend ? 10 : 0;
    if (d.type == kSplit) {
        f.splitRatio = d.price;
    } else {
        f.shares = d.shares;
        f.price = d.price;
        const float consideration = d.shares * d.price;
        if (d.type == kBuy || d.type == kSell) {
            f.brokerCharge = kBrokerCharge;
            f.stampDuty = d.type == kBuy ? consideration * 0.005f : 0;
            f.charges = f.brokerCharge + f.stampDuty;
        }
        f.amount = d.type == kBuy ? consideration + f.charges : consideration - f.charges;
        f.consideration = consideration;
    }
    auto* t = new Transaction;
    t->bytes = *EncodeTransaction(f);
    InsertSortedByName(p.transactions, t);
}

void Hold(Portfolio& p, const Share& s, const std::vector<Deal>& deals, uint16_t cash = 0xFFFF)
{
    AddPortfolioEntry(p, RecordCursor{s.record, 0});
    for (const Deal& d : deals)
        Record(p, s, d, cash);
}

// A buy since the demo market's first day, at that day's close (the day before's on a holiday).
Deal BuyAtMarket(const Share& s, int day, int month, int year, float shares)
{
    const float pence = GetPriceOnDate(s.record, 0, PackDate(day, month, year), true);
    return {day, month, year, kBuy, shares, pence / 100};
}

// Dividends paid each September from `from` to `to` on the holding.
void Dividends(std::vector<Deal>& deals, int from, int to, float shares, float perShare)
{
    for (int year = from; year <= to; ++year)
        deals.push_back({15, 9, year, kDividend, shares, perShare + 0.002f * float(year - from)});
}

void FillDemoPortfolio(Portfolio& p, const std::vector<Share>& s)
{
    // A holding pooled before 1998, added to, split 2 for 1, partly sold at several taper ages.
    std::vector<Deal> pooled = {
        {14, 5, 1993, kBuy, 1000, 1.20f},         {3, 3, 1999, kBuy, 500, 2.10f},
        {12, 6, 2001, kSell, 600, 2.65f},         {4, 9, 2006, kSplit, 0, 2},
        {18, 4, 2008, kSell, 400, 1.75f},
    };
    Dividends(pooled, 2000, 2007, 900, 0.045f);
    Dividends(pooled, 2019, 2025, 1400, 0.06f);
    Hold(p, s[0], pooled);

    // A same-day sale and buy, and a rebuy twelve days after a sale.
    std::vector<Deal> traded = {
        {10, 1, 2000, kBuy, 2000, 3.40f},
        {15, 3, 2004, kSell, 800, 2.95f, 0, 36000},
        {15, 3, 2004, kBuy, 800, 2.97f, 0, 50400},
        {2, 2, 2005, kSell, 500, 3.60f},
        {14, 2, 2005, kBuy, 500, 3.52f},
        {20, 11, 2007, kSell, 700, 4.10f},
    };
    Dividends(traded, 2000, 2007, 2000, 0.08f);
    Hold(p, s[1], traded);

    // A purchase kept out of the capital gains figures, and a sale ten years on.
    Hold(p, s[2], {{6, 7, 2002, kBuy, 1500, 0.85f, TransactionFlag::IgnoreInGains},
                   {9, 10, 1998, kBuy, 3000, 0.60f},
                   {17, 3, 2008, kSell, 1000, 1.15f}});

    // A share sold out: bought in 2003, all sold in 2006.
    Hold(p, s[3], {{21, 8, 2003, kBuy, 1200, 1.55f}, {5, 12, 2006, kSell, 1200, 2.40f}});

    // Buys since 2010 at the demo market's prices, settled through the attached cash account.
    Hold(p, s[4], {BuyAtMarket(s[4], 8, 3, 2010, 800), BuyAtMarket(s[4], 12, 6, 2017, 400)}, kDemoCashAccount);
    std::vector<Deal> recent = {BuyAtMarket(s[5], 15, 9, 2014, 1000)};
    Dividends(recent, 2015, 2025, 1000, 0.05f);
    Hold(p, s[5], recent, kDemoCashAccount);
    Hold(p, s[6], {BuyAtMarket(s[6], 3, 5, 2021, 2500)}, kDemoCashAccount);
    Hold(p, s[7], {}, kDemoCashAccount); // watched, not held
}

void FillIncome(Portfolio& p, const std::vector<Share>& s)
{
    for (size_t i = 8; i < 11; ++i) {
        std::vector<Deal> deals = {BuyAtMarket(s[i], 4, 4, 2012, 1500)};
        Dividends(deals, 2012, 2025, 1500, 0.04f + 0.01f * float(i - 8));
        Hold(p, s[i], deals);
    }
}

std::vector<uint8_t> CashEntry(uint8_t type, int day, int month, int year, float amount, const char* text)
{
    CashEntryFields f;
    f.type = type;
    f.date = PackDate(day, month, year);
    f.amount = amount;
    f.note = text;
    return *EncodeCashEntry(f);
}

bool WriteCash()
{
    const bool saved = MakeDemoCashAccounts() && SaveCashAccounts();
    FreeCashAccounts();
    return saved;
}

} // namespace

bool MakeDemoCashAccounts()
{
    FreeCashAccounts();
    CashAccount* global = NewCashAccount("Global Account");
    CashAccount* demo = NewCashAccount("Demo Portfolio Cash");
    if (!global || !demo || demo->number != kDemoCashAccount)
        return false;
    demo->kind = 0; // attached to "Demo Portfolio"
    std::vector<std::vector<uint8_t>> entries = {CashEntry(kCashCredit, 4, 1, 2010, 25000, "Opening deposit"),
                                                 CashEntry(kCashCredit, 1, 6, 2016, 10000, "Deposit")};
    for (int year = 2010; year <= 2025; ++year)
        entries.push_back(CashEntry(kCashInterest, 31, 12, year, 20.0f + float(year - 2010) * 3, "Interest"));
    entries.push_back(CashEntry(kCashCharge, 30, 6, 2018, 15, "Account fee"));
    entries.push_back(CashEntry(kCashDebit, 12, 8, 2022, 2500, "Withdrawal"));
    for (const auto& e : entries)
        if (!AddCashEntry(demo->data, demo->dataSize, e))
            return false;
    return true;
}

bool BuildDemoPortfolios()
{
    const std::vector<Share> shares = OrdinaryShares();
    if (shares.size() < 11)
        return false;
    FillDemoPortfolio(*MakePortfolio(0, "Demo Portfolio", kUserPortfolio), shares);
    FillIncome(*MakePortfolio(1, "Income", kUserPortfolio), shares);
    Portfolio* all = MakePortfolio(2, "All Portfolios", kGroupPortfolio);
    all->members = new PortfolioMember{new PortfolioMember{{}, 2, 0xFFFF}, 1, 0xFFFF};
    return true;
}

bool WriteDemoPortfolios(const std::filesystem::path& folder, std::string* error)
{
    auto fail = [&](const char* why) {
        if (error)
            *error = why;
        return false;
    };
    SetProgramFolder(folder);
    if (!LoadDatabase(AppPath("data\\Quorva.dat")))
        return fail("the demo database cannot be loaded");
    const bool built = BuildDemoPortfolios();
    bool saved = built;
    for (Portfolio* p = PortfolioChain(); p && saved; p = p->next)
        saved = SavePortfolio(p, true);
    saved = saved && WriteCash() && WriteDemoFilters(folder);
    FreePortfolioChain();
    FreeShareListChain();
    CurrentShareList() = nullptr;
    FreeDatabase(true);
    if (!built)
        return fail("the demo database holds too few shares");
    return saved || fail("the portfolio files cannot be written");
}

} // namespace qv::dev
