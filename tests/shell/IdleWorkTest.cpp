// The idle walk over the database and the guarded message pump.
#include "shell/IdleWork.h"

#include "core/RecordLookup.h"
#include "realtime/IntradayState.h"
#include "support/DatabaseFixture.h"

#include <gtest/gtest.h>

using namespace qv;
using qv::test::OneEntry;

namespace {

dev::DbRecord Share(uint16_t id, int streams)
{
    dev::DbRecord record = dev::ShareRecord(id, "Share", 'O', "SHR");
    record.subRecords.resize(size_t(streams));
    return record;
}

class IdleWorkTest : public qv::test::DatabaseFixture {
protected:
    IdleWorkTest()
    {
        Idle() = IdleState{};
        RTEngineState = 0;
    }
    ~IdleWorkTest() override { RTEngineState = 0; }

    // Calls until the walk asks for no more; the number of calls that asked for more.
    int RunToEnd()
    {
        int calls = 0;
        while (RunIdleWork() && calls < 100000)
            ++calls;
        return calls;
    }

    // The calls a full walk takes: one to enter each record and seven for each of its sub-records.
    static int ExpectedCalls()
    {
        int calls = 0;
        int subRecords = 0;
        for (uint8_t* r = MainRecordBlock; RecordLength(r) != 0; r = NextRecord(r)) {
            int n = CountSubRecords(r);
            calls += 1 + 7 * n;
            subRecords += n;
        }
        lastSubRecords = subRecords;
        return calls;
    }
    static inline int lastSubRecords = 0;
};

} // namespace

TEST_F(IdleWorkTest, WalksEverySubRecordSevenCallsEachAndStopsAtTheEnd)
{
    Load(dev::WriteQuorvaDat(OneEntry({Share(0x4001, 1), Share(0x4002, 2), Share(0x4003, 3)})));
    int expected = ExpectedCalls();
    EXPECT_EQ(RunToEnd(), expected + 1); // + the call that finds the end record
    EXPECT_GE(lastSubRecords, 6);
    // At the end it stays there: nothing more until the next load.
    EXPECT_FALSE(RunIdleWork());
    EXPECT_FALSE(RunIdleWork());

    FreeDatabase(true);
    EXPECT_FALSE(RunIdleWork()); // no database: nothing to walk, nothing touched
    Load(dev::WriteQuorvaDat(OneEntry({Share(0x4001, 1)})));
    EXPECT_EQ(RunToEnd(), ExpectedCalls() + 1);
}

TEST_F(IdleWorkTest, OneSubRecordTakesSevenCallsBeforeTheNextRecord)
{
    Load(dev::WriteQuorvaDat(OneEntry({Share(0x4001, 1), Share(0x4002, 1)})));
    EXPECT_TRUE(RunIdleWork()); // enters the first record
    uint8_t* first = Idle().walk.record;
    EXPECT_EQ(Idle().walk.countdown, 1);
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(RunIdleWork());
        EXPECT_EQ(Idle().walk.record, first) << i;
    }
    EXPECT_EQ(Idle().walk.countdown, 0);
    EXPECT_TRUE(RunIdleWork());
    EXPECT_EQ(Idle().walk.record, NextRecord(first));
}

TEST_F(IdleWorkTest, SettingsAndTheIntradayEngineHoldTheWorkBack)
{
    Load(dev::WriteQuorvaDat(OneEntry({Share(0x4001, 3)})));
    Idle().workOff = 1;
    EXPECT_FALSE(RunIdleWork());
    EXPECT_EQ(Idle().counter, 1u);
    EXPECT_EQ(Idle().walk.countdown, -2);
    Idle().workOff = 0;

    RTEngineState = 1;
    Idle().counter = 98;
    EXPECT_TRUE(RunIdleWork());  // call 99
    EXPECT_FALSE(RunIdleWork()); // call 100: no work
    int32_t countdown = Idle().walk.countdown;
    int32_t step = Idle().walk.step;
    EXPECT_TRUE(RunIdleWork());
    EXPECT_TRUE(Idle().walk.countdown != countdown || Idle().walk.step != step);
}

TEST(MessagePump, DoesNotReenterAndHonoursTheIntradayLock)
{
    int rounds = 0;
    SetEventPump([&](bool) {
        ++rounds;
        EXPECT_EQ(PumpBusy, 1u);
        PumpWaitingMessages(); // a handler inside the pump pumping again
        ModalMessageLoop();
    });
    PumpWaitingMessages();
    EXPECT_EQ(rounds, 1);
    EXPECT_EQ(PumpBusy, 0u);

    IntradayLockFlag = 1;
    PumpWaitingMessages();
    EXPECT_EQ(rounds, 1);
    ModalMessageLoop(); // the modal loop ignores the intraday lock
    EXPECT_EQ(rounds, 2);
    IntradayLockFlag = 0;

    SetEventPump([](bool) { throw std::runtime_error("handler failed"); });
    EXPECT_THROW(PumpWaitingMessages(), std::runtime_error);
    EXPECT_EQ(PumpBusy, 0u);
    SetEventPump({});
    PumpWaitingMessages();
}
