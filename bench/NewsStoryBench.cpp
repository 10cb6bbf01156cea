// The news view's list over 100,000 stories without a search (the stories chosen, their entries
// made, the rows pointed at them), and the story window's layout of a story of 2,000 lines.
#include "core/RecordCursor.h"
#include "news/NewsListRows.h"
#include "news/NewsRecords.h"
#include "news/NewsStoryLayout.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

std::vector<qv::NewsStory> HundredThousandStories()
{
    std::vector<qv::NewsStory> stories(100000);
    std::mt19937 rng(73);
    for (size_t i = 0; i < stories.size(); ++i) {
        qv::NewsStory& s = stories[i];
        s.state = uint8_t(rng() % 4);
        s.storyDate = s.dayDate = qv::PackedDate(0x3400 + i / 1000);
        s.dayIndex = uint16_t(i % 1000);
        s.time = uint16_t(rng() % 43200);
        s.country = 1;
        s.industry = uint8_t(1 + rng() % 10);
        s.subject = uint8_t(1 + rng() % 20);
        s.shareIds = {uint32_t(1 + rng() % 2000), 0, 0};
    }
    return stories;
}

void BM_NewsList100000Stories(benchmark::State& state)
{
    const std::vector<qv::NewsStory> stories = HundredThousandStories();
    for (auto _ : state) {
        const std::vector<uint32_t> chosen = qv::SelectNewsStories(stories, {});
        std::vector<qv::NewsEntry> entries;
        entries.reserve(chosen.size());
        for (uint32_t s : chosen)
            entries.push_back(qv::MakeNewsEntry(stories[s], s));
        std::vector<qv::RecordCursor> rows;
        rows.reserve(entries.size());
        for (qv::NewsEntry& e : entries)
            rows.push_back({e.data(), 0});
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(BM_NewsList100000Stories)->Unit(benchmark::kMillisecond);

// A title and 2,000 lines of prose in paragraphs of five lines, some with tabbed figures.
std::string LongStory()
{
    std::string text = "Results for the year ended 31 December\n";
    std::mt19937 rng(2000);
    const char* words[] = {"the", "company", "said", "profit", "rose", "in", "half", "year", "board", "dividend"};
    for (int line = 0; line < 2000; ++line) {
        if (line % 5 == 4) {
            text += "\tcRevenue\tk" + std::to_string(rng() % 1000) + "m\n";
            continue;
        }
        std::string prose;
        while (prose.size() < 58)
            prose += std::string(words[rng() % 10]) + " ";
        text += prose + "\n";
    }
    return text;
}

void BM_LayOutStory2000Lines(benchmark::State& state)
{
    const std::string story = LongStory();
    qv::NewsCharWidths widths{};
    widths.fill(6);
    widths[' '] = 3;
    size_t lines = 0;
    for (auto _ : state) {
        std::string text = story;
        lines = qv::LayOutNewsStory(text, widths, 420).size();
        benchmark::DoNotOptimize(lines);
    }
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_LayOutStory2000Lines)->Unit(benchmark::kMillisecond);

} // namespace
