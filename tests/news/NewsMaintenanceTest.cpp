// The news database's upkeep: the title cache and samples, the list cells' answers, the removal of
// stories without a day (their titles purged and renumbered), the recode of the code bytes, the
// compaction of the story and index files on the demo news, a reindex stopped by the user, the
// real-time news table and a group's news search freed with the group.
#include "news/NewsDatabase.h"

#include "core/NewsUpdateFiles.h"
#include "core/ShareList.h"
#include "devtools/lib/DemoDatabase.h"
#include "devtools/lib/DemoNews.h"
#include "devtools/lib/NewsUpdateWriter.h"
#include "lists/CellValue.h"
#include "news/NewsCells.h"
#include "news/NewsGroupList.h"
#include "news/NewsIndex.h"
#include "news/NewsRealTime.h"
#include "news/NewsSearch.h"
#include "news/NewsTitleCache.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "tests/news/NewsFixture.h"
#include "views/ViewGroupFields.h"

#include <gtest/gtest.h>

#include <chrono>

namespace qv {
namespace {

namespace fs = std::filesystem;
namespace nh = news_header;

TEST(NewsTitleCacheTest, SamplesStandForAboutAThousandRecordsEach)
{
    struct Case {
        size_t records;
        size_t samples;
    } cases[] = {{0, 0}, {1, 2}, {999, 2}, {1000, 3}, {2500, 4}, {12345, 14}};
    for (const Case& k : cases) {
        std::vector<NewsTitleRecord> records(k.records);
        for (size_t i = 0; i < k.records; ++i)
            records[i] = {uint32_t(i), "t" + std::to_string(i)};
        std::vector<NewsTitleRecord> samples = NewsTitleSamples(records);
        EXPECT_EQ(samples.size(), k.samples) << k.records;
        if (k.records < 1000)
            continue;
        size_t step = k.records / (k.records / 1000 + 1);
        EXPECT_EQ(samples[1].text, "t" + std::to_string(step)) << k.records;
        EXPECT_EQ(samples[0].story, step) << "the first word counts the records a sample stands for";
    }
}

TEST(NewsTitleCacheTest, FindsFromTheLastHitThenFromTheStart)
{
    NewsTitleCache cache;
    std::vector<std::string> titles;
    for (int i = 0; i < 150; ++i)
        titles.push_back(std::string(250, char('a' + i % 26)));
    cache.fill(40, titles);
    EXPECT_EQ(cache.size(), NewsTitleCache::kEntries);
    ASSERT_NE(cache.find(139), nullptr);
    EXPECT_EQ(cache.find(139)->key, 140u);
    EXPECT_EQ(cache.find(139)->text.size(), NewsTitleEntry::kMaxText);
    ASSERT_NE(cache.find(40), nullptr) << "found again from the start";
    EXPECT_EQ(cache.find(140), nullptr);
    EXPECT_EQ(cache.find(39), nullptr);
}

class NewsMaintenanceTest : public test::NewsFolderTest {
protected:
    void merge(PackedDate date, const std::vector<std::string>& texts)
    {
        dev::NewsUpdateInput input;
        for (size_t i = 0; i < texts.size(); ++i)
            input.stories.push_back({date, uint16_t(3600 + i), texts[i]});
        WriteFileBytes(NewsDatabase::DataFolder() / dev::NewsUpdateFileName(date), dev::WriteNewsUpdate(input));
        ApplyNewsUpdateFiles();
    }
    std::vector<NewsTitleRecord> titleFile()
    {
        std::vector<NewsTitleRecord> titles;
        EXPECT_TRUE(ReadNewsTitles(NewsDatabase::NewsFolder() / "TNews.dat", titles));
        return titles;
    }
    std::vector<uint32_t> search(const std::string& text)
    {
        std::vector<uint32_t> out;
        for (const NewsMatch& m : PerformNewsSearch(TheNewsDatabase(), MakeNewsSearchWords(TheNewsDatabase(), 0, text)))
            out.push_back(m.story);
        return out;
    }
    static uintmax_t Size(const char* name) { return fs::file_size(NewsDatabase::NewsFolder() / name); }
};

const PackedDate kMon = PackDate(6, 1, 2025), kTue = PackDate(7, 1, 2025), kWed = PackDate(8, 1, 2025);

TEST_F(NewsMaintenanceTest, ListCellsShowTitlesCodeNamesAndTheLatestStories)
{
    merge(kMon, {"GBRFIN01234 Acme profits rise\nBody.", "USAOILERN Beta drills\nDry."});
    NewsDatabase& news = TheNewsDatabase();
    EXPECT_EQ(news.latestBoundary(), 0u) << "both stories came with this start";
    news.free();
    merge(kTue, {"GERBNK Zeta Bank merges\nTalks."});
    EXPECT_EQ(news.latestBoundary(), 2u);

    InstallNewsCells();
    uint8_t entry[NewsEntryLayout::Size] = {};
    StoreU32(entry + NewsEntryLayout::Position, 1);
    EXPECT_STREQ(CurrentCellSources().newsTitle(entry), "Beta drills");
    EXPECT_EQ(GetNewsTitle(2, false).text, "Zeta Bank merges") << "the cache holds the stories from 1 on";
    EXPECT_EQ(GetNewsTitle(0, false).key, 0u);
    EXPECT_EQ(GetNewsTitle(0, true).text, "Acme profits rise");
    EXPECT_EQ(CurrentCellSources().newsLatestBoundary(), 2u);

    const NewsStory& acme = news.catalogue().stories[0];
    struct Case {
        uint16_t code;
        int column;
        const char* name;
    } cases[] = {
        {acme.country, 6, "United Kingdom"}, {acme.country, 7, nullptr}, {acme.industry, 7, "Financial services"},
        {acme.industry, 6, nullptr},         {0, 6, nullptr},            {uint16_t(NewsCodeTable::Count()), 8, nullptr},
        {news.catalogue().stories[1].subject, 8, "Earnings"}, {acme.country, 5, nullptr},
    };
    for (const Case& k : cases) {
        const char* name = NewsCodeNameCell(k.code, k.column);
        if (!k.name)
            EXPECT_EQ(name, nullptr) << k.code << " in column " << k.column;
        else
            EXPECT_STREQ(name, k.name) << k.code << " in column " << k.column;
    }
    CurrentCellSources() = CellSources();
}

TEST_F(NewsMaintenanceTest, StoriesWithoutADayGoWithTheirTitlesAndTheRestAreRenumbered)
{
    merge(kMon, {"GBR Monday one\nA.", "GBR Monday two\nB."});
    merge(kTue, {"GBR Tuesday one\nC."});
    merge(kWed, {"GBR Wednesday one\nD.", "GBR Wednesday two\nE."});
    NewsDatabase& news = TheNewsDatabase();
    search("monday");
    ASSERT_TRUE(news.catalogue().indexed());
    std::erase_if(news.catalogue().days, [](const NewsDay& d) { return d.date == kTue; });
    ASSERT_EQ(news.save(false), SaveResult::Saved);

    news.load();
    ASSERT_EQ(news.catalogue().stories.size(), 4u);
    EXPECT_FALSE(news.catalogue().indexed()) << "the index is cleared for the next search";
    std::vector<NewsTitleRecord> titles = titleFile();
    ASSERT_EQ(titles.size(), 4u);
    for (const NewsTitleRecord& t : titles)
        EXPECT_EQ(news.title(t.story), t.text) << t.story;
    EXPECT_EQ(search("wednesday"), (std::vector<uint32_t>{2, 3}));
    EXPECT_EQ(news.titleSamples().size(), 2u);
}

TEST_F(NewsMaintenanceTest, ACatalogueWithoutItsCodeTableHasItsStoriesRecoded)
{
    merge(kMon, {"GBRFINERN01234 Acme results\nA.", "USAOIL Beta\nB."});
    NewsDatabase& news = TheNewsDatabase();
    std::vector<NewsStory> before = news.catalogue().stories;
    for (NewsStory& s : news.catalogue().stories)
        s.country = s.industry = s.subject = 0;
    news.catalogue().header.setU32(nh::kCodesBuilt, 0);
    news.save(false);
    news.load();
    for (size_t i = 0; i < before.size(); ++i) {
        const NewsStory& s = news.catalogue().stories[i];
        EXPECT_EQ(s.country, before[i].country) << i;
        EXPECT_EQ(s.industry, before[i].industry) << i;
        EXPECT_EQ(s.subject, before[i].subject) << i;
        EXPECT_EQ(s.shareIds, before[i].shareIds) << i;
    }
}

TEST_F(NewsMaintenanceTest, TheDemoNewsIsCompactedAfterAppendsCutShortAndStaysWordForWord)
{
    using namespace std::chrono;
    dev::DemoDatabase demo = dev::BuildDemoDatabase(sys_days{year{2026} / December / 8});
    ASSERT_TRUE(dev::WriteDemoNews(dir_.path(), demo));
    EXPECT_EQ(ApplyNewsUpdateFiles().merged, dev::kDemoNewsDays);
    NewsDatabase& news = TheNewsDatabase();
    std::vector<uint32_t> found = search("dividend,contract");
    ASSERT_FALSE(found.empty());
    std::vector<std::string> texts;
    for (size_t i = 0; i < news.catalogue().stories.size(); ++i)
        texts.push_back(news.storyText(i, kNewsPrefix | kNewsTitle | kNewsBody));
    const uintmax_t storyFile = Size("DNews.dat"), indexFile = Size("INews.dat");
    EXPECT_FALSE(news.filesHoldWaste());

    // Room no day uses: the tail of appends that were cut short.
    for (const char* name : {"DNews.dat", "INews.dat"}) {
        ExclusiveFile file;
        ASSERT_TRUE(file.open(NewsDatabase::NewsFolder() / name, ExclusiveFile::Mode::ReadWrite));
        ASSERT_TRUE(file.resize(*file.size() + 5000));
    }
    news.load();
    EXPECT_EQ(Size("DNews.dat"), storyFile);
    EXPECT_EQ(Size("INews.dat"), indexFile);
    EXPECT_FALSE(fs::exists(NewsDatabase::NewsFolder() / "tempDNews.dat"));
    EXPECT_FALSE(fs::exists(NewsDatabase::NewsFolder() / "tempINews.dat"));
    ASSERT_EQ(news.catalogue().stories.size(), texts.size());
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(news.storyText(i, kNewsPrefix | kNewsTitle | kNewsBody), texts[i]) << i;
    EXPECT_TRUE(news.catalogue().indexed()) << "the sections came along";
    EXPECT_EQ(search("dividend,contract"), found);

    // A day removed leaves its block behind until the files are compacted.
    std::erase_if(news.catalogue().days, [&](const NewsDay& d) { return d.date == news.catalogue().days[3].date; });
    news.save(false);
    news.load();
    EXPECT_LT(Size("DNews.dat"), storyFile);
    EXPECT_FALSE(news.filesHoldWaste());
    for (size_t i = 0; i < news.catalogue().stories.size(); ++i)
        EXPECT_EQ(news.storyText(i, kNewsTitle), news.title(i)) << i;
}

class StoppingProgress : public NewsReindexProgress {
public:
    explicit StoppingProgress(size_t stopAt) : stopAt_(stopAt) {}
    void open(size_t days) override { days_ = days; }
    bool step(size_t day) override
    {
        last_ = day;
        return day < stopAt_;
    }
    void close() override { closed_ = true; }
    size_t days_ = 0, last_ = 0, stopAt_;
    bool closed_ = false;
};

TEST_F(NewsMaintenanceTest, AReindexStoppedByTheUserLeavesNoIndexAndTheNextSearchBuildsIt)
{
    merge(kMon, {"GBR Alpha one\nA."});
    merge(kTue, {"GBR Alpha two\nB."});
    merge(kWed, {"GBR Beta three\nC."});
    NewsDatabase& news = TheNewsDatabase();
    StoppingProgress stop(2);
    EXPECT_EQ(ReindexNews(news, &stop), NewsReindexResult::Stopped);
    EXPECT_EQ(stop.days_, 3u);
    EXPECT_EQ(stop.last_, 2u);
    EXPECT_TRUE(stop.closed_);
    EXPECT_FALSE(fs::exists(NewsDatabase::NewsFolder() / "INews.dat"));
    EXPECT_FALSE(fs::exists(NewsDatabase::NewsFolder() / "workINews.dat"));
    EXPECT_EQ(FirstUnindexedNewsDay(news), 0u);

    StoppingProgress early(1);
    EXPECT_TRUE(PerformNewsSearch(news, MakeNewsSearchWords(news, 0, "alpha"), 0, UINT32_MAX, &early).empty())
        << "a search whose reindex is stopped ends";
    EXPECT_EQ(search("alpha"), (std::vector<uint32_t>{0, 1}));

    // A later day is indexed on its own; the sections before it stay where they are.
    const NewsDay first = news.catalogue().days[0];
    merge(PackDate(9, 1, 2025), {"GBR Alpha four\nD."});
    EXPECT_EQ(FirstUnindexedNewsDay(news), 3u);
    EXPECT_EQ(search("alpha"), (std::vector<uint32_t>{0, 1, 3}));
    EXPECT_EQ(news.catalogue().days[0].indexOffset, first.indexOffset);
}

// A search-text block holding one text per share, and the table of (share, offset) pairs behind it.
void SetSearchTexts(NewsCatalogue& c, const std::vector<NewsSearchText>& texts)
{
    ByteWriter block, table;
    for (const NewsSearchText& t : texts) {
        table.u32(t.shareId);
        table.u32(uint32_t(block.size()));
        block.bytes(reinterpret_cast<const uint8_t*>(t.text.c_str()), t.text.size() + 1);
    }
    block.bytes(table.data().data(), table.size());
    c.searchTexts = block.take();
    c.header.setU32(nh::kSearchTextSize, uint32_t(c.searchTexts.size()));
    c.header.setU32(nh::kSearchTextCount, uint32_t(texts.size()));
}

TEST_F(NewsMaintenanceTest, TheRealTimeTableHoldsTheMatchesOfItsSharesAsStoriesArrive)
{
    merge(kMon, {"GBR Acme wins\nA.", "GBR Beta loses\nB."});
    NewsDatabase& news = TheNewsDatabase();
    SetSearchTexts(news.catalogue(), {{0x4001, "acme"}, {0x4002, "'beta loses'"}});
    EXPECT_FALSE(HasRealTimeNewsTable());
    SetRealTimeNewsTable({0x4001, 0x4002});
    ASSERT_TRUE(HasRealTimeNewsTable());
    NewsRealTimeTable& table = TheRealTimeNewsTable();
    EXPECT_TRUE(table.scan(news).empty()) << "only stories after the table was set count";

    merge(kTue, {"GBR Beta loses again\nC.", "GBR Nothing\nD.", "GBR Acme and Beta\nE."});
    std::vector<NewsAlarmEntry> found = table.scan(news);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].story, 4u);
    EXPECT_EQ(found[0].date, kTue);
    EXPECT_EQ(found[0].seconds, 2u * (3600 + 2));
    EXPECT_EQ(table.matches(), (std::vector<NewsMatch>{{4, 0x4001}, {2, 0x4002}}))
        << "one group a share, the story credited to the share that found it";
    EXPECT_TRUE(table.scan(news).empty());

    ClearNewsAlarmResults();
    EXPECT_TRUE(table.matches().empty());
    EXPECT_FALSE(table.terms().empty()) << "the terms are built again";
    ClearRealTimeNewsTable();
    EXPECT_FALSE(HasRealTimeNewsTable());
    EXPECT_TRUE(table.scan(news).empty());
}

TEST(NewsGroupListTest, AGroupsNewsSearchIsFreedWithTheGroup)
{
    SetGroupNewsFreer(FreeGroupNewsList);
    ShareList list{};
    NewsGroupList* news = GroupNewsList(&list);
    ASSERT_NE(news, nullptr);
    news->searchText = "acme";
    news->terms.resize(3);
    EXPECT_EQ(GroupNewsList(&list), news) << "one search a list";
    FreeViewGroup(&list);
    EXPECT_EQ(FindGroupNewsList(&list), nullptr);
    FreeGroupNewsList(nullptr);
    GroupNewsList(&list);
    ReleaseViewGroupData(&list);
    EXPECT_EQ(GetViewGroupFields(&list).newsResults, nullptr);
    SetGroupNewsFreer(nullptr);
}

} // namespace
} // namespace qv
