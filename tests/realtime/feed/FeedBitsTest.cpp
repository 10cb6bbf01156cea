// The feed's bit reader, its code trees through the encoder, the item readers and the directory.
#include "realtime/feed/FeedBits.h"

#include "devtools/lib/FeedEncoder.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

std::vector<uint8_t> Words(std::initializer_list<uint32_t> words)
{
    std::vector<uint8_t> out;
    for (uint32_t w : words)
        for (int i = 0; i < 4; ++i)
            out.push_back(uint8_t(w >> (8 * i)));
    return out;
}

TEST(FeedBits, ReadBitsJoinsWordsLowPartFirst)
{
    auto bytes = Words({0xDEADBEEF, 0x12345678});
    struct Case {
        int skip, n;
        uint32_t want;
    };
    const Case cases[] = {
        {0, 4, 0xF},          {0, 32, 0xDEADBEEF},      {4, 8, 0xEE},
        {28, 8, 0x8D},        // 0xD from the first word's top, 0x8 from the second's bottom
        {16, 32, 0x5678DEAD}, {31, 1, 1},               {32, 32, 0x12345678},
        {60, 4, 0x1},
    };
    for (const Case& c : cases) {
        FeedBitStream s(bytes);
        for (int left = c.skip; left > 0; left -= 16)
            s.ReadBits(left > 16 ? 16 : left);
        EXPECT_EQ(s.ReadBits(c.n), c.want) << "skip " << c.skip << " n " << c.n;
        EXPECT_FALSE(s.overrun());
    }
    FeedBitStream s(bytes);
    s.ReadBits(32);
    s.ReadBits(30);
    EXPECT_EQ(s.ReadBits(3), 0u) << "past the end";
    EXPECT_TRUE(s.overrun());
    EXPECT_EQ(s.ReadBits(1), 0u) << "an overrun stream stays overrun";
}

TEST(FeedBits, EveryLeafOfEveryTreeReadsBack)
{
    for (FeedTree tree : {FeedTree::Value, FeedTree::VolumeClass, FeedTree::VolumeWidth, FeedTree::CountClass,
                          FeedTree::CountValue, FeedTree::EscapeWidth}) {
        auto table = FeedCodeTable(tree);
        dev::FeedBitWriter w;
        for (const FeedCode& c : table)
            w.Leaf(tree, c.leaf);
        w.Bits(0x2A, 6); // a marker behind the codes: every code took exactly its own bits
        FeedBitStream s(w.bytes());
        for (const FeedCode& c : table)
            EXPECT_EQ(ReadFeedLeaf(s, tree), c.leaf) << "tree " << int(tree) << " code " << c.bits;
        EXPECT_EQ(s.ReadBits(6), 0x2Au);
    }
    // The value and count trees are whole: 32 and 64 different leaves.
    EXPECT_EQ(FeedCodeTable(FeedTree::Value).size(), 32u);
    EXPECT_EQ(FeedCodeTable(FeedTree::CountValue).size(), 64u);
}

TEST(FeedBits, DeltaValuesDirectionsVolumesAndCounts)
{
    dev::FeedBitWriter w;
    int32_t wp = 0;
    const int32_t values[] = {12345, 12345, 12000, -5, 16'777'000, 0, 300'000, 7};
    for (int32_t v : values)
        dev::WriteDeltaValue(w, v, wp, true);
    for (int d : {0, 1, -1})
        dev::WriteFeedDirection(w, d);
    const uint32_t volumes[] = {0, 1, 63, 100, 2500, 1000, 7'000'000, 1'073'741'823};
    for (uint32_t v : volumes)
        dev::WriteFeedVolume(w, v);
    const uint32_t counts[] = {1, 2, 63, 64, 1'000'000};
    for (uint32_t c : counts)
        dev::WriteFeedCount(w, c);
    dev::WriteFeedCount(w, 5, 7); // an escape of width 30 for a small count
    int32_t first = 17;
    dev::WriteDeltaValue(w, 0, first, false);

    FeedBitStream s(w.bytes());
    int32_t prev = 0;
    int cls = 0;
    for (int32_t v : values)
        EXPECT_EQ(ReadDeltaValue(s, prev, cls, true), v);
    for (int d : {0, 1, -1})
        EXPECT_EQ(ReadFeedDirection(s, cls), d);
    uint32_t bits = 0;
    for (uint32_t v : volumes) {
        uint32_t raw = ReadFeedVolume(s, cls, bits);
        EXPECT_EQ(cls == 3 ? 0 : raw * kFeedVolumeMultipliers[cls], v);
    }
    uint32_t value = 0;
    for (uint32_t c : counts)
        EXPECT_EQ(ReadFeedCount(s, cls, value, bits, false), c);
    bits = 0;
    EXPECT_EQ(ReadFeedCount(s, cls, value, bits, false), 5u);
    EXPECT_EQ(bits, 30u) << "the escape read 30 more bits";
    int32_t keepOff = 17;
    EXPECT_EQ(ReadDeltaValue(s, keepOff, cls, false), 0) << "a 0 bit without keep yields 0";
    EXPECT_EQ(keepOff, 17) << "and leaves the register";
    EXPECT_FALSE(s.overrun());
}

TEST(FeedBits, DirectoryTakesOneByteMoreThanItsWholeBytes)
{
    struct Case {
        std::vector<uint16_t> shares;
        size_t bytes;
    };
    // 12 bits of count; each share 3 + (2w + 2) bits.
    const Case cases[] = {
        {{}, 2},                      // 12 bits: 1 whole byte + 1
        {{0x4000, 0x4001, 0x4002}, 4}, // 12 + 3 x 5 = 27 bits
        {{0x4001}, 3},                // 12 + 5 = 17 bits
        {{0x4003, 0x4002}, 5},        // the second difference wraps to 0xFFFF: 12 + 5 + 19 bits
        {{0x4000, 0x4001, 0x4002, 0x4003}, 5}, // 12 + 20 = 32 bits, on a byte boundary: 4 + 1
        {{0x7FFF, 0xF001}, 7},        // extra items above the shares: 12 + 17 + 19 bits
    };
    for (const Case& c : cases) {
        auto bytes = dev::FeedShareDirectory(c.shares);
        EXPECT_EQ(bytes.size(), c.bytes);
        std::vector<uint16_t> read;
        size_t used = 0;
        ASSERT_TRUE(ReadFeedShareDirectory(bytes, read, used));
        EXPECT_EQ(used, c.bytes);
        EXPECT_EQ(read, c.shares);
        bytes.pop_back();
        EXPECT_FALSE(ReadFeedShareDirectory(bytes, read, used)) << "one byte short";
        EXPECT_TRUE(read.empty());
    }
}

} // namespace
} // namespace qv
