// The list cell tip's rules: what a tip over a cell of a list-table view says (its title, subtitle,
// body and recommendation picture) and where it stands. The view answers through ListTipView; the
// cell texts come from the list-table engine's formatter (shell/ColumnFormatter).
#pragma once

#include "core/PackedDate.h"
#include "core/RecordCursor.h"

#include <cstdint>
#include <string>

namespace qv {

enum class TipListKind { PlainList, Portfolio, Transactions, News, Other };

// A column of the view: its field code and its kind (133: the VG views).
struct TipColumn {
    uint32_t field = 0;
    int kind = 1;
};
constexpr int kVgViewsColumnKind = 133;

// What the tip asks of the view under the mouse.
class ListTipView {
public:
    virtual ~ListTipView() = default;
    virtual bool hasEntries() const = 0;
    virtual TipListKind listKind() const = 0;
    // The share of a row (in a transactions view, the transaction's share).
    virtual RecordCursor rowShare(int row) const = 0;
    // The width of a text in the cell font.
    virtual int textWidth(const std::string& text) const = 0;
    virtual int cellMargin() const = 0;
    // A VG-views sub-item of a row (0 the recommendation word, 1 the date, 2 the price, 3 the issue,
    // 4 the page); the date item also gives the view's date (0 for none).
    virtual std::string vgItem(int row, int item, PackedDate* date) const = 0;
};

struct TipState {
    bool busy = false;        // the database load or the list computations run
    bool halveMargin = false; // the list tables' display flag
    bool tipOption = false;   // the options sheet's extra tips
};

struct TipContent {
    std::string title;
    std::string subtitle;
    std::string body;
    int bitmap = 0; // recommendation picture, 0 for none

    bool shown() const { return !title.empty() || !body.empty(); }
};

constexpr int kTipHeaderRow = -1;
// Composes the tip of a cell (row kTipHeaderRow: the header).
TipContent ComposeListTip(const ListTipView& view, const TipState& state, int row, const TipColumn& column,
                          int cellWidth);

// The picture of a recommendation word, 0 for any other word.
int RecommendationBitmap(const std::string& word);

struct TipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
struct TipMeasures {
    int titleWidth = 0, titleHeight = 0;
    int subtitleWidth = 0, subtitleHeight = 0;
    int bodyWidth = 0, bodyHeight = 0;
};
constexpr int kTipMargin = 2;
constexpr int kTipBelowCursor = 16;
// Where the tip stands: at the cell with a title, else 16 pixels below the cursor; moved left to keep
// its right edge within rightLimit.
TipRect PlaceListTip(const TipMeasures& measures, bool hasTitle, bool hasBody, int cellLeft, int cellTop,
                     int cursorX, int cursorY, int rightLimit);

} // namespace qv
