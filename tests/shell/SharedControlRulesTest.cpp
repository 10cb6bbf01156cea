// The rules of the price list, the list cell tip, the sector list and the table-library button.
#include "shell/ColumnFormatter.h"
#include "shell/LibraryFiles.h"
#include "shell/ListTipRules.h"
#include "shell/PriceListRules.h"
#include "shell/SectorListRules.h"
#include "devtools/lib/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

using namespace qv;

TEST(PriceListRulesTest, CommitTable)
{
    struct Case {
        const char* text;
        bool store;
        bool bad;
        float value;
    } cases[] = {
        {"0", false, true, 0},                  // zero is no price
        {"m", true, false, kMissingPrice},
        {"M", true, false, kMissingPrice},
        {"h", true, false, kHolidayPrice},
        {"c", true, false, kHolidayPrice},
        {"12.5", true, false, 12.5f},
        {"99999999.9", true, false, 99999999.9f},
        {"100000000", false, true, 0},          // too large
        {"x", false, true, 0},
        {"", false, false, kMissingPrice},      // an empty text stores nothing and says nothing
        {"-3", false, true, 0},
    };
    for (const Case& c : cases) {
        PriceCommit commit = ReadPriceInput(c.text);
        EXPECT_EQ(commit.store, c.store) << c.text;
        EXPECT_EQ(commit.badInput, c.bad) << c.text;
        if (c.store) {
            EXPECT_FLOAT_EQ(commit.value, c.value) << c.text;
        }
    }
    EXPECT_EQ(PriceEditText(12.5f), "12.50");
    EXPECT_EQ(PriceEditText(kMissingPrice), "");
    EXPECT_EQ(PriceEditText(0), "");
}

TEST(PriceListRulesTest, RowsElementsAndMoves)
{
    EXPECT_EQ(PriceRowElement(0, 5, false), 4) << "newest first: row 0 shows the last element";
    EXPECT_EQ(PriceRowElement(0, 5, true), 0);
    EXPECT_EQ(PriceRowElement(-1, 5, false), -1) << "no row selected names no element";
    EXPECT_EQ(PriceRowElement(0, 0, false), -1) << "an empty array has no rows";

    PriceMove on = PlanPriceMove(5, true, 10);
    EXPECT_TRUE(on.inside);
    EXPECT_EQ(on.target, 6);
    EXPECT_EQ(on.top, 4);
    PriceMove back = PlanPriceMove(2, false, 10);
    EXPECT_EQ(back.target, 1);
    EXPECT_EQ(back.top, 0);
    EXPECT_FALSE(PlanPriceMove(9, true, 10).inside) << "past the last row";
    EXPECT_FALSE(PlanPriceMove(0, false, 10).inside);
    EXPECT_EQ(PriceMarkForKey('m'), kMissingPrice);
    EXPECT_EQ(PriceMarkForKey(kBackspaceKey), kMissingPrice);
    EXPECT_EQ(PriceMarkForKey('C'), kHolidayPrice);
    EXPECT_EQ(PriceMarkForKey('x'), 0);
}

namespace {

// A list view of one row whose texts come from a table of fields.
struct FakeTipView : ListTipView {
    TipListKind kind = TipListKind::PlainList;
    bool entries = true;
    std::map<int, std::string> vg;
    PackedDate vgDate = 0;

    bool hasEntries() const override { return entries; }
    TipListKind listKind() const override { return kind; }
    RecordCursor rowShare(int) const override { return {}; }
    int textWidth(const std::string& text) const override { return int(text.size()) * 6; }
    int cellMargin() const override { return 4; }
    std::string vgItem(int, int item, PackedDate* date) const override
    {
        if (date)
            *date = vgDate;
        auto it = vg.find(item);
        return it == vg.end() ? std::string() : it->second;
    }
};

struct FakeFormatter {
    std::map<uint32_t, std::string> fields;
    ColumnFormatter previous;
    FakeFormatter()
    {
        previous = SetColumnFormatter([this](const RecordCursor&, uint32_t field) {
            auto it = fields.find(field);
            return it == fields.end() ? std::string() : it->second;
        });
    }
    ~FakeFormatter() { SetColumnFormatter(previous); }
};

} // namespace

TEST(ListTipRulesTest, TitleOnlyWhenTheCellCutsTheText)
{
    FakeFormatter formatter;
    formatter.fields[15] = "Alpha Mining";
    FakeTipView view;
    TipState state;
    // 12 characters are 72 pixels; with two margins of 4 the cell needs 80.
    EXPECT_FALSE(ComposeListTip(view, state, 0, {15, 1}, 80).shown()) << "a text that fits, no extra information";
    EXPECT_EQ(ComposeListTip(view, state, 0, {15, 1}, 79).title, "Alpha Mining");
    state.halveMargin = true;
    EXPECT_FALSE(ComposeListTip(view, state, 0, {15, 1}, 76).shown());
    state.busy = true;
    EXPECT_FALSE(ComposeListTip(view, state, 0, {15, 1}, 10).shown());
    state.busy = false;
    view.entries = false;
    EXPECT_FALSE(ComposeListTip(view, state, 0, {15, 1}, 10).shown());
}

TEST(ListTipRulesTest, ExtraInformationWithTheTipOption)
{
    FakeFormatter formatter;
    formatter.fields = {{15, "Alpha"}, {128, "ALM"}, {18, "Alpha"}};
    FakeTipView view;
    TipState state{false, false, true};

    formatter.fields[0x75] = "Old Alpha|Older Alpha|Oldest";
    TipContent names = ComposeListTip(view, state, 0, {0x75, 1}, 1000);
    EXPECT_EQ(names.subtitle, "Other previous names:");
    EXPECT_EQ(names.body, "Older Alpha\nOldest");
    formatter.fields[0x75] = "Old Alpha";
    EXPECT_FALSE(ComposeListTip(view, state, 0, {0x75, 1}, 1000).shown()) << "no \"|\": no body";

    EXPECT_EQ(ComposeListTip(view, state, 0, {15, 1}, 1000).body, "EPIC: ALM");
    EXPECT_EQ(ComposeListTip(view, state, 0, {128, 1}, 1000).body, "Alpha");
    formatter.fields[128] = "";
    EXPECT_EQ(ComposeListTip(view, state, 0, {15, 1}, 1000).body, "EPIC: none");
    view.kind = TipListKind::Portfolio;
    EXPECT_EQ(ComposeListTip(view, state, 0, {18, 1}, 1000).body, "EPIC: none");
    EXPECT_FALSE(ComposeListTip(view, state, 0, {15, 1}, 1000).shown()) << "field 15 only in a plain list";
    state.tipOption = false;
    view.kind = TipListKind::PlainList;
    EXPECT_FALSE(ComposeListTip(view, state, 0, {15, 1}, 1000).shown());
}

TEST(ListTipRulesTest, VgViewsAndTheirDisclaimer)
{
    FakeFormatter formatter;
    formatter.fields[15] = "Alpha Mining";
    FakeTipView view;
    view.vg = {{0, "Keep Buying"}, {1, "03/04/12"}, {2, "123p"}, {3, "456"}, {4, "7"}};
    TipState state;
    EXPECT_FALSE(ComposeListTip(view, state, 0, {200, kVgViewsColumnKind}, 1000).shown()) << "no date, no view";
    view.vgDate = PackDate(3, 4, 2012);
    TipContent tip = ComposeListTip(view, state, 0, {200, kVgViewsColumnKind}, 1000);
    EXPECT_EQ(tip.subtitle, "Alpha Mining");
    EXPECT_EQ(tip.bitmap, 863);
    EXPECT_EQ(tip.body.rfind("VG View on 03/04/12 at 123p\nIssue 456, page 7\n\n", 0), 0u);
    EXPECT_NE(tip.body.find("2012"), std::string::npos);
    EXPECT_EQ(RecommendationBitmap("Bid Situation"), 865);
    EXPECT_EQ(RecommendationBitmap("Maybe"), 0);

    EXPECT_FALSE(ComposeListTip(view, state, kTipHeaderRow, {200, kVgViewsColumnKind}, 1000).shown());
    state.tipOption = true;
    EXPECT_EQ(ComposeListTip(view, state, kTipHeaderRow, {200, kVgViewsColumnKind}, 1000).subtitle, "Disclaimer");
}

TEST(ListTipRulesTest, PlacementAtTheCellOrBelowTheCursorWithinTheLimit)
{
    TipMeasures m{100, 14, 0, 0, 80, 30};
    TipRect atCell = PlaceListTip(m, true, true, 50, 60, 0, 0, 1000);
    EXPECT_EQ(atCell.left, 50);
    EXPECT_EQ(atCell.top, 60);
    EXPECT_EQ(atCell.width, 104);
    EXPECT_EQ(atCell.height, 44 + 8) << "both a title and a body double the vertical margin";
    TipRect atCursor = PlaceListTip(m, false, true, 50, 60, 300, 200, 1000);
    EXPECT_EQ(atCursor.left, 300);
    EXPECT_EQ(atCursor.top, 216);
    EXPECT_EQ(atCursor.height, 44 + 4);
    TipRect shifted = PlaceListTip(m, true, true, 950, 60, 0, 0, 1000);
    EXPECT_EQ(shifted.left, 950 - 54) << "moved left by the overflow";
}

TEST(SectorListRulesTest, TintsAndShading)
{
    SectorTints tints = MixSectorTints({0, 0, 140}, {255, 255, 255});
    EXPECT_EQ(tints.t1, (Rgb{218, 218, 238}));
    EXPECT_EQ(tints.t2, (Rgb{248, 248, 252}));
    EXPECT_EQ(tints.t3, (Rgb{224, 224, 240}));
    SectorRow lead;
    lead.level = 2;
    lead.group = 3;
    SectorRow loose;
    loose.level = 4;
    SectorRow plain;
    plain.level = 5;
    EXPECT_EQ(NextShadingMarker(0, lead), 1);
    EXPECT_EQ(NextShadingMarker(0, loose), 1);
    EXPECT_EQ(NextShadingMarker(1, plain), 1) << "other levels keep the marker";
    EXPECT_EQ(SectorRowShade(1, 1), 0);
    EXPECT_EQ(SectorRowShade(1, 2), 2);
    EXPECT_EQ(SectorRowShade(0, 1), 1);
    EXPECT_EQ(SectorRowShade(0, 2), 3);
}

namespace {

SectorRow Row(const char* name, int value, int group, int level)
{
    SectorRow row;
    row.texts[0] = name;
    row.values[0] = value;
    row.values[1] = -value;
    row.group = group;
    row.level = level;
    return row;
}

std::string Order(const std::vector<SectorRow>& rows)
{
    std::string out;
    for (const SectorRow& row : rows)
        out += std::string(row.texts[0]) + " ";
    return out;
}

} // namespace

TEST(SectorListRulesTest, AllSixSortsKeepTheGroups)
{
    // Group 1 led by "Mining", group 2 led by "Banks", a loose level-4 row and the level-8 total.
    std::vector<SectorRow> rows = {
        Row("Total", 99, 0, 8), Row("Gold", 5, 1, 6), Row("Mining", 50, 1, 2), Row("Coal", 7, 1, 6),
        Row("Loose", 1, 0, 4), Row("Banks", 30, 2, 2), Row("Lenders", 3, 2, 6), Row("Brokers", 9, 2, 6),
        Row("Aside", 2, 0, 4)};
    struct Case {
        int column;
        bool descending;
        const char* order;
    } cases[] = {
        {0, false, "Mining Coal Gold Banks Brokers Lenders Aside Loose Total "},
        {0, true, "Mining Gold Coal Banks Lenders Brokers Loose Aside Total "},
        {1, false, "Mining Gold Coal Banks Lenders Brokers Loose Aside Total "},
        {1, true, "Mining Coal Gold Banks Brokers Lenders Aside Loose Total "},
        {2, false, "Mining Coal Gold Banks Brokers Lenders Aside Loose Total "},
        {2, true, "Mining Gold Coal Banks Lenders Brokers Loose Aside Total "},
    };
    for (const Case& c : cases) {
        std::vector<SectorRow> sorted = rows;
        SortSectorRows(sorted.data(), sorted.size(), c.column, c.descending);
        EXPECT_EQ(Order(sorted), c.order) << c.column << c.descending;
    }
}

namespace {

void WriteFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST(LibraryFilesTest, ListsSixteenValidFilesBehindTheFixedEntries)
{
    dev::TempFolder dir;
    for (int i = 0; i < 20; ++i)
        WriteFile(dir.path() / ("t" + std::to_string(100 + i) + ".tab"),
                  "!Quorvantis table\r\n!  Table " + std::to_string(i) + "  \r\n! About table " + std::to_string(i) + "\r\nrest\r\n");
    WriteFile(dir.path() / "a-bad.tab", "!one\n!two\nthree\n");
    WriteFile(dir.path() / "short.TAB", "!one\n!two\n");
    WriteFile(dir.path() / "other.txt", "!one\n!two\n!three\n");

    std::vector<LibraryEntry> entries = BuildLibraryEntries(dir.path(), "tab");
    ASSERT_EQ(entries.size(), 18u);
    EXPECT_EQ(entries[0].text, "Open library folder...");
    EXPECT_EQ(entries[0].icon, kOpenFolderIcon);
    EXPECT_EQ(entries[1].text, "Add current table to library");
    EXPECT_EQ(entries[2].text, "t100.tab");
    EXPECT_EQ(entries[2].title, "Table 0");
    EXPECT_EQ(entries[2].description, "About table 0");
    EXPECT_EQ(entries[17].text, "t115.tab");

    dev::TempFolder empty;
    EXPECT_EQ(BuildLibraryEntries(empty.path(), "tab").size(), 2u);
    EXPECT_EQ(BuildLibraryEntries(empty.path() / "missing", "tab").size(), 2u);
}
