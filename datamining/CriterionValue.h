// One criterion's number for one share (the value getter), a criterion prepared for a walk over rows,
// and the statistics of a criterion or a whole filter over a set of rows.
#pragma once

#include "core/DMFilter.h"
#include "core/RecordCursor.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv {

class CViewBase;

// A criterion made ready for a walk: its value class on the path taken, its column id, its own copy of
// the column template (the catalogue's stays untouched) and its dates resolved against the reference
// date.
struct PreparedCriterion {
    const DMCriterion* criterion = nullptr;
    int32_t valueClass = -1; // a price parameter without dates takes the column path (0)
    int32_t columnId = 0;
    std::vector<uint8_t> column;
    int32_t firstDate = 0;
    int32_t secondDate = 0;
};
PreparedCriterion PrepareCriterion(const DMCriterion& criterion);

// The value of a row: true when the share has one (written to `value`, which is 0 otherwise). The
// position is the row's place among the candidates (kNotACandidate: no value from the cache).
bool GetCriterionValue(const PreparedCriterion& prepared, const RecordCursor& row, uint32_t position, float& value);

// Data range, average, no data field and status of a criterion over zero-ended rows. Without
// positions a row's position is its index.
void CriterionStatistics(const RecordCursor* rows, const uint32_t* positions, DMCriterion& criterion);
// Statistics of every criterion of the filter under the progress window, the selected ranges then
// brought into the data ranges.
void UpdateFilterStatistics(const RecordCursor* rows, CViewBase* view, const uint32_t* positions, DMFilter* filter);

// The "Add Criteria" dialog in edit mode: what it shows and gives back.
struct CriterionDialogFields {
    uint8_t kind = 0;
    uint8_t parameter = 0;  // the advanced kind: the dialog's item (0-26)
    uint8_t variant = 0;    // the advanced kind's variant
    uint32_t setting = 0;
    uint16_t secondSetting = 0;
    uint32_t firstDate = 0;
    uint32_t secondDate = 0;
    uint16_t lookBackUnit = 0; // highs and lows with their own look-back
    uint16_t lookBackCount = 0;
    float lower = 0;
    float upper = 0;
};
// Kind, parameter, settings and dates of the dialog into the criterion: an advanced result packs its
// item and variant into the parameter; a price high or low keeps its look-back choice in the setting
// and its own period in the first date.
void ApplyCriterionDialogFields(const CriterionDialogFields& fields, DMCriterion& criterion);
// An unset bound of the dialog.
constexpr float kUnsetDialogBound = -1.23e12f;
// The dialog comes with the control panel; until it is installed EditCriterion answers false.
using CriterionDialog = std::function<bool(CriterionDialogFields& fields)>;
void SetCriterionDialog(CriterionDialog dialog);
// Lets the user change the criterion and recomputes it; true when the user pressed OK.
bool EditCriterion(const RecordCursor* rows, const uint32_t* positions, DMCriterion& criterion, CViewBase* view);

} // namespace qv
