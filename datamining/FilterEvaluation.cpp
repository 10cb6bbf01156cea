// Filter runs into share lists and the filter-driven portfolio, the criteria pass and its work estimate.
#include "datamining/FilterEvaluation.h"

#include "core/ConfigState.h"
#include "core/Database.h"
#include "core/DateStepping.h"
#include "core/Memory.h"
#include "core/Portfolio.h"
#include "core/ShareList.h"
#include "datamining/CriterionKinds.h"
#include "datamining/CriterionValue.h"
#include "datamining/FilterValues.h"
#include "lists/ListRows.h"
#include "platform/ByteOrder.h"
#include "platform/MessageDispatch.h"
#include "portfolio/PortfolioRoutines.h"
#include "shell/LayoutSwitch.h"
#include "views/ViewBase.h"

#include <algorithm>
#include <vector>

namespace qv {
namespace {

constexpr uint16_t kAllSharesList = 1;

// Sets the busy byte for a scope and puts back what it was.
class BusyScope {
public:
    BusyScope() : before_(DataMiningRunBusy) { DataMiningRunBusy = 1; }
    ~BusyScope() { DataMiningRunBusy = before_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    uint8_t before_;
};

Portfolio*& RememberedSourcePortfolio()
{
    static Portfolio* remembered = nullptr;
    return remembered;
}

Portfolio* FindSourcePortfolio(uint16_t number)
{
    Portfolio*& remembered = RememberedSourcePortfolio();
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p == remembered && p->number == number && p->type == kUserPortfolio)
            return p;
    remembered = nullptr;
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->number == number && p->type == kUserPortfolio)
            remembered = p;
    return remembered;
}

bool UserPortfoliosExist()
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kUserPortfolio)
            return true;
    return false;
}

// Room for `rows` rows and the zero row; the list's old array is freed.
void GiveRows(ShareList* list, uint32_t rows)
{
    ProFree(list->entries);
    list->capacity = int32_t(rows + 1);
    list->entries = static_cast<RecordCursor*>(ProCalloc(rows + 1, sizeof(RecordCursor), "Filter rows"));
    list->current = list->firstVisible = list->last = 0;
}

int32_t CountRows(const ShareList* list)
{
    int32_t n = 0;
    while (n < list->capacity && list->entries[n].record)
        ++n;
    return n;
}

// Mapping, statistics and the criteria pass over the list's rows.
int32_t EvaluateRows(ShareList* list, DMFilter& filter)
{
    std::vector<uint32_t> positions(size_t(list->capacity) + 1, kNotACandidate);
    {
        BusyScope busy;
        MapRowsToCandidates(list->entries, FilterCandidates().rows, positions.data());
        UpdateFilterStatistics(list->entries, nullptr, positions.data(), &filter);
        filter.flags &= uint8_t(~kFilterOutOfDate);
    }
    return ApplyFilterCriteria(list, positions.data(), filter.criteria);
}

DMFilter* FilterNamed(const std::string& name)
{
    for (const auto& filter : FilterList())
        if (filter->name == name)
            return filter.get();
    return nullptr;
}

bool PassesBounds(const DMCriterion& c, bool hasValue, float value)
{
    if (!hasValue)
        return c.mode == 1;
    if (c.inverted)
        return value < c.lower || value > c.upper;
    return c.lower <= value && value <= c.upper;
}

} // namespace

void LoadFilterSourceRows(ShareList* list, DMFilter* filter)
{
    if (filter->flags & kFilterPortfolioSource) {
        LoadPortfolioRows(list, filter);
        return;
    }
    list->word = filter->sourceKind;
    RefreshListRows(list, false, false);
}

bool RunFilter(ShareList* list, DMFilter* filter, int32_t position)
{
    if (!list)
        return false;
    EnsureFilterCandidates();
    if (!filter && position >= 1 && size_t(position) <= FilterList().size())
        filter = FilterList()[size_t(position - 1)].get();
    GiveRows(list, FilterCandidateCount());
    if (!filter)
        return true;
    LoadFilterSourceRows(list, filter);
    EvaluateRows(list, *filter);
    return true;
}

int FillFilterPortfolio(DMFilter* currentFilter, Portfolio* portfolio)
{
    if (!currentFilter || !portfolio)
        return 0;
    EnsureFilterCandidates();
    const auto& filters = FilterList();
    if (portfolio->name.empty() && !filters.empty()) {
        int position = LoadU16(Config().optionsA.data() + OptionBlockA::kFilterPosition);
        position = std::clamp(position, 1, int(filters.size()));
        portfolio->name = filters[size_t(position - 1)]->name;
    }
    std::vector<ShareList*> showing;
    for (ShareList* l = ShareListChain(); l; l = l->next)
        if (l->source == portfolio)
            showing.push_back(l);
    ClearPortfolio(portfolio, false);
    portfolio->changed = 0;
    if (DMFilter* found = FilterNamed(portfolio->name.str())) {
        ShareList rows{};
        GiveRows(&rows, FilterCandidateCount());
        // The found filter's own source decides, not the current filter's.
        LoadFilterSourceRows(&rows, found);
        const int32_t kept = EvaluateRows(&rows, *found);
        for (int32_t i = 0; i < kept; ++i)
            AddPortfolioEntry(*portfolio, rows.entries[i]);
        portfolio->current = rows.current;
        portfolio->firstVisible = rows.firstVisible;
        ProFree(rows.entries);
    }
    for (ShareList* l : showing)
        SetShareListSource(l, portfolio, l->currentId, l->currentSub, true, true);
    return 1;
}

int32_t ApplyFilterCriteria(ShareList* list, uint32_t* positions, std::span<const DMCriterion> criteria)
{
    if (!list || !list->entries)
        return 0;
    const uint64_t cacheBytes = ResetValueCacheMarks();
    int32_t kept = CountRows(list);
    {
        BusyScope busy;
        for (const DMCriterion& c : criteria) {
            if (c.mode == 0)
                continue;
            const PreparedCriterion prepared = PrepareCriterion(c);
            int32_t out = 0;
            for (int32_t i = 0; i < kept; ++i) {
                float value = 0;
                const bool has = GetCriterionValue(prepared, list->entries[i], positions[i], value);
                if (!PassesBounds(c, has, value))
                    continue;
                list->entries[out] = list->entries[i];
                positions[out] = positions[i];
                ++out;
            }
            list->entries[out] = RecordCursor{};
            positions[out] = kNotACandidate;
            kept = out;
        }
    }
    list->firstVisible = 0;
    list->last = std::max(kept - 1, 0);
    list->current = std::clamp(list->current, 0, list->last);
    if (cacheBytes > kValueCacheTrimBytes)
        TrimValueCache();
    return kept;
}

void LoadPortfolioRows(ShareList* list, DMFilter* filter)
{
    if (!list || !filter || !UserPortfoliosExist())
        return;
    Portfolio* p = FindSourcePortfolio(filter->portfolioNumber);
    if (!p) {
        list->word = kAllSharesList;
        RefreshListRows(list, false, false);
        filter->flags &= uint8_t(~kFilterPortfolioSource);
        return;
    }
    // The rows are sized from the portfolio, which may hold more entries than the candidates.
    const uint32_t n = CountPortfolioEntries(*p);
    if (list->capacity < int32_t(n + 1))
        GiveRows(list, n);
    for (uint32_t i = 0; i < n; ++i)
        list->entries[i] = p->entries[i];
    list->entries[n] = RecordCursor{};
    list->current = p->current;
    list->firstVisible = p->firstVisible;
    list->last = n > 0 ? int32_t(n) - 1 : 0;
}

uint64_t EstimateCriterionWork(const DMCriterion& c)
{
    const CriterionKind* kind = CriterionKindOf(c.kind);
    if (!kind)
        return 0;
    const uint64_t shares = FilterCandidateCount();
    const PackedDate reference = PackedDate(FilterCandidates().referenceDate);
    const int32_t first = PeriodStartDate(c.firstDate, reference);
    const int32_t second = PeriodStartDate(c.secondDate, reference);
    uint64_t work = 0;
    if (kind->valueClass == kValueMovingAverage) {
        const uint32_t type = c.setting & 0x0F;
        const uint32_t key1 = MovingAverageKey(type, (c.setting >> 4) & 0x3FFF);
        if (!IsValueCached(first, key1))
            work += shares;
        if (c.parameter == 0)
            return work;
        uint32_t key2 = key1;
        if (c.parameter == 7 || c.parameter == 8)
            key2 = MovingAverageKey(type, (c.setting >> 18) & 0x3FFF);
        else if (c.parameter == 5 || c.parameter == 6)
            key2 = 0;
        int32_t date = second;
        if (c.parameter >= 5)
            date = first;
        else if (c.parameter == 1 || c.parameter == 2)
            date = LatestDatabaseDate;
        if (!IsValueCached(date, key2))
            work += shares;
        return work;
    }
    if (kind->valueClass != kValuePrice)
        return 0;
    const int32_t id = GetCriterionColumnId(c);
    if (id < -5 || id > -1)
        return 0;
    if (!IsValueCached(first, 0))
        work += shares;
    if (CriterionDatesUsed(c) == 2 && !IsValueCached(second, 0))
        work += shares;
    return work;
}

void PostToAllViews(uint32_t message, const DMFilter* filter, const CViewBase* skip)
{
    for (ShareList* l = ShareListChain(); l; l = l->next)
        for (CViewBase* v = l->views; v; v = v->nextInList)
            if (v != skip && (!filter || v->GetDataMiningFilter() == filter))
                PostProgramMessage(*v, message, 1, 0);
}

} // namespace qv
