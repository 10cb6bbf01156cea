// The reindex's output held fixed: the bytes of INews.dat built from a fixed set of stories (case
// variants, code tables, a day of 700 stories, a story and a day block that no longer decode), so a
// faster reindex is shown to write exactly the index it wrote before.
#include "news/NewsIndex.h"

#include "core/NewsUpdateFiles.h"
#include "devtools/lib/NewsUpdateWriter.h"
#include "news/NewsDatabase.h"
#include "news/NewsDayBlock.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "tests/news/NewsFixture.h"

#include <gtest/gtest.h>

#include <random>

namespace qv {
namespace {

namespace fs = std::filesystem;

// FNV-1a, 64 bits.
uint64_t Digest(std::span<const uint8_t> bytes)
{
    uint64_t h = 14695981039346656037ull;
    for (uint8_t b : bytes)
        h = (h ^ b) * 1099511628211ull;
    return h;
}

class NewsReindexTest : public test::NewsFolderTest {
protected:
    // Six days of stories drawn from a small pool, a day at a time, each day with its own number of
    // code tables and stories in no order of time.
    void mergeFixture()
    {
        static constexpr const char* kPool[] = {"Acme", "ACME", "acme", "AcMe", "holdings", "profit", "Rises",
                                                "rate", "cut", "x", "Q", "2026", "10000", "plc", "Bank", "the",
                                                "of", "zygote", "interim", "dividend", "results", "a", "b"};
        static constexpr const char* kGaps[] = {" ", " ", " ", ", ", ". ", " - ", " (", ") ", "; ", "\t"};
        std::mt19937 rng(62);
        const int stories[] = {3, 40, 700, 1, 25, 120};
        const int tables[] = {1, 3, 5, 8, 2, 5};
        PackedDate date = PackDate(5, 1, 2026);
        for (size_t d = 0; d < std::size(stories); ++d, date = NextWeekday(date)) {
            dev::NewsUpdateInput input;
            input.codeTables = tables[d];
            for (int s = 0; s < stories[d]; ++s) {
                std::string text = "GBRFINERN" + std::to_string(10000 + rng() % 90000) + " ";
                const int words = 1 + int(rng() % 60);
                for (int w = 0; w < words; ++w)
                    text += std::string(kPool[rng() % std::size(kPool)]) + (w == 4 ? "\n" : kGaps[rng() % std::size(kGaps)]);
                input.stories.push_back({date, uint16_t(rng() % 40000), text});
            }
            WriteFileBytes(NewsDatabase::DataFolder() / dev::NewsUpdateFileName(date), dev::WriteNewsUpdate(input));
            ApplyNewsUpdateFiles();
        }
    }

    // Changes the four bytes at `at` within the day's block in DNews.dat.
    void damageBlock(const NewsDay& day, uint32_t at, uint32_t value)
    {
        const fs::path file = NewsDatabase::NewsFolder() / "DNews.dat";
        std::vector<uint8_t> bytes = ReadFileBytes(file).value();
        StoreU32(bytes.data() + day.blockOffset + at, value);
        ASSERT_TRUE(WriteFileBytes(file, bytes));
    }

    // INews.dat followed by each day's section offset and length.
    std::vector<uint8_t> index()
    {
        std::vector<uint8_t> bytes = ReadFileBytes(NewsDatabase::NewsFolder() / "INews.dat").value_or(std::vector<uint8_t>());
        ByteWriter days;
        for (const NewsDay& day : TheNewsDatabase().catalogue().days) {
            days.u32(day.indexOffset);
            days.u32(day.indexLength);
        }
        bytes.insert(bytes.end(), days.data().begin(), days.data().end());
        return bytes;
    }
};

TEST_F(NewsReindexTest, WritesTheRecordedIndexWholeOrFromALaterDay)
{
    mergeFixture();
    NewsDatabase& news = TheNewsDatabase();
    const std::vector<NewsDay>& days = news.catalogue().days;
    ASSERT_EQ(days.size(), 6u);
    damageBlock(days[1], NewsDayBlock::kFixedSize, 0x00FFFFFF); // the first story starts past the text
    damageBlock(days[4], 8, 1);                                 // the block's length no longer fits it

    ASSERT_EQ(ReindexNews(news), NewsReindexResult::Done);
    const std::vector<uint8_t> whole = index();
    // Recorded from the reindex as first built; a change means the index's bytes changed.
    EXPECT_EQ(whole.size(), 8506u);
    EXPECT_EQ(Digest(whole), 10649163236457231089ull);
    EXPECT_EQ(days[4].indexLength, NewsIndexSection(std::vector<NewsPostingList>()).size()) << "an empty section";

    ASSERT_EQ(ReindexNews(news, nullptr, 3), NewsReindexResult::Done);
    EXPECT_EQ(index(), whole) << "the sections before day 3 kept, the rest built again";
}

TEST_F(NewsReindexTest, AnIndexThatCannotBeWrittenLeavesEveryDayUnindexed)
{
    mergeFixture();
    NewsDatabase& news = TheNewsDatabase();
    ASSERT_EQ(ReindexNews(news), NewsReindexResult::Done);
    const std::vector<uint8_t> whole = index();
    const fs::path work = NewsDatabase::NewsFolder() / "workINews.dat";
    fs::create_directories(work / "held"); // a folder where the work file would go

    EXPECT_EQ(ReindexNews(news), NewsReindexResult::Failed);
    EXPECT_EQ(FirstUnindexedNewsDay(news), 0u);

    fs::remove_all(work);
    ASSERT_EQ(ReindexNews(news), NewsReindexResult::Done);
    EXPECT_EQ(index(), whole);
}

} // namespace
} // namespace qv
