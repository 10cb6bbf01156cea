// The drawing steps of a list table and the plan of each cell.
#include "lists/ListPaintPlan.h"

#include "core/ColumnDef.h"
#include "core/PackedPen.h"
#include "lists/ListHeadings.h"
#include "lists/ListMicrograph.h"
#include "lists/ListStyle.h"
#include "platform/ByteOrder.h"
#include "realtime/IntradayCells.h"

#include <algorithm>

namespace qv {
namespace {

// The column's own appearance (bytes 7-16 of its record).
constexpr uint8_t kOwnBackground = 0x01;
constexpr uint8_t kOwnText = 0x02;
constexpr uint8_t kMixColours = 0x04;
constexpr uint8_t kOwnLeftBorder = 0x08;
constexpr uint8_t kOwnRightBorder = 0x10;
constexpr uint8_t kOwnTextStyle = 0x20;
constexpr size_t kAppearanceBackground = 8;
constexpr size_t kAppearanceText = 12;
constexpr size_t kAppearanceStyles = 16;
// Byte 3: the alignment in the low bits, the up/down arrow and its centring above.
constexpr uint8_t kAlignMask = 0x0F;
constexpr uint8_t kUpDownArrow = 0x10;
constexpr uint8_t kCentreArrow = 0x20;
constexpr int kLatestValuation = 15;

bool HasAppearance(const uint8_t* column)
{
    return column && column[ColumnDefLayout::Length] >= kColumnDefBytes;
}

uint8_t AppearanceFlags(const uint8_t* column)
{
    return HasAppearance(column) ? column[ColumnDefLayout::Appearance] : 0;
}


PaintOp TextOp(int x0, int y0, int x1, int y1, std::string text, uint32_t colour, int font, int align)
{
    PaintOp op = FillOp(x0, y0, x1, y1, colour);
    op.step = PaintStep::Text;
    op.text = std::move(text);
    op.font = font;
    op.align = align;
    return op;
}

PaintOp LineOp(int x0, int y0, int x1, int y1, uint32_t pen, int lineStyle)
{
    PaintOp op = FillOp(x0, y0, x1, y1, 0);
    op.step = PaintStep::Line;
    op.pen = pen;
    op.lineStyle = lineStyle;
    return op;
}

} // namespace

PaintOp FillOp(int x0, int y0, int x1, int y1, uint32_t colour)
{
    PaintOp op;
    op.x0 = x0;
    op.y0 = y0;
    op.x1 = x1;
    op.y1 = y1;
    op.colour = colour;
    return op;
}

std::string FitNumberText(std::string text, int room, int font, const std::function<int(std::string_view, int)>& textWidth)
{
    if (text.empty() || !textWidth || textWidth(text, font) <= room)
        return text;
    std::string marks = "#";
    while (textWidth(marks + "#", font) <= room)
        marks += '#';
    return marks;
}

CellPlan PlanCell(const ListStyle& style, const CellFacts& f, std::string text)
{
    CellPlan plan;
    plan.text = std::move(text);
    const uint8_t* column = f.column;
    uint8_t own = AppearanceFlags(column);
    uint32_t row = f.current ? style.currentBackground : RowBackground(style, f.rowIndex);
    plan.background = row;
    if (own & kOwnBackground) {
        uint32_t colour = LoadU32(column + ColumnDefLayout::Appearance + 1) & 0xFFFFFF;
        plan.background = own & kMixColours ? BlendColour(row, colour, 0.5) : colour;
    }
    if (f.flash >= 1 && f.flash <= 3)
        plan.background = f.current ? style.currentFlash[f.flash - 1] : style.flash[f.flash - 1];
    if (own & kOwnTextStyle)
        plan.font = (column[ColumnDefLayout::Appearance + 9] >> 4) & 7;
    if (f.boldRow)
        plan.font |= 1;

    if (own & kOwnText) {
        plan.textColour = LoadU32(column + ColumnDefLayout::Appearance + 5) & 0xFFFFFF;
    } else {
        plan.textColour = f.current ? style.currentText : style.text;
        if (f.value.negative)
            plan.textColour = style.negative;
        bool rowColours = !f.current && (f.family < 2 || f.family > 5);
        if (rowColours && (f.value.rowFlags & kRowImportedItem))
            plan.textColour = style.imported;
        if (rowColours && (f.value.rowFlags & kRowIntradayOnly))
            plan.textColour = style.intradayOnly;
    }

    uint8_t flags = column ? column[ColumnDefLayout::Align] : 0;
    plan.align = std::min(flags & kAlignMask, 2);
    plan.centreArrow = flags & kCentreArrow;
    // Up, down and same take an arrow; any other state (no value) none.
    if ((flags & kUpDownArrow) && f.upDown >= -1 && f.upDown <= 1) {
        bool blankZero = (column[ColumnDefLayout::FormatA] & 3) == 0 && f.value.value == 0;
        if (!(f.upDown == 0 && blankZero)) {
            plan.arrow = f.upDown;
            plan.arrowColour = style.arrows[f.upDown == 1 ? 0 : f.upDown == -1 ? 1 : 2];
        }
    }
    return plan;
}

const char* EmptyListText(int viewKind, bool indices)
{
    switch (viewKind) {
    case 5: return "No directors' dealings";
    case 4:
    case 7: return "No transactions";
    case 8: return "No stories";
    case 10: return "No trade data available";
    case 1:
        if (indices)
            return "No indices";
        break;
    default: break;
    }
    return "No shares";
}

void PlanHeadings(std::vector<PaintOp>& ops, const ListGrid& grid, const ListHeadings& headings,
                  const ListStyle& style, const TextMetrics& bold, const HeadingPaint& paint)
{
    const GridRect& table = grid.table();
    int bottom = paint.top + headings.height;
    int first = grid.banded() ? grid.firstBand() : 0;
    int last = grid.banded() ? grid.lastBand() : (grid.frozenPart() ? 1 : 0);
    bool kindSorts = paint.viewKind != 4 && paint.viewKind != 7 && !paint.unsorted;
    bool kindShowsEmblem = paint.onScreen && (paint.viewKind == 1 || paint.viewKind == 2 || paint.viewKind == 6);
    int rightmost = table.left;
    for (int band = first; band <= last; ++band) {
        GridBand b = grid.UpdateGridVisibleRange(band);
        for (int c = b.firstColumn; c <= b.lastColumn; ++c) {
            int left = grid.columnX(c) + b.xOffset;
            int right = std::min(grid.columnX(c + 1) + b.xOffset, table.right);
            if (right <= left)
                continue;
            rightmost = std::max(rightmost, right);
            bool hot = c == headings.hot;
            bool pressed = c == headings.pressed;
            uint32_t back = hot || pressed ? HeadingHighlightColour(pressed) : style.headingBackground;
            ops.push_back(FillOp(left, paint.top, right, bottom, back));
            if (hot || pressed) {
                PaintOp frame = FillOp(left, paint.top, right, bottom, style.headingText);
                frame.step = PaintStep::Frame;
                ops.push_back(frame);
            }
            const std::string& text = size_t(c) < headings.texts.size() ? headings.texts[size_t(c)] : std::string();
            if (kindShowsEmblem && IsPartnerViewHeading(grid.column(c), text)) {
                PaintOp emblem = FillOp((left + right - kEmblemSize) / 2, paint.top + 2, 0, 0, 0);
                emblem.step = PaintStep::Emblem;
                ops.push_back(emblem);
            }
            // Wrapped lines centred, the last on the bottom, none above the heading's top.
            std::vector<std::string> lines = WrapHeading(text, right - left - 4, bold);
            int lineHeight = bold.LineHeight();
            int y = bottom - lineHeight * int(lines.size());
            for (std::string& line : lines) {
                if (y >= paint.top)
                    ops.push_back(TextOp(left + 2, y, right - 2, y + lineHeight, std::move(line), style.headingText, 1, 2));
                y += lineHeight;
            }
            if (kindSorts && c == paint.sortColumn) {
                bool textColumn = grid.column(c)[ColumnDefLayout::TextColumn] & 1;
                SortTriangle t = SortTriangleFor(right, bottom, paint.sortDirection, textColumn);
                PaintOp tri = FillOp(0, 0, 0, 0, style.headingText);
                tri.step = PaintStep::Triangle;
                for (int i = 0; i < 3; ++i) {
                    tri.points[2 * i] = t.x[i];
                    tri.points[2 * i + 1] = t.y[i];
                }
                ops.push_back(tri);
            }
        }
    }
    if (paint.onScreen && rightmost < table.right)
        ops.push_back(FillOp(rightmost, paint.top, table.right, bottom, style.headingBackground));
}

int EdgeBorderStyle(const uint8_t* left, const uint8_t* right)
{
    int fromLeft = 0;
    int fromRight = 0;
    if (AppearanceFlags(left) & kOwnRightBorder)
        fromLeft = ((left[ColumnDefLayout::Appearance + 9] >> 2) & 3) + 1;
    if (AppearanceFlags(right) & kOwnLeftBorder)
        fromRight = (right[ColumnDefLayout::Appearance + 9] & 3) + 1;
    return std::max(fromLeft, fromRight);
}

namespace {

void PlanVerticalLine(std::vector<PaintOp>& ops, const ListStyle& style, int x, int top, int bottom, int border)
{
    switch (border) {
    case 0:
        if (!style.noPlainVerticals)
            ops.push_back(LineOp(x, top, x, bottom, style.verticalPen, -1));
        break;
    case 2:
    case 3:
        ops.push_back(LineOp(x, top, x, bottom, style.background, PenSolid));
        ops.push_back(LineOp(x, top, x, bottom, style.verticalPen, border == 2 ? PenDot : PenDash));
        break;
    case 4: ops.push_back(LineOp(x, top, x, bottom, style.verticalPen, PenSolid)); break;
    default: break;
    }
}

bool IsLiveColumn(const uint8_t* column)
{
    return HasAppearance(column) && ColumnDefKind(column) == kColumnIntraday;
}

// What a live redraw remembers of a small graph: its tick count and its latest tick.
std::string GraphMemoryText(const IntradayGraphDay& day)
{
    std::string text = "graph " + std::to_string(day.ticks.size());
    if (!day.ticks.empty())
        text += ' ' + std::to_string(day.ticks.back().value1) + ' ' + std::to_string(day.ticks.back().value2);
    return text;
}

// A live cell flashes unless it shows an earlier day.
bool Flashes(const uint8_t* column)
{
    constexpr size_t kForm = ColumnDefLayout::Parameters + 1;
    return IsLiveColumn(column) && column[ColumnDefLayout::Length] > kForm && !(column[kForm] & 0x20);
}

} // namespace

void PlanBody(std::vector<PaintOp>& ops, const ListGrid& grid, const ListStyle& style, ListRowSource& rows,
              const BodyPaint& paint)
{
    const GridRect& table = grid.table();
    int bodyTop = grid.rowsTop();
    if (!paint.liveOnly)
        ops.push_back(FillOp(table.left, bodyTop, table.right, table.bottom, style.background));
    if (grid.visibleRows() == 0)
        return;
    if (paint.rowCount == 0) {
        if (!paint.liveOnly)
            ops.push_back(TextOp(table.left, bodyTop + kEmptyTextDrop, table.right, bodyTop + kEmptyTextDrop + grid.rowHeight(),
                                 EmptyListText(paint.viewKind, paint.indices), style.text, 1, 2));
        return;
    }
    int first = grid.banded() ? grid.firstBand() : 0;
    int last = grid.banded() ? grid.lastBand() : (grid.frozenPart() ? 1 : 0);
    int current = paint.onScreen ? rows.CurrentRow() : -1;
    int inset = paint.windowNumbering ? style.whiteSpace / 2 : style.whiteSpace;
    bool horizontal = style.lineInterval < kNoHorizontalLines;
    std::vector<GridBand> bands;
    for (int band = first; band <= last; ++band)
        bands.push_back(grid.UpdateGridVisibleRange(band));

    if (!paint.liveOnly) {
        for (const GridBand& b : bands) {
            if (b.lastColumn < b.firstColumn || b.rowCount == 0)
                continue;
            int left = grid.columnX(b.firstColumn) + b.xOffset;
            int right = std::min(grid.columnX(b.lastColumn + 1) + b.xOffset, table.right);
            int bottom = grid.RowTop(b.rowCount);
            for (int i = 0; horizontal && i < b.rowCount; ++i)
                if ((i + 1) % style.lineInterval == 0)
                    ops.push_back(LineOp(left, grid.RowTop(i + 1) - 1, right - 1, grid.RowTop(i + 1) - 1, style.horizontalPen, -1));
            for (int c = b.firstColumn; c <= b.lastColumn; ++c) {
                int x = grid.columnX(c + 1) + b.xOffset - 1;
                if (x >= table.right)
                    continue;
                const uint8_t* next = c + 1 < grid.columnCount() ? grid.column(c + 1) : nullptr;
                PlanVerticalLine(ops, style, x, bodyTop, bottom - 1, EdgeBorderStyle(grid.column(c), next));
            }
        }
    }

    for (const GridBand& b : bands) {
        for (int i = 0; i < b.rowCount; ++i) {
            int row = b.firstRow + i;
            int top = grid.RowTop(i);
            int bottom = grid.RowTop(i + 1) - (horizontal && (i + 1) % style.lineInterval == 0 ? 1 : 0);
            for (int c = b.firstColumn; c <= b.lastColumn; ++c) {
                const uint8_t* column = grid.column(c);
                if (paint.liveOnly && !IsLiveColumn(column))
                    continue;
                int left = grid.columnX(c) + b.xOffset;
                int right = std::min(grid.columnX(c + 1) + b.xOffset - 1, table.right);
                if (right <= left)
                    continue;
                CellFacts facts;
                facts.column = column;
                facts.rowIndex = row;
                facts.current = row == current;
                facts.family = rows.Family();
                facts.boldRow = rows.BoldRow(row);
                std::string text = HasAppearance(column) ? rows.CellText(row, column, facts.value) : std::string();
                if (paint.onScreen && Flashes(column))
                    facts.flash = rows.FlashState(row, column);
                const int graph = MicrographKindOf(column);
                IntradayGraphDay day;
                if (graph && rows.GraphDay(row, column, day))
                    text = GraphMemoryText(day);
                if (paint.liveOnly && paint.memory) {
                    auto key = std::make_pair(row, c);
                    auto found = paint.memory->find(key);
                    // A cell is drawn again when its text, its graph or its flash changed.
                    std::string seen = text + char('0' + facts.flash);
                    if (found != paint.memory->end() && found->second == seen)
                        continue;
                    (*paint.memory)[key] = std::move(seen);
                }
                if (HasAppearance(column) && (column[ColumnDefLayout::Align] & kUpDownArrow) && rows.HasUpDownColour(column))
                    facts.upDown = rows.UpDownState(column, row, facts.value);
                CellPlan plan = PlanCell(style, facts, graph ? std::string() : std::move(text));
                ops.push_back(FillOp(left, top, right, bottom, plan.background));
                if (graph) {
                    PlanMicrograph(ops, left, top, right, bottom, style, column, day);
                    continue;
                }
                int textLeft = left + inset;
                int textRight = right - inset;
                if (plan.arrow != 2) {
                    int size = std::min(grid.rowHeight() - 2, 12);
                    int arrowLeft = textLeft;
                    if (plan.centreArrow)
                        arrowLeft = std::max(textLeft, (textLeft + textRight) / 2 - size);
                    PaintOp arrow = FillOp(arrowLeft, top + (bottom - top - size) / 2, arrowLeft + size,
                                           top + (bottom - top - size) / 2 + size, plan.arrowColour);
                    arrow.step = PaintStep::Arrow;
                    arrow.arrow = plan.arrow;
                    arrow.back = paint.onScreen ? plan.background : 0xFFFFFF;
                    ops.push_back(arrow);
                    textLeft = arrowLeft + size + 2;
                }
                if (paint.textWidth && HasAppearance(column) && !(column[ColumnDefLayout::TextColumn] & 1))
                    plan.text = FitNumberText(std::move(plan.text), textRight - textLeft, plan.font, paint.textWidth);
                if (!plan.text.empty() && textRight > textLeft)
                    ops.push_back(TextOp(textLeft, top, textRight, bottom, std::move(plan.text), plan.textColour,
                                         plan.font, plan.centreArrow && plan.arrow != 2 ? 0 : plan.align));
            }
        }
    }
}

} // namespace qv
