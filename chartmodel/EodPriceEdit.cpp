// Price-edit mode of the daily chart.
#include "chartmodel/EodPriceEdit.h"

#include "chartmodel/EodChartView.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/PriceEditHit.h"
#include "chartmodel/TrainingMode.h"
#include "chartmodel/ViewGraph.h"
#include "core/Memory.h"
#include "core/PriceSubRecords.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "platform/MessageBox.h"
#include "shell/PortfolioAdd.h"
#include "views/CommandUpdate.h"
#include "views/ViewKinds.h"

#include <algorithm>

namespace qv {
namespace {

constexpr uint32_t kCommandEditMode = 27260;
constexpr uint32_t kCommandSaveThisDay = 27284;
constexpr uint32_t kCommandSaveAll = 27285;
constexpr uint32_t kCommandResetThisDay = 27263;
constexpr uint32_t kCommandResetAll = 27264;
constexpr uint32_t kCommandReviewSaved = 27262;
constexpr uint32_t kCommandEditDay = 27261;

EditDayPriceDialog& DayDialog()
{
    static EditDayPriceDialog dialog;
    return dialog;
}

ReviewPriceEditsDialog& ReviewDialog()
{
    static ReviewPriceEditsDialog dialog;
    return dialog;
}

const ValueRange* SeriesRange(const GraphPane* pane)
{
    return pane && pane->firstSeries ? pane->firstSeries->range : nullptr;
}

} // namespace

bool& PriceEditInfoSuppressed()
{
    static bool suppressed = false;
    return suppressed;
}

void EodPriceEdit::Forget()
{
    FreePriceEdits(list_, false);
    current_ = nullptr;
    held_ = -1;
    edited_ = false;
    entry_ = {};
}

void EodPriceEdit::Load(const RecordCursor& entry)
{
    Forget();
    std::vector<DayRecord>& days = chart_.editableDays();
    if (days.empty())
        return;
    entry_ = entry;
    LoadPriceEdits(std::span<DayRecord>(days), list_, &entry_, false);
}

int32_t EodPriceEdit::HitTest(int32_t x, int32_t y)
{
    const TimeBand* band = view_.timeBands;
    const std::vector<FoldedBar>& bars = chart_.bars();
    std::vector<DayRecord>& days = chart_.editableDays();
    if (!view_.priceEditMode || !band || bars.empty() || !chart_.message().empty())
        return -1;
    GraphPane* pane = nullptr;
    TimeBand* hitBand = nullptr;
    GraphSeries* series = nullptr;
    view_.HitTestPane(x, y, &pane, &hitBand, &series);
    if (!pane || (pane->id != kPanePrice && pane->id != kPaneVolume))
        return -1;
    const ValueRange* range = SeriesRange(pane);
    if (!range)
        return -1;
    // The scale rounds to the nearest bar: the bar's half width either side of it belongs to it.
    const int32_t bar = std::clamp(view_.XToIndexScale(&band->scale, x), 0, int32_t(bars.size()) - 1);
    const int32_t index = bars[size_t(bar)].last;
    DayRecord& day = days[size_t(index)];
    uint32_t part = kEditPartVolume;
    if (pane->id == kPanePrice) {
        const bool closeOnly = !HasOhlc(day);
        PriceEditBar hit;
        hit.x = view_.IndexToXScale(&band->scale, bar);
        hit.halfWidth = view_.barHalfWidth;
        hit.style = chart_.DrawStyle();
        hit.yClose = view_.ValueToY(range, day.close, false);
        hit.yOpen = closeOnly ? hit.yClose : view_.ValueToY(range, day.open, false);
        hit.yHigh = closeOnly ? hit.yClose : view_.ValueToY(range, day.high, false);
        hit.yLow = closeOnly ? hit.yClose : view_.ValueToY(range, day.low, false);
        part = ChoosePriceEditPart(hit, x, y);
        if (part == kEditPartNone)
            return -1;
    }
    view_.priceEditField = part;
    held_ = index;
    heldDay_ = day;
    heldValue_ = view_.YToValue(range, y);
    current_ = FindPriceEdit(list_, &day);
    return index;
}

bool EodPriceEdit::Drag(int32_t x, int32_t y)
{
    std::vector<DayRecord>& days = chart_.editableDays();
    if (held_ < 0 || held_ >= int32_t(days.size()) || view_.priceEditField == kEditPartNone)
        return false;
    const uint32_t part = view_.priceEditField;
    const ValueRange* range = SeriesRange(view_.FindPane(part == kEditPartVolume ? kPaneVolume : kPanePrice));
    if (!range)
        return false;
    (void)x;
    DayRecord& day = days[size_t(held_)];
    // The node takes the day as it stands before the first change as its unedited day.
    current_ = AddPriceEdit(list_, &day, 0);
    ApplyPriceEditDrag(day, heldDay_, heldValue_, part, view_.YToValue(range, y));
    edited_ = true;
    return true;
}

bool EodPriceEdit::EndDrag()
{
    const bool edited = edited_ && view_.priceEditField != kEditPartNone;
    if (edited)
        RepaintListViews();
    edited_ = false;
    held_ = -1;
    return edited;
}

bool EodPriceEdit::Offered() const
{
    return view_.kind == kViewDailyChart && view_.graphSourceKind == 0 && ShareListHasEntries(view_.GetActiveShareList()) &&
           !view_.trainingMode;
}

void EodPriceEdit::Toggle()
{
    view_.priceEditMode = view_.priceEditMode ? 0 : 1;
    if (view_.priceEditMode && !PriceEditInfoSuppressed())
        PriceEditInfoSuppressed() = SuppressibleInfo()(kPriceEditInfo);
    view_.InvalidateWindow();
}

void EodPriceEdit::RepaintListViews()
{
    ShareList* list = view_.GetActiveShareList();
    if (ShareListHasEntries(list))
        InvalidateMatchingViews(list, true, -1, -1, 0xFFFFFFFF, nullptr);
}

void EodPriceEdit::SaveAndRepaint()
{
    SavePriceEdits(list_, &entry_);
    RepaintListViews();
    view_.InvalidateWindow();
}

bool EodPriceEdit::RunCommand(uint32_t command)
{
    switch (command) {
    case kCommandEditMode: Toggle(); return true;
    case kCommandEditDay: EditHeldDay(); return true;
    case kCommandReviewSaved:
        if (ReviewDialog() && entry_.record) {
            ReviewDialog()(entry_);
            RepaintListViews();
        }
        return true;
    case kCommandSaveThisDay:
        if (current_)
            current_->changed = current_->changed ? 0 : 1;
        break;
    case kCommandSaveAll:
        for (PriceEdit& node : list_)
            node.changed = 1;
        break;
    case kCommandResetThisDay:
        if (current_)
            RemovePriceEdit(list_, current_, true);
        current_ = nullptr;
        break;
    case kCommandResetAll:
        if (ShowMessage(kPriceEditResetQuestion, {}, MsgButtons::OkCancel, MsgIcon::Question) != MsgAnswer::Ok)
            return true;
        FreePriceEdits(list_, true);
        current_ = nullptr;
        break;
    default: return false;
    }
    SaveAndRepaint();
    return true;
}

bool EodPriceEdit::UpdateCommand(CommandUi& ui) const
{
    const bool currentDiffers = current_ && PriceRecordDiffers(current_->record, &current_->unedited);
    switch (ui.command) {
    case kCommandEditMode:
        ui.enabled = Offered() || view_.priceEditMode;
        ui.checked = view_.priceEditMode != 0;
        return true;
    case kCommandSaveThisDay:
        ui.enabled = currentDiffers;
        ui.checked = current_ && current_->changed != 0;
        return true;
    case kCommandResetThisDay: ui.enabled = currentDiffers; return true;
    case kCommandReviewSaved: ui.enabled = ReviewDialog() && entry_.record; return true;
    case kCommandEditDay:
        ui.enabled = DayDialog() && view_.priceEditMode && held_ >= 0 &&
                     held_ < int32_t(chart_.editableDays().size());
        return true;
    case kCommandSaveAll:
    case kCommandResetAll: ui.enabled = AnyPriceEdited(list_); return true;
    default: return false;
    }
}

void EodPriceEdit::EditHeldDay()
{
    std::vector<DayRecord>& days = chart_.editableDays();
    if (held_ < 0 || held_ >= int32_t(days.size()))
        return;
    const std::string name = entry_.record ? std::string(GetRecordName(entry_.record)) : std::string();
    if (EditOneDay(list_, days[size_t(held_)], name, current_))
        SaveAndRepaint();
}

bool EditOneDay(PriceEditList& list, DayRecord& day, const std::string& shareName, PriceEdit*& current,
                bool temporaryAllowed)
{
    if (!DayDialog())
        return false;
    PriceEdit* node = FindPriceEdit(list, &day);
    DayPriceEdit edit;
    edit.shareName = shareName;
    edit.original = node ? node->unedited : day;
    edit.edited = day;
    edit.saved = !temporaryAllowed || !node || node->changed != 0;
    edit.temporaryAllowed = temporaryAllowed;
    switch (DayDialog()(edit)) {
    case DayPriceAnswer::Cancel: return false;
    case DayPriceAnswer::Ok:
        current = AddPriceEdit(list, &day, 0);
        day.open = edit.edited.open;
        day.high = edit.edited.high;
        day.low = edit.edited.low;
        day.close = edit.edited.close;
        day.volume = edit.edited.volume;
        current->changed = edit.saved ? 1 : 0;
        return true;
    case DayPriceAnswer::Reset:
        if (node)
            RemovePriceEdit(list, node, true);
        current = nullptr;
        return true;
    case DayPriceAnswer::ResetAll:
        FreePriceEdits(list, true);
        current = nullptr;
        return true;
    }
    return false;
}

bool CanEditShareDay() { return bool(DayDialog()); }

bool EditShareDay(const RecordCursor& share, PackedDate date)
{
    if (!DayDialog() || !share.record || !date)
        return false;
    RecordCursor cursor = share;
    DayRecord* days = nullptr;
    bool changed = false;
    if (DecodePriceHistory(&cursor, &days, 0, false, false) > 0) {
        PriceEditList list;
        LoadPriceEdits(days, list, &cursor, false);
        PriceEdit* current = nullptr;
        if (DayRecord* day = FindPriceRecordByDay(days, date))
            changed = EditOneDay(list, *day, std::string(GetRecordName(share.record)), current, false);
        if (changed)
            SavePriceEdits(list, &cursor);
        FreePriceEdits(list, false);
    }
    ProFree(days);
    return changed;
}

void SetEditDayPriceDialog(EditDayPriceDialog dialog) { DayDialog() = std::move(dialog); }

void SetReviewPriceEditsDialog(ReviewPriceEditsDialog dialog) { ReviewDialog() = std::move(dialog); }

} // namespace qv
