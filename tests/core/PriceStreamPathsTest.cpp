// The shorter paths through the price streams held to the general ones they stand in for: whole
// histories decoded with the common days' path against every day through the general decoders, and
// the statistics tallied by the one raw walk that also keeps the checkpoints against the marked walk.
#include "core/Database.h"
#include "core/Memory.h"
#include "core/PriceDayWalker.h"
#include "core/PriceStatistics.h"
#include "core/PriceStream.h"
#include "core/PriceSubRecords.h"
#include "core/PriceWalkIndex.h"
#include "core/RecordAccess.h"
#include "devtools/lib/DemoDatabase.h"
#include "devtools/lib/PriceDatabase.h"
#include "support/RandomHistories.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace qv;
using namespace qv::test;

namespace {

using namespace std::chrono;

// Every price sub-record of a database image, copied out of the loaded database.
std::vector<std::vector<uint8_t>> StreamsOf(const dev::DemoDatabase& db)
{
    const std::vector<uint8_t> image = dev::WriteQuorvaDat(dev::DemoDbFile(db));
    LoadDatabaseFromMemory(image, nullptr);
    std::vector<std::vector<uint8_t>> subs;
    for (uint8_t* r = MainRecordBlock; RecordLength(r) != 0; r = NextRecord(r))
        for (uint32_t n = 0; n < SubRecordCount(r); ++n) {
            const SubRecordSpan span = SubRecordOf(r, n);
            subs.emplace_back(static_cast<const uint8_t*>(span.sub), span.end);
        }
    FreeDatabase(true);
    return subs;
}

// Random histories with every kind of entry, whole and cut short at a spread of lengths (a damaged
// stream ends inside a token, a mask or a unit).
std::vector<std::vector<uint8_t>> RandomStreams()
{
    std::mt19937 rng(89);
    std::vector<std::vector<uint8_t>> subs;
    for (int i = 0; i < 150; ++i) {
        dev::PriceHistory h = RandomHistory(rng, i % 3);
        std::vector<uint8_t> stream;
        dev::EncodePriceStream(h, stream);
        subs.push_back(SubRecord(h.scale, h.firstDate, stream));
        for (size_t cut : {size_t(1), size_t(2), size_t(3), stream.size() / 3, stream.size() / 2 + 1, stream.size() - 2})
            if (cut < stream.size())
                subs.push_back(SubRecord(h.scale, h.firstDate, std::vector<uint8_t>(stream.begin(), stream.begin() + long(cut))));
    }
    return subs;
}

// Walks in runs of at most `room` days give the decoded days, and after each run the walker stands
// where a walker taken a day at a time stands.
void ExpectRunsWalkAlike(const std::vector<uint8_t>& sub, const DayRecord* days, int32_t count, uint32_t room,
                         bool marked, const std::string& what)
{
    const uint8_t* end = sub.data() + sub.size();
    PriceDayWalker runs(sub.data(), end, {}, marked), single(sub.data(), end, {}, marked);
    std::vector<DayRecord> run(room + 1);
    int32_t at = 0;
    // The caller's records hold anything before a run.
    auto dirty = [&] { std::memset(static_cast<void*>(run.data()), 0xA5, run.size() * sizeof(DayRecord)); };
    dirty();
    while (const uint32_t n = runs.nextRun(run.data(), room)) {
        ASSERT_LE(n, room) << what;
        for (uint32_t k = 0; k < n; ++k, ++at) {
            ASSERT_LT(at, count) << what;
            ASSERT_EQ(std::memcmp(&run[k], &days[at], sizeof(DayRecord)), 0) << what << " run room " << room;
            ASSERT_TRUE(single.next()) << what;
        }
        ASSERT_EQ(std::memcmp(&runs.day(), &single.day(), sizeof(DayRecord)), 0) << what << " room " << room;
        ASSERT_EQ(runs.nextDate(), single.nextDate()) << what << " room " << room;
        ASSERT_EQ(runs.position(), single.position()) << what << " room " << room;
        dirty();
    }
    EXPECT_EQ(at, count) << what << " room " << room;
    EXPECT_FALSE(single.next()) << what << " room " << room;
}

// Both history decoders give the same count and the same records, byte for byte, up to and with the
// record after the last day (its primed fields included).
void ExpectDecodersAgree(const std::vector<uint8_t>& sub, const std::string& what)
{
    for (bool raw : {true, false})
        for (uint32_t flags : {0u, kKeepNonPositivePrices}) {
            DayRecord *fast = nullptr, *general = nullptr;
            const uint8_t* end = sub.data() + sub.size();
            const int32_t n = DecodeSubRecordHistory(sub.data(), end, fast, flags, raw, {});
            const int32_t m = DecodeSubRecordHistoryDayByDay(sub.data(), end, general, flags, raw, {});
            ASSERT_EQ(n, m) << what << " raw " << raw << " flags " << flags;
            ASSERT_EQ(std::memcmp(fast, general, (size_t(n) + 1) * sizeof(DayRecord)), 0)
                << what << " raw " << raw << " flags " << flags;
            // The walker takes the common days on the same path: its days are the decoded ones, a day
            // at a time and in runs of any length.
            if (flags == 0) {
                PriceDayWalker w(sub.data(), end, {}, !raw);
                for (const DayRecord* d = general; d->date != 0 && w.next(); ++d)
                    ASSERT_EQ(std::memcmp(&w.day(), d, sizeof(DayRecord)), 0) << what << " walked, raw " << raw;
                for (uint32_t room : {1u, 2u, 7u, 200u})
                    ExpectRunsWalkAlike(sub, general, n, room, !raw, what);
            }
            ProFree(fast);
            ProFree(general);
        }
}

// The one-walk statistics fill the room as the marked walk does, and keep the checkpoints a walk of
// their own would build, a day at a time.
void ExpectStatisticsAgree(const std::vector<uint8_t>& sub, uint16_t periodStart, const std::string& what)
{
    std::vector<uint8_t> oneWalk = sub, marked = sub;
    ComputeStreamStatisticsFrom(oneWalk.data(), oneWalk.data() + oneWalk.size(), {}, periodStart);
    ComputeStreamStatisticsByMarkedDays(marked.data(), marked.data() + marked.size(), {}, periodStart);
    ASSERT_EQ(std::memcmp(oneWalk.data(), marked.data(), kSubRecordStream), 0) << what;
    const auto kept = FindPriceWalkIndex(oneWalk.data(), oneWalk.data() + oneWalk.size());
    ASSERT_NE(kept, nullptr) << what;
    const auto walked = BuildPriceWalkIndex(oneWalk.data(), oneWalk.data() + oneWalk.size());
    EXPECT_EQ(kept->days, walked->days) << what;
    EXPECT_EQ(kept->ordered, walked->ordered) << what;
    EXPECT_EQ(kept->closeExponentMin, walked->closeExponentMin) << what;
    EXPECT_EQ(kept->closeExponentMax, walked->closeExponentMax) << what;
    EXPECT_EQ(kept->closesFinite, walked->closesFinite) << what;
    ASSERT_EQ(kept->points.size(), walked->points.size()) << what;
    for (size_t k = 0; k < kept->points.size(); ++k) {
        const PriceDayWalker &a = kept->points[k], &b = walked->points[k];
        EXPECT_EQ(std::memcmp(&a.day(), &b.day(), sizeof(DayRecord)), 0) << what << " checkpoint " << k;
        EXPECT_EQ(a.nextDate(), b.nextDate()) << what << " checkpoint " << k;
        EXPECT_EQ(a.position(), b.position()) << what << " checkpoint " << k;
    }
}

} // namespace

TEST(PriceStreamPaths, HistoriesDecodeAlikeOverTheDemoAndRandomStreams)
{
    const auto demo = StreamsOf(dev::BuildDemoDatabase(sys_days{year{2026} / December / 8}));
    ASSERT_GT(demo.size(), 300u);
    for (size_t i = 0; i < demo.size(); ++i)
        ExpectDecodersAgree(demo[i], "demo stream " + std::to_string(i));
    const auto random = RandomStreams();
    for (size_t i = 0; i < random.size(); ++i)
        ExpectDecodersAgree(random[i], "random stream " + std::to_string(i));
}

TEST(PriceStreamPaths, HistoriesDecodeAlikeOverTheFullSizeDatabase)
{
    const auto full = StreamsOf(dev::RandomDatabase(3000, 25, sys_days{year{2026} / December / 31}, 2026));
    ASSERT_GT(full.size(), 3000u);
    for (size_t i = 0; i < full.size(); ++i) {
        const std::vector<uint8_t>& sub = full[i];
        DayRecord *fast = nullptr, *general = nullptr;
        const uint8_t* end = sub.data() + sub.size();
        const int32_t n = DecodeSubRecordHistory(sub.data(), end, fast, 0, true, {});
        ASSERT_EQ(n, DecodeSubRecordHistoryDayByDay(sub.data(), end, general, 0, true, {})) << i;
        ASSERT_EQ(std::memcmp(fast, general, (size_t(n) + 1) * sizeof(DayRecord)), 0) << "stream " << i;
        ProFree(fast);
        ProFree(general);
    }
}

TEST(PriceStreamPaths, OneWalkStatisticsMatchTheMarkedWalk)
{
    auto streams = StreamsOf(dev::BuildDemoDatabase(sys_days{year{2026} / December / 8}));
    const auto random = RandomStreams();
    streams.insert(streams.end(), random.begin(), random.end());
    // Closes only with days without data and marked days at the start, inside and after a repeat.
    const uint16_t monday = Date(2006, 1, 2);
    streams.push_back(SubRecord(100, monday, {'A', 5, 'F', 1, 'B', 3, 'F', 'C', 2, 'A', ' '}));
    streams.push_back(SubRecord(100, monday, {'E', 1, 0x08, 3, 'F', 'B', 2, 'A', 0x0F, 1, 1, 1, 1, 'C', ' '}));
    // Days without data and a marked day on the last representable days: the walks end on the same day.
    const uint16_t lastThursday = Date(2027, 12, 30);
    streams.push_back(SubRecord(100, lastThursday, {5, 'A', 2, ' '}));
    streams.push_back(SubRecord(100, lastThursday, {5, 'F', 'A', 2, ' '}));
    streams.push_back(SubRecord(100, lastThursday, {'E', 1, 0x08, 3, 'C', 0x08, 1, ' '}));
    streams.push_back(SubRecord(100, Date(2027, 12, 29), {'B', 5, 'A', 1, ' '}));
    for (uint16_t periodStart : {uint16_t(0), Date(2000, 1, 1), Date(2020, 6, 30)})
        for (size_t i = 0; i < streams.size(); ++i)
            ExpectStatisticsAgree(streams[i], periodStart, "stream " + std::to_string(i));
    ForgetPriceWalkIndexes();
}
