// Tests of the end-of-day database in memory.
#include "core/Database.h"

#include "core/RecordAccess.h"
#include "support/DatabaseFixture.h"

#include <cstring>

using namespace qv;
using namespace qv::dev;
using qv::test::OneEntry;

namespace {

class Database : public test::DatabaseFixture {};

DbRecord TwoStreamShare()
{
    DbRecord r = ShareRecord(0x4001, "Alpha Mining", 'O', "ALM");
    r.head = {0x03, 1, 2, 3, 4, 5, 6};
    r.items = {MakeItem(0, 12.5f, 0x1234), MakeItem(2, 3.0f, 0x2345)};
    r.subRecords[0].kind = SubRecordKind::Ordinary;
    r.subRecords[0].issueFigure = 100.0f;
    r.subRecords[0].priceScale = -2;
    r.subRecords[0].firstDate = 0x3456;
    r.subRecords[0].body = {1, 2, 3, 4, 5};
    DbSubRecord& second = r.subRecords.emplace_back();
    second.kind = SubRecordKind::Preference;
    second.body = {9, 8, 7};
    return r;
}

} // namespace

TEST_F(Database, RecordsTakeTheInMemoryLayoutWithSpareBytesAndStatisticsRooms)
{
    DbFile file = OneEntry({TwoStreamShare()});
    file.date = 0x5432;
    file.wordA = 77;
    file.databaseVersion = 9;
    std::vector<uint8_t> stored = EncodeRecord(file.entries[0].records[0], false);
    Load(WriteQuorvaDat(file));

    uint8_t* r = MainRecordBlock;
    ASSERT_NE(r, nullptr);
    const size_t n = 12 + 1 + 1 + 3 + 1; // name, NUL, class, EPIC, NUL
    EXPECT_EQ(RecordLength(r), stored.size() + 20 + 64 * 2);
    EXPECT_EQ(RecordId(r), 0x4001);
    EXPECT_EQ(r[4], 0x03);
    EXPECT_EQ(r[9], 5);
    EXPECT_EQ(r[30], n);
    EXPECT_EQ(std::memcmp(r + 31, "Alpha Mining\0OALM\0", n), 0);
    EXPECT_EQ(r[31 + n], 2);
    EXPECT_EQ(LoadF32(r + 32 + n + 8), 12.5f);
    EXPECT_EQ(LoadU16(r + 22), 32 + n + 40);

    uint8_t* sub = FirstSubRecord(r);
    EXPECT_EQ(SubRecordLength(sub), 48 + 5 + 32);
    EXPECT_EQ(sub[2], SubRecordKind::Ordinary);
    EXPECT_EQ(LoadF32(sub + 4), 100.0f);
    EXPECT_EQ(LoadI16(sub + 8), -2);
    EXPECT_EQ(LoadU16(sub + 10), 0x3456);
    for (int i = 16; i < 20; ++i)
        ASSERT_EQ(sub[i], 0) << i;
    EXPECT_EQ(LoadU16(sub + 42), 0x8001); // the statistics room is filled at load
    EXPECT_EQ(sub[80], 1);
    EXPECT_EQ(sub[84], 5);
    uint8_t* last = sub + SubRecordLength(sub);
    EXPECT_EQ(SubRecordLength(last), 0);
    EXPECT_EQ(last[2], SubRecordKind::Preference);
    EXPECT_EQ(last[80], 9);
    EXPECT_EQ(last + 83, r + RecordLength(r));
    EXPECT_EQ(RecordLength(r + RecordLength(r)), 0); // the block's end mark

    EXPECT_EQ(DatabaseDate, 0x5432);
    EXPECT_EQ(DatabaseWordA, 77);
    EXPECT_EQ(DatabaseMinorVersion, 9);
    EXPECT_EQ(DatabaseElementCount, 2);
    EXPECT_EQ(RecordIndex[0x4001], r);
}

TEST_F(Database, EntriesWithoutRecordsOrEndedEarlyKeepTheFollowingEntriesInStep)
{
    DbFile file;
    file.formatVersion = 0;
    file.entries.resize(4);
    file.entries[0].records = {ShareRecord(0x4001, "First", 'O', "FST")};
    // Two records stated, one written, then a zero length: the next entry follows that head.
    file.entries[1].records = {ShareRecord(0x8001, "Early", 'O', "ERL")};
    file.entries[1].statedCount = 2;
    file.entries[1].zeroRecordAfter = true;
    // No records at all: an empty block.
    file.entries[2].extra = {1, 2, 3};
    file.entries[3].records = {ShareRecord(0x8002, "Last", 'O', "LST"), ShareRecord(0x8003, "Later", 'O', "LTR")};
    Load(WriteQuorvaDat(file));

    ASSERT_EQ(DatabaseBlockCount(), 4);
    EXPECT_EQ(DatabaseVersion, 0);
    EXPECT_EQ(GetDatabaseBlock(1).recordCount, 1u);
    EXPECT_EQ(GetDatabaseBlock(2).recordCount, 0u);
    EXPECT_EQ(GetDatabaseBlock(2).size, 2u);
    EXPECT_EQ(RecordLength(GetDatabaseBlock(2).records), 0);
    ASSERT_EQ(GetDatabaseBlock(2).extraSize, 3u);
    EXPECT_EQ(GetDatabaseBlock(2).extra[2], 3);
    const DatabaseBlock& last = GetDatabaseBlock(3);
    ASSERT_EQ(last.recordCount, 2u);
    EXPECT_EQ(RecordId(last.records), 0x8002);
    EXPECT_EQ(RecordId(NextRecord(last.records)), 0x8003);
    EXPECT_EQ(DatabaseElementCount, 4);
    // The directory keeps handles of the blocks in place of pointers.
    EXPECT_EQ(DirectoryBlockHandle(LoadU32(DatabaseDirectory + 3 * kDirectoryEntrySize + 4)), 3);
    EXPECT_EQ(DirectoryBlockHandle(LoadU32(DatabaseDirectory + 2 * kDirectoryEntrySize + 12)), 2);
    EXPECT_EQ(DirectoryBlockHandle(LoadU32(DatabaseDirectory + 3 * kDirectoryEntrySize + 12)), -1);
}

TEST_F(Database, OneByteLengthRecordsAreWidenedToTheSameLayout)
{
    DbFile file = OneEntry({ShareRecord(0x4001, "Main", 'O', "MN")});
    DbEntry& small = file.entries.emplace_back();
    small.oneByteLengths = true;
    DbRecord r = ShareRecord(0x8123, "Small one", 'O', "SM");
    r.head = {7, 1, 2, 3, 4, 5, 6};
    r.subRecords[0].body.assign(100, 0xAB);
    DbSubRecord bare;
    bare.kind = 13;
    r.subRecords.insert(r.subRecords.begin(), bare);
    small.records = {r, r};
    Load(WriteQuorvaDat(file));

    uint8_t* rec = GetDatabaseBlock(1).records;
    size_t stored = EncodeRecord(r, true).size();
    ASSERT_LE(stored, 255u);
    // stored + 20 + 64 x 2 passes 255: the length is kept whole as a u16.
    EXPECT_EQ(RecordLength(rec), stored + 20 + 128);
    EXPECT_EQ(RecordId(rec), 0x8123);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(rec[4 + i], r.head[i]) << i;
    uint8_t* sub = FirstSubRecord(rec);
    EXPECT_EQ(SubRecordLength(sub), 80); // stored with Ls = 48: a bare head
    EXPECT_EQ(sub[2], 13);
    EXPECT_EQ(SubRecordLength(sub + 80), 0);
    EXPECT_EQ(sub[80 + 80 + 99], 0xAB);
    EXPECT_EQ(RecordId(NextRecord(rec)), 0x8123);
    EXPECT_EQ(RecordLength(NextRecord(NextRecord(rec))), 0);
}

TEST_F(Database, BlocksAreSizedFromTheRealCountsOfManySubRecords)
{
    // More sub-records than the spare room of a fixed-size block could take (about 13,900).
    std::vector<DbRecord> records;
    for (uint16_t i = 0; i < 300; ++i) {
        DbRecord r = ShareRecord(uint16_t(0x4000 + i), "Share", 'O', "SH");
        r.subRecords.assign(50, DbSubRecord{});
        records.push_back(r);
    }
    Load(WriteQuorvaDat(OneEntry(records)));
    ASSERT_EQ(DatabaseElementCount, 15000);
    int walked = 0;
    for (uint8_t* r = MainRecordBlock; RecordLength(r) != 0; r = NextRecord(r)) {
        for (uint8_t* s = FirstSubRecord(r);; s += SubRecordLength(s)) {
            ++walked;
            if (SubRecordLength(s) == 0)
                break;
        }
    }
    EXPECT_EQ(walked, 15000);
    EXPECT_EQ(MainBlockEnd - MainRecordBlock, GetDatabaseBlock(0).size);
}

TEST_F(Database, IndexCountsByKindAndDerivedValues)
{
    auto withKinds = [](uint16_t id, std::vector<uint8_t> kinds) {
        DbRecord r = ShareRecord(id, "R", 'O', "R");
        r.subRecords.clear();
        for (uint8_t k : kinds) {
            DbSubRecord s;
            s.kind = k;
            r.subRecords.push_back(s);
        }
        return r;
    };
    DbFile file = OneEntry({withKinds(0x4001, {10, 11, 2}), withKinds(0x4002, {1}), withKinds(0xC00D, {1, 16}),
                            withKinds(0x8001, {14, 17, 13, 8, 9, 3, 99})});
    file.entries.emplace_back().records = {withKinds(0x4003, {10})}; // other blocks are not counted by kind
    Load(WriteQuorvaDat(file));

    const int expected[KindCountSlots] = {2, 2, 2, 1, 1, 2, 1, 1, 1, 1, 1};
    for (int slot = 0; slot < KindCountSlots; ++slot)
        EXPECT_EQ(KindCounts[slot], expected[slot]) << KindCountName(slot);
    EXPECT_EQ(DatabaseElementCount, 14);
    EXPECT_EQ(TotalItemCount, 14);
    EXPECT_EQ(FindShareWorkArraySize, 15u);
    EXPECT_NE(RecordIndex[0x4002], nullptr);
    EXPECT_EQ(RecordIndex[0x4003], nullptr);
    EXPECT_EQ(ListValueLimit, 9.999e102);

    EXPECT_EQ(ListSelectionValue, -2);
}

TEST_F(Database, FirstLoadDateKeepsTheFirstDatabaseDate)
{
    DbFile file = OneEntry({ShareRecord(0x4001, "A", 'O', "A")});
    file.date = 100;
    FirstLoadDate = 0;
    Load(WriteQuorvaDat(file));
    EXPECT_EQ(FirstLoadDate, 100);
    file.date = 200;
    Load(WriteQuorvaDat(file));
    EXPECT_EQ(FirstLoadDate, 100);
    EXPECT_EQ(DatabaseDate, 200);
    FirstLoadDate = 0;
}

TEST_F(Database, ExtraBlockItemsOfTheFirstEntryAreFoundWithinTheirItems)
{
    DbFile file = OneEntry({ShareRecord(0x4001, "A", 'O', "A")});
    ByteWriter chain;
    for (int i = 0; i < 25; ++i) {
        chain.u16(12);
        chain.zeros(2);
        chain.u8(i == 24 ? 4 : 1); // the data lies at item + 8 + this byte
        chain.zeros(3);
        chain.u8(uint8_t(i));
        chain.u8(uint8_t(100 + i));
        chain.zeros(2);
    }
    file.entries[0].extra = chain.take();
    Load(WriteQuorvaDat(file));
    ASSERT_NE(ExtraBlockItem24, nullptr);
    EXPECT_EQ(*ExtraBlockItem24, 123);
    ASSERT_NE(ExtraBlockItem25, nullptr);
    EXPECT_EQ(ExtraBlockItem25 - GetDatabaseBlock(0).extra, 24 * 12 + 12);

    file.entries[0].extra.resize(23 * 12); // too few items: no pointers
    Load(WriteQuorvaDat(file));
    EXPECT_EQ(ExtraBlockItem24, nullptr);
    EXPECT_EQ(ExtraBlockItem25, nullptr);
}
