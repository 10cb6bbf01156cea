// Record lookup, sub-record walks, class codes and texts over a small loaded database.
#include "core/RecordAccess.h"

#include "core/Memory.h"
#include "core/RecordLists.h"
#include "core/TableLock.h"
#include "support/DatabaseFixture.h"

#include <atomic>
#include <cstring>
#include <thread>

using namespace qv;
using namespace qv::dev;
using qv::test::OneEntry;

namespace {

DbRecord Record(uint16_t id, std::vector<uint8_t> kinds, uint8_t classByte = 'O')
{
    DbRecord r = ShareRecord(id, "Name", classByte, "EPIC");
    r.subRecords.clear();
    for (uint8_t k : kinds) {
        DbSubRecord s;
        s.kind = k;
        s.body = {k, k};
        r.subRecords.push_back(s);
    }
    return r;
}

// A made record in guarded memory, as the extra-record and import code keep them.
uint8_t* MadeRecord(uint16_t id, uint16_t length)
{
    auto* r = static_cast<uint8_t*>(ProCalloc(1, 40 + kMadeSubRecordBytes, "test record"));
    StoreU16(r, length);
    StoreU16(r + 2, id);
    StoreU16(r + RecordLayout::FirstSubRecord, 40);
    return r;
}

class RecordAccess : public test::DatabaseFixture {
protected:
    void SetUp() override
    {
        Load(WriteQuorvaDat(OneEntry({Record(0x4001, {10, 13, 14}), Record(0x4002, {11}),
                                      Record(0x4003, {10}, 0xF0), Record(0xC00F, {10}), Record(0xC013, {10}),
                                      Record(0xC010, {10}), Record(0x9001, {16, 14, 13, 17, 1, 99})})));
    }
};

} // namespace

TEST_F(RecordAccess, FindRecordByIdLooksInTheMainBlockThenTheListsThenGivesTheEndMark)
{
    RecordCursor found = FindRecordById(0x4002, 5);
    ASSERT_NE(found.record, nullptr);
    EXPECT_EQ(RecordId(found.record), 0x4002);
    EXPECT_EQ(found.count, 5u);

    ExtraRecordList = NewListNode(MadeRecord(0xF001, 1), 9);
    ImportedItemList = NewListNode(MadeRecord(0xF002, 0), 3);
    ImportedItemList->next = NewListNode(MadeRecord(0xF003, 60), 4);
    found = FindRecordById(0xF001, 2);
    EXPECT_EQ(found.record, ExtraRecordList->record);
    EXPECT_EQ(found.count, 2u);
    found = FindRecordById(0xF002, 2); // a length word of 0: the node's value
    EXPECT_EQ(found.record, ImportedItemList->record);
    EXPECT_EQ(found.count, 3u);
    EXPECT_EQ(FindRecordById(0xF003, 2).count, 2u);

    found = FindRecordById(0x4999, 7);
    EXPECT_EQ(RecordLength(found.record), 0);
    EXPECT_EQ(found.count, 0u);
    EXPECT_EQ(found.record + 2, MainBlockEnd);
    EXPECT_FALSE(IsTableLocked(&ExtraRecordsLock));
}

TEST_F(RecordAccess, SubRecordWalksStopAtTheLast)
{
    RecordCursor share{RecordIndex[0x4001], 0};
    uint8_t* first = GetSubRecord(share, 0);
    EXPECT_EQ(first, FirstSubRecord(share.record));
    EXPECT_EQ(SubRecordKindOf(GetSubRecord(share, 1)), 13);
    EXPECT_EQ(SubRecordKindOf(GetSubRecord(share, 2)), 14);
    EXPECT_EQ(GetSubRecord(share, 99), GetSubRecord(share, 2));
    EXPECT_EQ(SubRecordEnd(share.record, first), GetSubRecord(share, 1));
    EXPECT_EQ(SubRecordEnd(share.record, GetSubRecord(share, 2)), share.record + RecordLength(share.record));
    // An extra share record's length word is a token: its sub-record runs its fixed size.
    uint8_t* made = MadeRecord(0xF001, kMadeRecordToken);
    EXPECT_EQ(SubRecordEnd(made, FirstSubRecord(made)), FirstSubRecord(made) + kMadeSubRecordBytes);
    ProFree(made);
    made = MadeRecord(0xF001, 30);
    EXPECT_EQ(SubRecordEnd(made, FirstSubRecord(made)), nullptr) << "a length short of the sub-record's head";
    ProFree(made);
    EXPECT_EQ(GetSubRecord({}, 0), nullptr);

    for (uint32_t ask : {0u, 1u, 2u, 3u, 1000u}) {
        RecordCursor c{share.record, ask};
        uint8_t* reached = SkipSubRecords(&c);
        EXPECT_EQ(c.count, std::min(ask, 2u));
        EXPECT_EQ(reached, GetSubRecord(share, ask));
    }
    EXPECT_EQ(SkipSubRecords(nullptr), nullptr);
    RecordCursor empty;
    EXPECT_EQ(SkipSubRecords(&empty), nullptr);

    // A record with one sub-record: it is both the first and the last.
    RecordCursor single{RecordIndex[0x4002], 3};
    EXPECT_EQ(SubRecordLength(GetSubRecord(single, 0)), 0);
    EXPECT_EQ(SkipSubRecords(&single), GetSubRecord(single, 0));
    EXPECT_EQ(single.count, 0u);
}

TEST_F(RecordAccess, RecordClassesAndTexts)
{
    struct Case {
        uint16_t id;
        uint32_t count;
        int32_t cls;
    } cases[] = {{0x4001, 0, 'O'}, {0x4003, 0, -16}, {0xC00F, 0, 9}, {0xC013, 0, 9}, {0xC010, 0, 41},
                 {0x9001, 0, 8},   {0x9001, 1, 17},  {0x9001, 2, 16}, {0x9001, 3, 18}, {0x9001, 4, 10},
                 {0x9001, 5, 0},   {0x9001, 9, 0}};
    for (const Case& c : cases) {
        RecordCursor cursor = FindRecordById(c.id, c.count);
        EXPECT_EQ(GetRecordClass(&cursor), c.cls) << std::hex << c.id << " " << c.count;
    }
    EXPECT_EQ(GetRecordClass(nullptr), 0);

    RecordTexts texts = GetRecordTexts(RecordIndex[0x4001]);
    EXPECT_EQ(texts.name, "Name");
    EXPECT_EQ(texts.classByte, 'O');
    EXPECT_EQ(texts.epic, "EPIC");
}

TEST(RecordTexts, PartsMissingFromTheTextAreEmpty)
{
    uint8_t record[64] = {};
    auto set = [&](const char* text, size_t n) {
        record[RecordLayout::TextLength] = uint8_t(n);
        std::memcpy(record + RecordLayout::Text, text, n);
        return GetRecordTexts(record);
    };
    EXPECT_EQ(set("Plain", 5).name, "Plain");
    EXPECT_EQ(set("Plain", 5).classByte, -1);
    EXPECT_EQ(set("Cut\0", 4).classByte, -1);
    EXPECT_EQ(set("Cut\0X", 5).classByte, 'X');
    EXPECT_EQ(set("Cut\0XAB", 7).epic, "AB");
}

TEST(ChainLength, CountsItemsAndTheEndingZero)
{
    const uint8_t chain[] = {3, 1, 2, 2, 9, 4, 0, 0, 0, 0};
    EXPECT_EQ(ChainLength(chain), 10);
    const uint8_t empty[] = {0};
    EXPECT_EQ(ChainLength(empty), 1);
    EXPECT_EQ(ChainLength(nullptr), 0);
}

TEST_F(RecordAccess, LookupsWalkTheExtraRecordsUnderTheirLockWhileAnotherThreadChangesThem)
{
    // Unlinked records stay allocated until the end: a looked-up record is used outside the lock.
    std::vector<uint8_t*> unlinked;
    std::atomic<bool> stop{false};
    std::thread changer([&] {
        for (int i = 0; i < 2000; ++i) {
            TableLockGuard hold(&ExtraRecordsLock);
            RecordListNode* node = NewListNode(MadeRecord(uint16_t(0xF100 + i % 3), 1), 0);
            node->next = ExtraRecordList;
            ExtraRecordList = node;
            ++ExtraRecordCount;
            if (ExtraRecordCount > 2) {
                RecordListNode* last = ExtraRecordList;
                while (last->next)
                    last = last->next;
                unlinked.push_back(last->record);
                RemoveListNode(&ExtraRecordList, last);
                --ExtraRecordCount;
            }
        }
        stop = true;
    });
    while (!stop) {
        RecordCursor c = FindRecordById(0xF101, 0);
        if (RecordLength(c.record) != 0) {
            EXPECT_EQ(RecordId(c.record), 0xF101);
        }
    }
    changer.join();
    for (uint8_t* record : unlinked)
        ProFree(record);
    EXPECT_FALSE(IsTableLocked(&ExtraRecordsLock));
}
