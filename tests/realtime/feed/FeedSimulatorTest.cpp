// The engine against the feed stand-in on the loopback interface: log-on, the catch-up of the day so
// far, live records, a restart that refills the day, and the stand-in's faults.
#include "devtools/lib/FeedSimulator.h"

#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "core/ReadersWriterLock.h"
#include "platform/MessageDispatch.h"
#include "realtime/AgreementPages.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/feed/FeedDecoder.h"
#include "realtime/feed/FeedServerInfo.h"
#include "realtime/feed/RTBackfill.h"
#include "realtime/RTFeedSettings.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/feed/RTFeedClient.h"
#include "realtime/feed/RTReconnect.h"
#include "realtime/store/RTDaySummary.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTTickCoding.h"
#include "tests/realtime/store/RTStoreFixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace qv {
namespace {

using test::kFri4;
using test::kMon7;

class FeedSimulatorTest : public test::RTStoreTest {
protected:
    void SetUp() override
    {
        test::RTStoreTest::SetUp();
        WriteDay(MakeDay(kFri4, {0x4001, 0x4002, 0x4003}));
        WriteIndex();
        Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 1;
    }
    void TearDown() override
    {
        StopRTEngine();
        // The engine's notices go now, not to whichever test delivers posted messages next.
        DeliverPostedMessages();
        unsetenv("QV_FEED_SERVER");
        Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 0;
        TheRTEngine().running = false;
        TheRTEngine().enabledFeeds = 0xFFFFFFFF;
        // A sent agreement stays packed in the program's outbox.
        TheAgreementOutbox() = AgreementOutbox{};
        test::RTStoreTest::TearDown();
    }
    // The stand-in on a free port, serving the fixture's folder on Monday 7 December.
    dev::FeedSimulatorOptions Options() const
    {
        dev::FeedSimulatorOptions options;
        options.folder = dir.path();
        options.port = 0;
        options.day = kMon7;
        return options;
    }
    void UseServer(const dev::FeedSimulator& sim)
    {
        setenv("QV_FEED_SERVER", ("127.0.0.1:" + std::to_string(sim.port())).c_str(), 1);
    }
    // A loopback listener the test never answers on, made the feed's server; its socket, or -1.
    static int UseSilentServer()
    {
        const int listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(listener, 1) != 0 ||
            getsockname(listener, reinterpret_cast<sockaddr*>(&a), &length) != 0) {
            if (listener >= 0)
                close(listener);
            return -1;
        }
        setenv("QV_FEED_SERVER", ("127.0.0.1:" + std::to_string(ntohs(a.sin_port))).c_str(), 1);
        return listener;
    }
    // Waits until the condition holds, at most two minutes (a hang guard, not a bound).
    template <typename F> static bool WaitFor(F condition)
    {
        for (int i = 0; i < 2400; ++i) {
            if (condition())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return condition();
    }
    // The trades stored for the share on the day, read under the store's lock.
    static size_t StoredTrades(uint16_t share)
    {
        ExclusiveLockGuard lock(IntradayStoreLock());
        RTDayRecord* day = GetRTDay(kMon7, false);
        int32_t slot = -1;
        RTDayShareEntry* e = day ? GetRTDayShare(MakeRTKey(0, share), *day, slot, false) : nullptr;
        if (!e)
            return 0;
        size_t n = 0;
        for (const RTStoredItem& i : ReadRTStoredTicks(std::span(e->ticks.data(), e->tickCount), e->streamOffset, false))
            n += i.kind == RTStoredItem::Trade;
        return n;
    }
    static size_t Trades(const dev::SimulatedShare& s)
    {
        size_t n = 0;
        for (const dev::IntradayEvent& e : s.events)
            n += e.trade;
        return n;
    }
};

TEST_F(FeedSimulatorTest, TheDayComesInLiveAndAReconnectionRefillsItOnce)
{
    dev::FeedSimulatorOptions options = Options();
    options.speed = 3000; // the trading day in about ten seconds
    dev::FeedSimulator sim(options);
    std::string error;
    ASSERT_TRUE(sim.Start(&error)) << error;
    ASSERT_EQ(sim.shares().size(), 3u);
    EXPECT_NE(sim.port(), 7005);
    UseServer(sim);
    ASSERT_TRUE(StartRTEngine());
    EXPECT_EQ(RTEngineState, kEngineRunning);
    EXPECT_TRUE(WaitFor([] { return RTConnectionStep() == kFeedConnected; })) << "the catch-up ended";
    const dev::SimulatedShare& first = sim.shares().front();
    size_t midday = 0;
    EXPECT_TRUE(WaitFor([&] { return (midday = StoredTrades(first.share)) > 0; })) << "live trades arrive";
    EXPECT_LT(midday, Trades(first)) << "not all of the day yet";
    StopRTEngine();
    EXPECT_EQ(RTEngineState, kEngineStopped);
    EXPECT_FALSE(RTFeedThreadRunning());

    // Connected again later, with the morning still in memory: the log-on brings the whole day, the
    // minutes missed included, and the store holds every trade once.
    EXPECT_TRUE(WaitFor([&] { return sim.Now() >= 16 * 3600 + 1800; }));
    ASSERT_TRUE(StartRTEngine());
    EXPECT_TRUE(WaitFor([&] {
        for (const dev::SimulatedShare& s : sim.shares())
            if (StoredTrades(s.share) != Trades(s))
                return false;
        return true;
    })) << "every trade of the day, none twice";
    EXPECT_GE(sim.connections(), 2u);
}

// A share the database lacks, defined in the store by an earlier definition, takes the price scale of
// the stand-in's definition at log-on: its live quotes and trades are stored at its price (about
// 120p), not at the hundredths the feed codes them in.
TEST_F(FeedSimulatorTest, AFeedOnlyInstrumentIsStoredAtItsPrice)
{
    constexpr uint16_t kInstrument = 0x7F01;
    std::vector<dev::IntradayShareSpec> specs = {{MakeRTKey(0, 0x4001), Prices(101.0f), {}, {}},
                                                 {MakeRTKey(0, kInstrument), Prices(120.0f), "NVX", "Novarex Holdings"}};
    WriteDay(dev::MakeIntradayDay(kFri4, table, specs));
    WriteIndex();
    dev::FeedSimulatorOptions options = Options();
    options.speed = 3000;
    dev::FeedSimulator sim(options);
    std::string error;
    ASSERT_TRUE(sim.Start(&error)) << error;
    UseServer(sim);
    ASSERT_TRUE(StartRTEngine());
    ASSERT_TRUE(WaitFor([&] { return StoredTrades(kInstrument) > 0; })) << "live trades arrive";
    ExclusiveLockGuard lock(IntradayStoreLock());
    RTDayRecord* day = GetRTDay(kMon7, false);
    int32_t slot = -1;
    RTDayShareEntry* e = day ? GetRTDayShare(MakeRTKey(0, kInstrument), *day, slot, false) : nullptr;
    ASSERT_NE(e, nullptr);
    size_t priced = 0;
    for (const RTStoredItem& i : ReadRTStoredTicks(std::span(e->ticks.data(), e->tickCount), e->streamOffset, false)) {
        if (i.kind != RTStoredItem::Quote && i.kind != RTStoredItem::Trade)
            continue;
        EXPECT_GT(i.value1, 90.0f);
        EXPECT_LT(i.value1, 160.0f);
        ++priced;
    }
    EXPECT_GT(priced, 0u);
}

// An index held as index values (the US Industrials on the US indices' exchange) is served as such:
// values alone from the index source, at New York's hours, five hours behind London's clock in
// December; the store keeps them as quotes of one price, without trades.
TEST_F(FeedSimulatorTest, AnIndexIsServedAsIndexValuesAtItsMarketsHours)
{
    constexpr uint16_t kIndex = 0xC00F;
    std::vector<dev::IntradayShareSpec> specs = {{MakeRTKey(0, 0x4001), Prices(100), {}, {}},
                                                 {MakeRTKey(0, kIndex), Prices(40000), {}, {}, true, 9}};
    WriteDay(dev::MakeIntradayDay(kFri4, table, specs));
    WriteIndex();
    dev::FeedSimulatorOptions options = Options();
    options.speed = 6000;
    dev::FeedSimulator sim(options);
    ASSERT_TRUE(sim.Start(nullptr));
    const dev::SimulatedShare* index = nullptr;
    for (const dev::SimulatedShare& s : sim.shares())
        if (s.share == kIndex)
            index = &s;
    ASSERT_NE(index, nullptr);
    EXPECT_TRUE(index->index);
    EXPECT_EQ(index->market, 9);
    EXPECT_EQ(Trades(*index), 0u);
    EXPECT_EQ(index->events.front().time, 9 * 3600 + 1800u) << "New York's opening";
    EXPECT_EQ(index->events.back().time, 16 * 3600u);
    for (const dev::IntradayEvent& e : index->events)
        ASSERT_EQ(e.bid, e.offer);
    UseServer(sim);
    ASSERT_TRUE(StartRTEngine());
    auto stored = [&] {
        ExclusiveLockGuard lock(IntradayStoreLock());
        RTDayRecord* day = GetRTDay(kMon7, false);
        int32_t slot = -1;
        RTDayShareEntry* e = day ? GetRTDayShare(MakeRTKey(0, kIndex), *day, slot, false) : nullptr;
        std::pair<uint8_t, std::vector<RTStoredItem>> out;
        if (e) {
            out.first = e->source;
            out.second = ReadRTStoredTicks(std::span(e->ticks.data(), e->tickCount), e->streamOffset, false);
        }
        return out;
    };
    EXPECT_TRUE(WaitFor([&] { return stored().second.size() > 10; })) << "after London's 14:30";
    const auto [source, items] = stored();
    EXPECT_EQ(source, 9);
    for (const RTStoredItem& item : items) {
        ASSERT_NE(item.kind, RTStoredItem::Trade);
        if (item.kind == RTStoredItem::Quote) {
            EXPECT_EQ(item.value1, item.value2);
        }
    }
}

// A dropped connection ends the engine and waits a reconnect a second later, which connects again;
// the user's disconnect takes any waiting reconnect away and a later tick starts nothing.
TEST_F(FeedSimulatorTest, ADroppedConnectionReconnectsUntilTheUserDisconnects)
{
    dev::FeedSimulatorOptions options = Options();
    dev::FeedSimulator sim(options);
    ASSERT_TRUE(sim.Start(nullptr));
    UseServer(sim);
    ClearRTStoppingFlags();
    ASSERT_TRUE(StartRTEngine());
    ASSERT_TRUE(WaitFor([] { return RTConnectionStep() == kFeedConnected; }));

    sim.DropConnections();
    ASSERT_TRUE(WaitFor([] { return !RTFeedThreadRunning(); }));
    EXPECT_EQ(RTConnectionStep(), kFeedConnectionLost);
    EXPECT_TRUE(DisconnectDroppedRTEngine());
    EXPECT_EQ(RTEngineState, kEngineStopped);
    EXPECT_EQ(RTConnectionStep(), kFeedDisconnected);
    EXPECT_TRUE(TheRTReconnect().scheduled) << "a reconnect after 1 s";
    EXPECT_EQ(TheRTReconnect().attempts, 1);

    EXPECT_TRUE(RunRTReconnect());
    EXPECT_TRUE(WaitFor([] { return RTConnectionStep() == kFeedConnected; }));
    EXPECT_EQ(sim.connections(), 2u);

    StopRTEngine();
    EXPECT_FALSE(TheRTReconnect().scheduled);
    EXPECT_FALSE(RunRTReconnect()) << "the user stopped the feed";
    EXPECT_EQ(RTEngineState, kEngineStopped);
    EXPECT_EQ(sim.connections(), 2u);

    // Without a server, each failed attempt ends the engine with its reason and is counted; the
    // next waits longer.
    ClearRTStoppingFlags();
    sim.Stop();
    TheRTReconnect().attempts = 0;
    for (int32_t attempt = 0; attempt < 3; ++attempt) {
        EXPECT_TRUE(RunRTReconnect()) << "the feed thread tries";
        ASSERT_TRUE(WaitFor([] { return !RTFeedThreadRunning(); }));
        EXPECT_EQ(TheRTEngine().failure, kFeedNoServer);
        EXPECT_TRUE(DisconnectDroppedRTEngine());
        EXPECT_EQ(TheRTReconnect().attempts, attempt + 1);
        EXPECT_TRUE(TheRTReconnect().scheduled);
    }
    CancelRTReconnect();
    TheRTReconnect().attempts = 0;
}

// The pauses between attempts grow from a second to a minute and stay there.
TEST(RTReconnectTest, PausesDoubleUpToAMinute)
{
    const std::vector<std::pair<int32_t, uint32_t>> cases = {{0, 1000},  {1, 2000},  {2, 4000},   {3, 8000},
                                                             {5, 32000}, {6, 60000}, {40, 60000}, {1000, 60000}};
    for (auto [attempts, pause] : cases)
        EXPECT_EQ(RTReconnectPauseMs(attempts), pause) << attempts;
}

// Every reconnection's catch-up brings the day whole: the store holds each trade and each index
// value once, however often the feed reconnects.
TEST_F(FeedSimulatorTest, ReconnectionsStoreNothingTwiceIndexValuesIncluded)
{
    constexpr uint16_t kIndex = 0xC00F;
    std::vector<dev::IntradayShareSpec> specs = {{MakeRTKey(0, 0x4001), Prices(100), {}, {}},
                                                 {MakeRTKey(0, kIndex), Prices(40000), {}, {}, true, 9}};
    WriteDay(dev::MakeIntradayDay(kFri4, table, specs));
    WriteIndex();
    dev::FeedSimulatorOptions options = Options();
    options.speed = 1e7; // the whole day is served by the log-on's catch-up
    dev::FeedSimulator sim(options);
    ASSERT_TRUE(sim.Start(nullptr));
    UseServer(sim);
    auto storedQuotes = [](uint16_t share) {
        ExclusiveLockGuard lock(IntradayStoreLock());
        RTDayRecord* day = GetRTDay(kMon7, false);
        int32_t slot = -1;
        RTDayShareEntry* e = day ? GetRTDayShare(MakeRTKey(0, share), *day, slot, false) : nullptr;
        size_t n = 0;
        if (e)
            for (const RTStoredItem& i : ReadRTStoredTicks(std::span(e->ticks.data(), e->tickCount), e->streamOffset, false))
                n += i.kind == RTStoredItem::Quote;
        return n;
    };
    size_t firstQuotes = 0, firstTrades = 0;
    for (int connection = 0; connection < 4; ++connection) {
        ASSERT_TRUE(StartRTEngine());
        ASSERT_TRUE(WaitFor([] { return RTConnectionStep() == kFeedConnected; })) << connection;
        StopRTEngine();
        if (connection == 0) {
            firstQuotes = storedQuotes(kIndex);
            firstTrades = StoredTrades(0x4001);
            ASSERT_GT(firstQuotes, 0u);
            ASSERT_GT(firstTrades, 0u);
        }
        EXPECT_EQ(storedQuotes(kIndex), firstQuotes) << "connection " << connection;
        EXPECT_EQ(StoredTrades(0x4001), firstTrades) << "connection " << connection;
    }
}

// The log-on answers with the account's agreements and levels; the backfillable days are the served
// day and the weekdays before it, and a backfill request brings a previous day's trades whole.
TEST_F(FeedSimulatorTest, TheLogOnReportsLevelsAndABackfillBringsAnEarlierDay)
{
    dev::FeedSimulatorOptions options = Options();
    options.agreements = 1;
    options.levels = 0x31B;
    options.backfillDays = 3;
    dev::FeedSimulator sim(options);
    ASSERT_TRUE(sim.Start(nullptr));
    UseServer(sim);
    uint32_t reported = 0xFFFF;
    TheRTEngineHooks().agreementsReported = [&reported](uint32_t completed) { reported = completed; };
    ASSERT_TRUE(StartRTEngine());
    ASSERT_TRUE(WaitFor([] { return RTConnectionStep() == kFeedConnected; }));
    EXPECT_EQ(TheFeedServerInfo().currentLevels, 0x31Bu);
    EXPECT_EQ(TheFeedServerInfo().agreements, 1u);
    EXPECT_EQ(reported, 1u);
    TheRTEngineHooks().agreementsReported = nullptr;

    ASSERT_TRUE(RequestRTBackfillDays());
    ASSERT_TRUE(WaitFor([] {
        std::lock_guard guard(TheFeedServerInfo().mutex);
        return TheFeedServerInfo().daysAnswered;
    }));
    {
        std::lock_guard guard(TheFeedServerInfo().mutex);
        std::vector<PackedDate> days;
        for (const BackfillDayInfo& d : TheFeedServerInfo().days)
            days.push_back(d.day);
        EXPECT_EQ(days, (std::vector<PackedDate>{kMon7, kFri4, PackDate(3, 12, 2026), PackDate(2, 12, 2026)}));
    }

    BackfillChoice choice;
    choice.days = {kFri4};
    ASSERT_TRUE(SendRTBackfillRequest(PackBackfillRequest(choice, 0x300)));
    std::vector<dev::IntradayEvent> friday = dev::SimulatedShareDay(0x4001, kFri4, sim.shares().front().previousClose);
    size_t fridayTrades = 0;
    for (const dev::IntradayEvent& e : friday)
        fridayTrades += e.trade;
    auto storedOnFriday = [] {
        ExclusiveLockGuard lock(IntradayStoreLock());
        RTDayRecord* day = GetRTDay(kFri4, false);
        int32_t slot = -1;
        RTDayShareEntry* e = day ? GetRTDayShare(MakeRTKey(0, 0x4001), *day, slot, false) : nullptr;
        size_t n = 0;
        if (e && GetRTShareTickData(*e, *day, kRTLoadAllTicks))
            for (const RTStoredItem& i : ReadRTStoredTicks(std::span(e->ticks.data(), e->tickCount), e->streamOffset, false))
                n += i.kind == RTStoredItem::Trade;
        return n;
    };
    EXPECT_TRUE(WaitFor([&] { return TheFeedServerInfo().backfillTotal > 0 && RTConnectionStep() == kFeedConnected &&
                                     storedOnFriday() == fridayTrades; }))
        << storedOnFriday() << " of " << fridayTrades;
    EXPECT_EQ(TheFeedServerInfo().backfillDone, TheFeedServerInfo().backfillTotal);
}

// "Abort All", even sent right behind the request, stops a backfill of several days within its first
// day: the day ends with step 7 and no other day follows.
TEST_F(FeedSimulatorTest, AnAbortedBackfillEndsItsDayAndSendsNoMore)
{
    dev::FeedSimulatorOptions options = Options();
    dev::FeedSimulator sim(options);
    ASSERT_TRUE(sim.Start(nullptr));
    UseServer(sim);
    ASSERT_TRUE(StartRTEngine());
    ASSERT_TRUE(WaitFor([] { return RTConnectionStep() == kFeedConnected; }));
    const uint64_t statusFrames = TheFeedServerInfo().control;
    BackfillChoice choice;
    choice.days = {kFri4, PackDate(3, 12, 2026), PackDate(2, 12, 2026)};
    ASSERT_TRUE(SendRTBackfillRequest(PackBackfillRequest(choice, 0x300)));
    ASSERT_TRUE(AbortRTBackfill(true));
    EXPECT_TRUE(WaitFor([&] { return TheFeedServerInfo().control == statusFrames + 2; })) << "step 8, then step 7";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(TheFeedServerInfo().control, statusFrames + 2) << "no further day";
    EXPECT_LT(TheFeedServerInfo().backfillDone, TheFeedServerInfo().backfillTotal);
    EXPECT_EQ(RTConnectionStep(), kFeedConnected);
}

// The account lacks the NYSE/AMEX agreement: answers finished while disconnected wait; once connected
// they go to the server, which records them, and the next log-on reports the agreement completed.
TEST_F(FeedSimulatorTest, AnAgreementSentIsRecordedAndTheNextLogOnReportsItDone)
{
    dev::FeedSimulatorOptions options = Options();
    options.agreements = kNasdaqAgreementDone;
    dev::FeedSimulator sim(options);
    ASSERT_TRUE(sim.Start(nullptr));
    UseServer(sim);
    std::atomic<uint32_t> reported{0xFFFF};
    TheRTEngineHooks().agreementsReported = [&reported](uint32_t completed) { reported = completed; };

    AgreementAnswers answers;
    answers.account = "QV1234";
    answers.subscriber[0] = "A. Investor";
    answers.subscriber[1] = "1 High Street, Leeds";
    answers.occupations = {kOtherOccupation, 10};
    answers.otherOccupation = "Sculptor";
    ASSERT_TRUE(FinishAgreement(answers, AgreementEntry{{"Vendor Ltd, York", "Clerk", "Filing"}}));
    EXPECT_FALSE(SendRTAgreement()) << "not connected";
    EXPECT_TRUE(TheAgreementOutbox().toSend);

    ASSERT_TRUE(StartRTEngine());
    ASSERT_TRUE(WaitFor([] { return RTConnectionStep() == kFeedConnected; }));
    EXPECT_EQ(reported, kNasdaqAgreementDone);
    ASSERT_TRUE(SendRTAgreement());
    EXPECT_FALSE(TheAgreementOutbox().toSend);
    EXPECT_FALSE(SendRTAgreement()) << "sent once";
    ASSERT_TRUE(WaitFor([&] { return sim.agreements().received().size() == 1; }));
    const dev::ReceivedAgreement received = sim.agreements().received()[0];
    EXPECT_EQ(received.account, "QV1234");
    EXPECT_EQ(received.address, "1 High Street, Leeds");
    EXPECT_EQ(received.occupations, (std::vector<std::string>{"Sculptor", "Retired"}));
    ASSERT_EQ(received.employers.size(), 1u);
    EXPECT_EQ(received.employers[0].texts[2], "Filing");

    StopRTEngine();
    reported = 0xFFFF;
    ASSERT_TRUE(StartRTEngine());
    ASSERT_TRUE(WaitFor([] { return RTConnectionStep() == kFeedConnected; }));
    EXPECT_EQ(reported, kNasdaqAgreementDone | kNyseAgreementDone);
    EXPECT_TRUE(AgreementCommands(0x0C, reported).empty()) << "nothing to ask again";
    TheRTEngineHooks().agreementsReported = nullptr;
}

// A refused log-on keeps its step and ends the feed thread; nothing reconnects.
TEST_F(FeedSimulatorTest, ARefusedLogOnKeepsItsStep)
{
    dev::FeedSimulatorOptions options = Options();
    options.refuseStep = 13;
    dev::FeedSimulator sim(options);
    ASSERT_TRUE(sim.Start(nullptr));
    UseServer(sim);
    ASSERT_TRUE(StartRTEngine());
    EXPECT_TRUE(WaitFor([] { return !RTFeedThreadRunning(); }));
    EXPECT_EQ(RTConnectionStep(), 13);
    EXPECT_STREQ(FeedStepText(RTConnectionStep()), "Error - Unable to logon (password problem).");
    // The engine ends; the refusal stays the reason shown, and nothing tries again.
    ClearRTStoppingFlags();
    EXPECT_TRUE(DisconnectDroppedRTEngine());
    EXPECT_EQ(RTConnectionStep(), kFeedDisconnected);
    EXPECT_STREQ(FeedFailureText(TheRTEngine().failure), "Error - Unable to logon (password problem).");
    EXPECT_FALSE(TheRTReconnect().scheduled);
    TheRTEngine().failure = 0;
}

// With the real-time option off nothing reconnects and no engine starts.
TEST_F(FeedSimulatorTest, WithTheRealTimeOptionOffNothingReconnects)
{
    Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 0;
    ClearRTStoppingFlags();
    ScheduleRTReconnect(kRTReconnectAfterDropMs);
    EXPECT_FALSE(TheRTReconnect().scheduled);
    EXPECT_FALSE(RunRTReconnect());
    EXPECT_EQ(RTEngineState, kEngineStopped);
    EXPECT_EQ(TheRTReconnect().attempts, 0);
}

TEST_F(FeedSimulatorTest, TheFeedSurvivesTheStandInsFaults)
{
    using F = dev::FeedSimulatorOptions::Fault;
    for (F fault : {F::Drop, F::Malformed, F::Oversized, F::Stall}) {
        ResetRTStore();
        TheRTStore().workAreaReady = true;
        dev::FeedSimulatorOptions options = Options();
        options.fault = fault;
        options.faultAfter = 4; // after three definitions and the catch-up's status
        dev::FeedSimulator sim(options);
        ASSERT_TRUE(sim.Start(nullptr));
        UseServer(sim);
        TheRTEngine().failure = 0;
        ASSERT_TRUE(StartRTEngine()) << int(fault);
        if (fault == F::Drop || fault == F::Oversized) {
            EXPECT_TRUE(WaitFor([] { return !RTFeedThreadRunning(); })) << int(fault) << ": the thread ends";
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
        if (fault == F::Oversized) {
            EXPECT_EQ(TheRTEngine().failure, kFeedUnreadable) << "the reason is stated";
        }
        EXPECT_EQ(StoredTrades(0x4001), 0u) << int(fault);
        StopRTEngine();
        EXPECT_FALSE(RTFeedThreadRunning());
        sim.Stop();
    }
    TheRTEngine().failure = 0;
}

// With no server the start does not wait for one: the feed thread tries, ends with its reason,
// and the engine then waits for its next attempt.
TEST_F(FeedSimulatorTest, NoServerEndsTheAttemptWithItsReason)
{
    setenv("QV_FEED_SERVER", "127.0.0.1:1", 1);
    ClearRTStoppingFlags();
    EXPECT_TRUE(StartRTEngine());
    ASSERT_TRUE(WaitFor([] { return !RTFeedThreadRunning(); }));
    EXPECT_EQ(TheRTEngine().failure, kFeedNoServer);
    EXPECT_STREQ(FeedFailureText(TheRTEngine().failure), "Error - Unable to locate a server.");
    EXPECT_TRUE(DisconnectDroppedRTEngine());
    EXPECT_TRUE(TheRTReconnect().scheduled) << "the start-up's failure is retried";
    CancelRTReconnect();
    TheRTReconnect().attempts = 0;
    TheRTEngine().failure = 0;
    Config().optionsA.data()[OptionBlockA::kRealTimeOption] = 0;
    EXPECT_FALSE(StartRTEngine());
    EXPECT_EQ(RTEngineState, kEngineStopped);
}

// Servers that accept and then say nothing, or begin a frame and never finish it: the feed thread
// ends with "No answer from the intraday server" rather than waiting for ever. The answer limit is
// shortened here; what is tested is that the silence ends the connection, not how fast.
TEST_F(FeedSimulatorTest, ASilentOrDrippingServerEndsInAStatedState)
{
    for (bool drip : {false, true}) {
        const int listener = UseSilentServer();
        ASSERT_GE(listener, 0);
        TheRTEngine().answerLimitMs = 300;
        TheRTEngine().failure = 0;
        ClearRTStoppingFlags();
        ASSERT_TRUE(StartRTEngine());
        int client = accept(listener, nullptr, nullptr);
        ASSERT_GE(client, 0);
        if (drip) {
            const uint8_t start[3] = {kFeedStatus, 4, 0}; // a frame's first bytes, and no more
            ASSERT_EQ(send(client, start, sizeof start, 0), 3);
        }
        EXPECT_TRUE(WaitFor([] { return !RTFeedThreadRunning(); })) << drip;
        EXPECT_EQ(TheRTEngine().failure, kFeedNoAnswer) << drip;
        EXPECT_STREQ(FeedFailureText(kFeedNoAnswer), "No answer from the intraday server");
        EXPECT_TRUE(DisconnectDroppedRTEngine());
        CancelRTReconnect();
        TheRTReconnect().attempts = 0;
        close(client);
        close(listener);
    }
    TheRTEngine().answerLimitMs = 30000;
    TheRTEngine().failure = 0;
}

// A server that takes the connection and never answers does not hold the caller: the start returns
// (a start that waited for the answer would never return), short of connected, and a stop ends the
// attempt however far the feed thread had gone.
TEST_F(FeedSimulatorTest, StartingNeverWaitsForTheServer)
{
    const int listener = UseSilentServer();
    ASSERT_GE(listener, 0);
    ClearRTStoppingFlags();
    ASSERT_TRUE(StartRTEngine());
    EXPECT_NE(RTConnectionStep(), kFeedConnected);
    StopRTEngine();
    EXPECT_FALSE(RTFeedThreadRunning());
    EXPECT_EQ(RTEngineState, kEngineStopped);
    close(listener);
}

// A server that lost an hour of the day: the log-on's catch-up leaves a hole in the coverage map,
// the client asks for it with gap requests once the day is complete, and the answers fill it, each
// share's records in time order and its summary ending on the day's last trade.
TEST_F(FeedSimulatorTest, AHoleInTheDayIsFilledByGapRequests)
{
    dev::FeedSimulatorOptions options = Options(); // the day served whole at log-on
    options.holeFrom = 10 * 3600;
    options.holeTo = 11 * 3600;
    dev::FeedSimulator sim(options);
    ASSERT_TRUE(sim.Start(nullptr));
    for (const dev::SimulatedShare& s : sim.shares()) {
        size_t inHole = 0;
        for (const dev::IntradayEvent& e : s.events)
            inHole += e.trade && e.time >= options.holeFrom && e.time < options.holeTo;
        ASSERT_GT(inHole, 0u) << "the hole holds trades of every share";
    }
    UseServer(sim);
    const uint64_t sentBefore = TheFeedServerInfo().gapRequests;
    ASSERT_TRUE(StartRTEngine());
    ASSERT_TRUE(WaitFor([] { return RTConnectionStep() == kFeedConnected; }));
    EXPECT_TRUE(WaitFor([&] {
        for (const dev::SimulatedShare& s : sim.shares())
            if (StoredTrades(s.share) != Trades(s))
                return false;
        return true;
    })) << "every trade of the day, the hole's included, once";
    EXPECT_EQ(sim.gapRequests(), 1u) << "the hole alone: no quiet stretch, and not the rest of the day";
    EXPECT_EQ(TheFeedServerInfo().gapRequests - sentBefore, sim.gapRequests());

    ExclusiveLockGuard lock(IntradayStoreLock());
    RTDayRecord* day = GetRTDay(kMon7, false);
    ASSERT_NE(day, nullptr);
    for (const dev::SimulatedShare& s : sim.shares()) {
        for (const dev::IntradayEvent& e : s.events) {
            if (e.time >= options.holeFrom && e.time < options.holeTo) {
                ASSERT_EQ(CountRTCoveredSlots(*day, 0, e.time / 15, e.time / 15 + 1), 1u) << "the hole's slots are covered";
            }
        }
    }
    for (const dev::SimulatedShare& s : sim.shares()) {
        int32_t slot = -1;
        RTDayShareEntry* e = GetRTDayShare(MakeRTKey(0, s.share), *day, slot, false);
        ASSERT_NE(e, nullptr);
        uint32_t last = 0;
        float lastTrade = 0;
        for (const RTStoredItem& i : ReadRTStoredTicks(std::span(e->ticks.data(), e->tickCount), e->streamOffset, false)) {
            ASSERT_GE(i.time, last) << s.share;
            last = i.time;
            if (i.kind == RTStoredItem::Trade)
                lastTrade = i.value1;
        }
        float expected = 0;
        for (const dev::IntradayEvent& ev : s.events)
            if (ev.trade)
                expected = ev.price;
        EXPECT_NEAR(lastTrade, expected, 0.006f) << s.share;
        std::array<uint32_t, kRTSummaryWords> words{};
        ASSERT_EQ(GetRTSummaryBlock(e, words, *day), 0);
        EXPECT_NEAR(ReadRTDaySummary(words).lastTrade, expected, 0.006f) << s.share;
    }
}

// A day served whole has stretches in which nothing traded: they are not gaps, and the rest of the
// day comes live: nothing is asked for.
TEST_F(FeedSimulatorTest, AWholeDayAsksForNothing)
{
    dev::FeedSimulator sim(Options()); // the day served whole at log-on
    ASSERT_TRUE(sim.Start(nullptr));
    UseServer(sim);
    const uint64_t sentBefore = TheFeedServerInfo().gapRequests;
    ASSERT_TRUE(StartRTEngine());
    ASSERT_TRUE(WaitFor([] { return RTConnectionStep() == kFeedConnected; }));
    EXPECT_EQ(TheFeedServerInfo().gapRequests - sentBefore, 0u);
    ExclusiveLockGuard lock(IntradayStoreLock());
    RTDayRecord* day = GetRTDay(kMon7, false);
    ASSERT_NE(day, nullptr);
    uint32_t last = 0;
    for (const dev::SimulatedShare& s : sim.shares())
        for (const dev::IntradayEvent& e : s.events)
            last = std::max(last, e.time);
    uint32_t first = 0, end = 0;
    ASSERT_TRUE(FindRTCoverageGap(*day, 0, first, end));
    EXPECT_GT(first, last / 15) << "the day is covered to its last record";
    EXPECT_EQ(end, kRTCoverageSlots);
}

// "Use priority backfilling": the log-on names the shares a window watches, their day comes first
// (step 9), then the rest of the day (step 8) without clearing what came first, and the day holds
// every trade once. Without the option the day comes in one catch-up.
TEST_F(FeedSimulatorTest, PriorityBackfillingBringsTheWatchedSharesDayFirst)
{
    dev::FeedSimulator sim(Options()); // the day served whole at log-on
    ASSERT_TRUE(sim.Start(nullptr));
    UseServer(sim);
    const OptionBlockA saved = Config().optionsA;
    RTWatchList list;
    InitRTWatchList(nullptr, 0, list);
    BeginRTWatchListUpdate(list, true);
    ASSERT_NE(AddRTWatchShare(ShareRef{nullptr, 0, 0x4002}, list), nullptr);
    EndRTWatchListUpdate(list);
    // What the store holds when the rest of the day begins, seen on the feed thread at step 8.
    std::atomic<bool> priorityStep{false};
    std::atomic<size_t> watchedAtRest{0}, othersAtRest{0};
    const auto previous = TheRTEngineHooks().stepChanged;
    TheRTEngineHooks().stepChanged = [&](int32_t step) {
        if (step == kFeedPriorityBackfill)
            priorityStep = true;
        if (step == kFeedBackfilling) {
            watchedAtRest = StoredTrades(0x4002);
            othersAtRest = StoredTrades(0x4001) + StoredTrades(0x4003);
        }
    };
    for (bool priority : {true, false}) {
        RTFeedSettings settings = CurrentRTFeedSettings();
        settings.priorityBackfill = priority;
        StoreRTFeedSettings(settings);
        priorityStep = false;
        ASSERT_TRUE(StartRTEngine());
        ASSERT_TRUE(WaitFor([] { return RTConnectionStep() == kFeedConnected; }));
        StopRTEngine();
        EXPECT_EQ(priorityStep, priority);
        EXPECT_EQ(sim.lastPriority(), priority ? std::vector<uint16_t>{0x4002} : std::vector<uint16_t>{});
        const dev::SimulatedShare* watched = nullptr;
        for (const dev::SimulatedShare& s : sim.shares()) {
            EXPECT_EQ(StoredTrades(s.share), Trades(s)) << s.share << " once, with priority " << priority;
            if (s.share == 0x4002)
                watched = &s;
        }
        ASSERT_NE(watched, nullptr);
        if (priority) {
            EXPECT_EQ(watchedAtRest, Trades(*watched)) << "the watched share's day came first";
            EXPECT_EQ(othersAtRest, 0u);
        }
    }
    TheRTEngineHooks().stepChanged = previous;
    FreeRTWatchList(list);
    Config().optionsA = saved;
}

} // namespace
} // namespace qv
