// Column records: reaching column n, the layout check every loader uses, and sorting by a column.
#include "core/ColumnDef.h"

#include "core/ShareList.h"
#include "lists/ListSort.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

using namespace qv;

namespace {

std::vector<uint8_t> Layout(std::initializer_list<uint8_t> codes)
{
    std::vector<uint8_t> layout;
    for (uint8_t code : codes)
        AppendColumnDef(layout, ColumnOf(kColumnField, code));
    layout.push_back(0);
    return layout;
}

// A formula record: the expression (its 0xFF added) and the title.
std::vector<uint8_t> Formula(std::vector<uint8_t> expression, const char* title)
{
    expression.push_back(kExpressionEnd);
    std::vector<uint8_t> parameters = {uint8_t(expression.size() + 1)};
    parameters.insert(parameters.end(), expression.begin(), expression.end());
    parameters.insert(parameters.end(), title, title + std::strlen(title) + 1);
    std::vector<uint8_t> layout;
    AppendColumnDef(layout, ColumnOf(kColumnFormula, 12).withParameters(parameters));
    return layout;
}

} // namespace

TEST(ColumnDef, ColumnNumbersOutsideTheLayoutFallBackAsTheListsExpect)
{
    std::vector<uint8_t> layout = Layout({10, 11, 12, 13, 14});
    const uint8_t* base = layout.data();
    struct Case {
        int n;
        int code; // -1: the terminator
    };
    for (Case c : {Case{0, 10}, Case{4, 14}, Case{5, -1}, Case{119, -1}, Case{120, 12}, Case{130, 12}, Case{-1, 10},
                   Case{-500, 10}}) {
        const uint8_t* def = GetColumnDef(base, c.n);
        if (c.code < 0)
            EXPECT_EQ(def, base + layout.size() - 1) << c.n;
        else
            EXPECT_EQ(ColumnDefCode(def), c.code) << c.n;
    }
    const uint8_t empty[1] = {0};
    for (int n : {0, 1, 2, 130})
        EXPECT_EQ(GetColumnDef(empty, n), empty);
    EXPECT_EQ(GetColumnDef(static_cast<const uint8_t*>(nullptr), 0), nullptr);
    // A filler is a record like any other.
    std::vector<uint8_t> filled = {1};
    filled.insert(filled.end(), layout.begin(), layout.end());
    EXPECT_EQ(ColumnDefCode(GetColumnDef(filled.data(), 1)), 10);
    EXPECT_EQ(CountColumnDefs(filled.data()), 6);
}

TEST(ColumnDef, TheLayoutCheckRefusesEveryDamagedRecord)
{
    auto withTitle = [](uint8_t offset, bool nul) {
        std::vector<uint8_t> l;
        AppendColumnDef(l, ColumnOf(kColumnField, 15).withOwnTitle("Mine"));
        if (offset)
            l[1] = offset;
        if (!nul)
            l[l.size() - 1] = 'x';
        l.push_back(0);
        return l;
    };
    auto formula = [](uint8_t lengthByte, bool endMark, bool titleNul) {
        std::vector<uint8_t> l = Formula({0x38, 3}, "Yield");
        if (lengthByte)
            l[27] = lengthByte;
        if (!endMark)
            l[27 + l[27] - 1] = 0x01;
        if (!titleNul)
            l.back() = 'd';
        l.push_back(0);
        return l;
    };
    std::vector<uint8_t> many;
    for (int i = 0; i < kMaxLayoutColumns; ++i)
        AppendColumnDef(many, ColumnOf(kColumnField, 17));
    std::vector<uint8_t> tooMany = many;
    AppendColumnDef(tooMany, ColumnOf(kColumnField, 17));
    many.push_back(0);
    tooMany.push_back(0);
    std::vector<uint8_t> plain = Layout({17, 18});
    std::vector<uint8_t> cut = plain;
    cut.resize(30);
    std::vector<uint8_t> unended = plain;
    unended.pop_back();
    std::vector<uint8_t> shortRecord = {26};
    shortRecord.resize(26);
    shortRecord.push_back(0);
    struct Case {
        const char* what;
        std::vector<uint8_t> layout;
        size_t length; // 0: refused
    };
    const Case cases[] = {
        {"empty", {0}, 1},
        {"two columns", plain, plain.size()},
        {"a filler", {1, 0}, 2},
        {"120 columns", many, many.size()},
        {"121 columns", tooMany, 0},
        {"a length past the end", cut, 0},
        {"no terminator", unended, 0},
        {"nothing at all", {}, 0},
        {"a 26-byte record", shortRecord, 0},
        {"a 2-byte record", {2, 0, 0}, 0},
        {"own title", withTitle(0, true), withTitle(0, true).size()},
        {"title offset in the fixed fields", withTitle(20, true), 0},
        {"title offset past the record", withTitle(40, true), 0},
        {"title without its NUL", withTitle(0, false), 0},
        {"formula", formula(0, true, true), formula(0, true, true).size()},
        {"formula length past the record", formula(60, true, true), 0},
        {"formula length below the 0xFF", formula(1, true, true), 0},
        {"formula without its 0xFF", formula(0, false, true), 0},
        {"formula title without its NUL", formula(0, true, false), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValidateColumnLayout(c.layout), c.length) << c.what;
}

TEST(ColumnDef, TitlesAreFoundByTheirOffsets)
{
    // The expression holds a 0xFF of its own before its end mark; the title is still found by byte 27.
    std::vector<uint8_t> f = Formula({0x01, 0xFF, 0x02}, "PEG");
    f.push_back(0);
    ASSERT_NE(ValidateColumnLayout(f), 0u);
    EXPECT_STREQ(ColumnDefFormulaTitle(f.data()), "PEG");
    EXPECT_EQ(ColumnDefOwnTitle(f.data()), nullptr);
    std::vector<uint8_t> titled;
    AppendColumnDef(titled, ColumnOf(kColumnField, 17).withWidth(75).withOwnTitle("Last"));
    EXPECT_STREQ(ColumnDefOwnTitle(titled.data()), "Last");
    EXPECT_EQ(ColumnDefWidth(titled.data()), 75);
    EXPECT_EQ(titled[0], 27 + 5);
}

namespace {

class SortByColumn : public ::testing::Test {
protected:
    SortByColumn()
    {
        for (size_t i = 0; i < records.size(); ++i) {
            records[i][2] = uint8_t(ids[i]);
            entries[i] = RecordCursor{records[i].data(), 0};
        }
        list.entries = entries.data();
        list.capacity = int32_t(entries.size());
        SetListColumnLess([this](const RecordCursor& a, const RecordCursor& b, int column) {
            lastColumn = column;
            return a.record[2] < b.record[2];
        });
    }
    ~SortByColumn() override { SetListColumnLess({}); }

    std::vector<int> Order() const
    {
        std::vector<int> ids;
        for (int i = 0; i < 3; ++i)
            ids.push_back(entries[size_t(i)].record[2]);
        return ids;
    }

    std::array<int, 3> ids = {2, 3, 1};
    std::array<std::array<uint8_t, 4>, 3> records{};
    std::array<RecordCursor, 4> entries{};
    ShareList list{};
    int lastColumn = -1;
};

} // namespace

TEST_F(SortByColumn, TheSignGivesTheDirectionAndTheNameColumnMayKeepItsOrder)
{
    std::vector<uint8_t> layout = Layout({0, 15, 17});
    list.columnLayout = layout.data();
    list.firstVisible = 2;
    SortListByColumn(false, &list, 3, false);
    EXPECT_EQ(lastColumn, 2);
    EXPECT_EQ(Order(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list.firstVisible, 0);
    SortListByColumn(false, &list, -3, false);
    EXPECT_EQ(Order(), (std::vector<int>{3, 2, 1}));
    SortListByColumn(false, &list, 131, false); // 130 and up: column 2
    EXPECT_EQ(lastColumn, 2);
    EXPECT_EQ(Order(), (std::vector<int>{1, 2, 3}));

    // Field code 15 with the flag set: nothing is sorted, but the list still starts at its top.
    lastColumn = -1;
    list.firstVisible = 1;
    SortListByColumn(true, &list, -2, false);
    EXPECT_EQ(lastColumn, -1);
    EXPECT_EQ(Order(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list.firstVisible, 0);
    SortListByColumn(false, &list, -2, false);
    EXPECT_EQ(lastColumn, 1);
    EXPECT_EQ(Order(), (std::vector<int>{3, 2, 1}));
}
