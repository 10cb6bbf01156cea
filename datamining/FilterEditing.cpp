// The control panel's changes to filters and criteria.
#include "datamining/FilterEditing.h"

#include "core/ConfigState.h"
#include "core/Portfolio.h"
#include "core/StringPrintf.h"
#include "datamining/CriteriaRange.h"
#include "datamining/DataMiningGraphs.h"

#include <algorithm>

namespace qv {

std::string FilterPanelTitle(const DMFilter* filter)
{
    if (!filter)
        return "  No Selected Filter";
    return filter->readOnly() ? filter->name : "Filter: " + filter->name;
}

std::string FormatCriterionBound(float value) { return StringPrintf("%.2f", double(value)); }

bool AcceptLowerBound(DMCriterion& c, double value)
{
    if (!(value >= c.dataMin && value < ShownUpperBound(c)))
        return false;
    c.lower = float(value);
    return true;
}

bool AcceptUpperBound(DMCriterion& c, double value)
{
    if (!(value > ShownLowerBound(c) && value <= c.dataMax))
        return false;
    c.upper = float(value);
    return true;
}

void CycleCriterionMode(DMCriterion& c) { c.mode = c.noData ? 0 : uint8_t((c.mode + 1) % 3); }

void ToggleCriterionInverted(DMCriterion& c)
{
    if (c.inverted)
        c.inverted = 0;
    else
        c.inverted = c.noData ? 0 : 1;
}

void ToggleFilterAxis(DMFilter& filter, size_t index, FilterAxis axis)
{
    if (index >= filter.criteria.size())
        return;
    uint32_t& position = filter.axes[size_t(axis)];
    position = position == index + 1 ? 0 : uint32_t(index + 1);
}

int AxisCriterionIndex(const DMFilter& filter, FilterAxis axis)
{
    const uint32_t position = filter.axes[size_t(axis)];
    return position >= 1 && position <= filter.criteria.size() ? int(position) - 1 : -1;
}

DMCriterion NewCriterionFromDialog(const CriterionDialogFields& fields)
{
    DMCriterion c;
    ApplyCriterionDialogFields(fields, c);
    c.mode = 2;
    c.dataMin = kNoUpperLimit;
    c.dataMax = 0;
    return c;
}

int AppendCriterion(DMFilter& filter, const DMCriterion& criterion)
{
    filter.criteria.push_back(criterion);
    const uint32_t position = uint32_t(filter.criteria.size());
    for (FilterAxis axis : {FilterAxis::X, FilterAxis::Y}) {
        if (AxisCriterionIndex(filter, axis) >= 0)
            continue;
        filter.axes[size_t(axis)] = position;
        return int(axis);
    }
    return -1;
}

void DeleteCriterion(DMFilter& filter, size_t index)
{
    if (index >= filter.criteria.size())
        return;
    filter.criteria.erase(filter.criteria.begin() + ptrdiff_t(index));
    for (uint32_t& position : filter.axes) {
        if (position == index + 1)
            position = 0;
        else if (position > index + 1)
            --position;
    }
}

bool MoveCriterion(DMFilter& filter, size_t index, int delta)
{
    const ptrdiff_t other = ptrdiff_t(index) + delta;
    if (index >= filter.criteria.size() || other < 0 || size_t(other) >= filter.criteria.size())
        return false;
    std::swap(filter.criteria[index], filter.criteria[size_t(other)]);
    for (uint32_t& position : filter.axes) {
        if (position == index + 1)
            position = uint32_t(other + 1);
        else if (position == uint32_t(other + 1))
            position = uint32_t(index + 1);
    }
    return true;
}

void CopyCriterion(DMFilter& filter, size_t index)
{
    if (index >= filter.criteria.size())
        return;
    const DMCriterion copy = filter.criteria[index];
    filter.criteria.insert(filter.criteria.begin() + ptrdiff_t(index) + 1, copy);
    for (uint32_t& position : filter.axes)
        if (position > index + 1)
            ++position;
}

void ClearCriteria(DMFilter& filter)
{
    filter.criteria.clear();
    filter.axes = {};
}

void CopyAllCriteria(const DMFilter& from, DMFilter& to)
{
    const std::vector<DMCriterion> copies = from.criteria; // `from` may be `to`
    to.criteria.insert(to.criteria.end(), copies.begin(), copies.end());
    to.flags |= kFilterOutOfDate;
}

std::unique_ptr<DMFilter> CopyFilter(const DMFilter& from, std::string_view name)
{
    auto copy = std::make_unique<DMFilter>(from);
    copy->name = std::string(name);
    copy->flags &= uint8_t(~(kFilterReadOnly | kFilterEdition));
    return copy;
}

std::unique_ptr<DMFilter> NewEmptyFilter(std::string_view name)
{
    auto filter = std::make_unique<DMFilter>();
    filter->name = std::string(name);
    filter->sourceKind = kSharesSource;
    return filter;
}

void RenameFilter(DMFilter& filter, std::string_view name)
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next) {
        if (p->type != kFilterPreset || !(p->name == filter.name))
            continue;
        p->name = name;
        p->changed = 1;
        break;
    }
    filter.name = std::string(name);
}

void FollowAxisInGraph(FilterAxis axis, bool present)
{
    if (axis == FilterAxis::Z)
        return;
    const size_t n = std::min<size_t>(Config().dataMining.bytes[2], kSettingSlots - 1);
    DataMiningGraph& record = Config().dataMiningGraphs.records[n];
    DataMiningGraphSettings s = DataMiningGraphSettings::Read(record);
    const uint32_t bit = axis == FilterAxis::X ? kHistXShown : kHistYShown;
    s.histogramFlags = present ? s.histogramFlags | bit : s.histogramFlags & ~bit;
    s.Write(record);
}

int SourceComboIndex(const DMFilter& filter)
{
    if (filter.flags & kFilterPortfolioSource)
        return 0;
    for (size_t i = 0; i < kSourceListKinds.size(); ++i)
        if (kSourceListKinds[i].kind == filter.sourceKind)
            return int(i) + 1;
    return 0;
}

void SetFilterListSource(DMFilter& filter, uint16_t kind)
{
    filter.flags &= uint8_t(~kFilterPortfolioSource);
    filter.sourceKind = kind;
}

void SetFilterPortfolioSource(DMFilter& filter, uint16_t portfolioNumber)
{
    filter.flags |= kFilterPortfolioSource;
    filter.portfolioNumber = portfolioNumber;
    filter.sourceKind = 0;
}

} // namespace qv
