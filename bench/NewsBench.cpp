// The news database: merging an update of 500 stories, reindexing 100,000 stories, and a three-word
// search and a two-word phrase over them.
#include "core/NewsUpdateFiles.h"
#include "devtools/lib/NewsUpdateWriter.h"
#include "devtools/lib/TempFolder.h"
#include "news/NewsDatabase.h"
#include "news/NewsIndex.h"
#include "news/NewsSearch.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

namespace fs = std::filesystem;

constexpr int kDays = 100;
constexpr int kStoriesPerDay = 1000;

// A vocabulary of 4,000 invented words and a few common ones the searches look for.
const std::vector<std::string>& Vocabulary()
{
    static const std::vector<std::string> words = [] {
        std::vector<std::string> w = {"Acme", "profit", "rises", "rate", "cut", "Bank", "shares", "board", "the", "of"};
        std::mt19937 rng(62);
        while (w.size() < 4000) {
            std::string word;
            for (int i = 0; i < 3 + int(rng() % 7); ++i)
                word += char('a' + rng() % 26);
            w.push_back(word);
        }
        return w;
    }();
    return words;
}

// An update of a day's stories: a code prefix, a title of six words and a body of forty, the
// common words more often than the rest.
std::vector<uint8_t> DayUpdate(std::mt19937& rng, qv::PackedDate date, int stories)
{
    const std::vector<std::string>& words = Vocabulary();
    qv::dev::NewsUpdateInput input;
    for (int s = 0; s < stories; ++s) {
        std::string text = "GBRFINERN" + std::to_string(10000 + rng() % 90000) + " ";
        for (int i = 0; i < 46; ++i) {
            size_t pick = rng() % 4 == 0 ? rng() % 10 : rng() % words.size();
            text += words[pick] + (i == 5 ? "\n" : i % 9 == 8 ? ". " : " ");
        }
        input.stories.push_back({date, uint16_t(s * 10), text});
    }
    return qv::dev::WriteNewsUpdate(input);
}

// A program folder holding 100,000 stories over 100 days, their index built.
const fs::path& HundredThousandStories()
{
    static const qv::dev::TempFolder folder("qvbench");
    static const fs::path path = [] {
        const fs::path& f = folder.path();
        fs::create_directories(f / "data");
        qv::SetProgramFolder(f);
        qv::SetNewsMergeHost(&qv::NewsDatabaseMergeHost());
        std::mt19937 rng(7);
        qv::PackedDate date = qv::PackDate(5, 1, 2026);
        for (int d = 0; d < kDays; ++d, date = qv::NextWeekday(date))
            qv::WriteFileBytes(f / "data" / qv::dev::NewsUpdateFileName(date), DayUpdate(rng, date, kStoriesPerDay));
        qv::ApplyNewsUpdateFiles();
        qv::ReindexNews(qv::TheNewsDatabase());
        qv::TheNewsDatabase().save(false);
        return f;
    }();
    return path;
}

void LoadHundredThousand()
{
    qv::SetProgramFolder(HundredThousandStories());
    qv::NewsDatabase& news = qv::TheNewsDatabase();
    if (news.catalogue().stories.size() != size_t(kDays) * kStoriesPerDay)
        news.load();
}

void BM_Merge500Stories(benchmark::State& state)
{
    static const qv::dev::TempFolder folder("qvbench");
    const fs::path data = folder.path() / "data";
    fs::create_directories(data);
    qv::SetProgramFolder(folder.path());
    qv::SetNewsMergeHost(&qv::NewsDatabaseMergeHost());
    std::mt19937 rng(3);
    const qv::PackedDate date = qv::PackDate(5, 1, 2026);
    const std::vector<uint8_t> update = DayUpdate(rng, date, 500);
    for (auto _ : state) {
        state.PauseTiming();
        qv::TheNewsDatabase().free();
        fs::remove_all(data);
        fs::create_directories(data);
        qv::WriteFileBytes(data / qv::dev::NewsUpdateFileName(date), update);
        state.ResumeTiming();
        benchmark::DoNotOptimize(qv::ApplyNewsUpdateFiles().merged);
    }
    qv::TheNewsDatabase().free();
}
BENCHMARK(BM_Merge500Stories)->Unit(benchmark::kMillisecond);

void BM_Reindex100000Stories(benchmark::State& state)
{
    LoadHundredThousand();
    for (auto _ : state)
        benchmark::DoNotOptimize(qv::ReindexNews(qv::TheNewsDatabase()));
}
BENCHMARK(BM_Reindex100000Stories)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void Search(benchmark::State& state, const char* text)
{
    LoadHundredThousand();
    qv::NewsDatabase& news = qv::TheNewsDatabase();
    std::vector<qv::NewsSearchTerm> terms = qv::MakeNewsSearchWords(news, 0, text);
    size_t found = 0;
    for (auto _ : state) {
        found = qv::PerformNewsSearch(news, terms).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["matches"] = double(found);
}

void BM_SearchThreeWords(benchmark::State& state) { Search(state, "acme profit rises"); }
BENCHMARK(BM_SearchThreeWords)->Unit(benchmark::kMillisecond);

void BM_SearchTwoWordPhrase(benchmark::State& state) { Search(state, "'rate cut'"); }
BENCHMARK(BM_SearchTwoWordPhrase)->Unit(benchmark::kMillisecond);

} // namespace
