// Sorting rows: directions and ties, fallbacks of the column number, name ranks, empty texts, the
// busy and stop flags, and the quicksort against std::sort on random, ordered and reversed rows.
#include "lists/RowSort.h"

#include "ListFixture.h"
#include "core/ColumnDef.h"
#include "core/ExtraRecords.h"
#include "core/RecordAccess.h"
#include "lists/CellValue.h"
#include "lists/ListOptions.h"
#include "lists/ListRows.h"
#include "support/DebugCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace qv;
using namespace qv::test;

namespace {

using Names = std::vector<std::string>;

constexpr uint8_t kNameCode = 15;
constexpr uint8_t kPriceCode = 17;

std::vector<uint8_t> Layout(std::initializer_list<uint8_t> codes)
{
    std::vector<uint8_t> layout;
    for (uint8_t code : codes)
        AppendColumnDef(layout, ColumnOf(kColumnField, code));
    layout.push_back(0);
    return layout;
}

FixtureShare Priced(uint16_t id, std::string name, int32_t close)
{
    FixtureShare s{id, std::move(name), {11}};
    s.start = close;
    s.step = 0;
    return s;
}

class RowSort : public ListFixture {
protected:
    void TearDown() override
    {
        CurrentListOptions() = ListOptions{};
        SortBusy = SortStop = 0;
    }

    ShareList* AllRows()
    {
        ShareList* list = NewList(0);
        list->columnLayout = layout_.data();
        list->sortColumn = -1;
        RefreshListRows(list, true, false);
        return list;
    }

    std::vector<uint8_t> layout_ = Layout({0, kNameCode, kPriceCode});
};

TEST_F(RowSort, SignChangeReversesExactlyTiesIncluded)
{
    LoadShares({Priced(0x4001, "A", 1100), Priced(0x4002, "B", 1290), Priced(0x4003, "C", 1100),
                Priced(0x4004, "D", 1000), Priced(0x4005, "E", 1290)});
    ShareList* list = AllRows();
    EXPECT_EQ(SortRows(list, 3, false), 1);
    const Names natural = {"B", "E", "~Market", "A", "C", "D"}; // the calendar closes at 1290
    EXPECT_EQ(RowNames(list), natural) << "prices largest first, equal prices in storage order";
    EXPECT_EQ(list->sortDirection, 1);
    EXPECT_TRUE(list->sorted);

    SortRows(list, -3, false);
    Names reversed(natural.rbegin(), natural.rend());
    EXPECT_EQ(RowNames(list), reversed);
    EXPECT_EQ(list->sortDirection, -1);

    ShareList* fresh = AllRows();
    SortRows(fresh, -3, false);
    EXPECT_EQ(RowNames(fresh), reversed);
    SortRows(fresh, 121, true); // 121 and up: the column of index 2
    EXPECT_EQ(RowNames(fresh), natural);
    EXPECT_EQ(fresh->sortColumn, 2);
}

// A fake intraday source: each share's mid, trade count and volume by its id, so that the three
// small graphs sort in three different orders.
int FakeIntraday(const uint8_t* record, uint32_t, int, int item, uint16_t option, float* value)
{
    static constexpr float kMids[] = {200, 0, 100}, kCounts[] = {1, 2, 3}, kVolumes[] = {0, 2000, 1000};
    const int n = RecordId(record) - 0x4001;
    const uint8_t kind = uint8_t(option), form = uint8_t(option >> 8);
    if (n < 0 || n > 2)
        return 0;
    if (item == 'K' && form == 0)
        *value = kMids[n];
    else if (item == 'S' && kind == 5)
        *value = kCounts[n];
    else if (item == 'Q' && kind == 5)
        *value = kVolumes[n];
    else
        return 0;
    return item == 'S' ? 3 : 1;
}

TEST_F(RowSort, SmallGraphsSortByTheirOwnFigure)
{
    LoadShares({Priced(0x4001, "A", 1000), Priced(0x4002, "B", 1000), Priced(0x4003, "C", 1000)});
    CurrentCellSources().intradayValue = FakeIntraday;
    struct Case {
        uint8_t display, letter, kind, form;
        Names order;
    };
    // A price line sorts by the mid (its form's change bits dropped), tick changes and a thermograph by
    // the trade count, a buy/sell bar by the volume; a value column by its own value.
    const Case cases[] = {
        {3, 'K', 0, 1, {"A", "C", "B"}},
        {3, 'L', 0, 0, {"A", "C", "B"}},
        {4, 'P', 0, 0, {"C", "B", "A"}},
        {5, 'K', 0, 0, {"C", "B", "A"}},
        {7, 'P', 0, 0, {"B", "C", "A"}},
        {1, 'S', 5, 0, {"C", "B", "A"}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> layout;
        AppendColumnDef(layout, ColumnOf(kColumnField, kNameCode));
        AppendColumnDef(layout, ColumnOf(kColumnIntraday, c.letter).withParameters({c.kind, c.form, 0, 0}));
        layout.push_back(0);
        layout[kColumnDefBytes + ColumnDefLayout::Align] = c.display;
        layout_ = layout;
        ShareList* list = AllRows();
        SortRows(list, 2, false);
        Names names = RowNames(list);
        names.erase(std::remove(names.begin(), names.end(), "~Market"), names.end());
        EXPECT_EQ(names, c.order) << "display " << int(c.display) << " letter " << c.letter;
    }
    CurrentCellSources().intradayValue = nullptr;
}

std::vector<std::string> progressTexts;

TEST_F(RowSort, UnsortableColumnsAndBusyFlag)
{
    LoadShares({Priced(0x4001, "A", 1000), Priced(0x4002, "B", 1290)});
    ShareList* list = AllRows();
    Names before = RowNames(list);
    progressTexts.clear();
    SetSortProgress([](const char* text, int step, bool) { progressTexts.push_back(text + std::to_string(step)); });
    SortRows(list, 3, true);
    SetSortProgress(nullptr);
    EXPECT_EQ(progressTexts, (std::vector<std::string>{"Sorting7", "0"}));
    before = RowNames(list);
    EXPECT_EQ(SortRows(list, 1, false), 1) << "field code 0: left unsorted";
    EXPECT_EQ(RowNames(list), before);
    EXPECT_EQ(SortRows(list, 9, false), 0) << "no such column";

    SortBusy = 1;
    EXPECT_EQ(SortRows(list, -3, true), 1);
    EXPECT_EQ(SortStop, 1) << "a request while busy asks the running sort to stop";
    EXPECT_EQ(RowNames(list), before);

    ShareList* none = NewList(10);
    SortBusy = 0;
    EXPECT_EQ(SortRows(none, 3, true), 1) << "no rows";
}

TEST_F(RowSort, EqualKeysFollowNameRanksWhenRankingIsOn)
{
    LoadShares({Priced(0x4001, "Alpha", 1100), Priced(0x4002, "Charlie", 1100), Priced(0x4003, "Delta", 1500)});
    ExtraShare extra;
    extra.id = 0xF800;
    extra.name = "Bravo";
    extra.code = "BRV";
    extra.streamKind = 11;
    extra.price = 1100;
    extra.date = WeekdaysAfter(kListDay0, kListDays - 1);
    ASSERT_TRUE(BuildShareRecord(extra));

    CurrentListOptions().ranking = true;
    MarkNameRanksStale();
    ShareList* list = AllRows();
    SortRows(list, 3, true);
    EXPECT_EQ(RowNames(list), (Names{"Delta", "~Market", "Alpha", "Bravo", "Charlie"}));
    EXPECT_LT(NameRank(0x4001), NameRank(0xF800));

    CurrentListOptions().ranking = false;
    SortRows(list, 3, true);
    Names plain = RowNames(list);
    auto at = [&](const char* n) { return std::find(plain.begin(), plain.end(), n) - plain.begin(); };
    EXPECT_LT(at("Alpha"), at("Charlie")) << "storage order in the main block";
    RemoveExtraRecord(0xF800);
}

TEST_F(RowSort, EmptyTextsSortLast)
{
    // A field of type 4 (counted text, case-insensitive) at record offset 5: head bytes 1-6.
    dev::FieldEntrySpec text;
    text.type = 4;
    text.offset = 5;
    text.name = "Code";
    std::vector<uint8_t> table = dev::EncodeFieldTable({text});
    struct Row {
        const char* name;
        const char* code;
    } rows[] = {{"P", "b"}, {"Q", ""}, {"R", "A"}, {"S", "ab"}};
    std::vector<dev::DbRecord> records;
    for (size_t i = 0; i < std::size(rows); ++i) {
        dev::DbRecord r = FixtureRecord(Priced(uint16_t(0x4001 + i), rows[i].name, 1000));
        std::string code = rows[i].code;
        r.head[1] = uint8_t(code.size());
        std::copy(code.begin(), code.end(), r.head.begin() + 2);
        records.push_back(r);
    }
    dev::DbFile file = OneEntry(std::move(records));
    file.entries[0].extra = table;
    Load(dev::WriteQuorvaDat(file));
    layout_ = Layout({1});
    ShareList* list = AllRows();
    SortRows(list, 1, true);
    EXPECT_EQ(RowNames(list), (Names{"R", "S", "P", "Q"}));
    SortRows(list, -1, false);
    EXPECT_EQ(RowNames(list), (Names{"Q", "P", "S", "R"}));
}

class RandomRows : public RowSort {
protected:
    void SetUp() override
    {
        std::mt19937 rng(23);
        std::vector<FixtureShare> shares;
        for (int i = 0; i < 300; ++i) {
            char name[16];
            std::snprintf(name, sizeof name, "S%03d", i);
            shares.push_back(Priced(uint16_t(0x4100 + i), name, 500 + int32_t(rng() % 40) * 10));
        }
        LoadShares(shares);
    }

    // The rows as std::sort orders them with the sort's own comparison.
    std::vector<RecordCursor> Reference(ShareList* list)
    {
        SortKeys keys;
        EXPECT_TRUE(PrepareSortKeys(list, GetColumnDef(list->columnLayout, 2), keys));
        std::vector<SortItem> items;
        for (int32_t i = 0; i < ShareListCount(list); ++i) {
            RecordCursor row = list->entries[i];
            RecordCursor walk = row;
            items.push_back({row, SkipSubRecords(&walk) - keys.keyOffset, 0});
        }
        std::sort(items.begin(), items.end(), [&](const SortItem& a, const SortItem& b) { return keys.compare(a, b) > 0; });
        std::vector<RecordCursor> rows;
        for (const SortItem& item : items)
            rows.push_back(item.entry);
        return rows;
    }

    static std::vector<RecordCursor> Rows(const ShareList* list)
    {
        return {list->entries, list->entries + ShareListCount(list)};
    }
};

bool SameRows(const std::vector<RecordCursor>& a, const std::vector<RecordCursor>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const RecordCursor& x, const RecordCursor& y) { return x.record == y.record && x.count == y.count; });
}

TEST_F(RandomRows, SameOrderAsStdSortFromAnyStartingOrder)
{
    ShareList* list = AllRows();
    std::vector<RecordCursor> reference = Reference(list);
    SortRows(list, 3, true);
    EXPECT_TRUE(SameRows(Rows(list), reference));
    // Already in order, and in reverse, with the same comparison.
    SortRows(list, 3, true);
    EXPECT_TRUE(SameRows(Rows(list), reference));
    std::reverse(list->entries, list->entries + ShareListCount(list));
    list->sortColumn = -1;
    SortRows(list, 3, true);
    EXPECT_TRUE(SameRows(Rows(list), reference));
}

TEST_F(RandomRows, SelectionSortAgreesAndReportsAnEmptyRange)
{
    ShareList* list = AllRows();
    std::vector<RecordCursor> reference = Reference(list);
    SortKeys keys;
    ASSERT_TRUE(PrepareSortKeys(list, GetColumnDef(list->columnLayout, 2), keys));
    std::vector<SortItem> items;
    for (int32_t i = 0; i < ShareListCount(list); ++i) {
        RecordCursor walk = list->entries[i];
        items.push_back({list->entries[i], SkipSubRecords(&walk) - keys.keyOffset, 0});
    }
    SelectionSortRows(items.data(), items.data() + items.size() - 1, keys.compare);
    std::vector<RecordCursor> rows;
    for (const SortItem& item : items)
        rows.push_back(item.entry);
    EXPECT_TRUE(SameRows(rows, reference));

    // Rows in order or in reverse keep the quicksort well inside its depth (its pivot is a median).
    EXPECT_TRUE(QuickSortRows(items.data(), items.data() + items.size() - 1, 0, keys.compare));
    std::reverse(items.begin(), items.end());
    EXPECT_TRUE(QuickSortRows(items.data(), items.data() + items.size() - 1, 0, keys.compare));
    std::vector<SortItem> many(items);
    for (int i = 0; i < 10; ++i)
        many.insert(many.end(), items.begin(), items.end()); // equal keys at equal addresses: ties
    std::sort(many.begin(), many.end(), [&](const SortItem& a, const SortItem& b) { return keys.compare(a, b) > 0; });
    EXPECT_TRUE(QuickSortRows(many.data(), many.data() + many.size() - 1, 0, keys.compare));

    DebugCapture debug;
    SelectionSortRows(items.data(), items.data(), keys.compare);
    EXPECT_EQ(debug.lines(), std::vector<std::string>{"SwitchSorting\n"});
}

} // namespace

namespace {

// Items of another family (trades, news entries) back to back in one array, as their stores keep
// them, and rows over them.
struct Items {
    std::vector<uint8_t> bytes;
    size_t size = 0;
    Items(const std::vector<std::vector<uint8_t>>& items) : size(items.front().size())
    {
        for (const auto& item : items)
            bytes.insert(bytes.end(), item.begin(), item.end());
    }
    size_t count() const { return bytes.size() / size; }
    uint8_t* data(size_t k) { return bytes.data() + k * size; }
};

ShareList* ItemList(ShareList* list, Items& items, int32_t family, const std::vector<uint8_t>& layout)
{
    list->family = family;
    list->columnLayout = layout.data();
    for (size_t i = 0; i < items.count(); ++i)
        list->entries[i] = RecordCursor{items.data(i), 0};
    list->entries[items.count()] = RecordCursor{};
    return list;
}

std::vector<uint8_t> OneColumn(uint8_t kind, uint8_t code)
{
    std::vector<uint8_t> layout;
    AppendColumnDef(layout, ColumnOf(kind, code));
    layout.push_back(0);
    return layout;
}

class ItemSort : public RowSort {
protected:
    // The order of the rows as indexes into the items.
    std::vector<size_t> Order(const ShareList* list, Items& items)
    {
        std::vector<size_t> order;
        for (int32_t i = 0; i < ShareListCount(list); ++i)
            order.push_back(size_t(list->entries[i].record - items.data(0)) / items.size);
        return order;
    }
};

std::vector<uint8_t> Trade(uint32_t time, float price, float volume, uint8_t cls, int8_t direction)
{
    std::vector<uint8_t> r(TradeLayout::Size);
    StoreU32(r.data() + TradeLayout::Time, time);
    StoreF32(r.data() + TradeLayout::Price, price);
    StoreF32(r.data() + TradeLayout::Volume, volume);
    r[TradeLayout::Class] = cls;
    r[TradeLayout::Direction] = uint8_t(direction);
    return r;
}

TEST_F(ItemSort, TradesByValueAndDirectionWithQuotesAfter)
{
    LoadShares({});
    Items trades({Trade(100, 10, 50, 3, 1), Trade(200, 10, 10, 0, 0),
                                                Trade(300, 20, 50, 3, -1), Trade(400, 10, 50, 3, 1)});
    auto value = OneColumn(kColumnTrade, 10);
    ShareList* list = ItemList(NewList(0, 8), trades, kFamilyTrades, value);
    SortRows(list, 1, true);
    EXPECT_EQ(Order(list, trades), (std::vector<size_t>{2, 3, 0, 1})) << "the larger value first, on a tie the later trade; a quote after";
    auto direction = OneColumn(kColumnTrade, 11);
    list->columnLayout = direction.data();
    SortRows(list, 1, true);
    std::vector<size_t> byDirection = Order(list, trades);
    EXPECT_EQ(byDirection.back(), 1u);
    EXPECT_EQ(byDirection[2], 2u) << "sells after buys";
    auto time = OneColumn(kColumnTrade, 1);
    list->columnLayout = time.data();
    SortRows(list, 1, true);
    EXPECT_EQ(Order(list, trades), (std::vector<size_t>{3, 2, 1, 0})) << "the latest first";
    auto none = OneColumn(kColumnTrade, 9);
    list->columnLayout = none.data();
    EXPECT_EQ(SortRows(list, -1, true), 0) << "the flags column is not sortable";
}

std::vector<uint8_t> News(uint16_t date, uint32_t time, uint16_t company)
{
    std::vector<uint8_t> e(NewsEntryLayout::Size);
    StoreU16(e.data() + NewsEntryLayout::Date, date);
    StoreU32(e.data() + NewsEntryLayout::Time, time);
    StoreU16(e.data() + NewsEntryLayout::Companies, company);
    return e;
}

TEST_F(ItemSort, NewsByDateAndTimeAndByCompanyName)
{
    LoadShares({Priced(0x4001, "Zeta", 100), Priced(0x4002, "alpha", 100)});
    Items news({News(kListDay0, 600, 0x4001), News(kListDay0 + 1, 60, 0),
                                              News(kListDay0, 900, 0x4002)});
    auto when = OneColumn(kColumnNews, 1);
    ShareList* list = ItemList(NewList(0, 8), news, kFamilyNews, when);
    SortRows(list, 1, true);
    EXPECT_EQ(Order(list, news), (std::vector<size_t>{1, 2, 0}));
    auto company = OneColumn(kColumnNews, 4);
    list->columnLayout = company.data();
    SortRows(list, 1, true);
    EXPECT_EQ(Order(list, news), (std::vector<size_t>{2, 0, 1})) << "by name regardless of case, no company last";
}

// Dealing items as the dealings code would give their cells: byte 0 the number of every numeric
// column (shown as "#"), byte 1 the letter of the text column 2 (0 for none).
size_t FakeDealingText(const uint8_t* dealing, int code, char* text, size_t capacity, float* value)
{
    *value = dealing[0];
    char shown = code == 2 ? char(dealing[1]) : '#';
    if (shown == 0 || capacity < 2)
        return 0;
    text[0] = shown;
    text[1] = 0;
    return 1;
}

TEST_F(ItemSort, DealingsByNumberDateAndText)
{
    LoadShares({});
    CellSources saved = CurrentCellSources();
    CurrentCellSources().dealingText = FakeDealingText;
    Items dealings({{5, 'b', 0, 0}, {9, 0, 0, 0}, {1, 'a', 0, 0}});
    auto value = OneColumn(kColumnDealing, 7);
    ShareList* list = ItemList(NewList(0, 8), dealings, kFamilyDealings, value);
    SortRows(list, 1, true);
    EXPECT_EQ(Order(list, dealings), (std::vector<size_t>{1, 0, 2}));
    auto date = OneColumn(kColumnDealing, 3);
    list->columnLayout = date.data();
    SortRows(list, 1, true);
    EXPECT_EQ(Order(list, dealings), (std::vector<size_t>{2, 0, 1})) << "the earliest date first";
    auto name = OneColumn(kColumnDealing, 2);
    list->columnLayout = name.data();
    SortRows(list, 1, true);
    EXPECT_EQ(Order(list, dealings), (std::vector<size_t>{2, 0, 1})) << "an empty text last";
    auto stream = OneColumn(kColumnDealing, 1);
    list->columnLayout = stream.data();
    SortRows(list, -1, true);
    EXPECT_EQ(Order(list, dealings), (std::vector<size_t>{2, 1, 0}));
    CurrentCellSources() = saved;
}

} // namespace
