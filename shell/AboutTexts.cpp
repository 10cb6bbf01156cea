// The About box's texts from the database's version and counters.
#include "shell/AboutTexts.h"

#include "core/ConfigState.h"
#include "core/Database.h"
#include "core/StringPrintf.h"

#include <cstdlib>

namespace qv {
namespace {

// Two of the notices carry the year the program was built.
constexpr const char* kDataNotice = "Price and company data copyright \xA9 %s Pelmor Information. It is provided for "
                                    "information only and is not advice to buy or sell.";
constexpr const char* kProgramNotice = "Quorvantis copyright \xA9 1996-%s Pelmor Information. All rights reserved.";
constexpr const char* kOverseasNotices[] = {
    "Overseas index levels are shown for information only.",
    "US share prices are delayed by at least 15 minutes.",
    "European share prices are delayed by at least 15 minutes.",
    "Far Eastern share prices are delayed by at least 20 minutes.",
    "Real-time prices are for your own use and may not be passed on.",
};

int32_t Count(std::span<const int32_t> counts, KindCountSlot slot)
{
    return size_t(slot) < counts.size() ? counts[size_t(slot)] : 0;
}

} // namespace

AboutTexts MakeAboutTexts(int minorVersion, std::span<const int32_t> counts, bool realTime, int buildYear)
{
    AboutTexts texts;
    texts.version = StringPrintf(" Database version 1.%i ", minorVersion);
    auto c = [&](KindCountSlot slot) { return int(Count(counts, slot)); };
    int total = 0;
    for (int slot = 0; slot < KindCountSlots; ++slot)
        if (slot != KindCompanies)
            total += c(KindCountSlot(slot));
    texts.counts[0] = StringPrintf("%i companies\r\n%i Ord. shares\r\n%i income shares\r\n%i capital shares",
                                   c(KindCompanies), c(KindOrdinary), c(KindIncome), c(KindCapital));
    texts.counts[1] = StringPrintf("%i unit trusts\r\n%i indices\r\n%i preference shares\r\n%i other shares",
                                   c(KindUnitTrusts), c(KindIndices), c(KindPreference), c(KindOther));
    texts.counts[2] = StringPrintf("%i gilts\r\n%i commodities\r\n%i exchange rates\r\n%i total", c(KindGilts),
                                   c(KindCommodities), c(KindExchangeRates), total);
    std::string year = std::to_string(buildYear);
    texts.notices.push_back(StringPrintf(kDataNotice, year.c_str()));
    texts.notices.push_back(StringPrintf(kProgramNotice, year.c_str()));
    texts.overseasNotices = realTime;
    if (realTime)
        texts.notices.insert(texts.notices.end(), std::begin(kOverseasNotices), std::end(kOverseasNotices));
    return texts;
}

int BuildYear()
{
    // __DATE__ is "Mmm dd yyyy".
    return std::atoi(__DATE__ + 7);
}

AboutTexts CurrentAboutTexts()
{
    bool realTime = Config().optionsA.data()[OptionBlockA::kRealTimeOption] != 0;
    return MakeAboutTexts(DatabaseMinorVersion, KindCounts, realTime, BuildYear());
}

} // namespace qv
