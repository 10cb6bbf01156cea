// Tests of conversion of setting records kept by stores older than version 5.
#include "core/SettingRecordsV4.h"

#include "core/SettingRecordStore.h"
#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {
// One record holding the given sub-records, then the block's end word.
std::vector<uint8_t> Block(uint16_t key, uint8_t subKey, const std::vector<std::vector<uint8_t>>& subs)
{
    ByteWriter w;
    size_t length = 5 + 2;
    for (const auto& s : subs)
        length += s.size();
    w.u16(uint16_t(length));
    w.u16(key);
    w.u8(subKey);
    for (const auto& s : subs)
        w.bytes(s.data(), s.size());
    w.u16(0);
    w.u16(0);
    return w.take();
}

std::vector<uint8_t> Sub(uint8_t id, size_t length, uint8_t fill)
{
    std::vector<uint8_t> s(length, fill);
    StoreU16(s.data(), uint16_t(length));
    s[2] = id;
    return s;
}
} // namespace

TEST(SettingRecordsV4, LevelsAndAlarmsTakeTheirNewLayout)
{
    auto levels = Sub(1, 20, 0);
    StoreI32(&levels[3], -1250);
    levels[7] = 1;
    levels[8] = 0;
    StoreU32(&levels[11], 0xA1B2C3D4);
    StoreU16(&levels[15], 0x0102);
    levels[19] = 0x77;

    auto alarm = Sub(2, 52, 0); // text at 46-51
    for (size_t i = 3; i < 46; ++i)
        alarm[i] = uint8_t(i);
    alarm[35] = 0xFE; // signed: -2
    const char text[] = "Alert";
    std::copy(text, text + 5, alarm.begin() + 46); // the grown field holds four letters and a zero

    auto other = Sub(130, 6, 0x5A);
    auto out = ConvertSettingBlockV4(Block(0x4001, 0, {levels, alarm, other}));

    ASSERT_EQ(LoadU16(&out[0]), 7 + 20 + 88 + 6);
    const uint8_t* l = &out[5];
    EXPECT_EQ(LoadU16(l), 20);
    EXPECT_EQ(LoadU16(l + 3), 2);
    EXPECT_EQ(LoadU16(l + 5), 0x0102);
    EXPECT_EQ(LoadU32(l + 7), 0xA1B2C3D4u);
    EXPECT_EQ(LoadF32(l + 11), -1250.0f);
    EXPECT_EQ(l[19], 0x77);

    const uint8_t* a = l + 20;
    ASSERT_EQ(LoadU16(a), 88);
    EXPECT_EQ(a[2], 2);
    EXPECT_EQ(a[3], 3);
    EXPECT_EQ(a[10], 10);
    EXPECT_EQ(a[11], 15);
    EXPECT_EQ(a[22], 26);
    EXPECT_EQ(LoadU16(a + 27), LoadU16(&alarm[31]));
    EXPECT_EQ(LoadF32(a + 31), 33.0f);
    EXPECT_EQ(LoadF32(a + 39), -2.0f);
    EXPECT_EQ(LoadF32(a + 51), 38.0f);
    EXPECT_EQ(a[55], 39);
    EXPECT_EQ(a[60], 44);
    EXPECT_EQ(LoadF32(a + 63), 45.0f);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(a + 83)), "Aler");
    EXPECT_EQ(a[87], 0);

    const uint8_t* o = a + 88;
    EXPECT_EQ(std::vector<uint8_t>(o, o + 6), other);
    EXPECT_EQ(LoadU16(o + 6), 0);
    EXPECT_EQ(LoadU16(o + 8), 0);
    EXPECT_EQ(out.size(), size_t(5 + 20 + 88 + 6 + 4));
}

TEST(SettingRecordsV4, DamagedLengthsEndTheWalk)
{
    auto block = Block(7, 1, {Sub(3, 5, 1)});
    StoreU16(&block[5], 200); // sub-record past its record
    auto out = ConvertSettingBlockV4(block);
    EXPECT_EQ(LoadU16(&out[0]), 7);
    StoreU16(&block[0], 500); // record past the block
    EXPECT_EQ(ConvertSettingBlockV4(block), (std::vector<uint8_t>{0, 0}));
    EXPECT_EQ(ConvertSettingBlockV4({}), (std::vector<uint8_t>{0, 0}));
}
