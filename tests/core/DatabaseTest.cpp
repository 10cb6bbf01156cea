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
