// The demo dealings.
#include "devtools/lib/DemoDealings.h"

#include "core/PackedDate.h"
#include "devtools/lib/DemoResults.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace qv::dev {
namespace {

constexpr uint32_t kDealingsSeed = 20261209;

const char* const kFirstNames[] = {"Margaret", "David",  "Susan",  "Peter",   "Helen",  "Richard", "Anne",
                                   "Michael",  "Claire", "Andrew", "Fiona",   "James",  "Ruth",    "Simon",
                                   "Eleanor",  "Nigel",  "Joanna", "Charles", "Alison", "Graham"};
const char* const kSurnames[] = {"Oakley", "Hartley", "Pemberton", "Ashworth", "Fairbairn", "Lindqvist", "Cole",
                                 "Marsh",  "Kendall", "Whitmore",  "Bramley",  "Okafor",    "Reid",      "Sutton",
                                 "Thorne", "Varley",  "Winslow",   "Doyle",    "Haldane",   "Prescott"};
const char* const kHolders[] = {"Northgate Capital",    "Aldwych Investors",   "Severn Pension Trust",
                                "Harbour Lane Partners", "Pennine Mutual",      "Castlegate Asset Mgmt",
                                "Meridian Holdings",     "Blackfriars Fund Mgrs"};
const char* const kRoles[] = {"Chairman", "Chief Executive", "Finance Director", "Non-Executive Director",
                              "Company Secretary", "Operations Director"};
const char* const kShareTexts[] = {"Ord 1p", "Ord 5p", "Ord 10p", "Ord 25p"};
// Directors mostly buy and sell; now and then an option exercise, an award or a placing.
const char* const kDirectorDeals[] = {"Sale", "Sale", "Purchase", "Purchase", "Purchase", "Exercise",
                                      "Award", "Sale at placing", "Transfer", "Scrip dividend"};

template <size_t N>
const char* Pick(std::mt19937& rng, const char* const (&list)[N])
{
    return list[rng() % N];
}

double Between(std::mt19937& rng, double lo, double hi) { return lo + (hi - lo) * (double(rng()) / 4294967296.0); }

// One investor's items for one share: a holding and its deals in date order; all but the latest deal
// and holding superseded.
void AddInvestor(std::mt19937& rng, std::vector<DealingItemSpec>& items, const DemoRecord& share, bool major,
                 const std::string& name, const std::string& shareText, int32_t firstDay, int32_t lastDay)
{
    const int deals = 1 + int(rng() % (major ? 4 : 6));
    std::vector<int32_t> days;
    for (int i = 0; i < deals; ++i) {
        int32_t day = firstDay + int32_t(rng() % uint32_t(lastDay - firstDay));
        day -= (day % 7 == 5) ? 1 : (day % 7 == 6) ? 2 : 0; // weekdays only (day 0 is a Monday)
        days.push_back(day);
    }
    std::sort(days.begin(), days.end());
    // Holdings as shares of the company's issue: a major holder 3-12%, a director up to 3%.
    const double issue = double(share.streams.front().issueFigure) * 1e6;
    double held = std::round(issue * (major ? Between(rng, 0.03, 0.12) : Between(rng, 0.0005, 0.03)));
    const char* role = major ? "Major holder" : Pick(rng, kRoles);
    const size_t first = items.size();
    for (int i = 0; i < deals; ++i) {
        DealingItemSpec deal;
        deal.head = false;
        deal.flags = uint8_t((major ? 0x10 : 0) | (i + 1 < deals ? 0x20 : 0) | ((rng() % 5 == 0) ? 0 : 0x40));
        deal.shareId = share.id;
        deal.shareText = shareText;
        deal.date = DayNumberToDate(days[size_t(i)]);
        deal.dealType = major ? (rng() % 2 ? "Purchase" : "Sale") : Pick(rng, kDirectorDeals);
        deal.role = role;
        deal.dealSize = std::round(held * Between(rng, 0.02, 0.3));
        deal.dealFraction = deal.dealSize / issue;
        // Deals are done at about the day's price (pence, the value in pounds).
        const double price = CloseOn(share.streams.front(), deal.date) / 100 * Between(rng, 0.97, 1.03);
        deal.value = std::string(deal.dealType) == "Award" ? 0 : deal.dealSize * price;
        held += deal.dealType.rfind("Sale", 0) == 0 ? -deal.dealSize : deal.dealSize;
        held = std::max(held, 1000.0);
        deal.holdSize = std::round(held);
        deal.holdFraction = held / issue;
        items.push_back(deal);
    }
    DealingItemSpec holding;
    holding.head = false;
    holding.flags = uint8_t(0x80 | (major ? 0x10 : 0x40));
    holding.shareId = share.id;
    holding.shareText = shareText;
    holding.holdSize = std::round(held);
    holding.holdFraction = held / issue;
    items.push_back(holding);
    items[first].head = true;
    items[first].investor = name;
}

} // namespace

DealingsFileSpec BuildDemoDealings(const DemoDatabase& demo)
{
    std::mt19937 rng(kDealingsSeed);
    DealingsFileSpec spec;
    spec.date = demo.databaseDate;
    spec.baseYear = uint8_t(YearField(demo.databaseDate) - 7);
    const int32_t lastDay = DateToDayNumber(demo.databaseDate);
    const int32_t firstDay = std::max(DayNumberFromParts(0, 0, spec.baseYear), lastDay - 8 * 365 + 10);
    for (const DemoRecord& share : demo.records) {
        if (share.description.empty() || share.id > 0x7FFF)
            continue;
        // Deals fall on days the share was priced.
        const int32_t from = std::max(firstDay, DateToDayNumber(share.streams.front().history.firstDate) + 1);
        if (from >= lastDay)
            continue;
        // The file names the share as the announcements did: its name and class.
        const std::string shareText = share.name + " " + Pick(rng, kShareTexts);
        const int directors = 2 + int(rng() % 3);
        for (int d = 0; d < directors; ++d) {
            const std::string name = std::string(Pick(rng, kFirstNames)) + " " + Pick(rng, kSurnames);
            AddInvestor(rng, spec.items, share, false, name, shareText, from, lastDay);
        }
        const int majors = int(rng() % 3);
        for (int m = 0; m < majors; ++m)
            AddInvestor(rng, spec.items, share, true, Pick(rng, kHolders), shareText, from, lastDay);
    }
    return spec;
}

} // namespace qv::dev
