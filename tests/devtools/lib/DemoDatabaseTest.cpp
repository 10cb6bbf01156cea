#include "devtools/lib/DemoDatabase.h"

#include "core/PriceStream.h"
#include "core/RecordAccess.h"
#include "core/RecordFlags.h"
#include "devtools/lib/DemoIndexMembers.h"
#include "devtools/lib/LondonCalendar.h"
#include "shell/LayoutWindow.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>

using namespace qv::dev;
using namespace std::chrono;

namespace {
const sys_days kLastDay = sys_days{year{2026} / December / 8};

std::string Upper(std::string s)
{
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

const DemoDatabase& Demo()
{
    static const DemoDatabase db = BuildDemoDatabase(kLastDay);
    return db;
}
} // namespace

TEST(DemoDatabase, HoldsTheRecordsTheProgramNamesInNameOrder)
{
    const DemoDatabase& db = Demo();
    EXPECT_GE(db.records.size(), 280u);
    EXPECT_LE(db.records.size(), 320u);
    std::set<uint16_t> ids;
    std::set<std::string> epics;
    std::map<uint8_t, int> kinds;
    for (size_t i = 0; i < db.records.size(); ++i) {
        const DemoRecord& r = db.records[i];
        EXPECT_TRUE(ids.insert(r.id).second) << r.id;
        if (i > 0) {
            EXPECT_LT(Upper(db.records[i - 1].name), Upper(r.name));
        }
        for (const DemoStream& s : r.streams) {
            EXPECT_TRUE(epics.insert(s.epic).second) << s.epic;
            ++kinds[s.kind];
        }
    }
    for (uint32_t number : qv::kDefaultLayoutShares)
        EXPECT_TRUE(ids.count(uint16_t(qv::DefaultLayoutShareId(number)))) << "the layouts' share " << number;
    for (uint16_t id : {0xB605, 0xC00D, 0xC00E, 0xC00F, 0xC010, 0xC011, 0xC012, 0xC013})
        EXPECT_TRUE(ids.count(uint16_t(id))) << id;
    for (uint8_t kind : {1, 2, 8, 9, 10, 11, 13, 14, 16, 17})
        EXPECT_GT(kinds[kind], 0) << int(kind);
    EXPECT_GT(kinds[10], 150);
}

// The default layouts' windows find their shares in the FTSE 100 list, and show the list's first share
// instead of one that is not a member.
TEST(DemoDatabase, TheLayoutsSharesAreFtse100Members)
{
    const std::map<uint16_t, DemoMembership> members = DemoMemberships(Demo());
    for (uint32_t number : qv::kDefaultLayoutShares) {
        const auto it = members.find(uint16_t(qv::DefaultLayoutShareId(number)));
        ASSERT_NE(it, members.end()) << number;
        EXPECT_EQ(qv::RecordIndexBits(it->second.flags), qv::kIndexFtse100) << "the layouts' share " << number;
    }
}

TEST(DemoDatabase, IsTheSameOnEveryRun)
{
    DemoDatabase again = BuildDemoDatabase(kLastDay);
    ASSERT_EQ(again.records.size(), Demo().records.size());
    for (size_t i = 0; i < again.records.size(); ++i) {
        std::vector<uint8_t> a, b;
        ASSERT_TRUE(EncodePriceStream(again.records[i].streams[0].history, a));
        ASSERT_TRUE(EncodePriceStream(Demo().records[i].streams[0].history, b));
        ASSERT_EQ(a, b) << again.records[i].name;
        EXPECT_EQ(again.records[i].description, Demo().records[i].description);
    }
}

TEST(DemoDatabase, CalendarDaysAreTheLondonTradingDays)
{
    const DemoRecord* calendar = nullptr;
    for (const DemoRecord& r : Demo().records)
        if (r.id == qv::kMarketCalendarId)
            calendar = &r;
    ASSERT_NE(calendar, nullptr);
    const PriceHistory& h = calendar->streams[0].history;
    EXPECT_EQ(h.firstDate, ToPackedDate(sys_days{year{2009} / January / 2}));
    sys_days day = sys_days{year{2009} / January / 2};
    size_t priced = 0;
    for (const HistoryDay& d : h.days) {
        EXPECT_EQ(d.kind == HistoryDay::Kind::Priced, IsLondonTradingDay(day));
        priced += d.kind == HistoryDay::Kind::Priced;
        do
            day += days{1};
        while (weekday{day}.iso_encoding() > 5);
    }
    EXPECT_EQ(day - days{1}, kLastDay);
    EXPECT_GT(priced, size_t(15 * 250));
}

TEST(DemoDatabase, EveryCompanyHasADescriptionAndNothingElseHasOne)
{
    std::set<std::string> distinct;
    for (const DemoRecord& r : Demo().records) {
        uint8_t kind = r.streams.front().kind;
        bool company = kind == 8 || kind == 10 || kind == 11;
        EXPECT_EQ(!r.description.empty(), company) << r.name;
        if (company)
            distinct.insert(r.description);
    }
    // The sentences vary with the trade and their slots, so few companies share a description.
    EXPECT_GT(distinct.size(), 150u);
}

TEST(DemoDatabase, EveryStreamFitsItsRecord)
{
    size_t total = 0;
    for (const DemoRecord& r : Demo().records) {
        size_t bytes = 0;
        for (const DemoStream& s : r.streams) {
            std::vector<uint8_t> stream;
            std::string error;
            ASSERT_TRUE(EncodePriceStream(s.history, stream, &error)) << r.name << ": " << error;
            bytes += stream.size() + 80;
        }
        EXPECT_LT(bytes + 100 + r.name.size(), 65535u) << r.name;
        total += bytes;
    }
    EXPECT_LT(total, 12u << 20);
}

// The returns simulation draws from the FTSE 100, FTSE 250, SmallCap and AIM lists over periods in
// 1998-2001: each list has companies with closes from January 1998, joined to their 2009 prices
// without a gap or a jump, on the London trading days.
TEST(DemoDatabase, CompaniesInEveryListHaveClosesFrom1998)
{
    const std::map<uint16_t, DemoMembership> members = DemoMemberships(Demo());
    const sys_days early = kDemoEarlyDay, demoStart = kDemoFirstDay;
    std::map<uint16_t, int> counts;
    for (const DemoRecord& r : Demo().records) {
        const auto m = members.find(r.id);
        if (m == members.end() || m->second.ordinaryKind == 0)
            continue;
        const PriceHistory& h = r.streams.front().history;
        if (h.firstDate != ToPackedDate(early))
            continue;
        ++counts[qv::RecordIndexBits(m->second.flags)];
        sys_days day = early;
        int32_t lastEarly = 0;
        size_t i = 0;
        for (; day < demoStart; ++i) {
            ASSERT_LT(i, h.days.size());
            const HistoryDay& d = h.days[i];
            EXPECT_EQ(d.kind == HistoryDay::Kind::Priced, IsLondonTradingDay(day)) << r.name;
            EXPECT_EQ(d.mode, 0) << r.name;
            if (d.kind == HistoryDay::Kind::Priced)
                lastEarly = d.close;
            do
                day += days{1};
            while (weekday{day}.iso_encoding() > 5);
        }
        ASSERT_LT(i, h.days.size());
        EXPECT_EQ(h.days[i].kind, HistoryDay::Kind::Priced) << r.name;
        EXPECT_EQ(h.days[i].newUnit, 0) << r.name;
        EXPECT_EQ(lastEarly, h.days[i].close) << r.name;
    }
    EXPECT_EQ(counts[qv::kIndexFtse100], 20);
    EXPECT_EQ(counts[qv::kIndexFtse250], 20);
    EXPECT_GE(counts[qv::kIndexSmallCap], 6);
    EXPECT_GE(counts[qv::kIndexNone], 6);
}
