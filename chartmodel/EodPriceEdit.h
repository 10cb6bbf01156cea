// Price-edit mode on the daily chart: the shown share's price corrections over the chart's loaded
// days, taking hold of a bar under the mouse, dragging its prices, and the commands that keep, save and
// reset the corrections ("EditPrice.cfg") and repaint the list's views.
#pragma once

#include "chartmodel/PriceEdits.h"
#include "core/DayRecord.h"
#include "core/PackedDate.h"
#include "core/RecordCursor.h"

#include <cstdint>
#include <functional>
#include <string>

namespace qv {

class CViewGraph;
class EodChartView;
struct CommandUi;

class EodPriceEdit {
public:
    EodPriceEdit(CViewGraph& view, EodChartView& chart) : view_(view), chart_(chart) {}
    ~EodPriceEdit() { Forget(); }
    EodPriceEdit(const EodPriceEdit&) = delete;
    EodPriceEdit& operator=(const EodPriceEdit&) = delete;

    // Drops the corrections without writing back: the chart's days are about to go.
    void Forget();
    // Lays the share's stored corrections over the chart's days, the entry being the one they are
    // saved under.
    void Load(const RecordCursor& entry);

    // The index of the day under the point in price-edit mode (-1 none): the part held becomes the
    // view's edited field, the day's correction the current one, and the day as it is now the start
    // of a drag.
    int32_t HitTest(int32_t x, int32_t y);
    // Moves the held part to the value under the point; true when a day changed.
    bool Drag(int32_t x, int32_t y);
    // The end of a drag: true when a day was edited (the list's views are then repainted).
    bool EndDrag();

    // Price-edit mode on or off (27260), with the information box unless the user turned it off.
    void Toggle();
    bool RunCommand(uint32_t command);
    // 27261 on the held day.
    void EditHeldDay();
    bool UpdateCommand(CommandUi& ui) const;

    const PriceEditList& corrections() const { return list_; }
    const PriceEdit* current() const { return current_; }

private:
    void SaveAndRepaint();
    void RepaintListViews();
    bool Offered() const;

    CViewGraph& view_;
    EodChartView& chart_;
    PriceEditList list_;
    PriceEdit* current_ = nullptr;
    RecordCursor entry_{};
    int32_t held_ = -1;
    DayRecord heldDay_{};
    float heldValue_ = 0;
    bool edited_ = false;
};

// "Edit values for this date..." (27261): the held day's values in a dialog the tools install, which
// changes `edited` and `saved` on OK; greyed until they do.
enum class DayPriceAnswer { Cancel, Ok, Reset, ResetAll };
struct DayPriceEdit {
    std::string shareName;
    DayRecord original{}; // the day as the database gave it
    DayRecord edited{};   // the day as it stands
    bool saved = true;    // kept in the store's file, not only until the program ends
    // A value kept only until the program ends lives in a chart's loaded days: away from a chart
    // every value is saved.
    bool temporaryAllowed = true;
};
using EditDayPriceDialog = std::function<DayPriceAnswer(DayPriceEdit& edit)>;
void SetEditDayPriceDialog(EditDayPriceDialog dialog);
// The dialog on a day of a loaded price array whose corrections `list` holds, its answer applied to
// the list; `current` becomes the day's correction (null after a reset). False on Cancel or
// without the dialog.
bool EditOneDay(PriceEditList& list, DayRecord& day, const std::string& shareName, PriceEdit*& current,
                bool temporaryAllowed = true);
// The dialog on the share's day `date` away from a chart (the price list): its corrections are read,
// changed by the answer and stored. False when nothing changed (Cancel, no such day, no dialog).
bool EditShareDay(const RecordCursor& share, PackedDate date);
bool CanEditShareDay();

// "Review saved values..." (27262): the share's saved corrections in a list the tools install; the
// command is greyed until they do.
using ReviewPriceEditsDialog = std::function<void(const RecordCursor& share)>;
void SetReviewPriceEditsDialog(ReviewPriceEditsDialog dialog);

// Program-wide: the user asked not to see the price-edit information again.
bool& PriceEditInfoSuppressed();

inline constexpr const char* kPriceEditInfo =
    "Edit Mode allows you to graphically edit prices.\n\nWhile in Edit Mode, the graph will display only 1 day bars.";
inline constexpr const char* kPriceEditResetQuestion =
    "You are about to delete all price edits for this share.\nPress OK to proceed.";

} // namespace qv
