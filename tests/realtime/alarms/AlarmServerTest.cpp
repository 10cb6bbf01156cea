// The intraday alarm server over a market of its own: raising and de-duplication, the day change, the
// limit flag, the feed state, the timer entry, the scans and the notification with its log line.
#include "realtime/alarms/AlarmServer.h"

#include "core/ConfigState.h"
#include "devtools/lib/TempFolder.h"
#include "news/NewsRealTime.h"
#include "realtime/feed/RTEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <fstream>
#include <sstream>

using namespace qv;

namespace {

constexpr uint32_t kKey = 0x4001, kOther = 0x4002;

struct FakeMarket : AlarmMarket {
    int32_t step = 7;
    uint32_t now = 1700000000, ticks = 5000, today = 100, latest = 36000, open = 28800;
    std::map<uint32_t, float> prices, opens;
    std::vector<uint32_t> updates, shares{kKey, kOther};
    std::vector<AlarmBar> bars;
    std::vector<ShareLine> lineList;
    mutable int barRequests = 0;

    int32_t ConnectionStep() const override { return step; }
    uint32_t Now() const override { return now; }
    uint32_t Ticks() const override { return ticks; }
    uint32_t Today() const override { return today; }
    uint32_t LatestTime(uint8_t) const override { return latest; }
    uint32_t OpenTime(uint8_t) const override { return open; }
    std::string ZoneLabel(uint8_t) const override { return "GMT"; }
    std::string ShareName(uint32_t key) const override { return key == kKey ? "Acme plc" : "Other"; }
    float LatestPrice(uint32_t key) const override { return prices.count(key) ? prices.at(key) : 0.0f; }
    float TodayHigh(uint32_t) const override { return 0; }
    float OpenPrice(uint32_t key) const override { return opens.count(key) ? opens.at(key) : 0.0f; }
    float CloseDaysBack(uint32_t, int) const override { return 0; }
    std::vector<AlarmQuote> Quotes(uint32_t) const override { return {}; }
    bool Bars(uint32_t, int32_t, int32_t, int32_t, std::vector<AlarmBar>& out, int32_t& first) const override
    {
        ++barRequests;
        out = bars;
        first = 28800;
        return !bars.empty();
    }
    float DailyHighBetween(uint32_t, PackedDate, PackedDate) const override { return 0; }
    std::vector<uint32_t> UpdatesSince(uint16_t&) const override { return updates; }
    std::vector<uint32_t> SourceShares(RTAlarmSettings&) const override { return shares; }
    bool Lines(std::vector<ShareLine>& out) const override
    {
        out = lineList;
        return true;
    }
};

// A market whose today is the clock's local date, with quotes, today's high and daily highs of the
// end-of-day history.
struct StopHighMarket : AlarmMarket {
    float todayHigh = 0;
    std::vector<AlarmQuote> quotes, mondayQuotes;
    std::map<PackedDate, float> dailyHighs;
    PackedDate today = 0;
    uint32_t Today() const override { return today; }
    float TodayHigh(uint32_t) const override { return todayHigh; }
    std::vector<AlarmQuote> Quotes(uint32_t) const override { return quotes; }
    std::vector<AlarmQuote> DayQuotes(uint32_t, PackedDate day) const override
    {
        return day == PackDate(7, 12, 2026) ? mondayQuotes : std::vector<AlarmQuote>{};
    }
    float DailyHighBetween(uint32_t, PackedDate after, PackedDate before) const override
    {
        float high = 0;
        for (const auto& [day, h] : dailyHighs)
            if (day > after && day < before)
                high = std::max(high, h);
        return high;
    }
};

uint32_t LocalTime(int day, int hour)
{
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_isdst = -1;
    return uint32_t(std::mktime(&t));
}

// The stop-loss high since the start: the start day's quotes after the start time (today's, or a
// stored earlier day's); the daily highs of the days after the start day (the start day's own high
// holds prices from before the start); today's high always.
TEST(AlarmStopLossHigh, TakesTheDailyHighsOfTheDaysSinceTheStartDay)
{
    StopHighMarket m;
    m.today = PackDate(10, 12, 2026); // Thursday
    m.todayHigh = 100;
    m.quotes = {{9 * 3600, 119, 121, 0}, {11 * 3600, 104, 106, 0}, {12 * 3600, 130, 150, 1}};
    m.dailyHighs = {{PackDate(7, 12, 2026), 150}, {PackDate(8, 12, 2026), 110}, {PackDate(9, 12, 2026), 112},
                    {PackDate(10, 12, 2026), 160}};
    m.mondayQuotes = {{9 * 3600, 139, 141, 0}, {15 * 3600, 119, 121, 0}, {16 * 3600, 0, 200, 0}};
    struct Case {
        const char* name;
        uint32_t from;
        float high;
    };
    const Case cases[] = {
        {"today at 10:00: the 11:00 quote's mid, not the 09:00 one's", LocalTime(10, 10), 105},
        {"Monday at 10:00: Monday's 15:00 quote, then Tuesday's and Wednesday's highs", LocalTime(7, 10), 120},
        {"Monday at 15:30: Tuesday's and Wednesday's highs", LocalTime(7, 15) + 1800, 112},
        {"Wednesday: none between, today's high", LocalTime(9, 10), 100},
        {"tomorrow: today's high", LocalTime(11, 10), 100},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(m.HighSince(kKey, c.from), c.high) << c.name;
    m.todayHigh = 0;
    m.quotes.clear();
    EXPECT_EQ(m.HighSince(kKey, LocalTime(9, 10)), 0) << "nothing positive";
}

class AlarmServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = Config().intradayAlarms;
        RTAlarmSettings::Defaults().Store();
        IntradayAlarmActions a;
        a.showDialog = false;
        RTAlarmSettings::SetActions(a);
        auto owned = std::make_unique<FakeMarket>();
        market = owned.get();
        server = std::make_unique<CAlarmServer>(std::move(owned));
        server->setTimer = [this](CAlarmServer&, bool arm) { timerChanges.push_back(arm); };
        server->ApplySettings();
    }
    void TearDown() override
    {
        server.reset();
        RemoveShareAlarmRecord(kKey, 0);
        RemoveShareAlarmRecord(kOther, 0);
        Config().intradayAlarms = saved_;
        // Loading the share records sets the program's real-time news table, which outlives the server.
        TheRealTimeNewsTable().clear();
    }
    void SetRecord(uint32_t key, const RTShareAlarmRecord& r)
    {
        StoreShareAlarmRecord(uint16_t(key), 0, r);
        server->OnShareRecordChanged(key);
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> out;
        for (const IntradayAlarm& a : server->alarms().alarms())
            out.push_back(a.text);
        return out;
    }

    IntradayAlarmConfig saved_;
    FakeMarket* market = nullptr;
    std::unique_ptr<CAlarmServer> server;
    std::vector<bool> timerChanges;
};

IntradayAlarm Alarm(uint32_t key, int32_t kind, uint32_t timeOfDay, uint8_t slot = 0)
{
    IntradayAlarm a;
    a.key = key;
    a.kind = kind;
    a.timeOfDay = timeOfDay;
    a.slot = slot;
    a.text = "x";
    return a;
}

} // namespace

TEST(IntradayAlarmList, DeDuplicatesByKindSlotAndTime)
{
    struct Case {
        IntradayAlarm first, second;
        bool secondAdded;
    };
    const Case cases[] = {
        {Alarm(kKey, kAlarmMacd, 36000), Alarm(kKey, kAlarmMacd, 36299), false},     // within 300 s
        {Alarm(kKey, kAlarmMacd, 36000), Alarm(kKey, kAlarmMacd, 36300), true},
        {Alarm(kKey, kAlarmMacd, 36000), Alarm(kKey, kAlarmRsi, 36000), true},       // another kind
        {Alarm(kKey, kAlarmMacd, 36000), Alarm(kOther, kAlarmMacd, 36000), true},    // another share
        {Alarm(kKey, kAlarmShareMove, 36000, 1), Alarm(kKey, kAlarmShareMove, 40000, 1), false},
        {Alarm(kKey, kAlarmShareMove, 36000, 1), Alarm(kKey, kAlarmShareMove, 36000, 2), true},
        {Alarm(kKey, kAlarmGlobalMove, 36000, 3), Alarm(kKey, kAlarmGlobalMove, 36000, 3), false},
        {Alarm(kKey, kAlarmAbove, 36000), Alarm(kKey, kAlarmAbove, 50000), false},   // once a day
        {Alarm(kKey, kAlarmTimer, 36000), Alarm(kKey, kAlarmTimer, 50000), false},
    };
    for (const Case& c : cases) {
        IntradayAlarmList list;
        ASSERT_TRUE(list.Raise(c.first, {}));
        EXPECT_EQ(list.Raise(c.second, {}), c.secondAdded) << c.first.kind << " " << c.second.timeOfDay;
    }
}

TEST(IntradayAlarmList, TheLimitDropsOldAlarmsButNotTimersAndTheListRunsNewestFirst)
{
    IntradayAlarmList list;
    const AlarmLimit limit{true, 30, 36000};
    EXPECT_FALSE(list.Raise(Alarm(kKey, kAlarmMacd, 36000 - 1801), limit));
    EXPECT_TRUE(list.Raise(Alarm(kKey, kAlarmMacd, 36000 - 1800), limit));
    EXPECT_TRUE(list.Raise(Alarm(kKey, kAlarmTimer, 0), limit));
    EXPECT_FALSE(list.Raise(Alarm(kOther, kAlarmAbove, 100), limit));

    IntradayAlarmList order;
    for (uint32_t stamp : {10u, 30u, 20u, 30u}) {
        IntradayAlarm a = Alarm(stamp, kAlarmAbove, 0);
        a.stamp = stamp;
        order.Raise(a, {});
    }
    std::vector<uint32_t> keys;
    for (const IntradayAlarm& a : order.alarms())
        keys.push_back(a.key);
    EXPECT_EQ(keys, (std::vector<uint32_t>{30, 20, 10})) << "the second alarm of share 30 is a repeat";
}

TEST_F(AlarmServerTest, PriceAboveIsRaisedOncePerDayAndAgainAfterTheDayChanges)
{
    RTShareAlarmRecord r;
    r.aboveOn = true;
    r.aboveLevel = 100;
    SetRecord(kKey, r);
    market->prices[kKey] = 100;
    server->TestPrices(0, true);
    EXPECT_TRUE(server->alarms().empty()) << "equal to the level";
    market->prices[kKey] = 101;
    server->TestPrices(kKey, false);
    server->TestPrices(kKey, false);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Price above alarm level at 10:00 GMT"}));

    market->today = 101;
    server->TimerStep();
    EXPECT_TRUE(server->alarms().empty()) << "the day change drops every alarm";
    server->TestPrices(kKey, false);
    EXPECT_EQ(server->alarms().size(), 1u);
}

TEST_F(AlarmServerTest, NoTestBeforeTheStartOffsetAndNothingRunsOutsideStatesSevenAndEight)
{
    RTShareAlarmRecord r;
    r.aboveOn = true;
    r.aboveLevel = 100;
    r.timerOn = true;
    r.timerTime = market->now - 10;
    IntradayAlarmActions a = RTAlarmSettings::Actions();
    a.startDelay = 900;
    RTAlarmSettings::SetActions(a);
    server->ApplySettings();
    SetRecord(kKey, r);
    market->prices[kKey] = 150;
    market->latest = market->open + 899;
    server->TestPrices(0, true);
    EXPECT_TRUE(server->alarms().empty()) << "before open + 15 minutes";

    for (int32_t step : {0, 1, 6, 9, 15}) {
        market->step = step;
        server->TimerStep();
        EXPECT_TRUE(server->alarms().empty()) << step;
    }
    market->step = 8;
    server->TimerStep();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"timer alarm"}));
    EXPECT_FALSE(LoadShareAlarmRecord(kKey, 0)->timerOn) << "a timer fires once";
}

TEST_F(AlarmServerTest, TheTimerEntryExistsOnlyWhileThereIsWork)
{
    EXPECT_FALSE(server->timerArmed()) << "nothing on by default";
    RTAlarmSettings s = RTAlarmSettings::Current();
    s.macdLong = 26;
    s.Store();
    server->ApplySettings();
    EXPECT_TRUE(server->timerArmed());
    s.macdLong = -26;
    s.Store();
    server->ApplySettings();
    EXPECT_FALSE(server->timerArmed());
    EXPECT_EQ(timerChanges, (std::vector<bool>{true, false}));

    // A raised alarm keeps it until the notification is posted.
    RTShareAlarmRecord r;
    r.belowOn = true;
    r.belowLevel = 100;
    SetRecord(kKey, r);
    market->prices[kKey] = 99;
    server->TestPrices(kKey, false);
    EXPECT_TRUE(server->timerArmed());
    market->ticks += 1000;
    server->TimerStep();
    EXPECT_TRUE(server->timerArmed()) << "not yet a second";
    market->ticks += 1;
    server->TimerStep();
    EXPECT_FALSE(server->timerArmed());
}

TEST_F(AlarmServerTest, GlobalMovesScanOnlyFlaggedSharesAndOnlyWithASlotOn)
{
    market->prices = {{kKey, 110}, {kOther, 110}};
    market->opens = {{kKey, 100}, {kOther, 100}};
    market->ticks = 10000;
    server->TimerStep();
    EXPECT_FALSE(server->scanRunning()) << "no global slot on";
    EXPECT_TRUE(server->alarms().empty());

    RTAlarmSettings s = RTAlarmSettings::Current();
    RTAlarmSlot slot = RTAlarmSlot::Read(s.moves[0]);
    slot.on = true;
    slot.Write(s.moves[0]);
    s.Store();
    server->ApplySettings();
    market->ticks += 2001;
    server->TimerStep();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Up by 10.00% since open at 10:00 GMT", "Up by 10.00% since open at 10:00 GMT"}));
    EXPECT_EQ(server->alarms().alarms().front().kind, kAlarmGlobalMove);

    // Afterwards only shares with new data are scanned again.
    server->alarms().Clear();
    market->updates = {kOther};
    server->TimerStep();
    market->updates.clear();
    market->ticks += 2001;
    server->TimerStep();
    ASSERT_EQ(server->alarms().size(), 1u);
    EXPECT_EQ(server->alarms().alarms().front().key, kOther);
}

TEST_F(AlarmServerTest, IndicatorPassesRaiseCrossesOnceAndHonourTheLimit)
{
    RTAlarmSettings s = RTAlarmSettings::Current();
    s.maOn = 1;
    s.shortCount = 2;
    s.longCount = 4;
    s.triggerLevel = 1;
    s.barMinutes = 5;
    s.Store();
    for (float c : {20, 19, 18, 17, 16, 15, 14, 13, 12, 14, 16, 18, 20, 22})
        market->bars.push_back({c, c, c, c});
    market->shares = {kKey};
    market->latest = 28800 + 20 * 300;
    server->ApplySettings();
    server->TimerStep();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Golden cross at 8:50 GMT"}));
    server->ApplySettings();
    server->TimerStep();
    EXPECT_EQ(server->alarms().size(), 1u) << "the same cross on the next pass";

    server->alarms().Clear();
    IntradayAlarmActions a = RTAlarmSettings::Actions();
    a.limit = true;
    a.minutes = 5;
    RTAlarmSettings::SetActions(a);
    server->ApplySettings();
    server->TimerStep();
    EXPECT_TRUE(server->alarms().empty()) << "a cross older than the limit";
}

TEST_F(AlarmServerTest, NotificationLogsEachAlarmOnceAndWaitsForALoad)
{
    qv::dev::TempFolder folder;
    IntradayAlarmActions a = RTAlarmSettings::Actions();
    a.log = true;
    a.audio = true;
    a.wave = true;
    a.flash = true;
    a.logFile = (folder / "alarms.log").string();
    a.soundFile = "ring.wav";
    RTAlarmSettings::SetActions(a);
    server->ApplySettings();
    int beeps = 0, flashes = 0;
    bool loading = true;
    std::vector<std::string> played;
    server->ui.loading = [&] { return loading; };
    server->ui.playSound = [&](const std::string& f) {
        played.push_back(f);
        return false;
    };
    server->ui.beep = [&] { ++beeps; };
    server->ui.flash = [&] { ++flashes; };

    RTShareAlarmRecord r;
    r.belowOn = true;
    r.belowLevel = 100;
    SetRecord(kKey, r);
    market->prices[kKey] = 90;
    server->TestPrices(kKey, false);
    server->Notify();
    EXPECT_FALSE(std::filesystem::exists(folder / "alarms.log")) << "skipped during a load";
    loading = false;
    server->Notify();
    server->Notify();
    std::ifstream in(folder / "alarms.log", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string expected = CAlarmServer::LogLine(server->alarms().alarms().front(), "Acme plc");
    EXPECT_EQ(text.str(), expected) << "written once";
    EXPECT_EQ(expected.substr(expected.find('\t')), "\tAcme plc\tPrice below alarm level at 10:00 GMT\n");
    EXPECT_EQ(played, (std::vector<std::string>{"ring.wav", "ring.wav"}));
    EXPECT_EQ(beeps, 2) << "the beep when the sound cannot play";
    EXPECT_EQ(flashes, 2);
}

TEST_F(AlarmServerTest, LineAlarmsFireOncePerLine)
{
    const uint32_t day = 20000 * 86400u;
    market->lineList = {{kKey, AlarmLine{day + 30000, day + 40000, 100, 100, false, false}},
                        {kKey, AlarmLine{day + 30000, day + 40000, 90, 90, false, false}}};
    server->RebuildLineAlarms();
    EXPECT_TRUE(server->timerArmed());
    market->prices[kKey] = 101;
    server->TimerStep();
    market->ticks += 1000;
    server->TimerStep();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Line cross at 10:00 GMT\tPrice rose above line",
                                                 "Line cross at 10:00 GMT\tPrice rose above line"}));
}

TEST(RecentTradeRing, ReadsUpToEntry499ThenFromZeroAfterAWrap)
{
    ClearRTRecentTrades();
    auto since = [](uint16_t& index) {
        std::vector<RecentTrade> trades;
        index = ReadRTRecentTrades(index, trades);
        return trades;
    };
    uint16_t index = 0;
    for (uint16_t i = 0; i < 498; ++i)
        AddRTRecentTrade({i, 0, 1, 0, 0, 0});
    EXPECT_EQ(since(index).size(), 498u);
    EXPECT_EQ(index, 498);
    for (uint16_t i = 1000; i < 1004; ++i)
        AddRTRecentTrade({i, 0, 1, 0, 0, 0});
    std::vector<uint16_t> shares;
    for (const RecentTrade& t : since(index))
        shares.push_back(t.share);
    EXPECT_EQ(shares, (std::vector<uint16_t>{1000, 1001, 1002, 1003})) << "entries 498, 499, 0 and 1";
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(since(index).empty());
    ClearRTRecentTrades();
}

TEST(AlarmMarket, AMissingPortfolioSourceFallsBackToTheWholeList)
{
    RTAlarmSettings s = RTAlarmSettings::Defaults();
    s.source = 2;
    s.portfolio = 998;
    AlarmMarket market;
    market.SourceShares(s);
    EXPECT_EQ(s.source, 0);
    EXPECT_EQ(s.portfolio, 0);
}
