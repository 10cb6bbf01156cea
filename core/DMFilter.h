// Data-mining filters and their criteria: the global filter list, the current filter, and the
// read-only filters made from built-in definition tables.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

inline constexpr float kNoUpperLimit = 9e37f;
inline constexpr float kNoLowerLimit = -9e37f;

// Period word of a criterion's dates: high 16 bits the unit, low 16 bits the value.
enum class PeriodUnit : uint16_t { Date = 0, Days = 1, Weeks = 2, Months = 3, Years = 4, TradingDays = 5 };
constexpr uint32_t PeriodWord(PeriodUnit unit, uint16_t value) { return uint32_t(unit) << 16 | value; }

struct DMCriterion {
    float dataMax = 0;
    float dataMin = 0;
    float upper = 0;
    float lower = 0;
    float average = 0;
    uint8_t kind = 0;
    uint8_t parameter = 0;
    uint8_t mode = 0;     // 0 disabled, 1 filter shares with a value, 2 fully filter
    uint8_t noData = 0;
    uint8_t locked = 0;
    uint8_t status = 0;
    uint8_t inverted = 0;
    uint32_t setting = 0;
    uint16_t secondSetting = 0;
    uint32_t firstDate = 0;
    uint32_t secondDate = 0;
};

enum FilterFlag : uint8_t {
    kFilterOutOfDate = 1,
    kFilterPortfolioSource = 2,
    kFilterReadOnly = 4, // predefined: never written to the filter file
    kFilterEdition = 8,  // one of the special edition's filters
};

enum class FilterAxis { X = 0, Y = 1, Z = 2 };

struct DMFilter {
    uint8_t flags = 0;
    uint16_t sourceKind = 0;
    uint16_t portfolioNumber = 0;
    std::vector<DMCriterion> criteria;
    // The plotted criteria as positions from 1 in the criteria list; 0 = none.
    std::array<uint32_t, 3> axes{};
    std::string name;
    std::string note;

    bool readOnly() const { return (flags & kFilterReadOnly) != 0; }
    // The criterion plotted on an axis, or null.
    const DMCriterion* axisCriterion(FilterAxis axis) const;
};

// Entry of a built-in definition table; a table ends at the first entry whose kind is negative.
struct CriterionDefinition {
    int32_t kind = -1;
    int32_t parameter = 0;
    uint32_t setting = 0;
    uint32_t secondSetting = 0;
    float lower = 0;
    float upper = 0;
    uint32_t firstDate = 0;
    uint32_t secondDate = 0;
};

// A criterion made from a definition: mode 2, locked when the flags byte is not 0, and an empty data
// range (its minimum above its maximum), so that its first statistics keep the selected range.
DMCriterion MakeCriterion(const CriterionDefinition& definition, uint8_t flags);

// The global list in order, read-only filters at its head.
std::vector<std::unique_ptr<DMFilter>>& FilterList();
DMFilter* CurrentFilter();
void SetCurrentFilter(DMFilter* filter);
// The 0-based position of a filter in the list, or -1.
int FilterIndex(const DMFilter* filter);
// Removes every filter, leaving no current filter.
void ClearFilterList();

// A filter made from a definition table, put at the head of the list; false when the table is
// missing or the name is taken. The counter is raised for each filter made.
bool AddPredefinedFilter(std::string_view name, std::string_view note, uint16_t sourceKind, uint8_t flags,
                         const CriterionDefinition* definitions, int& counter);
// Links a user's filter behind the run of read-only filters at the head.
DMFilter* InsertFilter(std::unique_ptr<DMFilter> filter);
// 1-based position of the first filter of that name, or -1.
int FindFilterPosition(std::string_view name);

// Views showing a removed filter move to the replacement (null when there is none); the view
// code installs this.
using FilterRemovedHook = std::function<void(const DMFilter* removed, DMFilter* replacement)>;
void SetFilterRemovedHook(FilterRemovedHook hook);
void RemoveDMFilter(DMFilter* filter);
void RemoveEditionFilters();

// The special-edition option (bit 1 of the edition option byte) decides whether its three filters
// are made.
void SetEditionOptionByte(uint8_t value);
uint8_t EditionOptionByte();
void LoadEditionFilters();

} // namespace qv
