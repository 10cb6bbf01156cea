// The news database on disk: update files written by the test writer merged, read back story by
// story with their codes, share ids and titles; damaged updates set aside; catalogues that fail
// falling back to News.old or set aside; a save that fails keeping the old file and memory.
#include "news/NewsDatabase.h"

#include "core/NewsUpdateFiles.h"
#include "devtools/lib/NewsUpdateWriter.h"
#include "devtools/lib/TempFolder.h"
#include "news/NewsTitles.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "tests/news/NewsFixture.h"
#include "tests/support/FakeMessageBox.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace qv {
namespace {

namespace fs = std::filesystem;
namespace nh = news_header;

class NewsDatabaseTest : public test::NewsFolderTest {
protected:
    fs::path data() const { return NewsDatabase::DataFolder(); }
    void writeUpdate(PackedDate date, const std::vector<std::string>& texts)
    {
        dev::NewsUpdateInput input;
        for (size_t i = 0; i < texts.size(); ++i)
            input.stories.push_back({date, uint16_t(100 + i), texts[i]});
        std::vector<uint8_t> bytes = dev::WriteNewsUpdate(input);
        ASSERT_TRUE(WriteFileBytes(data() / dev::NewsUpdateFileName(date), bytes));
    }

    test::FakeMessageBox messages_;
};

const PackedDate kMon = PackDate(6, 1, 2025);
const PackedDate kTue = PackDate(7, 1, 2025);

TEST_F(NewsDatabaseTest, UpdatesMergeIntoStoriesWithCodesSharesAndTitles)
{
    writeUpdate(kMon, {"GBRFINERN01234 Acme Holdings profits RISE\nThe board of Acme said so.",
                       "USAxyzOIL00042 Beta drills\nDry well."});
    writeUpdate(kTue, {"GERBNK Zeta Bank merges with ABC\nTalks, said the CEO, went well."});
    NewsUpdateOutcome outcome = ApplyNewsUpdateFiles();
    EXPECT_EQ(outcome.merged, 2);
    EXPECT_FALSE(fs::exists(data() / dev::NewsUpdateFileName(kMon)));

    NewsDatabase& news = TheNewsDatabase();
    ASSERT_EQ(news.catalogue().stories.size(), 3u);
    const NewsStory& acme = news.catalogue().stories[0];
    EXPECT_EQ(acme.country, 30);  // gbr
    EXPECT_EQ(acme.industry, 91); // fin
    EXPECT_EQ(acme.subject, 130); // ern
    EXPECT_EQ(acme.shareIds[0], 1234u);
    const NewsStory& beta = news.catalogue().stories[1];
    EXPECT_EQ(beta.country, 80) << "a run that is no code leaves the country found before it";
    EXPECT_EQ(beta.industry, 96);
    EXPECT_EQ(beta.shareIds[0], 42u);
    EXPECT_EQ(news.storyText(0, kNewsTitle | kNewsBody), "Acme Holdings profits RISE\nThe board of Acme said so.");
    EXPECT_EQ(news.storyText(2, kNewsPrefix), "GERBNK");
    EXPECT_EQ(news.catalogue().header.u16(nh::kLatestDate), kTue);

    std::vector<NewsTitleRecord> titles;
    ASSERT_TRUE(ReadNewsTitles(NewsDatabase::NewsFolder() / "TNews.dat", titles));
    ASSERT_EQ(titles.size(), 3u);
    EXPECT_EQ(titles[0].text, "Acme Holdings profits RISE");
    EXPECT_EQ(titles[1].text, "Beta drills");
    EXPECT_EQ(titles[2].story, 2u);

    // A second start loads what was saved and finds nothing to merge.
    news.free();
    EXPECT_EQ(ApplyNewsUpdateFiles().found, 0);
    ASSERT_EQ(news.catalogue().stories.size(), 3u);
    EXPECT_EQ(news.storyText(1, kNewsBody), "Dry well.");
}

TEST_F(NewsDatabaseTest, RandomStoriesSurviveTheMergeWordForWord)
{
    std::mt19937 rng(7);
    const char* pool[] = {"Acme", "ACME", "AcMe", "profit", "12345", "plc", "BoE", "rate", "\t", "-", "x"};
    std::vector<std::string> expected;
    for (int day = 0; day < 5; ++day) {
        std::vector<std::string> texts;
        for (int i = 0; i < 1 + int(rng() % 8); ++i) {
            std::string text = "GBR ";
            for (int w = 0; w < 1 + int(rng() % 30); ++w)
                text += std::string(pool[rng() % std::size(pool)]) + (w == 3 ? "\n" : " ");
            texts.push_back(text);
            expected.push_back(text);
        }
        writeUpdate(PackDate(6 + day, 1, 2025), texts);
    }
    EXPECT_EQ(ApplyNewsUpdateFiles().merged, 5);
    NewsDatabase& news = TheNewsDatabase();
    news.free();
    news.load();
    ASSERT_EQ(news.catalogue().stories.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ("GBR " + news.storyText(i, kNewsTitle | kNewsBody), expected[i]) << i;
}

TEST_F(NewsDatabaseTest, DamagedUpdatesAreSetAsideAndTheDatabaseKept)
{
    writeUpdate(kMon, {"GBR One\nBody."});
    ApplyNewsUpdateFiles();
    writeUpdate(kTue, {"GBR Two\nBody."});
    fs::path update = data() / dev::NewsUpdateFileName(kTue);
    std::vector<uint8_t> bytes = *ReadFileBytes(update);
    bytes.resize(bytes.size() - 3);
    WriteFileBytes(update, bytes);
    std::ofstream(data() / "N251399.UPD") << "no date";
    // A header of garbage (its version word too): set aside once, not tried at every start.
    const PackedDate wed = PackDate(8, 1, 2025);
    writeUpdate(wed, {"GBR Three\nBody."});
    const fs::path garbage = data() / dev::NewsUpdateFileName(wed);
    std::vector<uint8_t> head = *ReadFileBytes(garbage);
    std::fill(head.begin(), head.begin() + 40, uint8_t(0xA5));
    WriteFileBytes(garbage, head);
    test::FakeMessageBox boxes;
    NewsUpdateOutcome outcome = ApplyNewsUpdateFiles();
    EXPECT_EQ(outcome.setAside, 3);
    EXPECT_TRUE(fs::exists(data() / (dev::NewsUpdateFileName(kTue) + ".bad")));
    EXPECT_EQ(ReadFileBytes(data() / (dev::NewsUpdateFileName(wed) + ".bad")), head);
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_NE(boxes.texts()[0].find(dev::NewsUpdateFileName(wed) + " (kept unchanged as " +
                                    dev::NewsUpdateFileName(wed) + ".bad)"),
              std::string::npos)
        << boxes.texts()[0];
    EXPECT_EQ(TheNewsDatabase().catalogue().stories.size(), 1u);
    EXPECT_EQ(TheNewsDatabase().storyText(0, kNewsTitle), "One");
    EXPECT_EQ(ApplyNewsUpdateFiles().found, 0);
    EXPECT_EQ(boxes.texts().size(), 1u);
}

TEST_F(NewsDatabaseTest, AFailedCatalogueFallsBackToTheOldOneOrIsSetAside)
{
    writeUpdate(kMon, {"GBR One\nBody."});
    ApplyNewsUpdateFiles();
    NewsDatabase& news = TheNewsDatabase();
    ASSERT_EQ(news.save(true), SaveResult::Saved);
    std::vector<uint8_t> good = *ReadFileBytes(data() / "News.dat");
    WriteFileBytes(data() / "News.dat", std::vector<uint8_t>(good.begin(), good.begin() + 76));
    news.load();
    EXPECT_EQ(news.catalogue().stories.size(), 1u) << "News.old stands in";
    EXPECT_EQ(news.storyText(0, kNewsTitle), "One");

    WriteFileBytes(data() / "News.old", std::vector<uint8_t>(good.begin(), good.begin() + 100));
    news.load();
    EXPECT_TRUE(news.catalogue().stories.empty());
    EXPECT_TRUE(fs::exists(data() / "News.dat.bad"));
    EXPECT_TRUE(fs::exists(data() / "News.old.bad"));
    EXPECT_TRUE(fs::exists(NewsDatabase::NewsFolder() / "DNews.dat.bad"));
    ASSERT_EQ(messages_.texts().size(), 1u) << "the user is told";
    EXPECT_NE(messages_.texts()[0].find("serious error with the news database"), std::string::npos);
}

TEST_F(NewsDatabaseTest, AFailedSaveKeepsTheOldFileAndTheStoriesInMemory)
{
    writeUpdate(kMon, {"GBR One\nBody."});
    ApplyNewsUpdateFiles();
    std::vector<uint8_t> before = *ReadFileBytes(data() / "News.dat");
    NewsDatabase& news = TheNewsDatabase();
    news.catalogue().header.setU16(nh::kLimitWeeks, 5);
    SetSaveFaultHook([](SaveStep step) { return step == SaveStep::Write; });
    EXPECT_EQ(news.save(false), SaveResult::Failed);
    SetSaveFaultHook(nullptr);
    EXPECT_EQ(*ReadFileBytes(data() / "News.dat"), before);
    EXPECT_EQ(news.catalogue().stories.size(), 1u);
    EXPECT_EQ(news.catalogue().header.u16(nh::kLimitWeeks), 5);
}

TEST_F(NewsDatabaseTest, ADayBlockBeyondTheStoryFileIsCutBackWithItsStories)
{
    writeUpdate(kMon, {"GBR One\nBody."});
    ApplyNewsUpdateFiles();
    writeUpdate(kTue, {"GBR Two\nBody.", "GBR Three\nBody."});
    ApplyNewsUpdateFiles();
    fs::path story = NewsDatabase::NewsFolder() / "DNews.dat";
    fs::resize_file(story, fs::file_size(story) - 10);
    NewsDatabase& news = TheNewsDatabase();
    news.load();
    ASSERT_EQ(news.catalogue().days.size(), 1u);
    ASSERT_EQ(news.catalogue().stories.size(), 1u);
    std::vector<NewsTitleRecord> titles;
    ASSERT_TRUE(ReadNewsTitles(NewsDatabase::NewsFolder() / "TNews.dat", titles));
    EXPECT_EQ(titles.size(), 1u) << "the titles are rebuilt";
}

} // namespace
} // namespace qv
