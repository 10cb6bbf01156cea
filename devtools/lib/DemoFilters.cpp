// The demo's filters, and the text of a filter run over a program folder.
#include "devtools/lib/DemoFilters.h"

#include "core/FilterFile.h"
#include "core/Memory.h"
#include "core/RecordLists.h"
#include "core/RecordAccess.h"
#include "core/ShareList.h"
#include "datamining/CriterionKinds.h"
#include "datamining/CriterionValue.h"
#include "datamining/FilterEvaluation.h"
#include "datamining/FilterValues.h"
#include "devtools/lib/PortfolioText.h"
#include "platform/FileOps.h"

#include <cstdio>

namespace qv::dev {
namespace {

constexpr uint16_t kSharesList = 1;
constexpr uint32_t kNoSetting = 0xFFFFFFFF;
constexpr uint16_t kNoSecondSetting = 65535;
constexpr uint32_t kSimpleAverage = 1;

DMCriterion Criterion(uint8_t kind, uint8_t parameter, float lower, float upper)
{
    return MakeCriterion({kind, parameter, kind <= 1 ? kNoSetting : 0, kNoSecondSetting, lower, upper, 0, 0}, 0);
}

std::unique_ptr<DMFilter> Filter(const char* name, const char* note, std::vector<DMCriterion> criteria)
{
    auto f = std::make_unique<DMFilter>();
    f->name = name;
    f->note = note;
    f->sourceKind = kSharesList;
    f->criteria = std::move(criteria);
    f->axes = {1, 2, 3};
    return f;
}

} // namespace

std::vector<std::unique_ptr<DMFilter>> BuildDemoFilters()
{
    std::vector<std::unique_ptr<DMFilter>> filters;
    // Cheap shares that pay: a low historic P/E, a good yield, by size.
    filters.push_back(Filter("Value Shares", "Low P/E and a high yield",
                             {Criterion(3, 0, 1, 14), Criterion(7, 0, 3.5f, kNoUpperLimit),
                              Criterion(11, 0, kNoLowerLimit, kNoUpperLimit)}));
    // The portfolio's shares that fell no more than 15% over three months and stand no more than 10% below
    // their 50-day average.
    DMCriterion rise = Criterion(0, 5, -15, kNoUpperLimit);
    rise.firstDate = PeriodWord(PeriodUnit::Months, 3);
    DMCriterion above = Criterion(1, 6, kNoLowerLimit, 10);
    above.setting = kSimpleAverage | 50u << 4;
    above.firstDate = PeriodWord(PeriodUnit::Days, 0);
    auto momentum = Filter("Momentum", "Demo Portfolio's shares that held up",
                           {rise, above, Criterion(10, 2, kNoLowerLimit, kNoUpperLimit)});
    momentum->flags = kFilterPortfolioSource;
    momentum->sourceKind = 0;
    momentum->portfolioNumber = kDemoPortfolioNumber;
    filters.push_back(std::move(momentum));
    // The largest companies by capitalisation (the cell's number: pence by millions of shares) and turnover.
    filters.push_back(Filter("Large Companies", "Capitalisation over 5,000m and turnover over 1,000m",
                             {Criterion(11, 0, 5e5f, kNoUpperLimit), Criterion(2, 0, 1000, kNoUpperLimit),
                              Criterion(7, 0, kNoLowerLimit, kNoUpperLimit)}));
    return filters;
}

bool WriteDemoFilters(const std::filesystem::path& folder)
{
    const auto filters = BuildDemoFilters();
    return WriteFileBytes(folder / "Filter.cfg", BuildFilterFile(filters, filters.front().get()));
}

std::optional<std::string> DescribeFilterRun(const std::filesystem::path& folder, const std::string& filterName)
{
    bool found = false;
    std::string text = WithLoadedFolder(folder, [&](std::string& out) {
        LoadFilters("Filter.cfg");
        const int position = FindFilterPosition(filterName);
        if (position < 1)
            return;
        found = true;
        DMFilter& filter = *FilterList()[size_t(position - 1)];
        RebuildFilterCandidates();
        ShareList list{};
        RunFilter(&list, &filter, 0);
        std::vector<uint32_t> positions(size_t(list.capacity) + 1, kNotACandidate);
        MapRowsToCandidates(list.entries, FilterCandidates().rows, positions.data());
        std::vector<PreparedCriterion> prepared;
        for (const DMCriterion& c : filter.criteria)
            prepared.push_back(PrepareCriterion(c));
        int n = 0;
        for (; list.entries[n].record; ++n) {
            out += GetRecordTexts(list.entries[n].record).name;
            for (const PreparedCriterion& p : prepared) {
                float v = 0;
                char cell[32] = "\t-";
                if (GetCriterionValue(p, list.entries[n], positions[size_t(n)], v))
                    std::snprintf(cell, sizeof cell, "\t%.2f", double(v));
                out += cell;
            }
            out += '\n';
        }
        out += std::to_string(n) + " shares pass \"" + filterName + "\"\n";
        ProFree(list.entries);
        ClearFilterList();
        FreeItemList();
        FilterCandidates() = {};
    });
    if (!found)
        return std::nullopt;
    return text;
}

} // namespace qv::dev
