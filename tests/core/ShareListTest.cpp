// Tests of the share list behind every list a window shows.
#include "core/ShareList.h"

#include "core/ConfigState.h"
#include "core/DataMiningProgress.h"
#include "core/DatabaseNeighbours.h"
#include "core/Memory.h"
#include "core/Portfolio.h"
#include "devtools/lib/ShareListChain.h"
#include "lists/ListSettings.h"
#include "lists/ListSort.h"
#include "platform/ByteOrder.h"
#include "support/DatabaseFixture.h"
#include "views/ViewBase.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <vector>

using namespace qv;

namespace {

// Records with an id at byte 2 (and, for transactions, a share id at 8 and a sub-id at 10).
class Records {
public:
    uint8_t* make(uint16_t id, uint16_t shareId = 0, uint8_t subId = 0)
    {
        auto& r = store_.emplace_back(std::make_unique<uint8_t[]>(24));
        StoreU16(&r[0], 24);
        StoreU16(&r[2], id);
        StoreU16(&r[8], shareId);
        r[10] = subId;
        return r.get();
    }

private:
    std::vector<std::unique_ptr<uint8_t[]>> store_;
};

// A portfolio whose zero-ended entry array has room for `slots` entries.
struct TestPortfolio {
    TestPortfolio(uint16_t number, std::vector<RecordCursor> items, size_t room = 0)
    {
        entries.assign(std::max(room, items.size() + 1), RecordCursor{});
        std::copy(items.begin(), items.end(), entries.begin());
        p.number = number;
        p.entries = entries.data();
        p.entryBytes = uint32_t(entries.size() * sizeof(RecordCursor));
    }
    std::vector<RecordCursor> entries;
    Portfolio p;
};

class ShareLists : public ::testing::Test {
protected:
    void TearDown() override
    {
        dev::FreeShareListChain();
        PortfolioChain() = nullptr;
        DataMiningProgress() = nullptr;
        SetListColumnLess({});
        SetColumnLayout(0, 1, nullptr);
        SetListViewsInvalidator({});
        FreeSettingLayouts();
        Config() = savedConfig_; // the sort settings live in the configuration's tables
    }

    ConfigState savedConfig_ = Config();

    std::vector<RecordCursor> shares(std::initializer_list<uint16_t> ids)
    {
        std::vector<RecordCursor> out;
        for (uint16_t id : ids)
            out.push_back({records.make(id), 0});
        return out;
    }

    static std::vector<uint16_t> Ids(ShareList* list)
    {
        std::vector<uint16_t> ids;
        for (int32_t i = 0; i < ShareListCount(list); ++i)
            ids.push_back(EntryRecordId(list->entries[i]));
        return ids;
    }

    Records records;
};

} // namespace

TEST_F(ShareLists, CreationCopiesTheSourceNumbersTheListAndAppliesTheStoredSort)
{
    TestPortfolio port(7, shares({0x4001, 0x4002, 0x4003}));
    SetSortColumn(0, 1, -3);
    ShareList* first = CreateShareList(1, 0, kFamilyShares, &port.p, true);
    EXPECT_EQ(first->number, 0);
    EXPECT_EQ(first->sourceNumber, 7);
    EXPECT_EQ(first->source, &port.p);
    EXPECT_EQ(first->sortDirection, -1);
    EXPECT_EQ(first->sortColumn, 2);
    EXPECT_EQ(first->capacity, int32_t(port.p.entryBytes) + 64);
    EXPECT_EQ(Ids(first), (std::vector<uint16_t>{0x4001, 0x4002, 0x4003}));
    EXPECT_EQ(first->entries[3].record, nullptr);
    EXPECT_EQ(ShareListChain(), first);

    // Later lists take the lowest free number from 1; a list without a source starts empty.
    ShareList* a = CreateShareList(10, 5, kFamilyShares, nullptr, true);
    ShareList* b = CreateShareList(10, 0, kFamilyNews, nullptr, true);
    EXPECT_EQ(a->number, 1);
    EXPECT_EQ(b->number, 2);
    EXPECT_EQ(a->capacity, 15);
    EXPECT_EQ(a->sourceNumber, -1);
    EXPECT_FALSE(ShareListHasEntries(a));
    a->number = 9;
    EXPECT_EQ(NextFreeGroupNumber(), 1);

    ShareList* ticker = CreateShareList(4, 0, kFamilyTicker, nullptr, false);
    EXPECT_EQ(ticker->entries, nullptr);
    ProFree(ticker);

    // The same source finds the same list; another source gets a new one.
    EXPECT_EQ(GetShareListForSource(&port.p), first);
    TestPortfolio other(8, shares({0x4100}));
    ShareList* made = GetShareListForSource(&other.p);
    EXPECT_NE(made, first);
    EXPECT_EQ(Ids(made), (std::vector<uint16_t>{0x4100}));
}

TEST_F(ShareLists, SourceCopiesGrowTheArrayAndHandleEmptySources)
{
    TestPortfolio empty(1, {});
    ShareList* list = CreateShareList(1, 0, kFamilyShares, nullptr, true);
    EXPECT_EQ(SetShareListSource(list, &empty.p, 0, 0, false, false), 0);
    EXPECT_EQ(list->entries[0].record, nullptr);
    EXPECT_EQ(list->current, 0);
    EXPECT_EQ(list->firstVisible, 0);
    EXPECT_EQ(list->last, 0);

    // A source of exactly capacity - 1 entries makes the array grow before the copy.
    auto items = shares({1, 2, 3, 4, 5, 6, 7, 8, 9});
    TestPortfolio big(2, items);
    list->capacity = 10;
    list->entries = static_cast<RecordCursor*>(ProRealloc(list->entries, 10 * sizeof(RecordCursor)));
    EXPECT_EQ(SetShareListSource(list, &big.p, 0, 0, false, false), 9);
    EXPECT_GE(list->capacity, 10);
    EXPECT_EQ(Ids(list), (std::vector<uint16_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(list->entries[9].record, nullptr);
    EXPECT_EQ(list->last, 8);

    // Without a source and with force the list is emptied.
    EXPECT_EQ(SetShareListSource(list, nullptr, 0, 0, true, false), 0);
    EXPECT_EQ(ShareListCount(list), 0);
    EXPECT_EQ(list->sourceNumber, -1);

    // A source whose array holds no zero entry is read only as far as its room goes.
    TestPortfolio full(3, shares({11, 12, 13}));
    full.entries[3] = {records.make(14), 0};
    full.p.entryBytes = uint32_t(4 * sizeof(RecordCursor));
    full.p.current = 99;
    EXPECT_EQ(SetShareListSource(list, &full.p, 0, 0, false, false), 4);
    EXPECT_EQ(full.p.current, 0);
}

TEST_F(ShareLists, PositionKeepsFourRowsAboveTheCurrentOne)
{
    auto items = shares({10, 11, 12, 13, 14, 15, 16, 17});
    TestPortfolio port(1, items);
    ShareList* list = CreateShareList(1, 0, kFamilyShares, &port.p, true);
    list->windowSlot = 3;
    struct Case {
        uint16_t id;
        int32_t current, firstVisible;
    } cases[] = {{10, 0, 0}, {13, 3, 0}, {14, 4, 0}, {15, 5, 1}, {16, 6, 2}, {99, 0, 0}};
    for (const Case& c : cases) {
        SetShareListPosition(list, c.id, 0, true);
        EXPECT_EQ(list->current, c.current) << c.id;
        EXPECT_EQ(list->firstVisible, c.firstVisible) << c.id;
    }
    SetShareListPosition(list, 16, 0, true);
    EXPECT_EQ(PublishedShareId(3), 16);
    EXPECT_EQ(PublishedShareId(-1), 0);
    EXPECT_EQ(PublishedShareId(kWindowSlots), 0);

    // An explicit id is made current while the entries are copied again.
    EXPECT_EQ(SetShareListSource(list, &port.p, 17, 0, false, false), 8);
    EXPECT_EQ(list->current, 7);
    EXPECT_EQ(list->firstVisible, 3);
    // With no id, force keeps the source's current entry, else the list's own.
    port.p.current = 2;
    SetShareListSource(list, &port.p, 0, 0, false, false);
    EXPECT_EQ(list->current, 7);
    SetShareListSource(list, &port.p, 0, 0, true, false);
    EXPECT_EQ(list->current, 2);
}

TEST_F(ShareLists, SortingFollowsTheSignedColumnAndKeepsTheRightDuplicateCurrent)
{
    SetListColumnLess([](const RecordCursor& a, const RecordCursor& b, int column) {
        EXPECT_EQ(column, 2);
        return EntryRecordId(a) < EntryRecordId(b);
    });
    static const uint8_t layout[1] = {0};
    SetColumnLayout(0, 1, layout);
    SetSortColumn(0, 1, -3);
    uint8_t* shareA = records.make(0x4005);
    TestPortfolio port(1, {{records.make(0x4001), 0}, {shareA, 0}, {records.make(0x4003), 0}, {shareA, 1}});
    ShareList* list = CreateShareList(1, 0, kFamilyShares, &port.p, true);
    list->columnLayout = layout;
    SetShareListSource(list, &port.p, 0x4005, 1, false, false);
    EXPECT_EQ(Ids(list), (std::vector<uint16_t>{0x4005, 0x4005, 0x4003, 0x4001}));
    EXPECT_EQ(list->current, 1);
    EXPECT_EQ(list->entries[1].count, 1u);

    list->sortDirection = 1;
    ResortShareList(list);
    EXPECT_EQ(Ids(list), (std::vector<uint16_t>{0x4001, 0x4003, 0x4005, 0x4005}));
    EXPECT_EQ(list->current, 3);
    EXPECT_EQ(list->entries[3].count, 1u);
    EXPECT_EQ(list->firstVisible, 0);

    // A negative column kept in the list itself means descending by its magnitude.
    list->sortColumn = -2;
    SetShareListSource(list, &port.p, 0x4001, 0, false, false);
    EXPECT_EQ(list->sortColumn, 2);
    EXPECT_EQ(list->sortDirection, -1);
    EXPECT_EQ(Ids(list).front(), 0x4005);
}

TEST_F(ShareLists, StoringThePositionWritesTheSourceAndTheFirstPortfolio)
{
    TestPortfolio head(0xFF01, {});
    auto items = shares({20, 21, 22, 23, 24, 25, 26, 27});
    TestPortfolio port(4, items);
    head.p.next = &port.p;
    PortfolioChain() = &head.p;
    ShareList* list = CreateShareList(1, 0, kFamilyShares, &port.p, true);
    list->windowSlot = 5;
    SetShareListSource(list, &port.p, 26, 0, false, false);
    list->last = 7;
    StoreShareListPosition(list, nullptr, true);
    EXPECT_EQ(list->currentId, 26u);
    EXPECT_EQ(port.p.current, 6);
    EXPECT_EQ(port.p.last, 7);
    EXPECT_EQ(head.p.firstVisible, 2); // kept in the head of the chain, not in the source
    EXPECT_EQ(port.p.firstVisible, 0);
    EXPECT_EQ(PublishedShareId(5), 26);

    // Another list's position is stored into this one.
    ShareList* other = CreateShareList(1, 0, kFamilyShares, &port.p, true);
    SetShareListSource(other, &port.p, 21, 0, false, false);
    StoreShareListPosition(list, other, false);
    EXPECT_EQ(list->currentId, 21u);
    EXPECT_EQ(port.p.current, 1);

    // A list with a source but no entries resets the indexes and keeps the other list's stored share.
    TestPortfolio empty(5, {});
    ShareList* none = CreateShareList(1, 0, kFamilyShares, &empty.p, true);
    other->currentId = 0x4444;
    other->currentSub = 2;
    none->source = &port.p;
    StoreShareListPosition(none, other, false);
    EXPECT_EQ(none->currentId, 21u); // the other list has a current entry
    ShareList* blank = CreateShareList(1, 0, kFamilyShares, &empty.p, true);
    blank->currentId = 0x4444;
    blank->currentSub = 2;
    StoreShareListPosition(none, blank, false);
    EXPECT_EQ(port.p.current, 0);
    EXPECT_EQ(head.p.firstVisible, 0);
    EXPECT_EQ(none->currentId, 0x4444u);
    EXPECT_EQ(none->currentSub, 2u);

    // SyncSourceCursors hands the list's own cursors to its source.
    SetShareListPosition(list, 27, 0, false);
    SyncSourceCursors(list);
    EXPECT_EQ(port.p.current, 7);
    EXPECT_EQ(port.p.firstVisible, 3);
}

TEST_F(ShareLists, TransactionListsTakeTheShareOfTheCurrentTransaction)
{
    TestPortfolio port(4, {});
    CViewBase view;
    std::vector<ShareList*> invalidated;
    SetListViewsInvalidator([&](ShareList* l) { invalidated.push_back(l); });
    ShareList* list = CreateShareList(4, 0, kFamilyTransactions, &port.p, true);
    view.list = list;
    list->views = &view;
    EXPECT_EQ(SetShareListSource(list, &port.p, 0, 0, false, true), 0);
    EXPECT_EQ(view.reload, 1);
    EXPECT_EQ(invalidated, std::vector<ShareList*>{list});

    list->entries[0] = {records.make(0x9000, 0x4321, 3), 0};
    list->entries[1] = {records.make(0x9001, 0x4322, 0), 0};
    list->current = 1;
    list->last = 1;
    StoreShareListPosition(list, nullptr, false);
    EXPECT_EQ(list->rowIndex, 1);
    EXPECT_EQ(list->rowIndex2, 1);
    EXPECT_EQ(list->currentId, 0x4322u);
    list->current = 0;
    StoreShareListPosition(list, nullptr, false);
    EXPECT_EQ(list->currentId, 0x4321u);
    EXPECT_EQ(list->currentSub, 3u);

    // Ticker lists are left alone.
    ShareList* ticker = CreateShareList(1, 0, kFamilyTicker, nullptr, true);
    ticker->currentId = 5;
    StoreShareListPosition(ticker, nullptr, true);
    EXPECT_EQ(ticker->currentId, 5u);
}

TEST_F(ShareLists, ListsKeepTheirEntriesWhileAFilterRuns)
{
    TestPortfolio port(1, shares({1, 2}));
    ShareList* list = CreateShareList(1, 0, kFamilyShares, &port.p, true);
    TestPortfolio other(2, shares({3}));
    int dialog = 0;
    DataMiningProgress() = &dialog;
    EXPECT_EQ(SetShareListSource(list, &other.p, 0, 0, true, false), 0);
    EXPECT_EQ(list->source, &port.p);
    EXPECT_EQ(Ids(list), (std::vector<uint16_t>{1, 2}));
    DataMiningProgress() = nullptr;
    EXPECT_EQ(SetShareListSource(list, &other.p, 0, 0, false, false), 1);
}

TEST_F(ShareLists, CursorsAndLookupsStayInsideTheArray)
{
    ShareList* list = CreateShareList(3, 0, kFamilyShares, nullptr, true);
    struct Case {
        int32_t first, current, last;
        int32_t wantFirst, wantCurrent, wantLast;
    } cases[] = {
        {1, 2, 2, 1, 2, 2}, {-1, -1, -1, 0, 0, 0}, {3, 1, 2, 0, 1, 2}, {0, 0, 50, 0, 0, 2},
    };
    for (const Case& c : cases) {
        list->firstVisible = c.first;
        list->current = c.current;
        list->last = c.last;
        ClampShareListCursors(list);
        EXPECT_EQ(list->firstVisible, c.wantFirst);
        EXPECT_EQ(list->current, c.wantCurrent);
        EXPECT_EQ(list->last, c.wantLast);
    }
    // A full array without an empty entry is searched only up to its end.
    for (int i = 0; i < 3; ++i)
        list->entries[i] = {records.make(uint16_t(50 + i)), uint32_t(i)};
    EXPECT_EQ(FindListEntryIndex(list->entries, list->capacity, 52, 2), 2);
    EXPECT_EQ(FindListEntryIndex(list->entries, list->capacity, 52, 1), 0);
    EXPECT_EQ(FindEntryIndex(list->entries, list->capacity, 52, 1), -1);
    EXPECT_EQ(FindEntryIndex(list->entries, 2, 52, 2), -1);
    EXPECT_EQ(ShareListCount(list), 3);

    // Every operation takes a null list.
    SetShareListPosition(nullptr, 1, 0, true);
    StoreShareListPosition(nullptr, nullptr, true);
    SyncSourceCursors(nullptr);
    ResortShareList(nullptr);
    ClampShareListCursors(nullptr);
    EXPECT_EQ(SetShareListSource(nullptr, nullptr, 0, 0, true, true), 0);
    EXPECT_FALSE(ShareListHasEntries(nullptr));
    EXPECT_EQ(GetSourceEntryIndex(nullptr, nullptr), 0);
    EXPECT_EQ(GetOtherViewsOfList(nullptr), nullptr);
}

TEST_F(ShareLists, GroupPortfoliosAndTheOtherViewsOfAList)
{
    PortfolioMember second{nullptr, 6};
    PortfolioMember first{&second, 3};
    Portfolio group;
    group.type = kGroupPortfolio;
    group.members = &first;
    struct Case {
        uint8_t type;
        int32_t number;
        bool included;
    } cases[] = {{kGroupPortfolio, 2, true},  {kGroupPortfolio, 5, true}, {kGroupPortfolio, 3, false},
                 {kGroupPortfolio, -1, false}, {kUserPortfolio, 2, false}};
    for (const Case& c : cases) {
        group.type = c.type;
        EXPECT_EQ(PortfolioIncludes(&group, c.number), c.included) << c.number;
    }
    EXPECT_FALSE(PortfolioIncludes(nullptr, 2));

    ShareList* list = CreateShareList(1, 0, kFamilyShares, nullptr, true);
    ShareList* followed = CreateShareList(1, 0, kFamilyShares, nullptr, true);
    CViewBase a, b, c, d;
    a.list = b.list = c.list = list;
    a.nextInList = &b;
    b.nextInList = &c;
    list->views = &a;
    ViewNode* others = GetOtherViewsOfList(&b);
    ASSERT_NE(others, nullptr);
    EXPECT_EQ(others->view, &a);
    ASSERT_NE(others->next, nullptr);
    EXPECT_EQ(others->next->view, &c);
    EXPECT_EQ(others->next->next, nullptr);
    FreeViewNodes(others);

    // A view that follows another list looks at that list's views.
    d.list = list;
    d.secondList = followed;
    EXPECT_FALSE(ShareListHasOtherViews(&d));
    followed->views = &d;
    EXPECT_FALSE(ShareListHasOtherViews(&d));
    EXPECT_TRUE(ShareListHasOtherViews(&a));
}

namespace {
class ShareListsOnADatabase : public test::DatabaseFixture {
protected:
    ~ShareListsOnADatabase() override
    {
        GetDatabaseNeighbours().createFirstShareList = nullptr;
        dev::FreeShareListChain();
    }
};
} // namespace

// Lists of loaded records: the first list is made while the database is indexed, and entries found
// by id keep their sub-record numbers through a copy and a position.
TEST_F(ShareListsOnADatabase, EntriesAddressLoadedRecordsBySubRecord)
{
    GetDatabaseNeighbours().createFirstShareList = CreateFirstShareList;
    dev::DbRecord two = dev::ShareRecord(0x4002, "Beta Oil", 'O', "BOL");
    two.subRecords.push_back(two.subRecords[0]);
    Load(dev::WriteQuorvaDat(test::OneEntry(
        {dev::ShareRecord(0x4001, "Alpha Mining", 'O', "ALM"), two, dev::ShareRecord(0x4003, "Gamma", 'O', "GAM")})));
    ShareList* first = ShareListChain();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->next, nullptr);
    EXPECT_EQ(first->entries, nullptr);

    std::vector<RecordCursor> items = {FindRecordById(0x4003, 0), FindRecordById(0x4002, 1), FindRecordById(0x4002, 0),
                                       FindRecordById(0x4001, 0)};
    TestPortfolio port(12, items);
    ShareList* list = CreateShareList(1, 0, kFamilyShares, &port.p, true);
    EXPECT_EQ(list->number, 1);
    EXPECT_EQ(list->companyTables, CompanyTablesInUse());
    SetShareListPosition(list, 0x4002, 1, false);
    EXPECT_EQ(list->current, 1);
    SetShareListPosition(list, 0x4002, 0, false);
    EXPECT_EQ(list->current, 2);
    EXPECT_EQ(GetSourceEntryIndex(&port.p, CurrentEntry(list)), 2);
    SetSourceCurrentIndex(&port.p, 0x4001, 0);
    EXPECT_EQ(port.p.current, 3);
    EXPECT_EQ(GetRecordTexts(CurrentEntry(list)->record).epic, "BOL");
}

TEST(ShareListSort, StoredSettingGivesColumnAndDirection)
{
    ShareList list{};
    list.family = kFamilyDealings;
    list.tableSetting = 3;
    list.sortColumn = 9;
    list.sortDirection = 1;
    SetSortColumn(3, 5, -4);
    ApplyListSortSetting(&list, 0);
    EXPECT_EQ(list.sortColumn, 3);
    EXPECT_EQ(list.sortDirection, -1);
    SetSortColumn(3, 5, 0); // nothing stored: the list keeps its own
    ApplyListSortSetting(&list, 0);
    EXPECT_EQ(list.sortColumn, 3);
    list.family = kFamilyCash;
    ApplyListSortSetting(&list, 0);
    EXPECT_EQ(list.sortColumn, 3);
}
