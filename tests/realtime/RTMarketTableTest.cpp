// The market table: its buckets, the sane-quote rule, the counts a share's ticks make, the kind-4
// blobs through "RTMarket.cfg" and the entries a deleted portfolio leaves.
#include "realtime/RTMarketTable.h"

#include "core/KeyedItemStore.h"
#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qv;

TEST(RTMarketTable, BucketsRoundTheOffsetTimeToFiveMinutesWithinTheDay)
{
    struct Case {
        int32_t seconds, offset;
        int bucket;
    };
    const Case cases[] = {
        {0, 0, 0}, {149, 0, 0}, {150, 0, 1}, {8 * 3600, 0, 96}, {8 * 3600, -300, 36}, {9 * 3600 + 30 * 60, 300, 174},
        {86399, 0, 287}, {86399, 60, 287}, {60, -60, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MarketBucketOf(c.seconds, c.offset), c.bucket) << c.seconds << " " << c.offset;
}

TEST(RTMarketTable, OnlySaneQuotesSetTheMid)
{
    struct Case {
        float bid, offer;
        bool sane;
    };
    const Case cases[] = {{100, 101, true}, {100, 100, true}, {100, 149.9f, true}, {100, 150, false},
                          {101, 100, false}, {0, 1, false}, {1, 0, false}, {-1, 1, false}};
    for (const Case& c : cases)
        EXPECT_EQ(SaneQuote(c.bid, c.offer), c.sane) << c.bid << " " << c.offer;
}

TEST(RTMarketTable, TicksCountEachShareByItsLastMidInTheBucket)
{
    CRTMarketTable table;
    MarketSource source;
    source.listCode = 12;
    CRTMarketTable::Entry& e = table.AddEntry(0x4001, source);
    const uint32_t t = 10 * 3600; // bucket 120
    table.AddTick(e, 1, t, 0, 100, 102, 100, 0, 0);      // mid 101 above 100
    table.AddTick(e, 2, t, 0, 50, 51, 52, 0, 0);         // below
    table.AddTick(e, 3, t, 0, 10, 20, 0, 0, 0);          // offer 2 x bid: no mid, counts nowhere
    MarketBucket b = e.Day()[120];
    EXPECT_EQ(b.advancing, 1);
    EXPECT_EQ(b.declining, 1);
    // Share 1 falls below its reference in the same bucket: it moves from advancing to declining.
    table.AddTick(e, 1, t + 30, 0, 98, 99, 0, 500, 0);
    b = e.Day()[120];
    EXPECT_EQ(b.advancing, 0);
    EXPECT_EQ(b.declining, 2);
    EXPECT_EQ(b.newLows, 1);
    EXPECT_FLOAT_EQ(b.downVolume, 500);
    // Outside London's hours a trade adds no volume; a new high is counted in its bucket.
    table.AddTick(e, 1, 17 * 3600, 0, 104, 106, 0, 700, 0);
    b = e.Day()[204];
    EXPECT_EQ(b.advancing, 1);
    EXPECT_EQ(b.newHighs, 1);
    EXPECT_FLOAT_EQ(b.upVolume, 0);
}

// A share counts in every bucket from its first tick to the latest bucket the table has met, by the
// mid it had at that bucket's end; a late tick counts in the share's own (latest) bucket.
TEST(RTMarketTable, EachShareStandsInEveryBucketUpToTheLatestTick)
{
    CRTMarketTable table;
    MarketSource source;
    source.listCode = 3;
    CRTMarketTable::Entry& e = table.AddEntry(1, source);
    const uint32_t b100 = 100 * 300, b103 = 103 * 300, b105 = 105 * 300;
    table.AddTick(e, 1, b100, 0, 100, 102, 100, 0, 0); // share 1 up from bucket 100
    table.AddTick(e, 2, b103, 0, 50, 51, 52, 0, 0);    // share 2 down from bucket 103
    table.AddTick(e, 1, b105, 0, 97, 98, 0, 0, 0);     // share 1 down at 105
    table.AddTick(e, 2, b100, 0, 53, 53, 0, 0, 0);     // a late tick of share 2: up, in its bucket 105
    table.AddTick(e, 3, 101 * 300, 0, 20, 22, 20, 0, 0); // share 3 first met late: up from 101
    struct Case {
        int bucket;
        uint16_t advancing, declining;
    };
    const Case cases[] = {{99, 0, 0}, {100, 1, 0}, {101, 2, 0}, {103, 2, 1}, {104, 2, 1}, {105, 2, 1}, {106, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(e.Day()[size_t(c.bucket)].advancing, c.advancing) << c.bucket;
        EXPECT_EQ(e.Day()[size_t(c.bucket)].declining, c.declining) << c.bucket;
    }
    EXPECT_EQ(e.Day()[105].newLows, 1) << "share 1's new low is counted where it was made";
    EXPECT_EQ(e.Day()[104].newLows, 0);
}

// The program's feed path: only the entries whose source holds the share count its tick; their
// watchers hear 1099 at once, then not again within 16 s; a new day empties the buffers and tells.
TEST(RTMarketTable, FeedTicksFillTheSourcesThatHoldTheShareAndWatchersHearAtMostEvery16s)
{
    std::vector<std::pair<uint64_t, uint32_t>> posts;
    CRTMarketTable table([&posts](uint64_t w, uint32_t m) { posts.emplace_back(w, m); });
    MarketSource all, other;
    all.listCode = 0;
    all.name = "All";
    all.shares = {7, 3, 3, 5};
    other.listCode = 1;
    other.shares = {9};
    CRTMarketTable::Entry& a = table.SourceEntry(0x4001, all);
    EXPECT_EQ(a.source.shares, (std::vector<uint32_t>{3, 5, 7})) << "kept ascending, once each";
    table.SourceEntry(0x4001, other);
    EXPECT_EQ(&table.SourceEntry(0x4002, all), &a) << "one entry a source, whichever chart asks";
    table.Watch(a, 77);
    table.Watch(a, 77);

    const uint32_t t = 9 * 3600;
    table.FeedTick(5, t, 0, 100, 102, 100, 1000, 0, 1000);
    EXPECT_EQ(a.Day()[108].advancing, 1);
    EXPECT_FLOAT_EQ(a.Day()[108].upVolume, 1000);
    EXPECT_EQ(table.FindEntry(0x4001, 1)->lastBucket, -1) << "share 5 is not in the other source";
    EXPECT_EQ(posts, (std::vector<std::pair<uint64_t, uint32_t>>{{77, 1099u}}));
    table.FeedTick(3, t + 10, 0, 100, 102, 105, 0, 0, 16999);
    EXPECT_EQ(posts.size(), 1u) << "within 16 s";
    table.FeedTick(3, t + 20, 0, 100, 102, 105, 0, 0, 17000);
    EXPECT_EQ(posts.size(), 2u);
    table.FeedTick(9, t + 30, 0, 100, 102, 105, 0, 0, 40000);
    EXPECT_EQ(posts.size(), 2u) << "the other source has no watcher";

    table.Withdraw(77);
    EXPECT_TRUE(a.watchers.empty());
    table.Watch(a, 78);
    table.NewDay(60000);
    EXPECT_EQ(a.Day()[108], MarketBucket{}) << "today starts empty";
    EXPECT_EQ(a.lastBucket, -1);
    EXPECT_EQ(posts.back(), (std::pair<uint64_t, uint32_t>{78, 1099u}));
}

TEST(RTMarketTable, DaysGoThroughTheStoreAsKindFourBlobsAndUnusedOnesAreDropped)
{
    dev::TempFolder dir;
    SetProgramFolder(dir.path());
    MarketDay day{};
    day[7] = {3, 2, 1, 1, 1500.5f, 20.25f};
    std::vector<uint8_t> blob = PackMarketDay(day);
    ASSERT_EQ(blob.size(), 4612u);
    EXPECT_EQ(LoadU32(blob.data()), 4612u);
    EXPECT_EQ(UnpackMarketDay(blob), day);
    blob[0] = 0x03;
    EXPECT_FALSE(UnpackMarketDay(blob)) << "another length";
    const std::vector<uint8_t> whole = PackMarketDay(day);
    EXPECT_FALSE(UnpackMarketDay(std::span(whole).first(4611)));

    {
        CRTMarketTable table;
        MarketSource used, unused;
        used.listCode = 5;
        unused.isPortfolio = true;
        unused.portfolio = 3;
        table.AddEntry(0x4001, used).Day() = day;
        table.FindEntry(0x4001, 5)->dirty = true;
        table.AddEntry(0x4002, unused).dirty = true;
        KeyedItemStore store;
        store.Load("RTMarket.cfg");
        store.SetItem(0x4003, kMarketOldItemKind, 1, MakeBlob(std::vector<uint8_t>(8, 1)));
        table.Save(store);
        ASSERT_TRUE(store.GetItem(0x4002, kMarketItemKind, 0x80000003u));
        ASSERT_TRUE(store.Save(false));
    }
    KeyedItemStore store;
    store.Load("RTMarket.cfg");
    CRTMarketTable table;
    table.Open(store, {5});
    ASSERT_TRUE(table.FindEntry(0x4001, 5));
    EXPECT_TRUE(table.FindEntry(0x4001, 5)->loaded);
    EXPECT_EQ(table.FindEntry(0x4001, 5)->Day()[7], day[7]);
    EXPECT_FALSE(table.FindEntry(0x4002, 0x80000003u)) << "no graph setting uses it";
    EXPECT_FALSE(store.GetItem(0x4002, kMarketItemKind, 0x80000003u));
    EXPECT_FALSE(store.GetItem(0x4003, kMarketOldItemKind, 1)) << "kind 3 goes";
}

// The program's table opens once from "RTMarket.cfg" with the first intraday chart, and a save
// writes its changed days back; before it opens, a save writes nothing.
TEST(RTMarketTable, TheProgramsTableOpensFromItsFileOnceAndSavesBack)
{
    if (ProgramMarketTableOpen())
        GTEST_SKIP() << "an intraday chart opened the table earlier in this process";
    dev::TempFolder dir;
    SetProgramFolder(dir.path());
    EXPECT_TRUE(SaveProgramMarketTable(false));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "RTMarket.cfg"));
    MarketDay day{};
    day[3] = {4, 1, 0, 0, 10.5f, 2.0f};
    {
        KeyedItemStore store;
        store.Load("RTMarket.cfg");
        const std::vector<uint8_t> packed = PackMarketDay(day);
        store.SetItem(0x4001, kMarketItemKind, 5, MakeBlob(std::span(packed).subspan(4)));
        store.SetItem(0x4002, kMarketItemKind, 6, MakeBlob(std::span(packed).subspan(4)));
        ASSERT_TRUE(store.Save(false));
    }
    OpenProgramMarketTable({5});
    CRTMarketTable::Entry* entry = TheRTMarketTable().FindEntry(0x4001, 5);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->Day()[3], day[3]);
    EXPECT_FALSE(TheRTMarketTable().FindEntry(0x4002, 6)) << "no intraday setting shows source 6";
    entry->Day()[4] = {1, 0, 1, 0, 3.0f, 0.0f};
    entry->dirty = true;
    OpenProgramMarketTable({6});
    EXPECT_FALSE(TheRTMarketTable().FindEntry(0x4002, 6)) << "opened once";
    ASSERT_TRUE(SaveProgramMarketTable(true));
    KeyedItemStore again;
    again.Load("RTMarket.cfg");
    const uint8_t* blob = again.GetItem(0x4001, kMarketItemKind, 5);
    ASSERT_TRUE(blob);
    const std::optional<MarketDay> saved = UnpackMarketDay(std::span(blob, BlobLength(blob)));
    ASSERT_TRUE(saved);
    EXPECT_EQ((*saved)[4].advancing, 1);
    EXPECT_FALSE(again.GetItem(0x4002, kMarketItemKind, 6));
    TheRTMarketTable().DeleteEntry(0x4001, 5);
}

TEST(RTMarketTable, ADeletedPortfolioLeavesTheTableAndItsWatchersAreTold)
{
    std::vector<std::pair<uint64_t, uint32_t>> posts;
    CRTMarketTable table([&posts](uint64_t w, uint32_t m) { posts.emplace_back(w, m); });
    MarketSource port, list;
    port.isPortfolio = true;
    port.portfolio = 9;
    list.listCode = 2;
    table.AddEntry(0x4001, port).watchers = {77};
    table.AddEntry(0x4001, list);
    table.AddEntry(9, list);
    EXPECT_EQ(table.RemoveShare(9), 2u);
    EXPECT_FALSE(table.FindEntry(0x4001, 0x80000009u));
    EXPECT_TRUE(table.FindEntry(0x4001, 2));
    EXPECT_EQ(table.groupCount(), 1u);
    EXPECT_EQ(posts, (std::vector<std::pair<uint64_t, uint32_t>>{{77, 1099u}}));
    EXPECT_TRUE(table.DeleteEntry(0x4001, 2));
    EXPECT_EQ(table.groupCount(), 0u);
}

TEST(RTMarketTable, AChangedPortfolioDropsOnlyItsOwnEntries)
{
    std::vector<std::pair<uint64_t, uint32_t>> posts;
    CRTMarketTable table([&posts](uint64_t w, uint32_t m) { posts.emplace_back(w, m); });
    MarketSource port, list;
    port.isPortfolio = true;
    port.portfolio = 9;
    port.name = "Port: Demo";
    list.listCode = 2;
    table.AddEntry(0x4001, port).watchers = {77};
    table.AddEntry(9, list);
    EXPECT_EQ(table.ForgetPortfolio(9), 1u);
    EXPECT_FALSE(table.FindEntry(0x4001, 0x80000009u));
    EXPECT_TRUE(table.FindEntry(9, 2)) << "a group whose key equals the portfolio's number stays";
    EXPECT_EQ(posts, (std::vector<std::pair<uint64_t, uint32_t>>{{77, 1099u}}));
}
