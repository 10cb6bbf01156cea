// The About box's texts: counts and total on an empty and on the demo database, and the notices
// with and without the real-time option.
#include "shell/AboutTexts.h"

#include "core/ConfigState.h"
#include "devtools/lib/DemoDatabase.h"
#include "devtools/lib/PriceDatabase.h"
#include "support/DatabaseFixture.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

class AboutTextsFixture : public test::DatabaseFixture {};

std::string Line(const std::string& column, int line)
{
    size_t start = 0;
    for (int n = 0; n < line; ++n)
        start = column.find("\r\n", start) + 2;
    return column.substr(start, column.find("\r\n", start) - start);
}

} // namespace

TEST(AboutTexts, AnEmptyDatabaseCountsNothing)
{
    const int32_t counts[KindCountSlots] = {};
    AboutTexts texts = MakeAboutTexts(9, counts, false, 2026);
    EXPECT_EQ(texts.version, " Database version 1.9 ");
    EXPECT_EQ(texts.counts[0], "0 companies\r\n0 Ord. shares\r\n0 income shares\r\n0 capital shares");
    EXPECT_EQ(texts.counts[1], "0 unit trusts\r\n0 indices\r\n0 preference shares\r\n0 other shares");
    EXPECT_EQ(texts.counts[2], "0 gilts\r\n0 commodities\r\n0 exchange rates\r\n0 total");
}

TEST(AboutTexts, EachCounterHasItsPlaceAndTheTotalLeavesOutCompanies)
{
    int32_t counts[KindCountSlots] = {};
    for (int slot = 0; slot < KindCountSlots; ++slot)
        counts[slot] = 1 << slot;
    AboutTexts texts = MakeAboutTexts(3, counts, false, 2026);
    EXPECT_EQ(texts.counts[0], "1 companies\r\n32 Ord. shares\r\n8 income shares\r\n16 capital shares");
    EXPECT_EQ(texts.counts[1], "128 unit trusts\r\n2 indices\r\n4 preference shares\r\n1024 other shares");
    EXPECT_EQ(texts.counts[2], "64 gilts\r\n512 commodities\r\n256 exchange rates\r\n2046 total");
}

TEST(AboutTexts, OverseasNoticesOnlyWithTheRealTimeOption)
{
    const int32_t counts[KindCountSlots] = {};
    AboutTexts plain = MakeAboutTexts(9, counts, false, 2031);
    AboutTexts realTime = MakeAboutTexts(9, counts, true, 2031);
    ASSERT_EQ(plain.notices.size(), 2u);
    EXPECT_EQ(realTime.notices.size(), 7u);
    EXPECT_FALSE(plain.overseasNotices);
    EXPECT_TRUE(realTime.overseasNotices);
    EXPECT_NE(plain.notices[0].find("2031"), std::string::npos);
    EXPECT_NE(plain.notices[1].find("2031"), std::string::npos);
    EXPECT_EQ(std::vector<std::string>(realTime.notices.begin(), realTime.notices.begin() + 2), plain.notices);
}

TEST_F(AboutTextsFixture, TheDemoDatabaseCountsEveryStream)
{
    const dev::DemoDatabase demo = dev::BuildDemoDatabase(std::chrono::sys_days{std::chrono::year{2026} / 12 / 8});
    int companies = 0, streams = 0, indices = 0;
    for (const dev::DemoRecord& record : demo.records) {
        streams += int(record.streams.size());
        for (const dev::DemoStream& stream : record.streams)
            indices += stream.kind == 1;
        companies += !record.streams.empty() && record.streams[0].kind != 1;
    }
    std::vector<uint8_t> comp = dev::WriteCompDat(dev::DemoCompFile(demo));
    Load(dev::WriteQuorvaDat(dev::DemoDbFile(demo)), &comp);
    Config() = ConfigState{};
    AboutTexts texts = CurrentAboutTexts();
    EXPECT_EQ(Line(texts.counts[0], 0), std::to_string(companies) + " companies");
    EXPECT_EQ(Line(texts.counts[1], 1), std::to_string(indices) + " indices");
    EXPECT_EQ(Line(texts.counts[2], 3), std::to_string(streams) + " total");
    EXPECT_GT(companies, 100);
    EXPECT_EQ(texts.notices.size(), 2u);
}
