// The news search: default search texts, the share limit of a portfolio search, and searches of
// every kind checked against a plain scan of the merged stories' texts.
#include "news/NewsSearch.h"

#include "core/NewsUpdateFiles.h"
#include "devtools/lib/NewsUpdateWriter.h"
#include "devtools/lib/TempFolder.h"
#include "news/NewsDatabase.h"
#include "news/NewsIndex.h"
#include "news/NewsListRows.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "tests/news/NewsFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <tuple>

namespace qv {
namespace {

namespace fs = std::filesystem;
namespace nh = news_header;

TEST(NewsSearchTextTest, NamesBecomeLiteralsWithTheirShortForms)
{
    struct Case {
        const char* name;
        const char* text;
    } cases[] = {
        {"Acme Holdings plc", "'acme holdings','acme hldgs'"},
        {"Beta Holdings Group plc", "'beta holdings group','beta hldgs'"},
        {"Gamma Telecommunications Holdings PLC", "'gamma telecommunications holdings','gamma telecom'"},
        {"Delta Corporation", "'delta corporation','delta corp'"},
        {"Epsilon & Sons plc Ord 5p", "'epsilon sons'"},
        {"Zeta (U K) Mining", "'zeta uk mining'"},
    };
    for (const Case& k : cases)
        EXPECT_EQ(MakeNewsSearchText(k.name), k.text) << k.name;
}

TEST(NewsIndexSectionTest, DamagedSectionsFindNothingBeyondTheirBounds)
{
    std::map<uint32_t, std::vector<uint16_t>> postings = {{5, {0, 2, 9}}, {700, {1}}, {70000, {3, 4}}};
    std::vector<uint8_t> section = NewsIndexSection(postings);
    NewsIndexSectionReader reader(section, 10);
    EXPECT_EQ(reader.stories(5), (std::vector<uint16_t>{0, 2, 9}));
    EXPECT_EQ(reader.stories(70000), (std::vector<uint16_t>{3, 4}));
    EXPECT_TRUE(reader.stories(6).empty());
    EXPECT_EQ(NewsIndexSectionReader(section, 5).stories(5), (std::vector<uint16_t>{0, 2})) << "beyond the day's count";
    for (size_t n = 0; n < section.size(); ++n) {
        std::vector<uint8_t> cut(section.begin(), section.begin() + n);
        NewsIndexSectionReader damaged(cut, 10);
        damaged.stories(5);
        damaged.stories(70000);
    }
    std::vector<uint8_t> wild = section;
    StoreU32(wild.data(), 0xFFFFFFF0); // n
    EXPECT_EQ(NewsIndexSectionReader(wild, 10).words(), 0u);
}

class NewsSearchTest : public test::NewsFolderTest {
protected:
    // Merges random stories over days and keeps each story's searchable words.
    void mergeRandomStories(std::mt19937& rng, int days)
    {
        for (int d = 0; d < days; ++d) {
            PackedDate date = PackDate(1 + d, 3, 2025);
            dev::NewsUpdateInput input;
            for (int i = 0; i < 1 + int(rng() % 12); ++i) {
                std::string text = "GBR ";
                int count = 2 + int(rng() % 14);
                for (int w = 0; w < count; ++w)
                    text += std::string(kPool[rng() % std::size(kPool)]) + (w == 2 ? "\n" : (rng() % 4 ? " " : ", "));
                input.stories.push_back({date, 0, text});
                std::vector<std::string> words;
                for (std::string& w : dev::NewsTextWords(text))
                    if (w.size() > 1) {
                        for (char& c : w)
                            c = char(std::tolower(uint8_t(c)));
                        words.push_back(w);
                    }
                texts_.push_back(words);
                dates_.push_back(date);
            }
            WriteFileBytes(NewsDatabase::DataFolder() / dev::NewsUpdateFileName(date), dev::WriteNewsUpdate(input));
        }
        ApplyNewsUpdateFiles();
    }

    // The search evaluated by scanning each story's words.
    std::vector<uint32_t> scan(const std::string& query, PackedDate limit = 0)
    {
        struct Unit {
            int kind;
            std::vector<std::string> words;
        };
        std::vector<Unit> units;
        int sign = 0;
        bool literal = false, fresh = false;
        std::string word;
        auto flush = [&] {
            if (word.empty())
                return;
            if (literal && !fresh)
                units.back().words.push_back(word);
            else
                units.push_back({sign, {word}});
            fresh = false;
            sign = 0;
            word.clear();
        };
        for (char c : query + " ") {
            if (std::isalnum(uint8_t(c))) {
                word.push_back(char(std::tolower(uint8_t(c))));
                continue;
            }
            flush();
            if (c == ',')
                sign = 1;
            if (c == '-')
                sign = 2;
            if (c == '\'' || c == '"') {
                literal = !literal;
                fresh = literal;
            }
        }
        std::vector<uint32_t> out;
        for (uint32_t s = 0; s < texts_.size(); ++s) {
            if (dates_[s] < limit)
                continue;
            bool in = false;
            for (size_t u = 0; u < units.size(); ++u) {
                const std::vector<std::string>& t = texts_[s];
                bool has = std::search(t.begin(), t.end(), units[u].words.begin(), units[u].words.end()) != t.end();
                int kind = units[u].kind;
                if (u == 0)
                    in = kind == 2 ? !has : has;
                else
                    in = kind == 0 ? in && has : kind == 1 ? in || has : in && !has;
            }
            if (in)
                out.push_back(s);
        }
        return out;
    }

    std::vector<uint32_t> search(const std::string& query)
    {
        std::vector<uint32_t> out;
        for (const NewsMatch& m : PerformNewsSearch(TheNewsDatabase(), MakeNewsSearchWords(TheNewsDatabase(), 0, query)))
            out.push_back(m.story);
        return out;
    }

    static constexpr const char* kPool[] = {"Acme", "holdings", "PROFIT", "rises", "falls", "Beta", "bank", "rate", "cut", "x"};
    std::vector<std::vector<std::string>> texts_;
    std::vector<PackedDate> dates_;
};

TEST_F(NewsSearchTest, SearchesAgreeWithAScanOfTheTexts)
{
    std::mt19937 rng(62);
    mergeRandomStories(rng, 8);
    const char* queries[] = {
        "acme",           "acme profit",       "acme,beta",        "acme-profit",      "-acme",
        "-acme bank",     "'acme holdings'",   "'holdings acme'",  "beta,'rate cut'",  "'rate cut' -bank",
        "ACME Rises",     "nothing",           "acme nothing",     "nothing,acme",     "'profit rises falls'",
        "acme, beta - cut", "\"bank rate\"",
    };
    for (const char* q : queries)
        EXPECT_EQ(search(q), scan(q)) << q;
    EXPECT_TRUE(fs::exists(NewsDatabase::NewsFolder() / "INews.dat"));
    EXPECT_FALSE(fs::exists(NewsDatabase::NewsFolder() / "workINews.dat"));
}

// A search in steps finds what the whole search finds, whatever the step; stopped between steps it
// holds exactly the matches among the stories it has weighed.
TEST_F(NewsSearchTest, ASearchInStepsFindsWhatTheWholeSearchFinds)
{
    std::mt19937 rng(73);
    mergeRandomStories(rng, 8);
    NewsDatabase& news = TheNewsDatabase();
    ASSERT_TRUE(PrepareNewsIndex(news));
    const uint32_t total = uint32_t(news.catalogue().stories.size());
    ASSERT_GT(total, 20u);
    const struct {
        const char* query;
        uint32_t perStep;
    } cases[] = {{"acme", 1}, {"-acme bank", 7}, {"'acme holdings'", 5}, {"beta,'rate cut'", 3}, {"acme profit", total + 9}};
    for (const auto& c : cases) {
        NewsSearchRun run(news, MakeNewsSearchWords(news, 0, c.query), c.perStep);
        while (run.Step()) {
        }
        EXPECT_TRUE(run.done());
        EXPECT_EQ(MatchedStories(run.matches()), scan(c.query)) << c.query << " in steps of " << c.perStep;
    }
    NewsSearchRun stopped(news, MakeNewsSearchWords(news, 0, "acme,beta"), 6);
    ASSERT_TRUE(stopped.Step());
    ASSERT_TRUE(stopped.Step());
    EXPECT_EQ(stopped.reached(), 12u);
    std::vector<uint32_t> weighed;
    for (uint32_t story : scan("acme,beta"))
        if (story < 12)
            weighed.push_back(story);
    EXPECT_EQ(MatchedStories(stopped.matches()), weighed);

    // A portfolio search keeps each match's share across the steps.
    std::vector<NewsShareSearch> shares = {{7, "acme"}, {8, "'rate cut'"}};
    const std::vector<NewsSearchTerm> terms = MakeNewsPortfolioSearch(news, shares);
    NewsSearchRun portfolio(news, terms, 4);
    while (portfolio.Step()) {
    }
    std::vector<NewsMatch> whole = PerformNewsSearch(news, terms), stepped = portfolio.matches();
    auto order = [](const NewsMatch& a, const NewsMatch& b) { return std::tie(a.story, a.owner) < std::tie(b.story, b.owner); };
    std::sort(whole.begin(), whole.end(), order);
    std::sort(stepped.begin(), stepped.end(), order);
    EXPECT_EQ(stepped, whole);
}

TEST_F(NewsSearchTest, TheLimitDateSkipsOlderStories)
{
    std::mt19937 rng(5);
    mergeRandomStories(rng, 20); // 1 to 20 March
    NewsCatalogue& c = TheNewsDatabase().catalogue();
    c.header.setU8(nh::kLimitFlagByte, c.header.u8(nh::kLimitFlagByte) | nh::kLimitFlagBit);
    c.header.setU16(nh::kLimitWeeks, 1);
    EXPECT_EQ(search("acme,beta"), scan("acme,beta", PackDate(13, 3, 2025)));
}

TEST_F(NewsSearchTest, APortfolioSearchTakesTheFirst251Shares)
{
    std::mt19937 rng(1);
    mergeRandomStories(rng, 2);
    std::vector<NewsShareSearch> shares;
    for (uint32_t id = 1; id <= 300; ++id)
        shares.push_back({id, "acme"});
    std::vector<NewsSearchTerm> terms = MakeNewsPortfolioSearch(TheNewsDatabase(), shares);
    std::set<uint32_t> owners;
    for (const NewsMatch& m : PerformNewsSearch(TheNewsDatabase(), terms))
        owners.insert(m.owner);
    EXPECT_EQ(owners.size(), 251u);
    EXPECT_EQ(*owners.rbegin(), 251u);
}

} // namespace
} // namespace qv
