// Adding, removing, moving and renaming columns, and where the sort column goes.
#include "lists/ColumnEdit.h"

#include "core/ColumnDef.h"
#include "lists/AddColumnCommands.h"
#include "lists/ColumnCatalogues.h"
#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

#include <string>

using namespace qv;
using namespace ColumnDefLayout;

namespace {

std::vector<uint8_t> Layout(std::initializer_list<uint8_t> codes)
{
    std::vector<uint8_t> layout;
    for (uint8_t code : codes)
        AppendColumnDef(layout, ColumnOf(kColumnField, code));
    layout.push_back(0);
    return layout;
}

std::vector<uint8_t> LayoutOf(int columns)
{
    std::vector<uint8_t> layout;
    for (int i = 0; i < columns; ++i)
        AppendColumnDef(layout, ColumnOf(kColumnField, uint8_t(i)));
    layout.push_back(0);
    return layout;
}

std::vector<int> Codes(const std::vector<uint8_t>& layout)
{
    std::vector<int> codes;
    for (int i = 0; i < CountColumnDefs(layout.data()); ++i)
        codes.push_back(ColumnDefCode(GetColumnDef(layout.data(), i)));
    return codes;
}

std::span<const uint8_t> Shares(int n) { return CatalogueTemplate(Catalogue::Shares, n); }

const uint8_t* Added(const std::optional<std::vector<uint8_t>>& layout, int at)
{
    return GetColumnDef(layout->data(), at);
}

} // namespace

TEST(ColumnEdit, TemplateWidthsScaleToTheScreenAndNeverFallBelowTen)
{
    struct Case { int width, points, dpi, expected; };
    const Case cases[] = {{60, 12, 96, 80}, {60, 9, 96, 60}, {160, 9, 96, 160}, {160, 8, 96, 146}, {60, 12, 120, 100}, {5, 9, 96, 10}, {10, 6, 96, 10}};
    for (const Case& c : cases)
        EXPECT_EQ(ScaleTemplateWidth(c.width, c.points, c.dpi), c.expected) << c.width << " " << c.points << " " << c.dpi;
}

TEST(ColumnEdit, AddsTheTemplateCopyInFrontOfTheColumnUnderTheCursor)
{
    const std::vector<uint8_t> layout = Layout({0, 15, 18});
    AddColumnRequest request;
    request.insertAt = 1;
    request.pointSize = 12;
    const auto added = AddTemplateColumn(layout, Shares(17), request);
    ASSERT_TRUE(added);
    EXPECT_EQ(Codes(*added), (std::vector<int>{0, 17, 15, 18}));
    EXPECT_EQ(ColumnDefWidth(Added(added, 1)), 80);

    request.insertAt = -1;
    EXPECT_EQ(Codes(*AddTemplateColumn(layout, Shares(17), request)), (std::vector<int>{0, 15, 18, 17}));
    request.insertAt = 7;
    EXPECT_EQ(Codes(*AddTemplateColumn(layout, Shares(17), request)), (std::vector<int>{0, 15, 18, 17}));
}

TEST(ColumnEdit, ParametersArePackedIntoTheTemplatesOwnBytesOnly)
{
    const std::vector<uint8_t> layout = Layout({0});
    AddColumnRequest request;
    request.insertAt = 1;

    // Price on a date: mode 1, value 7.
    request.parameter1 = DateParameter(1, 7);
    auto added = AddTemplateColumn(layout, Shares(30), request);
    EXPECT_EQ(Added(added, 1)[FirstUnit], 1);
    EXPECT_EQ(LoadU16(Added(added, 1) + FirstCount), 7);

    // Two dates; the percentage variant sets bit 23 of the first.
    request.parameter1 = DateParameter(0, 0x1234) | (1 << 23);
    request.parameter2 = DateParameter(3, 20);
    added = AddTemplateColumn(layout, Shares(57), request);
    EXPECT_EQ(Added(added, 1)[FirstUnit], 0x80);
    EXPECT_EQ(LoadU16(Added(added, 1) + FirstCount), 0x1234);
    EXPECT_EQ(Added(added, 1)[SecondUnit], 2);
    EXPECT_EQ(LoadU16(Added(added, 1) + SecondCount), 20);
    EXPECT_NE(Added(added, 1)[Align] & 0x10, 0); // up/down arrow on field code 57

    // High/low: the byte from parameter1, the word from parameter2.
    request.parameter1 = 3;
    request.parameter2 = 250;
    added = AddTemplateColumn(layout, CatalogueTemplate(Catalogue::HighLow, 6), request);
    EXPECT_EQ(Added(added, 1)[FirstUnit], 3);
    EXPECT_EQ(LoadU16(Added(added, 1) + FirstCount), 250);
    EXPECT_NE(Added(added, 1)[Align] & 0x10, 0);

    // A plain 27-byte field template has no parameter bytes: nothing is written past its end, and a
    // formula's expression is never overwritten.
    for (int n : {17, 12}) {
        const std::span<const uint8_t> t = Shares(n);
        request.parameter1 = 0x00FF1234;
        request.parameter2 = 0x00EE5678;
        added = AddTemplateColumn(layout, t, request);
        ASSERT_TRUE(added);
        const uint8_t* def = Added(added, 1);
        ASSERT_EQ(def[Length], t.size());
        for (size_t i = Parameters; i < t.size(); ++i)
            EXPECT_EQ(def[i], t[i]) << n << " byte " << i;
    }
}

TEST(ColumnEdit, KindNoteNumberAndArrowFollowTheRequest)
{
    const std::vector<uint8_t> layout = Layout({0});
    AddColumnRequest request;
    request.parameter1 = -1;
    EXPECT_EQ(ColumnDefKind(Added(AddTemplateColumn(layout, CatalogueTemplate(Catalogue::Transactions, 12), request), 1)), kColumnHolding);

    request.parameter1 = 0;
    request.noteNumber = 3;
    EXPECT_EQ(Added(AddTemplateColumn(layout, Shares(45), request), 1)[FormatA], 3);

    for (int n : {18, 27, 31, 56}) {
        EXPECT_NE(Added(AddTemplateColumn(layout, Shares(n), request), 1)[Align] & 0x10, 0) << n;
    }
    EXPECT_EQ(Added(AddTemplateColumn(layout, Shares(17), request), 1)[Align] & 0x10, 0);
}

TEST(ColumnEdit, AHundredAndTwentyFirstColumnIsRefusedEverywhere)
{
    const std::vector<uint8_t> full = LayoutOf(120);
    EXPECT_FALSE(AddTemplateColumn(full, Shares(17), {}));
    EXPECT_FALSE(InsertColumnRecord(full, Shares(17), 0, 9, 96));
    EXPECT_FALSE(MoveColumn(LayoutOf(121), 0, 3));
    EXPECT_EQ(ValidateColumnLayout(LayoutOf(121)), 0u);
    EXPECT_TRUE(AddTemplateColumn(LayoutOf(119), Shares(17), {}));
}

TEST(ColumnEdit, InsertedRecordsTakeFormatAndArrowFromTheirFirstParameter)
{
    const std::vector<uint8_t> layout = Layout({0});
    std::vector<uint8_t> record;
    AppendColumnDef(record, ColumnOf(kColumnIntraday, 75).withWidth(60).withParameters({0, 0x21, 0, 0}));
    const auto added = InsertColumnRecord(layout, record, 0, 12, 96);
    ASSERT_TRUE(added);
    EXPECT_EQ(Added(added, 0)[FormatA], 1);
    EXPECT_NE(Added(added, 0)[Align] & 0x10, 0);
    EXPECT_EQ(ColumnDefWidth(Added(added, 0)), 80);
}

TEST(ColumnEdit, FieldColumnsOfTheFieldTables)
{
    const std::vector<uint8_t> site = FieldColumnRecord(0x71, false);
    EXPECT_EQ(site.size(), kColumnDefBytes);
    EXPECT_EQ(site[Align] & 3, 0);
    EXPECT_EQ(site[TextColumn], 1);
    EXPECT_EQ(ColumnDefWidth(site.data()), 120);
    const std::vector<uint8_t> date = FieldColumnRecord(0x63, true);
    EXPECT_EQ(date[Align] & 3, 1);
    EXPECT_EQ(date[TextColumn], 0);
    EXPECT_EQ(ColumnDefWidth(date.data()), 60);
}

TEST(ColumnEdit, RemoveMoveAndTheSortColumn)
{
    const std::vector<uint8_t> layout = Layout({0, 15, 17, 18});
    EXPECT_EQ(Codes(*RemoveColumn(layout, 2)), (std::vector<int>{0, 15, 18}));
    EXPECT_FALSE(RemoveColumn(Layout({0}), 0));

    EXPECT_EQ(*MoveColumn(layout, 1, 1), layout);
    EXPECT_EQ(Codes(*MoveColumn(layout, 1, 9)), (std::vector<int>{0, 17, 18, 15}));
    EXPECT_EQ(Codes(*MoveColumn(layout, 3, 0)), (std::vector<int>{18, 0, 15, 17}));

    // Signed sort numbers: column |n| - 1, negative descending.
    EXPECT_EQ(SortAfterInsert(3, 2), 4);
    EXPECT_EQ(SortAfterInsert(-3, 0), -4);
    EXPECT_EQ(SortAfterInsert(3, 3), 3);
    bool unsorted = false;
    EXPECT_EQ(SortAfterRemove(-3, 2, unsorted), 1);
    EXPECT_TRUE(unsorted);
    EXPECT_EQ(SortAfterRemove(-3, 0, unsorted), -2);
    EXPECT_FALSE(unsorted);
    EXPECT_EQ(SortAfterRemove(3, 3, unsorted), 3);
    EXPECT_EQ(SortAfterMove(2, 1, 3), 4);
    EXPECT_EQ(SortAfterMove(-3, 0, 3), -2);
    EXPECT_EQ(SortAfterMove(3, 3, 0), 4);
    EXPECT_EQ(SortForColumnCommand(3, 2), -3);
    EXPECT_EQ(SortForColumnCommand(-3, 2), 3);
    EXPECT_EQ(SortForColumnCommand(3, 0), 1);
}

TEST(ColumnEdit, TitlesAreReplacedRemovedAndCutToFitTheRecord)
{
    const std::vector<uint8_t> layout = Layout({0, 17});
    auto titled = RetitleColumn(layout, 1, "Mid", "Price");
    ASSERT_TRUE(titled);
    EXPECT_STREQ(ColumnDefOwnTitle(GetColumnDef(titled->data(), 1)), "Mid");
    titled = RetitleColumn(*titled, 1, "Close", "Price");
    EXPECT_STREQ(ColumnDefOwnTitle(GetColumnDef(titled->data(), 1)), "Close");
    EXPECT_EQ(*RetitleColumn(*titled, 1, "Price", "Price"), layout);

    const auto longTitle = RetitleColumn(layout, 1, std::string(400, 'x'), "Price");
    ASSERT_TRUE(longTitle);
    ASSERT_NE(ValidateColumnLayout(*longTitle), 0u);
    const uint8_t* def = GetColumnDef(longTitle->data(), 1);
    EXPECT_EQ(def[Length], 255);
    EXPECT_EQ(std::string(ColumnDefOwnTitle(def)), std::string(255 - kColumnDefBytes - 1, 'x'));
}
