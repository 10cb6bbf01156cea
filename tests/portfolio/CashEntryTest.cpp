// Tests of the packed records of a cash account's entry block.
#include "portfolio/CashEntry.h"

#include "core/Memory.h"
#include "platform/ByteOrder.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

using namespace qv;

TEST(CashEntry, FieldsSitAtTheirOffsetsAndRoundTripByteExact)
{
    CashEntryFields f;
    f.type = kCashCharge;
    f.date = 0x3021;
    f.amount = 12.5f;
    f.balance = -3.25f;
    std::memcpy(f.description.data(), "Fee", 3);
    f.note = "quarterly";
    std::vector<uint8_t> bytes = *EncodeCashEntry(f);
    ASSERT_EQ(bytes.size(), 48u + 9);
    EXPECT_EQ(bytes[0], 57);
    EXPECT_EQ(bytes[1], 3);
    EXPECT_EQ(LoadU32(&bytes[2]), 0xFFFFFFFFu);
    EXPECT_EQ(LoadU16(&bytes[6]), 0x3021);
    EXPECT_EQ(LoadF32(&bytes[12]), 12.5f);
    EXPECT_EQ(LoadF32(&bytes[16]), -3.25f);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[24])), "Fee");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[44])), "quarterly");
    auto back = DecodeCashEntry(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->note, "quarterly");
    EXPECT_EQ(*EncodeCashEntry(*back), bytes);

    f.note.assign(220, 'x');
    EXPECT_FALSE(EncodeCashEntry(f));
}

TEST(CashEntry, DamagedLengthsAreRefused)
{
    std::vector<uint8_t> bytes = *EncodeCashEntry(CashEntryFields{});
    EXPECT_FALSE(DecodeCashEntry(std::span(bytes).first(40)));
    bytes[0] = 20;
    EXPECT_FALSE(DecodeCashEntry(bytes));
    // An entry chain without its zero byte, or one running past the block, has no end.
    std::vector<uint8_t> block(100, 0);
    block[0] = 48;
    block[48] = 60;
    EXPECT_FALSE(CashEntriesEnd(block));
    block[48] = 0;
    EXPECT_EQ(CashEntriesEnd(block), 48u);
}

TEST(CashEntry, AnEntryThatWouldNotLeave100SpareBytesGrowsTheBlockFirst)
{
    uint32_t capacity = 1024;
    auto* block = static_cast<uint8_t*>(ProCalloc(capacity, 1, "test"));
    CashEntryFields f;
    f.note.assign(100, 'n');
    std::vector<uint8_t> entry = *EncodeCashEntry(f); // 148 bytes
    int added = 0;
    while (capacity == 1024) {
        ASSERT_TRUE(AddCashEntry(block, capacity, entry));
        ++added;
    }
    // 148 x 5 = 740 bytes used; the sixth needs 740 + 148 + 100 = 988 < 1024; the seventh grows.
    EXPECT_EQ(added, 7);
    EXPECT_EQ(capacity, 2048u);
    EXPECT_EQ(CashEntriesEnd({block, capacity}), 148u * 7);
    ProFree(block);
}
