// The story window's model: line breaking with its tab rules and stops, the found words of a search,
// and the top line under the scroll bar, the keys, the wheel and "Locate next found".
#include "news/NewsStoryLayout.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace qv;

namespace {

// Every character 10 pixels wide, the blank 4.
NewsCharWidths Widths()
{
    NewsCharWidths w{};
    w.fill(10);
    w[' '] = 4;
    return w;
}

std::vector<std::string> Shown(const std::string& text, const std::vector<NewsStoryLine>& lines)
{
    std::vector<std::string> out;
    for (size_t i = 1; i < lines.size(); ++i)
        out.push_back(text.substr(size_t(lines[i].start), size_t(lines[i].end - lines[i].start)));
    return out;
}

struct LayoutCase {
    const char* name;
    std::string text;
    int32_t width;
    std::vector<std::string> lines; // from the title on
};

TEST(NewsStoryLayout, BreaksLinesWithItsTabRulesAndStops)
{
    const std::string site = std::string("www.") + kNewsAgencySite + ".example";
    const LayoutCase cases[] = {
        {"the title's first row is followed by an empty line", "Title\nOne two", 1000, {"Title", "", "One two"}},
        {"a full line breaks at its last blank", "T\naaaa bbbb cccc", 100, {"T", "", "aaaa bbbb", "cccc"}},
        {"a long title leaves its empty line after the first row", "Long title here\nx", 100,
         {"Long title", "", "here", "x"}},
        {"a coded tab of up to three blanks between words becomes blanks", "T\nab\tccd", 1000, {"T", "", "ab  cd"}},
        {"a paragraph after a kept tab keeps its tabs, the line's first four blanks fewer", "T\n\tfx\tcy\nab\tccd",
         1000, {"T", "", "\tbx  y", "ab\tacd"}},
        {"a line feed before a tab with no kept tabs adds an empty line", "T\nab\n\tfx", 1000, {"T", "", "ab", "", "\tbx"}},
        {"three capital N end the story", "T\none\ntwo\nthree NNN four\nfive", 1000, {"T", "", "one", "two"}},
        {"the agency's address ends the story", "T\nbody\nsee " + site + " now", 1000, {"T", "", "body"}},
        {"another address does not", "T\nsee www.elsewhere.example", 1000, {"T", "", "see www.elsewhere.example"}},
        {"a word wider than the line breaks at the width", "T\nabcdefghijkl", 50, {"T", "", "abcd", "efgh", "ijkl"}},
    };
    for (const LayoutCase& c : cases) {
        std::string text = c.text;
        const std::vector<NewsStoryLine> lines = LayOutNewsStory(text, Widths(), c.width);
        ASSERT_EQ(text.size(), c.text.size()) << c.name;
        EXPECT_EQ(lines.front().start, 0) << c.name;
        EXPECT_EQ(Shown(text, lines), c.lines) << c.name;
    }
    std::string empty;
    EXPECT_EQ(LayOutNewsStory(empty, Widths(), 100).size(), 2u) << "an empty story has the date and title lines";
}

// Any text and width end with lines in order inside the text (a width below one character included).
TEST(NewsStoryLayout, EndsOverTinyWidthsAndStrayTabs)
{
    for (int32_t width : {0, 1, 9, 10, 11}) {
        std::string text = "T\n\t\tabc\tz defghijklmnop\t\n\tqrs";
        const std::vector<NewsStoryLine> lines = LayOutNewsStory(text, Widths(), width);
        for (size_t i = 1; i < lines.size(); ++i) {
            EXPECT_LE(lines[i].start, lines[i].end) << width;
            EXPECT_LE(lines[i].end, int32_t(text.size())) << width;
            EXPECT_LE(lines[i - 1].start, lines[i].start) << width;
        }
    }
}

TEST(NewsStoryLayout, FindsTheSearchWordsAndPhrases)
{
    const std::string text = "Bank rate cut\nThe bank held the rate; oil\trose. BANK\nRATE up";
    auto runs = [&](const char* search) {
        std::vector<std::string> out;
        for (const NewsFoundWord& w : FindNewsStoryWords(text, search))
            out.push_back(text.substr(size_t(w.start), size_t(w.end - w.start)));
        return out;
    };
    EXPECT_EQ(runs("oil"), (std::vector<std::string>{"oil"}));
    EXPECT_EQ(runs("'bank rate'"), (std::vector<std::string>{"Bank rate", "BANK\nRATE"}))
        << "a phrase matches its words in sequence, over a line feed too";
    EXPECT_EQ(runs("bank,oil -rate"), (std::vector<std::string>{"Bank", "bank", "oil", "BANK"}))
        << "excluded words are not shown";
    EXPECT_EQ(runs("rose"), (std::vector<std::string>{})) << "a tab's letter is no part of a word";
    EXPECT_TRUE(runs("").empty());
}

TEST(NewsStoryLayout, CutsBodyLinesIntoRuns)
{
    struct Case {
        const char* text;
        std::vector<NewsLineRun> runs;
    };
    const Case cases[] = {
        {"\tbIndented", {{0, 0, false, 1}, {2, 10, false, -1}}},
        {"Name\tcx", {{0, 4, false, 6}, {6, 7, false, -1}}},
        {"LONDON (AFX) - Shares", {{0, 12, true, -1}, {12, 21, false, -1}}},
        {"Paris (AF no close", {{0, 18, true, -1}, {18, 18, false, -1}}},
    };
    for (const Case& c : cases) {
        const std::string_view text = c.text;
        const std::vector<NewsLineRun> runs = NewsBodyLineRuns(text, {0, int32_t(text.size())});
        ASSERT_EQ(runs.size(), c.runs.size()) << c.text;
        for (size_t i = 0; i < runs.size(); ++i) {
            EXPECT_EQ(runs[i].start, c.runs[i].start) << c.text << " run " << i;
            EXPECT_EQ(runs[i].end, c.runs[i].end) << c.text << " run " << i;
            EXPECT_EQ(runs[i].credit, c.runs[i].credit) << c.text << " run " << i;
            EXPECT_EQ(runs[i].gridAdvance, c.runs[i].gridAdvance) << c.text << " run " << i;
        }
    }
}

// A found word running from one line onto the next: the current one gets its blank at the first
// line's end, and the index carries over.
TEST(NewsStoryLayout, CutsRunsAtFoundWords)
{
    const std::vector<int32_t> boundaries = {2, 5, 8, 12};
    const NewsFoundWord current{8, 12};
    size_t boundary = 0;
    auto paints = [](const std::vector<NewsRunPiece>& pieces) {
        std::vector<std::tuple<int32_t, int32_t, NewsPiecePaint, bool>> out;
        for (const NewsRunPiece& p : pieces)
            out.emplace_back(p.start, p.end, p.paint, p.addBlank);
        return out;
    };
    using P = NewsPiecePaint;
    using T = std::tuple<int32_t, int32_t, NewsPiecePaint, bool>;
    EXPECT_EQ(paints(CutNewsStoryRun(0, 10, boundaries, boundary, &current)),
              (std::vector<T>{{0, 2, P::Normal, false}, {2, 5, P::Found, false}, {5, 8, P::Normal, false}, {8, 10, P::Current, true}}));
    EXPECT_EQ(paints(CutNewsStoryRun(11, 14, boundaries, boundary, &current)),
              (std::vector<T>{{11, 12, P::Current, false}, {12, 14, P::Normal, false}}));
    boundary = 0;
    EXPECT_EQ(paints(CutNewsStoryRun(3, 10, boundaries, boundary, nullptr)),
              (std::vector<T>{{3, 5, P::Found, false}, {5, 8, P::Normal, false}, {8, 10, P::Found, false}}))
        << "a run that starts inside a found word";
}

struct ScrollCase {
    const char* name;
    int32_t lines, perPage;
    int32_t bar, key, wheel; // where many steps of each input stop
};

TEST(NewsStoryScroll, EachInputStopsAtItsLimit)
{
    const ScrollCase cases[] = {
        {"50 lines of 10 a page", 50, 10, 41, 40, 30},
        {"15 lines of 10 a page", 15, 10, 6, 5, 0},
        {"a story shorter than a page", 4, 10, 0, 0, 0},
    };
    NewsWheelAccumulator() = 0;
    for (const ScrollCase& c : cases) {
        NewsStoryScroll s;
        s.Reset(c.lines, c.perPage);
        for (int i = 0; i < 60; ++i)
            s.BarStep(1);
        EXPECT_EQ(s.top(), c.bar) << c.name;
        s.BarTrack(-5);
        EXPECT_EQ(s.top(), 0) << c.name;
        for (int i = 0; i < 60; ++i)
            s.KeyStep(1);
        EXPECT_EQ(s.top(), c.key) << c.name;
        for (int i = 0; i < 30; ++i)
            s.Wheel(-120, false);
        EXPECT_EQ(s.top(), c.wheel) << c.name;
    }
    NewsStoryScroll s;
    s.Reset(9, 10);
    EXPECT_FALSE(s.barShown());
    s.Reset(10, 10);
    EXPECT_TRUE(s.barShown()) << "the bar shows when the lines equal the page";
    EXPECT_FALSE(s.longerThanPage());
}

TEST(NewsStoryScroll, TheWheelAddsUpWholeNotches)
{
    NewsWheelAccumulator() = 0;
    NewsStoryScroll s;
    s.Reset(100, 10);
    EXPECT_FALSE(s.Wheel(-60, false));
    EXPECT_EQ(s.top(), 0);
    EXPECT_TRUE(s.Wheel(-60, false));
    EXPECT_EQ(s.top(), 3) << "two messages of -60 make one notch of three lines";
    EXPECT_TRUE(s.Wheel(-240, true));
    EXPECT_EQ(s.top(), 5) << "-240 with Shift is two lines";
    s.Wheel(-50, false);
    NewsStoryScroll other;
    other.Reset(100, 10);
    EXPECT_TRUE(other.Wheel(-70, false)) << "the sum is the program's, not the window's";
    EXPECT_EQ(other.top(), 3);
    EXPECT_TRUE(other.Wheel(120, false));
    EXPECT_EQ(other.top(), 0);
}

TEST(NewsStoryScroll, LocateNextPutsTheFoundLineThird)
{
    std::vector<NewsStoryLine> lines = {{0, 0}, {0, 5}, {5, 5}};
    for (int32_t i = 0; i < 40; ++i)
        lines.push_back({6 + 10 * i, 15 + 10 * i});
    NewsStoryScroll s;
    s.Reset(int32_t(lines.size()), 10);
    int32_t current = -1;
    EXPECT_FALSE(s.LocateNext({}, lines, current)) << "no found words: nothing moves";
    EXPECT_EQ(current, -1);
    const std::vector<NewsFoundWord> found = {{1, 3}, {208, 212}, {400, 404}};
    EXPECT_FALSE(s.LocateNext(found, lines, current)) << "a word on the title row moves nothing";
    EXPECT_EQ(current, 0);
    EXPECT_TRUE(s.LocateNext(found, lines, current));
    EXPECT_EQ(current, 1);
    EXPECT_EQ(s.top(), 21) << "line 23 holds position 208: the top is two lines above it";
    EXPECT_TRUE(s.LocateNext(found, lines, current));
    EXPECT_EQ(s.top(), 33) << "limited as for the keys";
    EXPECT_FALSE(s.LocateNext(found, lines, current));
    EXPECT_EQ(current, 0) << "after the last, the first again";
}

} // namespace
