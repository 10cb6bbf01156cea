// Extra share records: their layout, name order with the letter index, prices, removal, threads.
#include "core/ExtraRecords.h"

#include "core/Database.h"
#include "core/Memory.h"
#include "core/RecordLookup.h"
#include "core/TableLock.h"
#include "support/DatabaseFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace qv;

namespace {

class ExtraRecordsTest : public test::DatabaseFixture {
protected:
    ExtraRecordsTest() { CreateDataLock(); }
};

uint8_t* Build(uint16_t id, std::string_view name, float price = 10.f, PackedDate date = PackDate(3, 5, 2005))
{
    ExtraShare s;
    s.id = id;
    s.name = name;
    s.code = "EPC";
    s.second = "ISIN";
    s.streamKind = 10;
    s.price = price;
    s.date = date;
    return BuildShareRecord(s);
}

std::vector<std::string> Names()
{
    std::vector<std::string> out;
    TableLockGuard lock(&ExtraRecordsLock);
    for (RecordListNode* n = ExtraRecordList; n; n = n->next)
        out.emplace_back(GetRecordName(n->record));
    return out;
}

std::string NameAt(RecordListNode** link) { return link && *link ? std::string(GetRecordName((*link)->record)) : ""; }

} // namespace

TEST_F(ExtraRecordsTest, RecordLayoutWithItsOneDayPriceSubRecord)
{
    ExtraShare s;
    s.id = 0x4101;
    std::string longName(85, 'N');
    s.name = longName;
    s.code = "VOD";
    s.second = "GB00BH4HKS39 and more"; // longer than the room the record once had for it
    s.streamKind = 10;
    s.classByte = 'O';
    s.marketCode = 3;
    s.price = 12.5f;
    s.date = PackDate(3, 5, 2005);
    int32_t count = ExtraRecordCount, total = TotalItemCount;
    ShareListsChanged = false;
    uint8_t* r = BuildShareRecord(s);

    size_t room = 3 + 1 + 79 + 1 + 21 + 1 + 6;
    EXPECT_GE(ProBlockSize(r), room + 121);
    EXPECT_EQ(LoadU16(r), 1);
    EXPECT_EQ(LoadU16(r + 2), 0x4101);
    EXPECT_EQ(LoadU16(r + 4), 0x31C3);
    EXPECT_EQ(r[6], 0xFA);
    EXPECT_EQ(r[7], 0xFF);
    EXPECT_EQ(LoadU16(r + 22), room + 36);
    EXPECT_EQ(r[30], 79);
    EXPECT_EQ(GetRecordName(r), std::string(79, 'N'));
    const char* text = reinterpret_cast<const char*>(r + 31 + 79);
    EXPECT_EQ(text[0], '\0');
    EXPECT_EQ(text[1], 'O');
    EXPECT_STREQ(text + 2, "GB00BH4HKS39 and more");
    EXPECT_STREQ(text + 2 + 22, "VOD");

    const uint8_t* sub = r + LoadU16(r + 22);
    EXPECT_EQ(LoadU16(sub), 0);
    EXPECT_EQ(sub[2], 10);
    EXPECT_EQ(sub[3], 0xFF);
    EXPECT_EQ(LoadI16(sub + 8), 2);
    EXPECT_EQ(LoadU16(sub + 10), PackDate(3, 5, 2005));
    EXPECT_EQ(LoadU16(sub + 40), PackDate(3, 5, 2005));
    EXPECT_EQ(LoadF32(sub + 24), 12.5f);
    EXPECT_EQ(LoadF32(sub + 28), kNoValueFloat);
    EXPECT_EQ(sub[80], 25);
    EXPECT_EQ(sub[81], ' ');

    EXPECT_EQ(ExtraRecordCount, count + 1);
    EXPECT_EQ(TotalItemCount, total + 1);
    EXPECT_TRUE(ShareListsChanged);
    EXPECT_EQ(FindRecordById(0x4101, 0).record, r);
}

TEST_F(ExtraRecordsTest, DefaultsForAnIndexWithoutPriceOrDate)
{
    SetCurrentTradingDate(PackDate(9, 5, 2005)); // a Monday: the weekday before is Friday
    ExtraShare s;
    s.id = 0x4102;
    s.name = "FTSE";
    s.streamKind = 1;
    s.marketCode = 5;
    uint8_t* r = BuildShareRecord(s);
    const uint8_t* sub = r + LoadU16(r + 22);
    EXPECT_EQ(LoadU16(r + 4), 0x31C2) << "an index stream takes market code 2";
    EXPECT_EQ(LoadU16(sub + 10), PackDate(6, 5, 2005));
    EXPECT_EQ(LoadF32(sub + 24), kNoValueFloat);
    EXPECT_EQ(sub[80], ' ');
}

TEST_F(ExtraRecordsTest, NameOrderAndTheFirstLetterIndex)
{
    Build(0x4001, "Beta");
    Build(0x4002, "Alpha");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Alpha", "Beta"}));
    {
        TableLockGuard lock(&ExtraRecordsLock);
        EXPECT_EQ(ExtraRecordLetterLink('a'), &ExtraRecordList);
        EXPECT_EQ(NameAt(ExtraRecordLetterLink('B')), "Beta");
        EXPECT_EQ(ExtraRecordLetterLink('c'), nullptr);
    }
    for (auto [id, name] : std::vector<std::pair<uint16_t, const char*>>{
             {0x4003, "apple"}, {0x4004, "Cherry"}, {0x4005, "1st Choice"}, {0x4006, "Aardvark"},
             {0x4007, "avocado"}, {0x4008, "Alphabet"}, {0x4009, "Beta"}, {0x400A, "Zeta"}})
        Build(id, name);
    std::vector<std::string> expected = {"1st Choice", "Aardvark", "Alpha", "Alphabet", "Beta", "Beta",
                                         "Cherry", "Zeta", "apple", "avocado"};
    EXPECT_EQ(Names(), expected);
    TableLockGuard lock(&ExtraRecordsLock);
    EXPECT_EQ(NameAt(ExtraRecordLetterLink('a')), "Aardvark");
    EXPECT_EQ(NameAt(ExtraRecordLetterLink('c')), "Cherry");
    EXPECT_EQ(NameAt(ExtraRecordLetterLink('z')), "Zeta");
    EXPECT_EQ(ExtraRecordLetterLink('1'), nullptr);
}

TEST_F(ExtraRecordsTest, PricesAndRemoval)
{
    Build(0x4001, "Alpha");
    Build(0x4002, "Beta");
    Build(0x4003, "Gamma");
    uint8_t* beta = FindShareRecord(0x4002);
    ASSERT_NE(beta, nullptr);
    uint8_t* sub = beta + LoadU16(beta + 22);

    EXPECT_TRUE(SetExtraRecordPrice(0x4002, 1234567.f, PackDate(4, 5, 2005)));
    EXPECT_EQ(LoadI16(sub + 8), -10);
    EXPECT_EQ(std::vector<uint8_t>(sub + 80, sub + 84), (std::vector<uint8_t>{0x87, 0xC4, 0x41, ' '}));
    EXPECT_EQ(LoadF32(sub + 24), 1234567.f);
    EXPECT_EQ(LoadU16(sub + 40), PackDate(4, 5, 2005));

    EXPECT_TRUE(SetExtraRecordPrice(0x4002, 0, PackDate(5, 5, 2005)));
    EXPECT_EQ(sub[80], ' ');
    EXPECT_EQ(LoadF32(sub + 24), 1234567.f) << "a price of 0 leaves the last close";
    EXPECT_EQ(LoadU16(sub + 10), PackDate(5, 5, 2005));
    EXPECT_FALSE(SetExtraRecordPrice(0x4999, 1, 0));

    int32_t count = ExtraRecordCount, total = TotalItemCount;
    EXPECT_TRUE(RemoveExtraRecord(0x4001));
    EXPECT_FALSE(RemoveExtraRecord(0x4001));
    EXPECT_FALSE(ExtraRecordExists(0x4001));
    EXPECT_TRUE(ExtraRecordExists(0x4002));
    EXPECT_EQ(ExtraRecordCount, count - 1);
    EXPECT_EQ(TotalItemCount, total - 1);
    Build(0x4004, "Aaron");
    Build(0x4005, "Delta");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Aaron", "Beta", "Delta", "Gamma"}));
    TableLockGuard lock(&ExtraRecordsLock);
    EXPECT_EQ(NameAt(ExtraRecordLetterLink('a')), "Aaron");
    EXPECT_EQ(NameAt(ExtraRecordLetterLink('g')), "Gamma");
}

TEST_F(ExtraRecordsTest, TwoThreadsChangeTheListWhileAThirdLooksUp)
{
    constexpr int kIds = 200;
    std::atomic<bool> done{false};
    std::atomic<int> mismatches{0};
    auto worker = [&](int first, unsigned seed) {
        std::mt19937 rng(seed);
        for (int round = 0; round < 600; ++round) {
            uint16_t id = uint16_t(0x5000 + first + int(rng() % (kIds / 2)));
            if (!RemoveExtraRecord(id))
                Build(id, "Share " + std::to_string(rng() % 1000), float(rng() % 500) / 4);
        }
    };
    std::thread reader([&] {
        while (!done) {
            for (int i = 0; i < kIds; ++i) {
                uint16_t id = uint16_t(0x5000 + i);
                TableLockGuard lock(&ExtraRecordsLock);
                uint8_t* r = FindExtraRecordLocked(id);
                if (r && (LoadU16(r + 2) != id || GetRecordName(r).substr(0, 6) != "Share "))
                    ++mismatches;
            }
            FindShareRecord(0x5001);
            ExtraRecordExists(0x5002);
        }
    });
    std::thread a(worker, 0, 1u), b(worker, kIds / 2, 2u);
    a.join();
    b.join();
    done = true;
    reader.join();
    EXPECT_EQ(mismatches, 0);

    auto names = Names();
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    TableLockGuard lock(&ExtraRecordsLock);
    int listed = 0;
    for (RecordListNode* n = ExtraRecordList; n; n = n->next)
        ++listed;
    EXPECT_EQ(listed, ExtraRecordCount);
    EXPECT_EQ(NameAt(ExtraRecordLetterLink('s')), names.empty() ? "" : names.front());
}
