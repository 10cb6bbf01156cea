// The list table's drawing steps and cell plans, read without windows through a fake row source;
// the style's ranges, the titles and the add-to-portfolio rules.
#include "core/ColumnDef.h"
#include "core/ConfigDefaults.h"
#include "core/ConfigRecords.h"
#include "core/Portfolio.h"
#include "lists/ListGrid.h"
#include "lists/ListHeadings.h"
#include "lists/ListPaintPlan.h"
#include "lists/ListPortfolioAdd.h"
#include "lists/ListStyle.h"
#include "lists/ListTitle.h"
#include "lists/UpDownColour.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace qv;

namespace {

class FixedMetrics : public TextMetrics {
public:
    int TextWidth(std::string_view text) const override { return int(text.size()) * 6; }
    int LineHeight() const override { return 13; }
};

struct FakeRow {
    std::string text;
    CellValue value;
};

class FakeRows : public ListRowSource {
public:
    std::vector<FakeRow> rows;
    int current = -1;
    int family = 0;
    int upDown = 2;
    int calls = 0;
    int RowCount() const override { return int(rows.size()); }
    int CurrentRow() const override { return current; }
    std::string CellText(int row, const uint8_t*, CellValue& value) override
    {
        ++calls;
        value = rows[size_t(row)].value;
        return rows[size_t(row)].text;
    }
    bool HasUpDownColour(const uint8_t*) override { return upDown != 2; }
    int UpDownState(const uint8_t*, int, const CellValue&) override { return upDown; }
    int Family() const override { return family; }
};

ListStyle DefaultStyle()
{
    TableStyle t;
    InitDefaultTableStyle(t);
    return ReadListStyle(t);
}

std::vector<uint8_t> OneColumn(uint8_t kind = kColumnField, uint8_t align = 0)
{
    std::vector<uint8_t> layout;
    ColumnDefSpec spec = ColumnOf(kind, 18);
    spec.width = 100;
    spec.align = align;
    AppendColumnDef(layout, spec);
    layout.push_back(0);
    return layout;
}

struct Plan {
    std::vector<uint8_t> layout = OneColumn();
    ListGrid grid;
    std::vector<PaintOp> ops;

    void Paint(const ListStyle& style, FakeRows& rows, int viewKind = 1, bool indices = false)
    {
        grid.LayoutGridNormal(layout.data(), 0, rows.RowCount(), 0);
        grid.FitGridToRect({0, 0, 300, 200}, 30, 16, true);
        BodyPaint body;
        body.viewKind = viewKind;
        body.indices = indices;
        body.rowCount = rows.RowCount();
        ops.clear();
        PlanBody(ops, grid, style, rows, body);
    }
    std::vector<const PaintOp*> Steps(PaintStep step) const
    {
        std::vector<const PaintOp*> out;
        for (const PaintOp& op : ops)
            if (op.step == step)
                out.push_back(&op);
        return out;
    }
    // The fill of the cell in row i (the fills after the body's own).
    const PaintOp& CellFill(int i) const { return *Steps(PaintStep::Fill)[size_t(i) + 1]; }
};

} // namespace

TEST(ListPaintPlan, AnEmptyListSaysSo50PixelsBelowTheBodyTop)
{
    struct Case {
        int kind;
        bool indices;
        const char* text;
    };
    for (Case c : {Case{1, false, "No shares"}, Case{1, true, "No indices"}, Case{5, false, "No directors' dealings"},
                   Case{4, false, "No transactions"}, Case{7, false, "No transactions"}, Case{8, false, "No stories"},
                   Case{10, false, "No trade data available"}, Case{2, false, "No shares"}}) {
        Plan plan;
        FakeRows rows;
        plan.Paint(DefaultStyle(), rows, c.kind, c.indices);
        auto texts = plan.Steps(PaintStep::Text);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0]->text, c.text);
        EXPECT_EQ(texts[0]->y0, 30 + 50);
        EXPECT_EQ(texts[0]->font, 1);
    }
}

TEST(ListPaintPlan, HorizontalLinesEveryNRowsAndNoneAtSix)
{
    FakeRows rows;
    rows.rows.resize(6, FakeRow{"x", {}});
    auto horizontals = [](const Plan& plan) {
        auto lines = plan.Steps(PaintStep::Line);
        return std::count_if(lines.begin(), lines.end(), [](const PaintOp* op) { return op->y0 == op->y1; });
    };
    for (auto [interval, expected] : {std::pair{1, 6}, std::pair{2, 3}, std::pair{6, 0}}) {
        ListStyle style = DefaultStyle();
        style.lineInterval = interval;
        Plan plan;
        plan.Paint(style, rows);
        EXPECT_EQ(horizontals(plan), expected) << "interval " << interval;
    }
}

TEST(ListPaintPlan, AlternateRowsShadedFromTheFirst)
{
    FakeRows rows;
    rows.rows.resize(3, FakeRow{"x", {}});
    ListStyle style = DefaultStyle();
    Plan plan;
    plan.Paint(style, rows);
    EXPECT_EQ(plan.CellFill(0).colour, style.alternateBackground);
    EXPECT_EQ(plan.CellFill(1).colour, style.background);
    EXPECT_EQ(plan.CellFill(2).colour, style.alternateBackground);
    style.shadeAlternate = false;
    plan.Paint(style, rows);
    EXPECT_EQ(plan.CellFill(0).colour, style.background);
}

TEST(ListPaintPlan, TextColourPrecedence)
{
    ListStyle s = DefaultStyle();
    s.text = 1, s.currentText = 2, s.negative = 3, s.imported = 4, s.intradayOnly = 5;
    struct Case {
        bool negative;
        uint8_t rowFlags;
        bool current;
        int family;
        uint32_t colour;
    };
    const Case cases[] = {
        {false, 0, false, 0, 1},
        {false, 0, true, 0, 2},
        {true, 0, true, 0, 3},                 // negative also on the current row
        {true, kRowImportedItem, false, 0, 4}, // the row colours win over negative
        {false, kRowImportedItem, true, 0, 2}, // never on the current row
        {false, kRowIntradayOnly, false, 0, 5},
        {false, kRowImportedItem | kRowIntradayOnly, false, 0, 5},
        {false, kRowImportedItem, false, 2, 1}, // never in dealings, cash, news and trade lists
        {false, kRowIntradayOnly, false, 5, 1},
        {false, kRowIntradayOnly, false, 6, 5},
    };
    auto layout = OneColumn();
    for (const Case& c : cases) {
        CellFacts f;
        f.column = layout.data();
        f.current = c.current;
        f.family = c.family;
        f.value.negative = c.negative;
        f.value.rowFlags = c.rowFlags;
        EXPECT_EQ(PlanCell(s, f, "1").textColour, c.colour)
            << c.negative << " " << int(c.rowFlags) << " " << c.current << " " << c.family;
    }
}

TEST(ListPaintPlan, ColumnOwnColoursAndStyle)
{
    ListStyle s = DefaultStyle();
    auto layout = OneColumn();
    uint8_t* a = layout.data() + ColumnDefLayout::Appearance;
    a[0] = 0x01 | 0x02 | 0x20;
    a[1] = 0x11; // background 0x000011
    a[5] = 0x22; // text 0x000022
    a[9] = 0x10 | 0x20; // bold and italic
    CellFacts f;
    f.column = layout.data();
    f.value.negative = true;
    CellPlan plan = PlanCell(s, f, "x");
    EXPECT_EQ(plan.background, 0x11u);
    EXPECT_EQ(plan.textColour, 0x22u);
    EXPECT_EQ(plan.font, 3);
}

TEST(ListPaintPlan, ArrowsByUpDownState)
{
    ListStyle s = DefaultStyle();
    auto layout = OneColumn(kColumnField, 1 | 0x10);
    struct Case {
        int state;
        float value;
        uint8_t zeroStyle;
        int arrow;
    };
    for (Case c : {Case{1, 2, 0, 1}, Case{-1, -2, 0, -1}, Case{0, 0, 1, 0}, Case{0, 0, 0, 2}, Case{2, 5, 0, 2}}) {
        layout[ColumnDefLayout::FormatA] = c.zeroStyle;
        CellFacts f;
        f.column = layout.data();
        f.upDown = c.state;
        f.value.value = c.value;
        CellPlan plan = PlanCell(s, f, "x");
        EXPECT_EQ(plan.arrow, c.arrow) << c.state;
        if (c.arrow != 2) {
            EXPECT_EQ(plan.arrowColour, s.arrows[c.arrow == 1 ? 0 : c.arrow == -1 ? 1 : 2]);
        }
    }
}

TEST(ListPaintPlan, LiveRedrawRepaintsOnlyChangedLiveCells)
{
    FakeRows rows;
    rows.rows = {{"100", {}}, {"200", {}}};
    Plan plan;
    plan.layout = OneColumn(kColumnIntraday);
    ListStyle style = DefaultStyle();
    plan.Paint(style, rows);
    LiveCellMemory memory;
    BodyPaint live;
    live.rowCount = 2;
    live.liveOnly = true;
    live.memory = &memory;
    auto textsOf = [&] {
        std::vector<PaintOp> ops;
        PlanBody(ops, plan.grid, style, rows, live);
        std::vector<std::string> texts;
        for (const PaintOp& op : ops)
            if (op.step == PaintStep::Text)
                texts.push_back(op.text);
        return texts;
    };
    EXPECT_EQ(textsOf().size(), 2u);
    EXPECT_TRUE(textsOf().empty());
    rows.rows[1].text = "201";
    EXPECT_EQ(textsOf(), (std::vector<std::string>{"201"}));

    // A plain column is never part of a live redraw.
    plan.layout = OneColumn(kColumnField);
    plan.Paint(style, rows);
    memory.clear();
    EXPECT_TRUE(textsOf().empty());
}

TEST(ListPaintPlan, HeadingsWithTheTriangleOnTheSortColumn)
{
    auto layout = OneColumn();
    ListGrid grid;
    grid.LayoutGridNormal(layout.data(), 0, 0, 0);
    grid.FitGridToRect({0, 0, 300, 200}, 30, 16, true);
    ListHeadings headings;
    headings.texts = {"Price_change pence"};
    headings.height = 30;
    FixedMetrics m;
    auto triangles = [&](int kind, int sortColumn) {
        std::vector<PaintOp> ops;
        HeadingPaint paint;
        paint.viewKind = kind;
        paint.sortColumn = sortColumn;
        PlanHeadings(ops, grid, headings, DefaultStyle(), m, paint);
        return std::count_if(ops.begin(), ops.end(), [](const PaintOp& op) { return op.step == PaintStep::Triangle; });
    };
    EXPECT_EQ(triangles(1, 0), 1);
    EXPECT_EQ(triangles(1, -1), 0);
    EXPECT_EQ(triangles(4, 0), 0);
    EXPECT_EQ(triangles(7, 0), 0);

    std::vector<PaintOp> ops;
    HeadingPaint paint;
    PlanHeadings(ops, grid, headings, DefaultStyle(), m, paint);
    std::vector<std::string> lines;
    for (const PaintOp& op : ops)
        if (op.step == PaintStep::Text) {
            lines.push_back(op.text);
            EXPECT_LE(op.y1, 30);
        }
    EXPECT_EQ(lines, (std::vector<std::string>{"Price change", "pence"}));
    // The heading strip right of the columns takes the heading colour.
    EXPECT_EQ(ops.back().x0, 100);
    EXPECT_EQ(ops.back().x1, 300);
}

TEST(ListStyle, ValuesFromADamagedFileAreBroughtIntoRange)
{
    struct Case {
        uint32_t interval, space, points;
        int wantInterval, wantSpace, wantPoints;
    };
    for (Case c : {Case{0, 0, 0, 1, 1, 9}, Case{9, 4, 1000000000, 6, 3, 9}, Case{3, 12, 12, 3, 9, 12},
                   Case{6, 7, 5, 6, 7, 9}}) {
        TableStyle t;
        InitDefaultTableStyle(t);
        t.setWord(TableStyle::kLineInterval, c.interval);
        t.setWord(TableStyle::kWhiteSpace, c.space);
        t.setWord(TableStyle::kPointSize, c.points);
        ListStyle s = ReadListStyle(t);
        EXPECT_EQ(s.lineInterval, c.wantInterval);
        EXPECT_EQ(s.whiteSpace, c.wantSpace);
        EXPECT_EQ(s.pointSize, c.wantPoints);
    }
    TableStyle t;
    InitDefaultTableStyle(t);
    ListStyle s = ReadListStyle(t);
    EXPECT_EQ(s.pointSize, 9);
    EXPECT_TRUE(s.shadeAlternate);
    EXPECT_EQ(s.alternateBackground, 0xF6F6F6u);
    EXPECT_FALSE(s.wrapColumns);
}

TEST(ListTitle, EveryKind)
{
    ListTitleParts p;
    p.source = "List: FTSE 100";
    p.sector = "All sectors";
    p.setting = "Table 1";
    p.portfolio = "Mine";
    p.longDate = "Friday, 4 December 2026";
    p.shareName = "Acme";
    struct Case {
        int kind;
        uint32_t dealing;
        bool linked;
        int market;
        bool numbering;
        const char* title;
    };
    const Case cases[] = {
        {1, 0, false, 0, false, "List: FTSE 100 - All sectors - Table 1 - Mine"},
        {1, 0, false, 0, true, "List: FTSE 100 - All sectors - Table 1"},
        {3, 0, false, 0, false, "List: FTSE 100 - All sectors - Table 1 - Mine"},
        {2, 0, false, 0, false, "List: FTSE 100 - Table 1"},
        {4, 0, false, 0, false, "Transactions - Table 1 - Mine"},
        {5, 0x10 | 0x20, false, 0, false, "Director and major holdings - Table 1 - Latest only - Current list only"},
        {5, 0x20, true, 0, false, "Director and major holdings - Table 1 - Current portfolio only"},
        {5, 0x40, true, 0, false, "Director and major holdings - Table 1"},
        {6, 0, false, 0, false, "Filter - List: FTSE 100 - All sectors"},
        {7, 0, false, 0, false, "Cash Account - Table 1"},
        {8, 0, true, 0, false, "ZOD News - Table 1 - Mine"},
        {8, 0, false, 0, false, "ZOD News - Table 1"},
        {10, 0, false, 2, false, "Trade & Quote List - Acme - Friday, 4 December 2026"},
        {10, 0, false, 1, false, "Quote List - Acme - Friday, 4 December 2026"},
    };
    for (const Case& c : cases) {
        p.viewKind = c.kind;
        p.dealingOptions = c.dealing;
        p.linkedHasSource = c.linked;
        p.tradeMarket = c.market;
        p.windowNumbering = c.numbering;
        EXPECT_EQ(ListTitle(p), c.title);
    }
    p.viewKind = 1;
    p.windowNumbering = false;
    p.portfolio.clear();
    EXPECT_EQ(ListTitle(p), "List: FTSE 100 - All sectors - Table 1");
}

TEST(ListPortfolioAdd, RowsMenuTextsAndEnabling)
{
    // "Above" with the first row current adds exactly one share.
    RowSpan above = AddCommandRows(kCmdAddAboveToCurrent, 0, 10);
    EXPECT_EQ(above.first, 0);
    EXPECT_EQ(above.last, 0);
    RowSpan below = AddCommandRows(kCmdAddBelowToChosen, 3, 10);
    EXPECT_EQ(below.first, 3);
    EXPECT_EQ(below.last, 9);
    EXPECT_GT(AddCommandRows(kCmdAddAllToCurrent, 0, 0).first, AddCommandRows(kCmdAddAllToCurrent, 0, 0).last);

    CurrentPortfolioView none;
    EXPECT_EQ(AddCommandMenuText(kCmdAddAllToCurrent, none), "Add &all shares to portfolio <None selected>");
    EXPECT_EQ(AddCommandMenuText(kCmdAddShareToCurrent, none), "Add selected share to &portfolio <None selected>");
    for (uint32_t command : {kCmdAddAllToCurrent, kCmdAddAboveToCurrent, kCmdAddBelowToCurrent, kCmdAddShareToCurrent})
        EXPECT_FALSE(AddCommandEnabled(command, 10, none));
    EXPECT_FALSE(AddCommandEnabled(kCmdAddAllToChosen, 10, none)) << "no portfolio chooser: nothing to run";
    SetPortfolioChooser([](int) -> Portfolio* { return nullptr; });
    EXPECT_TRUE(AddCommandEnabled(kCmdAddAllToChosen, 10, none));
    EXPECT_FALSE(AddCommandEnabled(kCmdAddAllToChosen, 0, none));
    SetPortfolioChooser({});

    Portfolio mine;
    mine.name = "Growth";
    CurrentPortfolioView view{true, &mine};
    EXPECT_EQ(AddCommandMenuText(kCmdAddAboveToCurrent, view), "Add all shares abo&ve to portfolio 'Growth'");
    EXPECT_TRUE(AddCommandEnabled(kCmdAddAboveToCurrent, 10, view));
    mine.type = kPresetList;
    EXPECT_FALSE(AddCommandEnabled(kCmdAddAboveToCurrent, 10, view));
    mine.type = kGroupPortfolio;
    EXPECT_FALSE(AddCommandEnabled(kCmdAddAboveToCurrent, 10, view));
    EXPECT_TRUE(AddCommandEnabled(kCmdAddAboveToCurrent, 10, CurrentPortfolioView{true, nullptr}));
}

TEST(UpDownColour, StatesOfAValue)
{
    struct Case {
        uint8_t field;
        float value;
        int state;
    };
    const Case cases[] = {
        {0x30, 2.5f, 2}, {0x30, 3.0f, 0}, {0x30, 4.0f, 1}, {0x30, 0.0f, 2}, {0x30, -1.0f, -1},
        {18, 0.0f, 0},   {18, 0.5f, 1},   {18, -0.5f, -1}, {18, 3.4028235e38f, 2}, {0x49, 5.0f, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShareListUpDownState(c.field, c.value), c.state) << int(c.field) << " " << c.value;

    std::vector<uint8_t> layout;
    AppendColumnDef(layout, ColumnOf(kColumnField, 0x49));
    EXPECT_TRUE(ShareListHasUpDownColour(layout.data()));
    EXPECT_TRUE(layout[ColumnDefLayout::Align] & 0x10);
    layout[ColumnDefLayout::FieldCode] = 15;
    EXPECT_FALSE(ShareListHasUpDownColour(layout.data()));
}

// A number wider than its cell is never cut to another number: it shows whole or as "#" marks.
TEST(ListPaintPlan, ANumberTooWideForItsCellShowsMarks)
{
    auto width = [](std::string_view text, int font) { return int(text.size()) * (font & 1 ? 8 : 7); };
    struct Case {
        const char* text;
        int room;
        int font;
        const char* shown;
    } cases[] = {
        {"11,532\xBDp", 70, 0, "11,532\xBDp"}, // 8 characters of 7 pixels fit 70
        {"11,532\xBDp", 40, 0, "#####"},        // never "532\xBDp"
        {"11,532\xBDp", 60, 1, "#######"},      // the bold font is wider
        {"-54,306p", 3, 0, "#"},                 // one mark at least
        {"", 3, 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitNumberText(c.text, c.room, c.font, width), c.shown) << c.text << " in " << c.room;
    EXPECT_EQ(FitNumberText("12345", 7, 0, {}), "12345") << "without measures nothing changes";
}
