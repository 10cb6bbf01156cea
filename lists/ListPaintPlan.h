// What a list table paints, as a list of drawing steps made without windows: the headings band by
// band, the body with its grid lines and cells, or the empty text. The window replays the steps into
// one image; tests read them. Each cell's plan (text, colours, font variant, arrow) is made here by
// the colour rules of the table style and the column's own appearance.
#pragma once

#include "lists/CellValue.h"
#include "lists/ListGrid.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace qv {

struct ListStyle;
struct ListHeadings;
struct IntradayGraphDay;
class TextMetrics;

// The rows a list table shows, as the paint asks for them.
class ListRowSource {
public:
    virtual ~ListRowSource() = default;
    virtual int RowCount() const = 0;
    virtual int CurrentRow() const = 0; // -1 none
    // The text of a cell; leaves the value facts in `value`. `row` counts from 0.
    virtual std::string CellText(int row, const uint8_t* column, CellValue& value) = 0;
    // Whether the column takes up/down colours, and the state of the value just formatted: 1 up,
    // -1 down, 0 unchanged, 2 no colour.
    virtual bool HasUpDownColour(const uint8_t* /*column*/) { return false; }
    virtual int UpDownState(const uint8_t* /*column*/, int /*row*/, const CellValue& /*value*/) { return 2; }
    // The list family (ListFamily): families 2-5 never show the imported and intraday colours.
    virtual int Family() const { return 0; }
    // The transactions view draws its latest-valuation rows bold.
    virtual bool BoldRow(int /*row*/) const { return false; }
    // A live cell's flash state: 1 up, 2 down, 3 same, 0 none.
    virtual int FlashState(int /*row*/, const uint8_t* /*column*/) { return 0; }
    // The share's intraday day for a small graph in the cell; false when there is none.
    virtual bool GraphDay(int /*row*/, const uint8_t* /*column*/, IntradayGraphDay& /*day*/) { return false; }
};

enum class PaintStep : uint8_t {
    Fill,    // rect in colour
    Frame,   // a 1-pixel frame of rect in colour
    Line,    // from (x0, y0) to (x1, y1) with pen word `pen`; lineStyle -1 keeps the pen's style
    Text,    // text in rect, colour, font variant, align 0 left 1 right 2 centred, vertically centred
    Arrow,   // an up/down arrow in rect: arrow 1 up, -1 down, 0 same; colour its colour, back its background
    Triangle,// a filled triangle through points[0..2] in colour
    Emblem,  // the partner's emblem, 32 x 32 at (x0, y0)
};

struct PaintOp {
    PaintStep step = PaintStep::Fill;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0; // a rect is [x0, x1) x [y0, y1)
    uint32_t colour = 0;
    uint32_t back = 0;
    uint32_t pen = 0;
    int lineStyle = -1;
    int font = 0;
    int align = 0;
    int arrow = 2;
    int points[6]{};
    std::string text;
};

// A filled rectangle [x0, x1) x [y0, y1) in the colour.
PaintOp FillOp(int x0, int y0, int x1, int y1, uint32_t colour);

// One cell's plan.
struct CellPlan {
    std::string text;
    uint32_t textColour = 0;
    uint32_t background = 0;
    int font = 0;        // 0 the list font, 1-7 its variants (bit 0 bold, 1 italic, 2 underline)
    int arrow = 2;       // 2 none
    uint32_t arrowColour = 0;
    int align = 0;
    bool centreArrow = false;
};

struct CellFacts {
    const uint8_t* column = nullptr;
    int rowIndex = 0;       // in the list, from 0
    bool current = false;   // the current row, on screen
    CellValue value;
    int upDown = 2;
    int family = 0;
    bool boldRow = false;
    int flash = 0; // a live cell's flash state (1 up, 2 down, 3 same), on screen only
};
CellPlan PlanCell(const ListStyle& style, const CellFacts& facts, std::string text);

// The text a list without rows shows, by view kind; `indices` for the indices list of kind 1.
const char* EmptyListText(int viewKind, bool indices);
constexpr int kEmptyTextDrop = 50;

// The heading band of the grid's visible bands, then the rest of the heading strip.
struct HeadingPaint {
    int top = 0;
    int viewKind = 1;
    int sortColumn = -1;     // -1 none
    int sortDirection = 1;
    bool unsorted = false;   // the share list is marked unsorted: no triangle
    bool onScreen = true;
};
void PlanHeadings(std::vector<PaintOp>& ops, const ListGrid& grid, const ListHeadings& headings,
                  const ListStyle& style, const TextMetrics& bold, const HeadingPaint& paint);

// Cells remembered by a live redraw so that the next one repaints only changed cells.
using LiveCellMemory = std::map<std::pair<int, int>, std::string>;

struct BodyPaint {
    int viewKind = 1;
    bool indices = false;
    bool onScreen = true;
    bool windowNumbering = false; // halves the cell inset
    int rowCount = 0;
    // Live mode: only live cells (kind 0x82) whose text changed since `memory` last saw them.
    bool liveOnly = false;
    LiveCellMemory* memory = nullptr;
    // The width of a text in one of the list's fonts (0-7). With it a number wider than its cell is
    // shown as "#" marks that fill the cell, as spreadsheets do, never cut to another number.
    std::function<int(std::string_view text, int font)> textWidth;
};
// A number's text as its cell shows it: whole when it fits `room`, else as many "#" as fit (one at
// least).
std::string FitNumberText(std::string text, int room, int font, const std::function<int(std::string_view, int)>& textWidth);
// The body: its background, the grid lines and the cells, or the empty text.
void PlanBody(std::vector<PaintOp>& ops, const ListGrid& grid, const ListStyle& style, ListRowSource& rows,
              const BodyPaint& paint);

// The border style met at a column edge: 0 plain, 1 none, 2 dot, 3 dash, 4 line.
int EdgeBorderStyle(const uint8_t* left, const uint8_t* right);

} // namespace qv
