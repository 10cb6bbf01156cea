// What the data-mining control panel does to a filter: its title, the bounds a row accepts, axes,
// adding, deleting, moving and copying criteria, filter copies, renames and sources. Axis positions
// always keep naming the criteria they named.
#pragma once

#include "core/DMFilter.h"
#include "datamining/CriterionValue.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qv {

// The panel's messages to the data-mining views.
enum FilterPanelMessage : uint32_t {
    kMsgRangeChanged = 1205,     // parameter 1 after a value edit, 0 after an inversion
    kMsgCriteriaReordered = 1206,
    kMsgAxisChanged = 1207,      // parameter the axis
    kMsgRowsRebuilt = 1208,
    kMsgCriteriaChanged = 1209,
    kMsgRenameFilter = 1212,
    kMsgFilterEdited = 1213,
};

inline constexpr const char* kBlackboxText =
    "This is a predefined filter which cannot be altered other than to change the source.  The individual "
    "criteria have not been made public knowledge.";

// "Filter: name", the bare name of a read-only filter, or "  No Selected Filter".
std::string FilterPanelTitle(const DMFilter* filter);
// A bound as a row shows it.
std::string FormatCriterionBound(float value);

// A typed lower bound is taken when data min <= value < upper, an upper one when lower < value <= data
// max, the other bound as shown; false (nothing changed) otherwise.
bool AcceptLowerBound(DMCriterion& criterion, double value);
bool AcceptUpperBound(DMCriterion& criterion, double value);

// The row's mode button: the next of the three modes; a criterion without data goes to 0.
void CycleCriterionMode(DMCriterion& criterion);
// Inverted is cleared when set, else set unless the criterion has no data.
void ToggleCriterionInverted(DMCriterion& criterion);

// Makes the criterion at `index` the axis's criterion, or clears the axis when it already is.
void ToggleFilterAxis(DMFilter& filter, size_t index, FilterAxis axis);
// The axis's criterion index, or -1.
int AxisCriterionIndex(const DMFilter& filter, FilterAxis axis);

// A criterion made from the Add Criteria dialog's fields: mode 2 and an empty data range, so that its
// first statistics select the whole range.
DMCriterion NewCriterionFromDialog(const CriterionDialogFields& fields);
// Appends the criterion; it becomes the X criterion when there is none, else the Y criterion when
// there is none. The axis it took, or -1.
int AppendCriterion(DMFilter& filter, const DMCriterion& criterion);

// Removes the criterion at `index`: an axis naming it is cleared, axes naming later criteria follow
// them down.
void DeleteCriterion(DMFilter& filter, size_t index);
// Swaps the criterion with its neighbour (delta -1 or +1); false at either end. Axes follow.
bool MoveCriterion(DMFilter& filter, size_t index, int delta);
// Inserts a copy right after the criterion; axes naming later criteria follow them.
void CopyCriterion(DMFilter& filter, size_t index);
// Removes every criterion and axis.
void ClearCriteria(DMFilter& filter);
// Appends copies of every criterion of `from` to `to`, marked for new statistics.
void CopyAllCriteria(const DMFilter& from, DMFilter& to);

// A new filter with the name, the flags (read-only and edition marks dropped), source and note of
// `from`, and copies of its criteria with the axes on the copies.
std::unique_ptr<DMFilter> CopyFilter(const DMFilter& from, std::string_view name);
// An empty writable filter with source 1.
std::unique_ptr<DMFilter> NewEmptyFilter(std::string_view name);
// Renames the filter; the first filter-driven portfolio bearing the old name takes the new one.
void RenameFilter(DMFilter& filter, std::string_view name);

// The current graph-settings record shows an axis's histogram when the axis gains a criterion and
// hides it when the axis loses it (the Z axis has none).
void FollowAxisInGraph(FilterAxis axis, bool present);

// The source combo's list kinds after "<<User portfolio>>", in the order shown.
struct SourceListKind {
    const char* name;
    uint16_t kind;
};
inline constexpr std::array<SourceListKind, 23> kSourceListKinds = {{
    {"All", 0},          {"Investment Trusts", 2}, {"Indices", 3},      {"Unit Trusts", 18},  {"FT 30", 20},
    {"FTSE 250", 5},     {"FTSE 350", 17},         {"FTSE SmallCap", 6}, {"Fledgling", 7},    {"Non-index", 8},
    {"AIM", 9},          {"TechMark", 19},         {"TechMark 100", 21}, {"Warrant", 10},     {"Preference", 11},
    {"Convertibles", 12}, {"Income", 13},          {"Capital", 14},     {"Other", 15},        {"Imports", 16},
    {"Gilts", 22},       {"Commodities", 23},      {"Foreign Exchange", 24},
}};
inline constexpr uint16_t kSharesSource = 1, kFtse100Source = 4;
// The combo entry of a list kind (1 on), or 0 for the user portfolio and kinds not listed.
int SourceComboIndex(const DMFilter& filter);
// A list kind as the source; the portfolio source is dropped.
void SetFilterListSource(DMFilter& filter, uint16_t kind);
// A user portfolio as the source.
void SetFilterPortfolioSource(DMFilter& filter, uint16_t portfolioNumber);

} // namespace qv
