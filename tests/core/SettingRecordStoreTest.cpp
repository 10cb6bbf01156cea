// Tests of small per-share and per-list settings in one growable block of variable-length records.
#include "core/SettingRecordStore.h"

#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace qv;

namespace {

const char* kCorruption = "There appears to be some data corruption. Please contact Quorvantis support.";

std::vector<uint8_t> Bytes(const SettingRecordStore& store)
{
    auto b = store.bytes();
    return {b.begin(), b.end()};
}

std::string Data(SettingRecordStore& store, uint16_t key, uint8_t sub, uint8_t id)
{
    uint8_t* p = store.get(key, sub, id);
    return p ? std::string(p, p + SettingDataSize(p)) : "<none>";
}

void Set(SettingRecordStore& store, uint16_t key, uint8_t sub, uint8_t id, const std::string& text)
{
    ASSERT_TRUE(store.set(key, sub, id, text.data(), uint32_t(text.size())));
}

// Builds a stored block by hand: records of {key, sub-key, sub-records {id, data}}.
struct Sub {
    uint8_t id;
    std::string data;
};
struct Rec {
    uint16_t key;
    uint8_t subKey;
    std::vector<Sub> subs;
};
std::vector<uint8_t> Block(const std::vector<Rec>& records)
{
    ByteWriter w;
    for (const Rec& r : records) {
        size_t start = w.size();
        w.u16(0);
        w.u16(r.key);
        w.u8(r.subKey);
        for (const Sub& s : r.subs) {
            w.u16(uint16_t(s.data.size() + 3));
            w.u8(s.id);
            w.bytes(s.data.data(), s.data.size());
        }
        w.u16(0);
        w.patchU16(start, uint16_t(w.size() - start));
    }
    w.u16(0);
    return w.take();
}

// Every record length and sub-record length lands exactly on the next item and the end mark.
bool WellFormed(const SettingRecordStore& store)
{
    auto b = store.bytes();
    size_t r = 0;
    while (r + 2 <= b.size() && LoadU16(&b[r]) != 0) {
        size_t length = LoadU16(&b[r]);
        if (length < 7 || r + length + 2 > b.size())
            return false;
        size_t s = r + 5;
        while (LoadU16(&b[s]) != 0) {
            s += LoadU16(&b[s]);
            if (s + 2 > r + length)
                return false;
        }
        if (s + 2 != r + length)
            return false;
        r += length;
    }
    return r + 2 == b.size();
}

} // namespace

TEST(SettingRecordStore, SetReplacesBySubRecordIdAndLaysRecordsOutAsStored)
{
    SettingRecordStore store;
    EXPECT_EQ(Bytes(store), (std::vector<uint8_t>{0, 0}));
    Set(store, 0x4001, 2, 3, "ab");
    Set(store, 0x4001, 2, 3, "xyz");
    Set(store, 0x4001, 2, 128, "");
    EXPECT_EQ(Bytes(store), Block({{0x4001, 2, {{3, "xyz"}, {128, ""}}}}));
    EXPECT_EQ(Bytes(store),
              (std::vector<uint8_t>{16, 0, 0x01, 0x40, 2, 6, 0, 3, 'x', 'y', 'z', 3, 0, 128, 0, 0, 0, 0}));
    EXPECT_EQ(Data(store, 0x4001, 2, 3), "xyz");
    EXPECT_EQ(Data(store, 0x4001, 2, 128), "");
    EXPECT_EQ(Data(store, 0x4001, 1, 3), "<none>");
    EXPECT_EQ(Data(store, 0x4002, 2, 3), "<none>");
}

TEST(SettingRecordStore, RemovingTheLastSubRecordRemovesTheRecord)
{
    SettingRecordStore store;
    Set(store, 1, 0, 1, "a");
    Set(store, 2, 0, 1, "b");
    store.remove(1, 0, 1);
    EXPECT_EQ(Bytes(store), Block({{2, 0, {{1, "b"}}}}));
    Set(store, 1, 0, 2, "c");
    EXPECT_EQ(Bytes(store), Block({{2, 0, {{1, "b"}}}, {1, 0, {{2, "c"}}}}));

    Set(store, 3, 7, 1, "d");
    Set(store, 3, 8, 1, "e");
    Set(store, 2, 0, 4, "f");
    store.removeAll(1);
    EXPECT_EQ(Bytes(store), Block({{2, 0, {{4, "f"}}}, {1, 0, {{2, "c"}}}}));
    EXPECT_FALSE(store.has(1));
    EXPECT_TRUE(store.has(4));

    Set(store, 3, 9, 1, "g");
    store.removeKey(3); // whatever its sub-key
    store.removeKey(99);
    store.remove(2, 0, 77);
    EXPECT_EQ(Bytes(store), Block({{2, 0, {{4, "f"}}}, {1, 0, {{2, "c"}}}}));
}

TEST(SettingRecordStore, IteratorVisitsEverySubRecordWithItsIdInBlockOrder)
{
    SettingRecordStore store;
    Set(store, 1, 0, 130, "one");
    Set(store, 1, 0, 2, "skip");
    Set(store, 2, 0, 130, "two");
    Set(store, 3, 0, 4, "skip");
    Set(store, 4, 1, 130, "three");
    SettingIterator it;
    it.id = 130;
    std::vector<std::string> seen;
    while (store.findNext(it))
        seen.emplace_back(it.data, it.data + SettingDataSize(it.data));
    EXPECT_EQ(seen, (std::vector<std::string>{"one", "two", "three"}));
    SettingIterator none;
    none.id = 131;
    EXPECT_EQ(store.findNext(none), nullptr);
}

TEST(SettingRecordStore, FreeIdIsTheFirstUnusedInTheRange)
{
    SettingRecordStore store;
    Set(store, 5, 1, 128, "");
    Set(store, 5, 1, 129, "");
    Set(store, 5, 1, 131, "");
    struct Case {
        uint16_t key;
        uint8_t first;
        uint32_t count;
        uint8_t expected;
    } cases[] = {
        {5, 128, 16, 130}, {5, 128, 2, 0}, {6, 128, 16, 128}, {5, 131, 1, 0}, {5, 250, 100, 250},
    };
    for (const Case& c : cases)
        EXPECT_EQ(store.findFreeId(c.key, 1, c.first, c.count), c.expected) << c.key << " " << int(c.first);
    for (int id = 250; id <= 255; ++id)
        Set(store, 5, 1, uint8_t(id), "");
    EXPECT_EQ(store.findFreeId(5, 1, 250, 100), 0); // the range ends at id 255
}

TEST(SettingRecordStore, BlockGrowsUntilTheNewRecordFitsWithItsSlack)
{
    SettingRecordStore store;
    EXPECT_EQ(store.capacity(), 1000u);
    Set(store, 1, 0, 1, std::string(480, 'a')); // 2 + 7 + 483 + 500 = 992
    EXPECT_EQ(store.capacity(), 1000u);
    Set(store, 1, 0, 2, std::string(6, 'b')); // 490 + 9 + 500 > 1000
    EXPECT_EQ(store.capacity(), 2000u);

    // A graph setting record (1992 bytes) is larger than one step.
    SettingRecordStore graphs;
    std::string setting(1992, '\x5A');
    Set(graphs, 0x4100, 0, 130, setting);
    EXPECT_EQ(graphs.capacity(), 3000u);
    Set(graphs, 0x4101, 0, 130, setting);
    EXPECT_EQ(graphs.capacity(), 5000u);
    EXPECT_EQ(Data(graphs, 0x4100, 0, 130), setting);
    EXPECT_EQ(Data(graphs, 0x4101, 0, 130), setting);
    EXPECT_TRUE(WellFormed(graphs));

    // A record cannot outgrow its 16-bit length; the store stays as it was.
    SettingRecordStore big;
    Set(big, 1, 0, 1, std::string(40000, 'x'));
    std::string more(30000, 'y');
    EXPECT_FALSE(big.set(1, 0, 2, more.data(), uint32_t(more.size())));
    EXPECT_FALSE(big.set(1, 0, 3, more.data(), 70000));
    EXPECT_EQ(Data(big, 1, 0, 2), "<none>");
    EXPECT_TRUE(WellFormed(big));
}

TEST(SettingRecordStore, CompactionKeepsStoredIdsAndReportsForeignOnes)
{
    dev::TempFolder dir;
    SetProgramFolder(dir.path());
    WriteFileBytes(dir / "Graph.cfg", std::vector<uint8_t>{1, 2, 3});
    ResetDataCorruptionReport();
    test::FakeMessageBox box;

    SettingRecordStore store;
    Set(store, 1, 0, 1, "keep");
    Set(store, 1, 0, 150, "runtime");
    Set(store, 1, 0, 2, "lost");
    Set(store, 2, 0, 143, "kept");
    Set(store, 3, 0, 200, "gone");
    EXPECT_FALSE(store.compact());
    EXPECT_EQ(Bytes(store), Block({{1, 0, {{1, "keep"}}}, {2, 0, {{143, "kept"}}}}));
    EXPECT_EQ(store.capacity(), 1000u);
    EXPECT_EQ(box.texts(), (std::vector<std::string>{kCorruption, kCorruption}));
    EXPECT_TRUE(fs::exists(dir / "Graph.bak"));
    EXPECT_FALSE(fs::exists(dir / "Graph.cfg"));

    // The file is set aside once per run; the message comes every time.
    WriteFileBytes(dir / "Graph.cfg", std::vector<uint8_t>{4});
    Set(store, 9, 0, 0, "zero id");
    EXPECT_FALSE(store.compact());
    EXPECT_EQ(box.texts().size(), 3u);
    EXPECT_TRUE(fs::exists(dir / "Graph.cfg"));
    EXPECT_TRUE(store.compact());
    EXPECT_EQ(box.texts().size(), 3u);
}

TEST(SettingRecordStore, LoadingAStoredBlockAppliesTheCompactionRules)
{
    test::FakeMessageBox box;
    std::vector<uint8_t> good = Block({{1, 0, {{1, "a"}, {1, "b"}}}, {1, 0, {{2, "c"}}}, {7, 3, {{130, "d"}}}});
    SettingRecordStore store;
    EXPECT_TRUE(store.load(good));
    // Duplicates merge, the last one standing.
    EXPECT_EQ(Bytes(store), Block({{1, 0, {{1, "b"}, {2, "c"}}}, {7, 3, {{130, "d"}}}}));
    EXPECT_TRUE(box.texts().empty());

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool clean;
        std::vector<uint8_t> kept;
    };
    auto damaged = [&](size_t offset, std::vector<uint8_t> patch) {
        std::vector<uint8_t> b = good;
        std::copy(patch.begin(), patch.end(), b.begin() + long(offset));
        return b;
    };
    std::vector<uint8_t> firstTwo = Block({{1, 0, {{1, "b"}, {2, "c"}}}});
    std::vector<uint8_t> firstOnly = Block({{1, 0, {{1, "b"}}}});
    std::vector<uint8_t> withoutFirstSub = Block({{1, 0, {{2, "c"}}}, {7, 3, {{130, "d"}}}});
    std::vector<Case> cases = {
        {"empty", {}, true, {0, 0}},
        {"no end mark", std::vector<uint8_t>(good.begin(), good.end() - 2), true, Bytes(store)},
        {"record cut short", std::vector<uint8_t>(good.begin(), good.end() - 5), false, firstTwo},
        {"record length past the end", damaged(15, {0xFF, 0x7F}), false, firstOnly},
        {"record length below a head", damaged(15, {3, 0}), false, firstOnly},
        {"sub-record past its record", damaged(5, {40, 0}), true, withoutFirstSub},
        {"sub-record shorter than its head", damaged(5, {2, 0}), true, withoutFirstSub},
        {"foreign id", damaged(7, {99}), false, withoutFirstSub},
    };
    for (const Case& c : cases) {
        SettingRecordStore s;
        EXPECT_EQ(s.load(c.bytes), c.clean) << c.what;
        EXPECT_EQ(Bytes(s), c.kept) << c.what;
        EXPECT_TRUE(WellFormed(s)) << c.what;
    }
}

TEST(SettingRecordStore, ProgramStoreAnswersThroughTheNamedOperations)
{
    SetSettingRecord(0x4444, 1, 3, "abc", 3);
    ASSERT_NE(GetSettingRecord(0x4444, 1, 3), nullptr);
    EXPECT_EQ(SettingDataSize(GetSettingRecord(0x4444, 1, 3)), 3u);
    EXPECT_EQ(FindFreeSettingId(0x4444, 1, 3, 2), 4);
    EXPECT_TRUE(HasSettingRecord(3));
    SettingIterator it;
    it.id = 3;
    EXPECT_NE(FindNextSettingRecord(it), nullptr);
    DeleteSettingRecord(0x4444, 1, 3);
    EXPECT_FALSE(HasSettingRecord(3));
    SetSettingRecord(0x4444, 1, 4, "x", 1);
    DeleteSettingAll(4);
    SetSettingRecord(0x4445, 0, 1, "y", 1);
    DeleteSettingKey(0x4445);
    CompactSettingRecords();
    EXPECT_EQ(SettingRecords().bytes().size(), 2u);
}
