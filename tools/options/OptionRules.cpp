// The options sheet's page table and the pages' rules.
#include "tools/options/OptionRules.h"

#include "core/ConfigState.h"
#include "core/DMFilter.h"
#include "core/DateText.h"
#include "core/ShareStatistics.h"
#include "core/StringPrintf.h"
#include "core/VexaEdition.h"
#include "core/FormatNumber.h"
#include "news/NewsRecords.h"

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

constexpr std::array<OptionPageInfo, 16> kPages{{
    {OptionPage::List, 0x0001, "Lists", false},
    {OptionPage::Graph, 0x0008, "Graph", false},
    {OptionPage::News, 0x0100, "News", false},
    {OptionPage::Portfolio, 0x0004, "Portfolios && Transactions", false},
    {OptionPage::PresetPortfolios, 0x0002, "Pre-set Portfolios", false},
    {OptionPage::Export, 0x0020, "Export", false},
    {OptionPage::Import, 0x0040, "Import", false},
    {OptionPage::Vexa, 0x0010, "Ludrin Ossery", false},
    {OptionPage::Currency, 0x0400, "Currency", false},
    {OptionPage::RTHist, 0x1000, "Intraday", true},
    {OptionPage::RTAlarms, 0x2000, "Intraday Alarms", true},
    {OptionPage::Comms, 0x0080, "Communications", false},
    {OptionPage::RTComms, 0x0800, "Intraday Feed", true},
    {OptionPage::ExchTimes, 0x8000, "Market hours", true},
    {OptionPage::General, 0x0200, "General", false},
    {OptionPage::Clipboard, 0x4000, "Clipboard", false},
}};

constexpr int kRememberFrom = 3;

// News header flags word: the fields the page edits.
constexpr uint32_t kMethodMask = 0x0F, kPurgeMask = 0xF0, kPurgeShift = 4;
constexpr uint32_t kShowLatest = 1u << 8, kFullSearch = 1u << 13, kCheckSpace = 1u << 14, kLimitSearch = 1u << 19;
constexpr uint32_t kFrequencyShift = 22, kFrequencyMask = 3u << kFrequencyShift;
constexpr uint32_t kPageBits = kMethodMask | kPurgeMask | kShowLatest | kFullSearch | kCheckSpace | kLimitSearch | kFrequencyMask;

} // namespace

const std::array<OptionPageInfo, 16>& OptionPageTable() { return kPages; }

const OptionPageInfo& OptionPageOf(OptionPage page)
{
    return *std::find_if(kPages.begin(), kPages.end(), [page](const OptionPageInfo& i) { return i.page == page; });
}

std::vector<OptionPage> OptionPagesFor(uint16_t mask, bool realTime, bool editionSetUp)
{
    std::vector<OptionPage> pages;
    for (const OptionPageInfo& info : kPages) {
        if (!(mask & info.bit) || (info.intraday && !realTime) || (info.page == OptionPage::Vexa && !editionSetUp))
            continue;
        pages.push_back(info.page);
    }
    return pages;
}

int OpeningPageIndex(int count, uint8_t remembered)
{
    return count >= kRememberFrom && remembered < count ? remembered : 0;
}

uint8_t RememberedPageAfter(int count, int active, uint8_t remembered)
{
    return count >= kRememberFrom && active >= 0 ? uint8_t(active) : remembered;
}

uint16_t OptionsCommandMask(uint32_t command)
{
    switch (command) {
    case 21140: return 0xFFFF;
    case 21141: return 0x0004;
    case 21142: return 0x0008;
    case 21143: case 26056: return 0x0020;
    case 21144: case 26211: return 0x0040;
    case 21145: case 25001: return 0x0880;
    case 21146: return 0x0002;
    case 27128: return 0x0200;
    case 27199: return 0x8000;
    default: return 0;
    }
}

std::string SampleDateText(uint8_t format, char separator)
{
    return "25th May 2000: " + FormatDateStyled(PackDate(25, 5, 2000), format & 0x1B, separator);
}

int SeparatorButton(char separator) { return separator == '\t' ? 0 : separator == ',' ? 1 : 2; }

std::optional<char> ChosenSeparator(int button, const std::string& other)
{
    if (button == 0)
        return '\t';
    if (button == 1)
        return ',';
    if (other.empty())
        return std::nullopt;
    return other.front();
}

uint32_t PackWarningWord(int button, uint16_t value)
{
    uint32_t word = value & 0x1FFFu;
    if (button == 1)
        word |= 0x8000;
    else if (button == 2)
        word |= 0x4000;
    return word;
}

int WarningButton(uint32_t word) { return (word & 0x8000) ? 1 : (word & 0x4000) ? 2 : 0; }

NewsPageValues ReadNewsPage(const NewsHeader& header)
{
    const uint32_t flags = header.u32(news_header::kOptions);
    NewsPageValues v;
    v.method = uint8_t(std::min<uint32_t>(flags & kMethodMask, 2));
    v.purge = uint8_t(std::min<uint32_t>((flags & kPurgeMask) >> kPurgeShift, 2));
    v.frequency = uint8_t(std::min<uint32_t>((flags & kFrequencyMask) >> kFrequencyShift, 2));
    v.showLatest = flags & kShowLatest;
    v.fullSearch = flags & kFullSearch;
    v.checkSpace = flags & kCheckSpace;
    v.limitSearch = flags & kLimitSearch;
    v.since = header.u16(kNewsSinceDate);
    v.weeks = header.u16(news_header::kLimitWeeks);
    v.sizeMb = header.u16(news_header::kOptionValue) / 100.0;
    return v;
}

void WriteNewsPage(NewsHeader& header, const NewsPageValues& v)
{
    // Bits the page does not edit (bit 10, the story window's header-lines bit 20 ...) stay as they are.
    uint32_t flags = header.u32(news_header::kOptions) & ~kPageBits;
    flags |= v.method | uint32_t(v.purge) << kPurgeShift | uint32_t(v.frequency) << kFrequencyShift;
    flags |= (v.showLatest ? kShowLatest : 0) | (v.fullSearch ? kFullSearch : 0) | (v.checkSpace ? kCheckSpace : 0) |
             (v.limitSearch ? kLimitSearch : 0);
    header.setU32(news_header::kOptions, flags);
    header.setU16(kNewsSinceDate, v.since);
    header.setU16(news_header::kLimitWeeks, v.weeks);
    header.setU16(news_header::kOptionValue, uint16_t(std::lround(v.sizeMb * 100)));
}

std::array<const char*, 2> PurgeLabels(uint8_t purge)
{
    if (purge == 1)
        return {"Remind me to purge", "and remind if more than"};
    return {"Automatically purge news", "and purge if more than"};
}

std::string NewsSpaceText(uint64_t bytes) { return StringPrintf("%.2f Mb", double(bytes) / 1048576.0); }

void ChooseEditionGraph(EditionChoice& choice, uint8_t slot)
{
    if (choice.graphs[0] == slot || choice.graphs[1] == slot)
        return;
    if (choice.graphs[0] == kNoSlot) {
        choice.graphs[0] = slot;
        return;
    }
    if (choice.graphs[1] != kNoSlot)
        choice.graphs[0] = choice.graphs[1];
    choice.graphs[1] = slot;
}

void ClearEditionGraph(EditionChoice& choice, uint8_t slot)
{
    if (choice.graphs[0] == slot) {
        choice.graphs[0] = choice.graphs[1];
        choice.graphs[1] = kNoSlot;
    } else if (choice.graphs[1] == slot) {
        choice.graphs[1] = kNoSlot;
    }
}

EditionChoice StoredEditionChoice()
{
    const uint8_t* a = Config().optionsA.data();
    return {(EditionOptionByte() & kEditionOn) != 0, a[OptionBlockA::kEditionTableSlot],
            {a[OptionBlockA::kEditionGraphSlot1], a[OptionBlockA::kEditionGraphSlot2]}};
}

bool ApplyEditionChoice(const EditionChoice& before, const EditionChoice& after)
{
    if (before == after)
        return false;
    ApplyVexaSettings(false);
    uint8_t* a = Config().optionsA.data();
    a[OptionBlockA::kEditionTableSlot] = after.table;
    a[OptionBlockA::kEditionGraphSlot1] = after.graphs[0];
    a[OptionBlockA::kEditionGraphSlot2] = after.graphs[1];
    const uint8_t flags = EditionOptionByte();
    SetEditionOptionByte(after.enabled ? uint8_t(flags | kEditionOn) : uint8_t(flags & ~kEditionOn));
    UpdateVexaEdition();
    return true;
}

void FinishEditionSetUp(const EditionChoice& choice)
{
    const EditionChoice before = StoredEditionChoice();
    SetEditionOptionByte(uint8_t(EditionOptionByte() | kEditionSetUp));
    ApplyEditionChoice(before, choice);
}

bool ApplyCurrencyPage(float euro, float usDollar, bool euroAsE)
{
    CurrentFormatOptions().plainEuroSign = euroAsE;
    ExchangeRates& rates = GetExchangeRates();
    if (rates.euro == euro && rates.usDollar == usDollar)
        return false;
    rates.euro = euro;
    rates.usDollar = usDollar;
    UpdateAllRecordRatios();
    return true;
}

} // namespace qv
