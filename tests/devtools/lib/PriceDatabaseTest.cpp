#include "devtools/lib/PriceDatabase.h"

#include "core/CodedText.h"
#include "core/Database.h"
#include "core/Memory.h"
#include "core/PriceLookups.h"
#include "core/PriceStatistics.h"
#include "core/StatisticsPeriod.h"
#include "core/PriceSubRecords.h"
#include "core/RecordAccess.h"
#include "devtools/lib/LondonCalendar.h"
#include "support/DatabaseFixture.h"
#include "support/RandomHistories.h"
#include "devtools/lib/TempFolder.h"
#include "platform/TextCodec.h"

#include "shell/LayoutWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace qv;
using namespace qv::dev;
using namespace qv::test;

namespace {

class PriceDatabase : public DatabaseFixture {};

const std::chrono::sys_days kDemoLastDay = std::chrono::sys_days{std::chrono::year{2026} / std::chrono::December / 8};

const DemoDatabase& Demo()
{
    static const DemoDatabase demo = BuildDemoDatabase(kDemoLastDay);
    return demo;
}

// The last date of a priced day: decoding of a loaded stream stops there.
uint16_t LastPricedDate(const PriceHistory& h)
{
    uint16_t date = 0, last = 0;
    for (const HistoryDay& d : h.days) {
        date = date == 0 ? h.firstDate : WeekdaysAfter(date, 1);
        if (d.kind == HistoryKind::Priced)
            last = date;
    }
    return last;
}

void CheckDecoded(RecordCursor cursor, const PriceHistory& h, bool raw)
{
    SCOPED_TRACE(raw ? "raw" : "marked");
    uint16_t last = LastPricedDate(h);
    std::vector<DayRecord> want = Expected(h, raw);
    while (!want.empty() && want.back().date > last)
        want.pop_back();
    DayRecord* days = nullptr;
    int32_t count = DecodePriceHistory(&cursor, &days, 0, raw, false);
    ASSERT_EQ(count, int32_t(want.size()));
    for (size_t i = 0; i < want.size(); ++i) {
        ASSERT_EQ(days[i].date, want[i].date) << i;
        ASSERT_EQ(days[i].modeMarks & kDayMarks, want[i].modeMarks) << i;
        ASSERT_FLOAT_EQ(days[i].open, want[i].open) << i;
        ASSERT_FLOAT_EQ(days[i].close, want[i].close) << i;
        ASSERT_FLOAT_EQ(days[i].volume, want[i].volume) << i;
    }
    EXPECT_EQ(days[want.size()].date, 0);
    ProFree(days);
}

void CheckStatistics(const uint8_t* sub, const PriceHistory& h)
{
    std::vector<DayRecord> days = Expected(h, false);
    float high = -FLT_MAX, low = FLT_MAX;
    const DayRecord* last = nullptr;
    const DayRecord* before = nullptr;
    for (const DayRecord& d : days) {
        if (IsMarkedDay(d))
            continue;
        before = last;
        last = &d;
        high = std::max(high, d.close);
        low = std::min(low, d.close);
    }
    ASSERT_NE(last, nullptr);
    StreamStatistics s = ReadStreamStatistics(sub);
    EXPECT_FLOAT_EQ(s.lastClose, last->close);
    EXPECT_EQ(s.lastDate, last->date);
    EXPECT_FLOAT_EQ(s.lastVolume, last->volume);
    // The change is the difference of the closes up to their float rounding (it is made whole units).
    if (before && before->close != 0)
        EXPECT_NEAR(s.change, double(last->close) - before->close,
                    (std::fabs(last->close) + std::fabs(before->close)) * FLT_EPSILON);
    else
        EXPECT_EQ(s.change, 0.0f);
    EXPECT_FLOAT_EQ(s.allTimeHigh, high);
    EXPECT_FLOAT_EQ(s.allTimeLow, low);
}

} // namespace

TEST_F(PriceDatabase, RandomHistoriesRoundTripThroughTheLoader)
{
    std::mt19937 rng(99);
    DbFile file;
    file.entries.emplace_back();
    std::vector<std::vector<PriceHistory>> histories;
    for (int i = 0; i < 40; ++i) {
        char name[16], epic[16];
        std::snprintf(name, sizeof name, "Share %03d", i);
        std::snprintf(epic, sizeof epic, "S%03d", i);
        DbRecord record = ShareRecord(uint16_t(0x4100 + i), name, 0, epic);
        record.subRecords.clear();
        std::vector<PriceHistory>& mine = histories.emplace_back();
        int streams = 1 + int(rng() % 2);
        for (int k = 0; k < streams; ++k) {
            PriceHistory h = RandomHistory(rng, int(rng() % 3));
            if (h.days[0].kind != HistoryKind::Priced || h.days.size() > 2500)
                h.days.resize(std::min<size_t>(h.days.size(), 2500));
            record.subRecords.push_back(PriceSubRecord(k == 0 ? 10 : 2, 5, h));
            mine.push_back(h);
        }
        file.entries[0].records.push_back(std::move(record));
    }
    Load(WriteQuorvaDat(file));
    for (int i = 0; i < 40; ++i) {
        SCOPED_TRACE(i);
        uint8_t* record = RecordIndex[0x4100 + i];
        ASSERT_NE(record, nullptr);
        for (uint32_t k = 0; k < histories[i].size(); ++k) {
            SCOPED_TRACE(k);
            CheckDecoded({record, k}, histories[i][k], true);
            CheckDecoded({record, k}, histories[i][k], false);
            CheckStatistics(GetSubRecord({record, k}, k), histories[i][k]);
            if (HasFatalFailure())
                return;
        }
    }
}

TEST_F(PriceDatabase, TooLargeAPriceChangeIsReportedWithItsValue)
{
    PriceHistory h;
    h.days.resize(2);
    h.days[0].close = 5;
    h.days[1].close = 5 + (1 << 26);
    try {
        PriceSubRecord(10, 0, h);
        FAIL() << "no error";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("67108864"), std::string::npos) << e.what();
    }
}

TEST_F(PriceDatabase, DemoLoadsWithItsCalendarAndCompanyData)
{
    using namespace std::chrono;
    const sys_days last = kDemoLastDay;
    const DemoDatabase& demo = Demo();
    std::vector<uint8_t> comp = WriteCompDat(DemoCompFile(demo));
    Load(WriteQuorvaDat(DemoDbFile(demo)), &comp);
    EXPECT_TRUE(box.shown().empty());

    EXPECT_EQ(LatestDatabaseDate, ToPackedDate(last));
    ASSERT_NE(TradingDays, nullptr);
    sys_days day = sys_days{year{2009} / January / 2};
    int32_t n = 0;
    for (const DayRecord* d = TradingDays; d->date != 0; ++d, ++n) {
        while (!IsLondonTradingDay(day))
            day += days{1};
        ASSERT_EQ(d->date, ToPackedDate(day)) << n;
        day += days{1};
    }
    EXPECT_EQ(n, TradingDayCount);
    EXPECT_GT(n, 15 * 250);

    for (uint32_t number : kDefaultLayoutShares)
        EXPECT_TRUE(IsShareId(uint16_t(DefaultLayoutShareId(number))) && RecordIndex[DefaultLayoutShareId(number)])
            << number;
    for (uint16_t id : {0xB605, 0xC00D, 0xC00E, 0xC00F, 0xC010, 0xC011, 0xC012, 0xC013})
        EXPECT_NE(FindRecordById(uint16_t(id), 0).record[0] | FindRecordById(uint16_t(id), 0).record[1], 0) << id;

    // Every stream's EPIC is in the company data, and every record has its statistics.
    for (const DemoRecord& r : demo.records) {
        RecordCursor cursor = FindRecordById(r.id, 0);
        ASSERT_NE(RecordLength(cursor.record), 0) << r.name;
        for (uint32_t k = 0; k < r.streams.size(); ++k) {
            cursor.count = k;
            const uint8_t* descriptor = nullptr;
            const uint8_t* epic = GetFieldDescriptor(128, &descriptor, &cursor, 0);
            ASSERT_NE(epic, nullptr) << r.name;
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(epic + 1), epic[0]), r.streams[k].epic);
            EXPECT_NE(ReadStreamStatistics(GetSubRecord(cursor, k)).lastClose, 0) << r.name;
        }
    }
}

TEST_F(PriceDatabase, DemoCompanyTextsDecodeBackExactly)
{
    const DemoDatabase& demo = Demo();
    DbFile file = DemoDbFile(demo);
    CompFile comp = DemoCompFile(demo);
    std::vector<uint8_t> compBytes = WriteCompDat(comp);
    Load(WriteQuorvaDat(file), &compBytes);
    EXPECT_TRUE(box.shown().empty());
    ASSERT_EQ(ActiveCodingTables().loadedCount(), 3);

    int described = 0;
    for (const DemoRecord& r : demo.records) {
        RecordCursor cursor = FindRecordById(r.id, 0);
        const uint8_t* field = GetFieldDescriptor(kCodedDescriptionField, nullptr, &cursor, 0);
        if (r.description.empty()) {
            EXPECT_TRUE(!field || field[0] == 0) << r.name;
            continue;
        }
        ASSERT_NE(field, nullptr) << r.name;
        ASSERT_GT(field[0], 0) << r.name;
        BitCursor bits{std::span<const uint8_t>(field + 1, field[0]), 0};
        EXPECT_EQ(UnpackText(bits, kCodedDescriptionKind), r.description) << r.name;
        ++described;
    }
    EXPECT_GT(described, 200);

    // The developer tool lists the same texts from the written folder.
    TempFolder folder;
    ASSERT_TRUE(WriteDatabaseFolder(folder.path(), file, &comp));
    std::string command = std::string(QV_BINARY_DIR) + "/devtools/qvtool texts " + folder.path().string() + " > " +
                          (folder / "texts.txt").string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::stringstream out;
    out << std::ifstream(folder / "texts.txt").rdbuf();
    int listed = 0;
    for (const DemoRecord& r : demo.records) {
        if (r.description.empty())
            continue;
        char id[8];
        std::snprintf(id, sizeof id, "%04X ", r.id);
        std::string line = id + r.name + ": " + Cp1252ToUtf8(r.description) + "\n";
        listed += out.str().find(line) != std::string::npos;
    }
    EXPECT_EQ(listed, described) << out.str();

    // A field that holds no counted bytes (the one-byte results currency) lists no texts.
    command = std::string(QV_BINARY_DIR) + "/devtools/qvtool texts " + folder.path().string() + " 115 > " +
              (folder / "bytes.txt").string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::stringstream bytes;
    bytes << std::ifstream(folder / "bytes.txt").rdbuf();
    std::string listing = bytes.str();
    EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 4) << "only the tables: " << listing;
}

TEST_F(PriceDatabase, ChangingThePeriodRecomputesEveryStreamsExtremes)
{
    using namespace std::chrono;
    DemoDatabase db = RandomDatabase(20, 3, sys_days{year{2026} / June / 30}, 5);
    Load(WriteQuorvaDat(DemoDbFile(db)));
    StatisticsPeriodOption saved = StatisticsPeriod;
    for (StatisticsPeriodOption option : {StatisticsPeriodOption{3, 0}, StatisticsPeriodOption{2, 30}}) {
        StatisticsPeriod = option;
        RecomputeAllPeriodExtremes();
        uint16_t start = DateBackFromLatest(option.unit, option.count);
        for (const DemoRecord& r : db.records) {
            uint8_t* record = FindRecordById(r.id, 0).record;
            float high, low;
            uint16_t highDate, lowDate;
            GetHighLowInRange(record, 0, start, &high, &highDate, &low, &lowDate);
            StreamStatistics s = ReadStreamStatistics(GetSubRecord({record, 0}, 0));
            EXPECT_FLOAT_EQ(s.periodHigh, high) << r.name;
            EXPECT_EQ(s.periodHighDate, highDate) << r.name;
            EXPECT_FLOAT_EQ(s.periodLow, low) << r.name;
            EXPECT_EQ(s.periodLowDate, lowDate) << r.name;
        }
    }
    StatisticsPeriod = saved;
    ResetPeriodStart();
}
