// Tests of texts that describe a loaded database and its records, for qvtool and tests.
#include "devtools/lib/DatabaseDump.h"

#include "support/DatabaseFixture.h"

using namespace qv;
using namespace qv::dev;

namespace {
class DatabaseDump : public test::DatabaseFixture {};
} // namespace

TEST_F(DatabaseDump, DescribesCountsAndRecords)
{
    DbRecord share = ShareRecord(0x4001, "Caf\xE9 Holdings", 'O', "CAF");
    share.items = {MakeItem(2, 4.5f, uint16_t((126 << 9) | (2 << 5) | 8))};
    share.subRecords[0].firstDate = uint16_t((100 << 9) | (0 << 5) | 0);
    DbFile file = test::OneEntry({share});
    file.date = uint16_t((126 << 9) | (11 << 5) | 8);
    file.databaseVersion = 7;
    CompFile comp;
    comp.records.descriptors = {{115, 0xE0, {}}};
    comp.records.items = {{0x4001, 0, {{115, {6}}}}};
    std::vector<uint8_t> compDat = WriteCompDat(comp);
    Load(WriteQuorvaDat(file), &compDat);

    std::string about = DescribeDatabase();
    EXPECT_NE(about.find("Database version 1.7 (format 1), dated 09/12/2026"), std::string::npos) << about;
    EXPECT_NE(about.find("       1 companies\n"), std::string::npos) << about;
    EXPECT_NE(about.find("       1 Ord. shares\n"), std::string::npos) << about;
    EXPECT_NE(about.find("1 record items, 0 sub-record items"), std::string::npos) << about;

    std::string record = DescribeRecord(0x4001);
    EXPECT_NE(record.find("Record 0x4001 \"Caf\xC3\xA9 Holdings\" EPIC \"CAF\" class 79"), std::string::npos) << record;
    EXPECT_NE(record.find("item 0: type 2 value 4.5 date 09/03/2026"), std::string::npos) << record;
    EXPECT_NE(record.find("company data: 1 bytes: 06"), std::string::npos) << record;
    EXPECT_NE(record.find("sub-record 0: kind 10 (Ord. shares), 80 bytes"), std::string::npos) << record;
    EXPECT_NE(record.find("first day 01/01/2000"), std::string::npos) << record;
    EXPECT_EQ(DescribeRecord(0x4999), "Record 0x4999: none\n");
}
