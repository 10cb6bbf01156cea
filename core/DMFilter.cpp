// Data-mining filters and their criteria: the global filter list, the current filter, and the
// read-only filters made from built-in definition tables.
#include "core/DMFilter.h"

#include <algorithm>

namespace qv {

namespace {

struct FilterState {
    std::vector<std::unique_ptr<DMFilter>> filters;
    DMFilter* current = nullptr;
    FilterRemovedHook removedHook;
    uint8_t editionOption = 0;
};

FilterState& State()
{
    static FilterState state;
    return state;
}

constexpr uint16_t kSecondOfJanuary2004 = (104 << 9) | (0 << 5) | 1;
constexpr uint16_t kSecondOfAugust2004 = (104 << 9) | (7 << 5) | 1;
constexpr uint32_t kNoSetting = 0xFFFFFFFF;
constexpr uint32_t kNoSecondSetting = 65535;
constexpr uint32_t kDefaultFirstDate = PeriodWord(PeriodUnit::Date, kSecondOfJanuary2004);
constexpr uint32_t kDefaultSecondDate = PeriodWord(PeriodUnit::Date, kSecondOfAugust2004);
constexpr uint16_t kWholeShareList = 1;
constexpr uint8_t kEditionFilterFlags = kFilterReadOnly | kFilterEdition;

// A definition with the tables' defaults: setting -1 for price and moving-average kinds, 0 for the
// others; no second setting; from 2 January to 2 August 2004.
CriterionDefinition Def(int32_t kind, int32_t parameter, float lower, float upper,
                        uint32_t firstDate = kDefaultFirstDate)
{
    CriterionDefinition d;
    d.kind = kind;
    d.parameter = parameter;
    d.setting = kind <= 1 ? kNoSetting : 0;
    d.secondSetting = kNoSecondSetting;
    d.lower = lower;
    d.upper = upper;
    d.firstDate = firstDate;
    d.secondDate = kDefaultSecondDate;
    return d;
}

CriterionDefinition WithSettings(CriterionDefinition d, uint32_t setting, uint32_t secondSetting)
{
    d.setting = setting;
    d.secondSetting = secondSetting;
    return d;
}

uint32_t DaysAgo(uint16_t n) { return PeriodWord(PeriodUnit::Days, n); }
uint32_t MonthsAgo(uint16_t n) { return PeriodWord(PeriodUnit::Months, n); }
// Moving-average setting: bits 0-3 the average type, 4-17 the first period, 18-31 the second.
uint32_t AverageSetting(uint32_t type, uint32_t first, uint32_t second) { return type | first << 4 | second << 18; }

const CriterionDefinition kEnd{};

std::vector<CriterionDefinition> MomentumDefinitions()
{
    return {Def(0, 5, 5, kNoUpperLimit, DaysAgo(20)), Def(0, 5, 10, kNoUpperLimit, DaysAgo(30)),
            Def(0, 5, 20, kNoUpperLimit, DaysAgo(60)), Def(0, 0, 15, kNoUpperLimit),
            WithSettings(Def(1, 6, 0, kNoUpperLimit, DaysAgo(20)), AverageSetting(1, 20, 60), kNoSecondSetting),
            kEnd};
}

std::vector<CriterionDefinition> BearishDefinitions()
{
    CriterionDefinition daysSinceLow = WithSettings(Def(0, 12, 0, 50, 0), 0, 0);
    daysSinceLow.secondDate = 0;
    return {Def(0, 5, kNoLowerLimit, -20, DaysAgo(20)), Def(0, 5, -100, -25, MonthsAgo(2)),
            Def(3, 0, 25, 1000), Def(4, 1, 2, kNoUpperLimit), daysSinceLow,
            Def(0, 5, -80, -10, DaysAgo(40)), kEnd};
}

std::vector<CriterionDefinition> ValueGrowthDefinitions()
{
    return {Def(0, 5, 0, 15, DaysAgo(20)), Def(0, 5, 10, 30, MonthsAgo(6)), Def(4, 1, 0.3f, 0.8f),
            Def(7, 1, 2, 15), WithSettings(Def(13, 0, 0, kNoUpperLimit), 1, 7),
            WithSettings(Def(13, 3, 0, kNoUpperLimit), 1, 7), Def(4, 0, 0.3f, 0.8f), Def(3, 1, 5, 15),
            WithSettings(Def(2, 4, 10, 30), kNoSetting, 4), Def(2, 0, 100, kNoUpperLimit),
            WithSettings(Def(14, 15, 0, kNoUpperLimit), 1, 4), kEnd};
}

} // namespace

DMCriterion MakeCriterion(const CriterionDefinition& d, uint8_t flags)
{
    DMCriterion c;
    c.kind = uint8_t(d.kind);
    c.parameter = uint8_t(d.parameter);
    c.setting = d.setting;
    c.secondSetting = uint16_t(d.secondSetting);
    c.lower = d.lower;
    c.upper = d.upper;
    c.firstDate = d.firstDate;
    c.secondDate = d.secondDate;
    c.mode = 2;
    c.locked = flags != 0 ? 1 : 0;
    c.dataMin = kNoUpperLimit; // an empty data range: the minimum above the maximum
    c.dataMax = kNoLowerLimit;
    return c;
}

const DMCriterion* DMFilter::axisCriterion(FilterAxis axis) const
{
    uint32_t position = axes[size_t(axis)];
    if (position == 0 || position > criteria.size())
        return nullptr;
    return &criteria[position - 1];
}

std::vector<std::unique_ptr<DMFilter>>& FilterList() { return State().filters; }
DMFilter* CurrentFilter() { return State().current; }
void SetCurrentFilter(DMFilter* filter) { State().current = filter; }

int FilterIndex(const DMFilter* filter)
{
    const auto& filters = FilterList();
    for (size_t i = 0; i < filters.size(); ++i)
        if (filters[i].get() == filter)
            return int(i);
    return -1;
}

void ClearFilterList()
{
    State().filters.clear();
    State().current = nullptr;
}

bool AddPredefinedFilter(std::string_view name, std::string_view note, uint16_t sourceKind, uint8_t flags,
                         const CriterionDefinition* definitions, int& counter)
{
    if (!definitions || FindFilterPosition(name) != -1)
        return false;
    auto filter = std::make_unique<DMFilter>();
    filter->name = std::string(name);
    filter->note = std::string(note);
    filter->flags = flags;
    filter->sourceKind = sourceKind;
    for (const CriterionDefinition* d = definitions; d->kind >= 0 && filter->criteria.size() < 0xFFFF; ++d)
        filter->criteria.push_back(MakeCriterion(*d, flags));
    if (flags == 0)
        for (uint32_t axis = 0; axis < 3; ++axis)
            filter->axes[axis] = filter->criteria.size() > axis ? axis + 1 : 0;
    auto& filters = FilterList();
    bool wasEmpty = filters.empty();
    filters.insert(filters.begin(), std::move(filter));
    if (wasEmpty)
        SetCurrentFilter(filters.front().get());
    ++counter;
    return true;
}

DMFilter* InsertFilter(std::unique_ptr<DMFilter> filter)
{
    auto& filters = FilterList();
    auto at = std::find_if(filters.begin(), filters.end(), [](const auto& f) { return !f->readOnly(); });
    DMFilter* inserted = filter.get();
    filters.insert(at, std::move(filter));
    return inserted;
}

int FindFilterPosition(std::string_view name)
{
    const auto& filters = FilterList();
    for (size_t i = 0; i < filters.size(); ++i)
        if (filters[i]->name == name)
            return int(i) + 1;
    return -1;
}

void SetFilterRemovedHook(FilterRemovedHook hook) { State().removedHook = std::move(hook); }

void RemoveDMFilter(DMFilter* filter)
{
    int index = FilterIndex(filter);
    if (index < 0)
        return;
    auto& filters = FilterList();
    // The replacement is never the filter being removed, so no view keeps a pointer to it.
    DMFilter* replacement = nullptr;
    for (const auto& f : filters)
        if (f.get() != filter && !(f->flags & kFilterEdition)) {
            replacement = f.get();
            break;
        }
    if (State().removedHook)
        State().removedHook(filter, replacement);
    if (CurrentFilter() == filter)
        SetCurrentFilter(replacement);
    filters.erase(filters.begin() + index);
}

void RemoveEditionFilters()
{
    for (;;) {
        auto& filters = FilterList();
        auto it = std::find_if(filters.begin(), filters.end(),
                               [](const auto& f) { return (f->flags & kFilterEdition) != 0; });
        if (it == filters.end())
            return;
        RemoveDMFilter(it->get());
    }
}

void SetEditionOptionByte(uint8_t value) { State().editionOption = value; }
uint8_t EditionOptionByte() { return State().editionOption; }

void LoadEditionFilters()
{
    RemoveEditionFilters();
    if (!(EditionOptionByte() & 2))
        return;
    int made = 0;
    AddPredefinedFilter("Ludrin Ossery filter 3", "Bullish Short-term Momentum", kWholeShareList,
                        kEditionFilterFlags, MomentumDefinitions().data(), made);
    AddPredefinedFilter("Ludrin Ossery filter 2", "Bearish Momentum", kWholeShareList, kEditionFilterFlags,
                        BearishDefinitions().data(), made);
    AddPredefinedFilter("Ludrin Ossery filter 1", "Value/Growth", kWholeShareList, kEditionFilterFlags,
                        ValueGrowthDefinitions().data(), made);
}

} // namespace qv
