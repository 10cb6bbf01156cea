// The value getter of every criterion kind and the statistics of criteria over rows.
#include "datamining/CriterionValue.h"

#include "core/ColumnDef.h"
#include "core/ColumnSpec.h"
#include "core/Database.h"
#include "core/DateStepping.h"
#include "core/PriceStatistics.h"
#include "core/RecordAccess.h"
#include "core/StringPrintf.h"
#include "datamining/CriteriaRange.h"
#include "datamining/CriterionKinds.h"
#include "datamining/FilterProgress.h"
#include "datamining/FilterValues.h"
#include "lists/CellValue.h"
#include "lists/ResultsFigures.h"
#include "platform/ByteOrder.h"
#include "views/ViewBase.h"

#include <cfloat>
#include <cmath>
#include <utility>

namespace qv {
namespace {

constexpr float kNoValue = FLT_MAX;
constexpr float kLeastFirstValue = 0.00001f;
constexpr int32_t kHighLowColumnId = 94;
constexpr uint8_t kNumericForm = 1;
constexpr int kFirstHighLowParameter = 8;

bool IntegerColumn(int32_t id) { return id == 49 || id == 54 || id == 55; }
bool ChangeColumn(int32_t id) { return id == 18 || id == 27; }

bool Figure(float figure, float& value)
{
    if (figure >= kNoValue)
        return false;
    value = figure;
    return true;
}

// The column path: a results code, or a list cell formatted through the prepared template.
bool ColumnValue(const PreparedCriterion& p, const RecordCursor& row, float& value)
{
    const int32_t id = p.columnId;
    if (id < 0)
        return Figure(GetResultsFigure(((-id) >> 8) - 7, (-id) & 0xFF, row.record, row.count), value);
    if (p.column.empty())
        return false;
    char text[kCellTextBytes];
    const size_t n = FormatColumnValue(row.record, row.count, p.column.data(), text, sizeof text, 0, nullptr, 0);
    float number = LastCellValue().value;
    if (IntegerColumn(id))
        number = float(int32_t(number));
    if (n == 0 && !(ChangeColumn(id) && number < kNoValue))
        return false;
    value = number;
    return true;
}

bool MovingAverageValue(const PreparedCriterion& p, uint32_t position, float& value)
{
    const DMCriterion& c = *p.criterion;
    const int parameter = c.parameter;
    const uint32_t type = c.setting & 0x0F;
    const uint32_t key1 = MovingAverageKey(type, (c.setting >> 4) & 0x3FFF);
    const double a = GetCachedValue(position, p.firstDate, key1);
    double b = 0;
    if (parameter != 0) {
        uint32_t key2 = key1;
        if (parameter == 7 || parameter == 8)
            key2 = MovingAverageKey(type, (c.setting >> 18) & 0x3FFF);
        else if (parameter == 5 || parameter == 6)
            key2 = 0;
        int32_t date = p.secondDate;
        if (parameter == 1 || parameter == 2)
            date = LatestDatabaseDate;
        else if (parameter >= 5)
            date = p.firstDate;
        b = GetCachedValue(position, date, key2);
    }
    if (a < kLeastFirstValue || ((parameter == 3 || parameter == 4) && b == 0))
        return false;
    switch (parameter) {
    case 0: value = float(a); return true;
    case 1: case 3: value = float(b - a); return true;
    case 2: case 4: value = float((b - a) * 100 / a); return true;
    case 5: case 7: value = float(a - b); return true;
    case 6: case 8: value = float((a - b) * 100 / a); return true;
    default: return false;
    }
}

bool PriceValue(const PreparedCriterion& p, const RecordCursor& row, uint32_t position, float& value)
{
    const bool twoDates = CriterionDatesUsed(*p.criterion) == 2;
    const double p1 = GetCachedValue(position, p.firstDate, 0);
    const double p2 = twoDates ? GetCachedValue(position, p.secondDate, 0) : 0.0;
    if (p1 < kLeastFirstValue || (twoDates && p2 == 0))
        return false;
    RecordCursor cursor = row;
    const uint8_t* sub = SkipSubRecords(&cursor);
    const double last = sub ? LoadF32(sub + kStatLastClose) : 0.0;
    switch (p.columnId) {
    case -1: value = float(p1); return true;
    case -2: value = float(last - p1); return true;
    case -3: value = float((last - p1) * 100 / p1); return true;
    case -4: value = float(p2 - p1); return true;
    case -5: value = float((p2 - p1) * 100 / p1); return true;
    default: return false;
    }
}

std::vector<uint8_t> ColumnTemplate(const DMCriterion& c, int32_t id)
{
    const bool ownLookBack = c.kind == kPriceKind && c.parameter >= kFirstHighLowParameter &&
                             c.parameter < kPriceLookBack.size() && kPriceLookBack[c.parameter] && c.setting == 1;
    std::span<const uint8_t> spec =
        ownLookBack ? GetColumnSpec(kHighLowColumnId, kHighLowTemplateEntry[c.parameter - kFirstHighLowParameter])
                    : GetColumnSpec(id, 0);
    std::vector<uint8_t> column(spec.begin(), spec.end());
    if (ownLookBack && column.size() >= ColumnDefLayout::FirstCount + 2) {
        column[ColumnDefLayout::FirstUnit] = uint8_t(c.firstDate >> 16);
        StoreU16(column.data() + ColumnDefLayout::FirstCount, uint16_t(c.firstDate & 0xFFFF));
    } else if (!ownLookBack && column.size() > ColumnDefLayout::FormatB) {
        column[ColumnDefLayout::FormatB] = kNumericForm;
    }
    return column;
}

} // namespace

PreparedCriterion PrepareCriterion(const DMCriterion& criterion)
{
    PreparedCriterion p;
    p.criterion = &criterion;
    const CriterionKind* kind = CriterionKindOf(criterion.kind);
    if (!kind)
        return p;
    p.valueClass = kind->valueClass;
    p.columnId = GetCriterionColumnId(criterion);
    if (p.valueClass == kValuePrice && CriterionDatesUsed(criterion) == 0)
        p.valueClass = kValueColumn;
    if (p.valueClass == kValueColumn && p.columnId >= 0)
        p.column = ColumnTemplate(criterion, p.columnId);
    if (kind->valueClass >= kValueMovingAverage) {
        const PackedDate reference = PackedDate(FilterCandidates().referenceDate);
        p.firstDate = PeriodStartDate(criterion.firstDate, reference);
        p.secondDate = PeriodStartDate(criterion.secondDate, reference);
    }
    return p;
}

bool GetCriterionValue(const PreparedCriterion& p, const RecordCursor& row, uint32_t position, float& value)
{
    value = 0;
    if (!p.criterion || !row.record)
        return false;
    const DMCriterion& c = *p.criterion;
    switch (p.valueClass) {
    case kValueColumn: return ColumnValue(p, row, value);
    case kValueHeadline: {
        const int item = int(c.setting) * 16 + (c.parameter + 1) + (c.parameter >= 4 ? 4 : 0);
        return Figure(GetResultsFigure(int(c.secondSetting) - 7, item, row.record, row.count), value);
    }
    case kValueAdvanced: {
        const int year = int((4 - int(c.secondSetting)) & 15) | int(c.setting) * 16;
        return Figure(GetResultsColumnValue(year, c.parameter, row.record, row.count), value);
    }
    case kValueMovingAverage:
        return position != kNotACandidate && MovingAverageValue(p, position, value);
    case kValuePrice: return position != kNotACandidate && PriceValue(p, row, position, value);
    default: return false;
    }
}

void CriterionStatistics(const RecordCursor* rows, const uint32_t* positions, DMCriterion& criterion)
{
    if (!rows)
        return;
    const PreparedCriterion prepared = PrepareCriterion(criterion);
    criterion.noData = 0;
    double lowest = 0, highest = 0, sum = 0;
    uint32_t count = 0;
    for (uint32_t i = 0; rows[i].record; ++i) {
        float v = 0;
        if (!GetCriterionValue(prepared, rows[i], positions ? positions[i] : i, v))
            continue;
        lowest = count ? std::min(lowest, double(v)) : v;
        highest = count ? std::max(highest, double(v)) : v;
        sum += v;
        ++count;
    }
    const float hi = float(highest + std::fabs(highest * 0.05));
    const float lo = float(lowest - std::fabs(lowest * 0.05));
    if (count == 0) {
        criterion.mode = 0;
        criterion.dataMin = -1;
        criterion.dataMax = 1;
        criterion.average = 0;
        criterion.noData = 1;
    } else if (count > 1 && lo != hi) {
        criterion.dataMax = hi;
        criterion.dataMin = lo;
        criterion.average = float(sum / count);
    } else {
        criterion.average = lo;
        criterion.dataMin = lo - 1;
        criterion.dataMax = hi + 1;
    }
    if (criterion.kind == kPriceKind && (criterion.parameter == 9 || criterion.parameter == 12))
        criterion.dataMin = 0;
    // The selected range is the user's: it is brought into the data range only where it is drawn.
    criterion.status |= 2;
}

void UpdateFilterStatistics(const RecordCursor* rows, CViewBase* view, const uint32_t* positions, DMFilter* filter)
{
    if (!filter || filter->criteria.empty())
        return;
    ShowFilterProgress(filter->criteria, view, true, false, filter->name);
    for (DMCriterion& c : filter->criteria) {
        if (c.dataMax - c.dataMin == 0) {
            CriterionStatistics(rows, positions, c);
            if (!c.locked)
                OpenCriterionRange(c);
            continue;
        }
        CriterionStatistics(rows, positions, c);
        if (c.lower > c.upper)
            std::swap(c.lower, c.upper);
    }
    CloseFilterProgress();
}

namespace {

CriterionDialog& Dialog()
{
    static CriterionDialog dialog;
    return dialog;
}

bool HighLowParameter(uint8_t kind, uint8_t parameter)
{
    return kind == kPriceKind && parameter < kPriceLookBack.size() && kPriceLookBack[parameter] == 1;
}

CriterionDialogFields FieldsOf(const DMCriterion& c)
{
    CriterionDialogFields f;
    f.kind = c.kind;
    f.parameter = c.parameter;
    const CriterionKind* kind = CriterionKindOf(c.kind);
    if (kind && kind->valueClass == kValueAdvanced) {
        f.parameter = uint8_t(ShownAdvancedItem(c.parameter & 0x1F));
        f.variant = uint8_t(c.parameter >> 5);
    }
    f.setting = c.setting;
    f.secondSetting = c.secondSetting;
    if (HighLowParameter(c.kind, c.parameter)) {
        f.lookBackUnit = uint16_t(c.firstDate >> 16);
        f.lookBackCount = uint16_t(c.firstDate & 0xFFFF);
    } else {
        f.firstDate = c.firstDate;
        f.secondDate = c.secondDate;
    }
    f.lower = ShownLowerBound(c);
    f.upper = ShownUpperBound(c);
    return f;
}

bool SameMeasure(const DMCriterion& a, const DMCriterion& b)
{
    return a.kind == b.kind && a.parameter == b.parameter && a.setting == b.setting &&
           a.secondSetting == b.secondSetting && a.firstDate == b.firstDate && a.secondDate == b.secondDate;
}

// The dialog shows bounds to two decimals: a bound reads back as it was shown unless the user typed it.
bool TypedBound(float given, float shown)
{
    return StringPrintf("%.2f", double(given)) != StringPrintf("%.2f", double(shown));
}

// The selected range after an edit: a bound the user typed is taken; one left as shown keeps its
// stored value (open stays open) while the criterion measures the same thing, and opens when it
// now measures something else, as the old bound means nothing for the new values.
void ChooseEditedBounds(const CriterionDialogFields& shown, const CriterionDialogFields& given, const DMCriterion& before,
                        DMCriterion& c)
{
    const bool set = given.lower != kUnsetDialogBound && given.upper != kUnsetDialogBound && given.lower <= given.upper;
    if (!set) {
        OpenCriterionRange(c);
        return;
    }
    const bool same = SameMeasure(before, c);
    const auto choose = [&](float typed, float was, float stored, float open) {
        if (TypedBound(typed, was))
            return typed;
        return same ? stored : open;
    };
    c.lower = choose(given.lower, shown.lower, before.lower, kNoLowerLimit);
    c.upper = choose(given.upper, shown.upper, before.upper, kNoUpperLimit);
}

} // namespace

void ApplyCriterionDialogFields(const CriterionDialogFields& f, DMCriterion& c)
{
    c.kind = f.kind;
    c.parameter = f.parameter;
    const CriterionKind* kind = CriterionKindOf(f.kind);
    if (kind && kind->valueClass == kValueAdvanced)
        c.parameter = AdvancedParameter(f.parameter, f.variant);
    if (HighLowParameter(c.kind, c.parameter)) {
        c.secondSetting = 0;
        c.setting = f.setting;
        c.firstDate = f.setting != 0 ? uint32_t(f.lookBackUnit) << 16 | f.lookBackCount : 0;
        c.secondDate = 0;
        return;
    }
    c.setting = f.setting;
    c.secondSetting = f.secondSetting;
    c.firstDate = f.firstDate;
    c.secondDate = f.secondDate;
}

void SetCriterionDialog(CriterionDialog dialog) { Dialog() = std::move(dialog); }

bool EditCriterion(const RecordCursor* rows, const uint32_t* positions, DMCriterion& criterion, CViewBase* view)
{
    if (!Dialog())
        return false;
    const CriterionDialogFields shown = FieldsOf(criterion);
    CriterionDialogFields fields = shown;
    if (!Dialog()(fields))
        return false;
    const DMCriterion before = criterion;
    ApplyCriterionDialogFields(fields, criterion);
    criterion.mode = 2;
    criterion.dataMin = kNoUpperLimit;
    criterion.dataMax = 0;
    criterion.status = 0;
    if (view)
        view->InvalidateWindow();
    ShowFilterProgress({&criterion, 1}, view, false, false, {});
    CriterionStatistics(rows, positions, criterion);
    CloseFilterProgress();
    ChooseEditedBounds(shown, fields, before, criterion);
    return true;
}

} // namespace qv
