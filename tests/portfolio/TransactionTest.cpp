// Tests of the transaction record.
#include "portfolio/Transaction.h"

#include "platform/ByteOrder.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace qv;

namespace {

TransactionFields Sample()
{
    TransactionFields f;
    f.date = 0x3021;
    f.type = 1;
    f.shareId = 0x4123;
    f.line = 2;
    f.flags = 0x88;
    f.shares = 1000;
    f.price = 2.5f;
    f.amount = 2512.5f;
    f.charges = 12.5f;
    f.gainBeforeLosses = kNotComputed;
    f.portfolioNumber = 7;
    f.cashAccount = 3;
    f.time = 36000;
    f.bytes112 = 0x11223344;
    f.reference = {'R', 'E', 'F', '1'};
    f.texts[0] = "Alpha Mining";
    f.texts[1] = "first note";
    f.texts[10] = "last";
    return f;
}

std::unique_ptr<Transaction> Make(const std::string& name, uint16_t id, uint8_t line, uint16_t date, uint8_t type,
                                  uint32_t time = 0)
{
    TransactionFields f;
    f.texts[0] = name;
    f.shareId = id;
    f.line = line;
    f.date = date;
    f.type = type;
    f.time = time;
    auto t = std::make_unique<Transaction>();
    t->bytes = *EncodeTransaction(f);
    return t;
}

} // namespace

TEST(TransactionRecord, FieldsSitAtTheirOffsetsAndRoundTripByteExact)
{
    std::vector<uint8_t> bytes = *EncodeTransaction(Sample());
    // Empty notes take two bytes each; two spare zero bytes close the record.
    size_t expected = 156 + (12 + 2) + (10 + 2) + (4 + 2) + 8 * 2 + 2;
    ASSERT_EQ(bytes.size(), expected);
    EXPECT_EQ(LoadU32(&bytes[0]), expected);
    EXPECT_EQ(LoadU16(&bytes[70]), expected);
    EXPECT_EQ(LoadU16(&bytes[4]), 0x3021);
    EXPECT_EQ(LoadU16(&bytes[8]), 0x4123);
    EXPECT_EQ(bytes[10], 2);
    EXPECT_EQ(bytes[11], 0x88);
    EXPECT_EQ(LoadF32(&bytes[12]), 1000.0f);
    EXPECT_EQ(LoadF32(&bytes[72]), kNotComputed);
    EXPECT_EQ(LoadU16(&bytes[88]), 7);
    EXPECT_EQ(LoadU16(&bytes[100]), 3);
    EXPECT_EQ(LoadU32(&bytes[112]), 0x11223344u);
    EXPECT_EQ(LoadU32(&bytes[128]), 36000u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[136])), "REF1");
    EXPECT_EQ(bytes[156], 12);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[157])), "Alpha Mining");

    auto decoded = DecodeTransaction(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->texts[1], "first note");
    EXPECT_EQ(decoded->texts[10], "last");
    EXPECT_EQ(*EncodeTransaction(*decoded), bytes);

    Transaction t;
    t.bytes = bytes;
    EXPECT_EQ(t.text(0), "Alpha Mining");
    EXPECT_EQ(t.text(10), "last");
    EXPECT_EQ(t.text(11), "");
}

TEST(TransactionRecord, ANameOnlyRecordIs180BytesPlusTheName)
{
    TransactionFields f;
    f.texts[0] = "Lost Share";
    EXPECT_EQ(EncodeTransaction(f)->size(), 190u);
}

TEST(TransactionRecord, DecodingStopsAtTheEndOfTheBytes)
{
    std::vector<uint8_t> bytes = *EncodeTransaction(Sample());
    EXPECT_FALSE(DecodeTransaction(std::span(bytes).first(155)));
    // A name whose length byte runs past the end is cut; the notes are then empty.
    std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + 160);
    cut[156] = 200;
    auto f = DecodeTransaction(cut);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->texts[0], "Alp");
    EXPECT_EQ(f->texts[5], "");
    Transaction t;
    t.bytes = cut;
    EXPECT_EQ(t.text(0), "Alp");
    EXPECT_EQ(t.text(3), "");
}

TEST(TransactionRecord, EncodingRefusesARecordPastItsLengthField)
{
    TransactionFields f;
    f.tail.assign(70000, 0);
    EXPECT_FALSE(EncodeTransaction(f));
}

TEST(TransactionList, RunsOfShareAndLineInNameOrderClosedByTheirLatestRow)
{
    std::vector<std::unique_ptr<Transaction>> owned;
    Transaction* head = nullptr;
    auto add = [&](std::unique_ptr<Transaction> t) {
        InsertSortedByName(&head, t.get());
        owned.push_back(std::move(t));
    };
    // Names agreeing over the shorter length but of different ids stay apart, in insertion order.
    add(Make("BRAVO", 0x4002, 0, 100, 1));
    add(Make("alpha plc", 0x4001, 0, 200, 2));
    add(Make("Alpha", 0x4009, 0, 50, 1));
    add(Make("alpha plc", 0x4001, 0, 100, 1));
    add(Make("Alpha plc", 0x4001, 0, 200, kLatestRowType));
    add(Make("Alpha plc", 0x4001, 0, 200, 1, 10)); // same day: by time, before the 'Latest' row
    add(Make("Alpha plc", 0x4001, 0, 200, 1, 0));  // same day and time: lower type first
    add(Make("Alpha plc", 0x4001, 1, 10, 1));      // a higher line: a run of its own, after line 0
    // An imported item's line does not split its run.
    add(Make("Zeta", 0xF001, 3, 20, 1));
    add(Make("Zeta", 0xF001, 1, 10, 1));

    std::vector<std::tuple<uint16_t, uint8_t, uint16_t, uint8_t, uint32_t>> order;
    for (Transaction* t = head; t; t = t->next)
        order.emplace_back(t->shareId(), t->line(), t->date(), t->type(), t->time());
    std::vector<std::tuple<uint16_t, uint8_t, uint16_t, uint8_t, uint32_t>> expected = {
        {0x4001, 0, 100, 1, 0},  {0x4001, 0, 200, 1, 0},  {0x4001, 0, 200, 2, 0},
        {0x4001, 0, 200, 1, 10}, {0x4001, 0, 200, 15, 0}, {0x4001, 1, 10, 1, 0},
        {0x4009, 0, 50, 1, 0},   {0x4002, 0, 100, 1, 0},  {0xF001, 1, 10, 1, 0},
        {0xF001, 3, 20, 1, 0},
    };
    EXPECT_EQ(order, expected);
}
