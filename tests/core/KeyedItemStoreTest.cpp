// Tests of the keyed item store: binary items under (share, kind, sub-key), saved whole to one file.
#include "core/KeyedItemStore.h"

#include "core/Memory.h"
#include "core/SettingRecordStore.h"
#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>
#include <random>

using namespace qv;

namespace {

Blob BlobOf(std::initializer_list<uint8_t> body) { return MakeBlob(std::vector<uint8_t>(body)); }

std::vector<uint8_t> Header(const char* magic, uint8_t version)
{
    ByteWriter w;
    w.bytes(magic, 4);
    w.u8(version);
    w.u8(0);
    w.zeros(6);
    w.u32(0);
    return w.take();
}

void AppendItem(std::vector<uint8_t>& image, KeyedItemKey key, std::vector<uint8_t> body, uint32_t length = 0)
{
    ByteWriter w;
    w.u32(key.share);
    w.u16(key.kind);
    w.u32(key.subKey);
    w.u32(length ? length : uint32_t(body.size() + 4));
    w.bytes(body.data(), body.size());
    image.insert(image.end(), w.data().begin(), w.data().end());
}

std::vector<KeyedItemKey> Keys(const KeyedItemStore& store)
{
    std::vector<KeyedItemKey> keys;
    store.ForEachItem([&](const KeyedItemKey& key, const uint8_t*) { keys.push_back(key); });
    return keys;
}

struct InFolder {
    InFolder() { SetProgramFolder(dir.path()); }
    ~InFolder() { SetProgramFolder(previous); }
    fs::path previous = qv::ProgramFolder();
    dev::TempFolder dir;
};

} // namespace

TEST(KeyedItemStore, ReplacedBlobsLiveUntilTheNextReplacement)
{
    KeyedItemStore store;
    store.SetItem(7, 0, 1, BlobOf({1, 2, 3}));
    const uint8_t* first = store.GetItem(7, 0, 1);
    ASSERT_NE(first, nullptr);
    store.SetItem(7, 0, 1, BlobOf({4}));
    // The first blob is the deferred one: still readable after one replacement.
    EXPECT_EQ(first[4], 1);
    store.SetItem(7, 0, 1, BlobOf({5}));
    EXPECT_EQ(store.GetItem(7, 0, 1)[4], 5);
    EXPECT_EQ(Keys(store).size(), 1u);
}

TEST(KeyedItemStore, EmptyBlobsAreNotAddedAndClearedItemsAreNotSaved)
{
    KeyedItemStore store;
    store.SetItem(1, 6, 0, MakeBlob(4));
    store.SetItem(2, 6, 0, nullptr);
    EXPECT_TRUE(store.empty());

    store.SetItem(3, 6, 0, BlobOf({9, 9, 9, 9}));
    store.SetItem(3, 6, 0, nullptr);
    EXPECT_EQ(store.GetItem(3, 6, 0), nullptr);
    EXPECT_EQ(Keys(store).size(), 1u); // the cleared item stays in the list
    EXPECT_EQ(store.WriteImage(), Header("ZQAN", 9));
}

// The file keeps its order through any number of loads and saves (a restart writes the same bytes),
// and of two items under one key the later in the file is the one found, after every load.
TEST(KeyedItemStore, ImageRoundTripKeepsTheItemOrder)
{
    KeyedItemStore store;
    store.SetItem(ShareItemKey(0x4001, 2), 6, 0, BlobOf({0, 0, 0, 0, 1, 2}));
    store.SetItem(0, 8, 15, BlobOf({0, 0, 0, 0, 3}));
    store.SetItem(0xFFFFFFFF, 1, 0x16000001, BlobOf({4}));
    auto image = store.WriteImage();
    EXPECT_EQ(store.version(), 9);

    auto expected = Header("ZQAN", 9);
    AppendItem(expected, {0x24001, 6, 0}, {0, 0, 0, 0, 1, 2});
    AppendItem(expected, {0, 8, 15}, {0, 0, 0, 0, 3});
    AppendItem(expected, {0xFFFFFFFF, 1, 0x16000001}, {4});
    EXPECT_EQ(image, expected) << "the oldest item first";

    KeyedItemStore loaded;
    EXPECT_EQ(loaded.ReadImage(image), KeyedStoreHeader::Items);
    EXPECT_EQ(loaded.GetItem(0x24001, 6, 0)[9], 2);
    EXPECT_EQ(BlobLength(loaded.GetItem(0xFFFFFFFF, 1, 0x16000001)), 5u);
    EXPECT_EQ(loaded.WriteImage(), image);
    KeyedItemStore again;
    again.ReadImage(loaded.WriteImage());
    EXPECT_EQ(again.WriteImage(), image);

    auto twice = Header("ZQAN", 9);
    AppendItem(twice, {0, 8, 15}, {7});
    AppendItem(twice, {0, 8, 15}, {8});
    for (int round = 0; round < 2; ++round) {
        KeyedItemStore store2;
        ASSERT_EQ(store2.ReadImage(twice), KeyedStoreHeader::Items);
        EXPECT_EQ(store2.GetItem(0, 8, 15)[4], 8) << "round " << round;
        EXPECT_EQ(store2.WriteImage(), twice) << "round " << round;
        twice = store2.WriteImage();
    }
}

TEST(KeyedItemStore, DamagedItemListsKeepWhatWasReadAndAllocateNoMoreThanTheFileHolds)
{
    auto image = Header("ZQAN", 9);
    AppendItem(image, {1, 0, 0}, {1, 2, 3});
    AppendItem(image, {2, 0, 0}, {}, 3); // lengths of 4 or less carry no blob
    AppendItem(image, {3, 0, 0}, {7});
    auto good = image.size();
    AppendItem(image, {4, 0, 0}, {1, 2}, 0xFFFFFFF0);

    size_t largest = 0;
    SetAllocationFaultHook([&](size_t bytes) {
        largest = std::max(largest, bytes);
        return false;
    });
    for (size_t cut : {image.size(), good + 5, good + 12}) {
        KeyedItemStore store;
        EXPECT_EQ(store.ReadImage(std::span(image).first(cut)), KeyedStoreHeader::ItemsCut) << cut;
        EXPECT_EQ(Keys(store), (std::vector<KeyedItemKey>{{3, 0, 0}, {1, 0, 0}})) << cut;
    }
    KeyedItemStore whole;
    EXPECT_EQ(whole.ReadImage(std::span(image).first(good)), KeyedStoreHeader::Items);
    SetAllocationFaultHook({});
    EXPECT_LT(largest, image.size());
}

TEST(KeyedItemStore, HeadersDecideBetweenItemsOlderFileAndCorruption)
{
    InFolder folder;
    test::FakeMessageBox boxes;
    struct Case {
        std::vector<uint8_t> image;
        KeyedStoreHeader header;
    };
    auto withItem = Header("ZQAN", 4);
    AppendItem(withItem, {1, 2, 3}, {5});
    for (const auto& c : {Case{withItem, KeyedStoreHeader::Items}, Case{Header("ZQAC", 1), KeyedStoreHeader::OlderGraphFile},
                          Case{Header("ZQAN", 3), KeyedStoreHeader::Corrupted},
                          Case{Header("ZQXX", 9), KeyedStoreHeader::Corrupted},
                          Case{{'Z', 'Q', 'A', 'N', 9}, KeyedStoreHeader::Corrupted}}) {
        KeyedItemStore store;
        EXPECT_EQ(store.ReadImage(c.image), c.header);
    }

    WriteFileBytes(folder.dir / "Graph.cfg", Header("ZQAC", 0));
    KeyedItemStore older;
    EXPECT_TRUE(older.Load("Graph.cfg"));
    EXPECT_TRUE(older.empty());
    EXPECT_EQ(older.version(), -1);
    EXPECT_TRUE(boxes.shown().empty());

    WriteFileBytes(folder.dir / "Graph.cfg", Header("ZQAN", 3));
    KeyedItemStore corrupted;
    EXPECT_TRUE(corrupted.Load("Graph.cfg"));
    EXPECT_EQ(corrupted.version(), -1);
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(boxes.texts()[0], "Line/text database file (Graph.cfg) appears to have a corrupted header. "
                                "Please contact Quorvantis support.");
    // The damaged file is kept aside; the next save writes a new one.
    EXPECT_FALSE(fs::exists(folder.dir / "Graph.cfg"));
    EXPECT_EQ(ReadFileBytes(folder.dir / "Graph.bad"), Header("ZQAN", 3));
    corrupted.SetItem(1, 0, 0, BlobOf({1}));
    EXPECT_TRUE(corrupted.Save(false));
    EXPECT_TRUE(fs::exists(folder.dir / "Graph.cfg"));

    KeyedItemStore missing;
    EXPECT_FALSE(missing.Load("RTMarket.cfg"));
}

// Graph.cfg cut short (or an item claiming more than the file holds): what was read is kept, the
// user is told, and the whole file is kept as Graph.bad before a save can write the rest away.
TEST(KeyedItemStore, AFileCutShortIsSetAsideWholeAndTheUserIsTold)
{
    InFolder folder;
    auto image = Header("ZQAN", 9);
    AppendItem(image, {0, 2, 0}, std::vector<uint8_t>(438, 7));
    AppendItem(image, {0x4001, 0, 0}, {1, 2, 3});
    const size_t firstItem = Header("ZQAN", 9).size() + 10 + 442;
    for (size_t cut : {image.size() - 1, firstItem + 3, firstItem + 12, size_t(40)}) {
        const std::vector<uint8_t> damaged(image.begin(), image.begin() + ptrdiff_t(cut));
        WriteFileBytes(folder.dir / "Graph.cfg", damaged);
        test::FakeMessageBox boxes;
        KeyedItemStore store;
        EXPECT_TRUE(store.Load("Graph.cfg"));
        const size_t kept = cut > firstItem ? 1 : 0;
        EXPECT_EQ(Keys(store).size(), kept) << cut;
        EXPECT_FALSE(fs::exists(folder.dir / "Graph.cfg")) << cut;
        EXPECT_EQ(ReadFileBytes(folder.dir / "Graph.bad"), damaged) << cut;
        ASSERT_EQ(boxes.texts().size(), 1u) << cut;
        EXPECT_NE(boxes.texts()[0].find(kept ? "Graph.cfg is damaged: Quorvantis could read only the first item"
                                             : "Graph.cfg is damaged: Quorvantis could read none of its items"),
                  std::string::npos)
            << boxes.texts()[0];
        EXPECT_NE(boxes.texts()[0].find("Graph.bad"), std::string::npos);
        EXPECT_TRUE(store.Save(false));
        EXPECT_TRUE(fs::exists(folder.dir / "Graph.cfg"));
        fs::remove(folder.dir / "Graph.bad");
        fs::remove(folder.dir / "Graph.cfg");
    }
}

TEST(KeyedItemStore, SaveReplacesTheFileWholeAndKeepsItOnFailure)
{
    InFolder folder;
    test::FakeMessageBox boxes;
    KeyedItemStore store;
    EXPECT_FALSE(store.Load("EditPrice.cfg"));
    store.SetItem(5, 6, 0, BlobOf({0, 0, 0, 0, 1}));
    EXPECT_TRUE(store.Save(false));
    auto saved = ReadFileBytes(folder.dir / "EditPrice.cfg");
    ASSERT_TRUE(saved);
    EXPECT_EQ(*saved, store.WriteImage());
    EXPECT_FALSE(fs::exists(folder.dir / "Graph.tem"));

    // The temporary name cannot be written: the file on disk stays as it was and the user is told.
    fs::create_directory(folder.dir / "Graph.tem");
    store.SetItem(6, 6, 0, BlobOf({2}));
    EXPECT_FALSE(store.Save(true));
    EXPECT_EQ(*ReadFileBytes(folder.dir / "EditPrice.cfg"), *saved);
    EXPECT_EQ(boxes.shown().size(), 1u);
    EXPECT_TRUE(store.empty());

    // A store with no name writes nothing.
    KeyedItemStore unnamed;
    unnamed.SetItem(1, 1, 1, BlobOf({1}));
    EXPECT_TRUE(unnamed.Save(false));
}

TEST(KeyedItemStore, AFileThatCouldNotBeReadIsNotReplaced)
{
    InFolder folder;
    test::FakeMessageBox boxes;
    auto image = Header("ZQAN", 9);
    AppendItem(image, {1, 0, 0}, {1, 2});
    WriteFileBytes(folder.dir / "Graph.cfg", image);
    KeyedItemStore store;
    {
        ExclusiveFile holder; // another opener holds the file through the load
        ASSERT_TRUE(holder.open(folder.dir / "Graph.cfg", ExclusiveFile::Mode::Read));
        EXPECT_FALSE(store.Load("Graph.cfg"));
    }
    store.SetItem(2, 0, 0, BlobOf({3}));
    EXPECT_FALSE(store.Save(false));
    EXPECT_EQ(ReadFileBytes(folder.dir / "Graph.cfg"), image);
    EXPECT_EQ(boxes.shown().size(), 1u);

    // Once a load has read it, saves go ahead again.
    ASSERT_TRUE(store.Load("Graph.cfg"));
    EXPECT_TRUE(store.Save(false));
    EXPECT_NE(ReadFileBytes(folder.dir / "Graph.cfg"), image);
}

TEST(KeyedItemStore, CloseSavesHeldItems)
{
    InFolder folder;
    KeyedItemStore store;
    store.Load("RTMarket.cfg");
    store.SetItem(1, 4, 0, BlobOf({3}));
    store.Close();
    EXPECT_TRUE(store.empty());
    KeyedItemStore again;
    ASSERT_TRUE(again.Load("RTMarket.cfg"));
    EXPECT_EQ(again.GetItem(1, 4, 0)[4], 3);
}

TEST(KeyedItemStore, OlderStoresAreUpgraded)
{
    InFolder folder;
    test::FakeMessageBox boxes;
    // Below version 4 the items of "EODGraph.cfg" (version 3) are taken over and the file deleted.
    {
        ByteWriter eod;
        eod.u32(3);
        eod.u32(1);
        std::vector<uint8_t> image = eod.take();
        AppendItem(image, {0x4005, 0, 77}, {1, 2});
        WriteFileBytes(folder.dir / "EODGraph.cfg", image);
        WriteFileBytes(folder.dir / "Graph.cfg", Header("ZQAC", 1));
        KeyedItemStore store;
        ASSERT_TRUE(store.Load("Graph.cfg"));
        EXPECT_EQ(store.version(), 3);
        EXPECT_EQ(Keys(store), (std::vector<KeyedItemKey>{{0x4005, 0, 77}}));
        EXPECT_FALSE(fs::exists(folder.dir / "EODGraph.cfg"));
    }
    // Below 6, market-breadth drawings of sources 0-3 get their study keys; others are cleared.
    // Below 9, two price-channel pens lose a wrong fill flag.
    {
        auto image = Header("ZQAN", 5);
        AppendItem(image, {1, 0, 0x16000002}, {1});
        AppendItem(image, {1, 0, 0x16000004}, {1});
        AppendItem(image, {1, 5, 0x16000004}, {1});
        AppendItem(image, {0, 8, 15}, {0, 0, 0, 0, 0, 0, 0x80, 0x20, 0, 0, 0x80, 0});
        AppendItem(image, {1, 8, 15}, {0, 0, 0, 0, 0xC0, 0xC0, 0xFF, 0x20, 0xC0, 0xC0, 0xFF, 0});
        AppendItem(image, {1, 8, 14}, {0, 0, 0, 0, 0xC0, 0xC0, 0xFF, 0x20, 0xC0, 0xC0, 0xFF, 0});
        WriteFileBytes(folder.dir / "Graph.cfg", image);
        KeyedItemStore store;
        store.SetUpgrades({nullptr, [](uint32_t subKey) { return subKey | 0x100; }, nullptr});
        ASSERT_TRUE(store.Load("Graph.cfg"));
        EXPECT_NE(store.GetItem(1, 0, 0x16000102), nullptr);
        EXPECT_EQ(store.GetItem(1, 0, 0x16000004), nullptr);
        EXPECT_NE(store.GetItem(1, 5, 0x16000004), nullptr);
        EXPECT_EQ(LoadU32(store.GetItem(0, 8, 15) + 8), 0x800000u);
        EXPECT_EQ(LoadU32(store.GetItem(1, 8, 15) + 8), 0xFFC0C0u);
        EXPECT_EQ(LoadU32(store.GetItem(1, 8, 14) + 8), 0x20FFC0C0u);
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST(KeyedItemStore, CorruptedImagesNeverReadOutOfBounds)
{
    std::mt19937 rng(4114);
    auto clean = Header("ZQAN", 9);
    for (uint32_t i = 0; i < 20; ++i)
        AppendItem(clean, {i, uint16_t(i % 9), i * 3}, std::vector<uint8_t>(i * 7 % 40, uint8_t(i)));
    for (int round = 0; round < 500; ++round) {
        auto image = clean;
        for (int i = 0, n = 1 + int(rng() % 6); i < n; ++i)
            image[rng() % image.size()] = uint8_t(rng());
        if (round % 4 == 0)
            image.resize(rng() % image.size());
        KeyedItemStore store;
        store.ReadImage(image);
        auto again = store.WriteImage();
        EXPECT_LE(again.size(), image.size() + KeyedItemStore::kHeaderSize);
    }
}

namespace {
// A setting-record block: one record (key 0x4002, sub-key 0) holding one sub-record of the given id.
std::vector<uint8_t> SettingBlock(uint8_t id)
{
    return {12, 0, 0x02, 0x40, 0, 5, 0, id, 7, 8, 0, 0, 0, 0};
}

std::vector<uint8_t> SettingBlob(std::span<const uint8_t> block)
{
    ByteWriter body;
    body.u32(0);
    body.bytes(block.data(), block.size());
    return body.take();
}
} // namespace

TEST(KeyedItemStore, SettingRecordsTravelAsItemZeroTwoZero)
{
    InFolder folder;
    SettingRecords().load(SettingBlock(3));
    KeyedItemStore store;
    store.Load("Graph.cfg");
    store.StoreSettingRecords();
    uint8_t* blob = store.GetItem(0, 2, 0);
    ASSERT_NE(blob, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(blob + 4, blob + BlobLength(blob)), SettingBlob(SettingBlock(3)));
    ASSERT_TRUE(store.Save(true));

    SettingRecords().load({});
    KeyedItemStore again;
    ASSERT_TRUE(again.Load("Graph.cfg"));
    again.LoadSettingRecords();
    EXPECT_NE(GetSettingRecord(0x4002, 0, 3), nullptr);
    EXPECT_EQ(again.GetItem(0, 2, 0), nullptr);
    EXPECT_EQ(again.WriteImage(), Header("ZQAN", 9)); // the cleared item is not saved
    SettingRecords().load({});
}

TEST(KeyedItemStore, SettingRecordsOfVersionFourAreConverted)
{
    auto image = Header("ZQAN", 4);
    // A levels sub-record (id 1) of 17 bytes whose old price at 3 becomes a float at 11.
    std::vector<uint8_t> block = {24, 0, 1, 0, 0, 17, 0, 1, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    AppendItem(image, {0, 2, 0}, SettingBlob(block));
    AppendItem(image, {0, 2, 1}, {1}); // blob of 5 bytes under another key
    KeyedItemStore store;
    store.ReadImage(image);
    store.LoadSettingRecords();
    EXPECT_EQ(store.version(), 5);
    uint8_t* data = GetSettingRecord(1, 0, 1);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(LoadF32(data + 8), 100.0f);
    SettingRecords().load({});

    // A settings blob too short for its two header words loads nothing.
    auto shortImage = Header("ZQAN", 9);
    AppendItem(shortImage, {0, 2, 0}, {1, 2, 3});
    KeyedItemStore small;
    small.ReadImage(shortImage);
    small.LoadSettingRecords();
    EXPECT_EQ(GetSettingRecord(0x4002, 0, 3), nullptr);
}

TEST(KeyedItemStore, DamagedSettingRecordsPutGraphCfgAsideAsGraphBak)
{
    // Run apart: the setting aside happens once per run.
    EXPECT_EXIT(
        {
            ResetDataCorruptionReport();
            InFolder folder;
            test::FakeMessageBox boxes;
            auto image = Header("ZQAN", 9);
            AppendItem(image, {0, 2, 0}, SettingBlob(SettingBlock(150)));
            WriteFileBytes(folder.dir / "Graph.cfg", image);
            KeyedItemStore store;
            store.Load("Graph.cfg");
            store.LoadSettingRecords();
            bool told = boxes.texts() == std::vector<std::string>{
                                             "There appears to be some data corruption. Please contact Quorvantis support."};
            bool aside = !fs::exists(folder.dir / "Graph.cfg") && ReadFileBytes(folder.dir / "Graph.bak") == image;
            store.StoreSettingRecords();
            bool saved = store.Save(true) && fs::exists(folder.dir / "Graph.cfg") &&
                         ReadFileBytes(folder.dir / "Graph.bak") == image;
            std::exit(told && aside && saved ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
