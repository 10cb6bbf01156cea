// The feed's settings in option block A, the level words, the backfill request, the purge outcome
// and the agreements check.
#include "realtime/RTFeedSettings.h"

#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTStore.h"

#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(RTFeedSettings, LevelWordsPackEachGroupWithLondonAtMax)
{
    struct Case {
        std::array<int, kLevelGroups> delivery;
        int backfillRow;
        uint32_t deliveryWord, backfillWord;
    };
    const Case cases[] = {
        // NASDAQ Max, NYSE/AMEX Normal, Forex Min, Indices None; backfill Normal.
        {{kLevelMax, kLevelNormal, kLevelMin, kLevelNone}, kLevelNormal, 0x31B, 0x31A},
        // A backfill row of Max with NYSE/AMEX at Min stores Min for it.
        {{kLevelMax, kLevelMin, kLevelMax, kLevelMax}, kLevelMax, 0x3F7, 0x3F7},
        // NASDAQ None: bits 0-1 of both words are 0.
        {{kLevelNone, kLevelMax, kLevelMax, kLevelMax}, kLevelMax, 0x3FC, 0x3FC},
        {{kLevelMax, kLevelMax, kLevelMax, kLevelMax}, kLevelNone, 0x3FF, 0x300},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PackDeliveryLevels(c.delivery), c.deliveryWord);
        EXPECT_EQ(PackBackfillLevels(c.delivery, c.backfillRow), c.backfillWord);
        for (int g = 0; g < kLevelGroups; ++g)
            EXPECT_EQ(GroupLevel(c.deliveryWord, g), c.delivery[size_t(g)]);
    }
    EXPECT_EQ(BackfillRowLevel(0x31A), kLevelNormal) << "the largest stored backfill level";
    EXPECT_EQ(LevelColumn(kLevelMax), 0);
    EXPECT_EQ(LevelColumn(kLevelNone), 3);
}

TEST(RTFeedSettings, TheBackfillRequestMasksTheGroupsByTheBackfillWordButNeverLondon)
{
    BackfillChoice choice;
    choice.groups = {true, true, false, true};
    choice.days = {PackDate(3, 3, 2026), PackDate(4, 3, 2026)};
    // NASDAQ None, NYSE/AMEX Normal, Indices Min: NASDAQ's pair goes, the others keep their levels.
    const uint32_t backfill = 0x300 | (kLevelNormal << 2) | (kLevelMin << 6);
    std::vector<uint8_t> record = PackBackfillRequest(choice, backfill);
    ASSERT_EQ(record.size(), 12u);
    EXPECT_EQ(LoadU32(record.data()), 0x300u | 0x08 | 0x40);
    EXPECT_EQ(LoadU16(record.data() + 4), 1);
    EXPECT_EQ(LoadU16(record.data() + 6), 2);
    EXPECT_EQ(LoadU16(record.data() + 8), PackDate(3, 3, 2026));
    EXPECT_EQ(LoadU16(record.data() + 10), PackDate(4, 3, 2026));

    choice.london = false;
    choice.overwrite = false;
    EXPECT_EQ(BackfillExchangeMask(choice, 0x300), 0u) << "US levels None: none of their bits";
    choice.london = true;
    EXPECT_EQ(BackfillExchangeMask(choice, 0), 0x300u) << "a ticked London box always adds 0x300";
    EXPECT_EQ(LoadU16(PackBackfillRequest(choice, 0).data() + 4), 0);
}

TEST(RTFeedSettings, AgreementsArePostedForLevelsWithoutACompletedAgreement)
{
    struct Case {
        uint32_t delivery, completed;
        std::vector<uint32_t> commands;
    };
    const Case cases[] = {
        {0x3FF, 0, {27063, 27064}},
        {0x3FF, 3, {}},
        {0x3FF, 1, {27064}},
        {0x300 | 0x0C, 2, {27063}},
        {0x300 | 0x40, 0, {27064}}, // indices count with NASDAQ
        {0x300 | 0x30, 0, {}},      // Forex needs neither
    };
    for (const Case& c : cases)
        EXPECT_EQ(AgreementCommands(c.delivery, c.completed), c.commands) << std::hex << c.delivery << " " << c.completed;
}

TEST(RTFeedSettings, PurgeOutcomeKeepsTheNewestDaysByCountSizeOrDate)
{
    const uint64_t mb = 1024 * 1024;
    const std::vector<RTHistoryDay> history{
        {PackDate(2, 3, 2026), 3 * mb}, {PackDate(3, 3, 2026), 2 * mb}, {PackDate(4, 3, 2026), mb}, {PackDate(5, 3, 2026), mb / 2}};
    struct Case {
        PurgeMethod method;
        uint32_t days, mbytes;
        PackedDate from;
        int32_t keptDays;
        uint64_t keptBytes;
    };
    const Case cases[] = {
        {PurgeMethod::Time, 2, 0, 0, 2, mb + mb / 2},
        {PurgeMethod::Time, 25, 0, 0, 4, 6 * mb + mb / 2},
        {PurgeMethod::Time, 0, 0, 0, 0, 0},
        {PurgeMethod::Storage, 0, 3, 0, 2, mb + mb / 2},
        {PurgeMethod::Storage, 0, 4, 0, 3, 3 * mb + mb / 2},
        {PurgeMethod::Storage, 0, 0, 0, 0, 0},
        {PurgeMethod::Date, 0, 0, PackDate(4, 3, 2026), 2, mb + mb / 2},
        {PurgeMethod::Date, 0, 0, PackDate(1, 1, 2026), 4, 6 * mb + mb / 2},
    };
    for (const Case& c : cases) {
        PurgeOutcome o = RTPurgeOutcome(history, c.method, c.days, c.mbytes, c.from);
        EXPECT_EQ(o.days, c.keptDays) << int(c.method) << " " << c.days << " " << c.mbytes;
        EXPECT_EQ(o.bytes, c.keptBytes);
    }
    EXPECT_EQ(PurgeMBytesText(6 * mb + mb / 2), "6.50");
    EXPECT_EQ(PurgeMBytesText(1023), "0.00") << "kilobytes, then MBytes";
}

// A new trading day opens the purge dialog only when the history passed the limit the page keeps,
// automatically or as a reminder by the page's method; "Manual purge" never.
TEST(RTFeedSettings, ANewDayAsksForAPurgeOnlyPastTheLimitAndNotWhenManual)
{
    const uint64_t mb = 1024 * 1024;
    const std::vector<RTHistoryDay> history{{PackDate(2, 3, 2026), 3 * mb}, {PackDate(3, 3, 2026), 2 * mb}, {PackDate(4, 3, 2026), mb}};
    struct Case {
        uint8_t mode, limit;
        uint16_t days;
        uint32_t mbytes;
        PurgeDue due;
    };
    const Case cases[] = {
        {0, 0, 2, 100, PurgeDue::Automatic}, {1, 0, 2, 100, PurgeDue::Reminder}, {2, 0, 2, 100, PurgeDue::None},
        {0, 0, 3, 100, PurgeDue::None},      {0, 1, 25, 5, PurgeDue::Automatic}, {1, 1, 25, 6, PurgeDue::None},
    };
    for (const Case& c : cases) {
        RTFeedSettings s;
        s.purgeMode = c.mode;
        s.purgeLimit = c.limit;
        s.keepDays = c.days;
        s.keepMBytes = c.mbytes;
        EXPECT_EQ(PurgeDueOnNewDay(s, history), c.due) << int(c.mode) << " " << int(c.limit) << " " << c.days << " " << c.mbytes;
    }
    EXPECT_EQ(PurgeDueOnNewDay(RTFeedSettings{0}, {}), PurgeDue::None) << "no history";
}

// The snapshot choice gives the roll-up of older days; storing the settings applies it to the store.
TEST(RTFeedSettings, TheSnapshotChoiceSetsTheRollUpLevel)
{
    const std::pair<uint8_t, uint8_t> cases[] = {{0, 0}, {1, 0}, {2, 1}, {3, 2}, {5, 4}, {9, 4}};
    for (auto [overseas, level] : cases) {
        RTFeedSettings s;
        s.overseasHistory = overseas;
        EXPECT_EQ(RTRollUpLevel(s), level) << int(overseas);
        ApplyRTFeedSettings(s);
        EXPECT_EQ(TheRTStore().rollUpLevel, level);
    }
    RTFeedSettings fast;
    fast.updateRate = 30;
    ApplyRTFeedSettings(fast);
    EXPECT_EQ(TheRTEngine().updateRate, 25) << "the update rate, at most 25 a second";
    ApplyRTFeedSettings(RTFeedSettings{});
    TheRTEngine().updateRate = 0;
}

TEST(RTFeedSettings, SettingsRoundTripThroughTheBlockAndAFreshBlockGivesTheDefaults)
{
    OptionBlockA block;
    RTFeedSettings fresh = ReadRTFeedSettings(block);
    RTFeedSettings defaults;
    defaults.userOpen = fresh.userOpen;
    defaults.userClose = fresh.userClose;
    EXPECT_EQ(fresh, defaults);
    EXPECT_EQ(fresh.userOpen[0], 8u * 3600);
    EXPECT_EQ(fresh.userClose[15], 86400u) << "Global Indices close at 24:00";

    RTFeedSettings s = fresh;
    s.purgeMode = 0;
    s.purgeLimit = 1;
    s.purgeMethod = PurgeMethod::Date;
    s.keepDays = 7;
    s.keepMBytes = 321;
    s.purgeDate = PackDate(1, 2, 2026);
    s.deliveryLevels = 0x31B;
    s.backfillLevels = 0x31A;
    s.levelsChosen = s.priorityBackfill = s.usBackfillNoteOff = true;
    s.disconnectAlert = false;
    s.overseasHistory = 3;
    s.updateRate = 25;
    s.userOpen[1] = 9 * 3600 + 45 * 60;
    s.userClose[1] = 15 * 3600 + 59 * 60;
    WriteRTFeedSettings(block, s);
    EXPECT_EQ(ReadRTFeedSettings(block), s);
    // The user-defined hours in minutes too.
    EXPECT_EQ(LoadU16(block.data() + 744 + 4), 9 * 60 + 45);
    EXPECT_EQ(LoadU16(block.data() + 744 + 6), 15 * 60 + 59);

    // Values no page writes are held to their ranges.
    block.data()[742] = 0;
    block.data()[723] = 9;
    StoreU32(block.data() + 820, 999999);
    RTFeedSettings clamped = ReadRTFeedSettings(block);
    EXPECT_EQ(clamped.updateRate, 1);
    EXPECT_EQ(clamped.purgeMethod, PurgeMethod::Date);
    EXPECT_EQ(clamped.userOpen[0], 86400u);
}
