// The story window's model: a story broken into display lines, the words a search found in it, and
// the top line as the scroll bar, the keys, the wheel and "Locate next found" move it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The news agency's site name: a web address "www" + any character + this name ends the shown story.
inline constexpr const char* kNewsAgencySite = "newswire";

// One display line: the characters [start, end) of the laid-out text. Line 0 is the date line (its
// characters are not shown), line 1 the title's first row.
struct NewsStoryLine {
    int32_t start = 0;
    int32_t end = 0;
};

// Character widths in pixels for codes 0-127, measured once; the layout breaks lines with them.
using NewsCharWidths = std::array<uint8_t, 128>;

// Breaks `text` into display lines `width` pixels wide. Tabs followed by a letter near the start of
// a line become blanks, others stay and have their letter rewritten (both in `text`, which keeps its
// length); three capital "N" in a row or the agency's web address end the shown story there. A word
// wider than the line breaks at the width.
std::vector<NewsStoryLine> LayOutNewsStory(std::string& text, const NewsCharWidths& widths, int32_t width);

// A found run of words: [start, end) in the story text.
struct NewsFoundWord {
    int32_t start = 0;
    int32_t end = 0;
};

// The runs of `text` that a search text's wanted words and literal phrases match (case folded, a
// phrase's words one after another); excluded words are not shown. In text order.
std::vector<NewsFoundWord> FindNewsStoryWords(std::string_view text, std::string_view searchText);

// A body line cut into runs: a tab ends the run before it and moves the next onto the grid of "M"
// widths (`gridAdvance` widths from the run's start); an agency credit "(AF...)" and the text before
// it make a green run, after which the line goes on behind its measured width (`gridAdvance` -1, as
// for the last run).
struct NewsLineRun {
    int32_t start = 0;
    int32_t end = 0;
    bool credit = false;
    int32_t gridAdvance = -1;
};
std::vector<NewsLineRun> NewsBodyLineRuns(std::string_view text, const NewsStoryLine& line);

// A piece of a run between found-word boundaries, and how it is painted: the current found word
// white on orange (with one blank added when it goes on past the run), other found words red.
enum class NewsPiecePaint : uint8_t { Normal, Found, Current };
struct NewsRunPiece {
    int32_t start = 0;
    int32_t end = 0;
    NewsPiecePaint paint = NewsPiecePaint::Normal;
    bool addBlank = false;
};
// `boundaries` are the found words' starts and ends in turn; `boundary` counts those passed (odd:
// inside a found word) and carries from run to run.
std::vector<NewsRunPiece> CutNewsStoryRun(int32_t start, int32_t end, const std::vector<int32_t>& boundaries,
                                          size_t& boundary, const NewsFoundWord* current);

// The top line and how each input moves it. Every change is limited above by its input's limit and
// below by 0.
class NewsStoryScroll {
public:
    void Reset(int32_t lines, int32_t linesPerPage);

    int32_t top() const { return top_; }
    int32_t lines() const { return lines_; }
    int32_t linesPerPage() const { return perPage_; }
    // The scroll bar shows once the story fills a page.
    bool barShown() const { return perPage_ > 0 && lines_ / perPage_ >= 1; }
    bool longerThanPage() const { return lines_ > perPage_; }
    void SetLinesPerPage(int32_t linesPerPage) { perPage_ = linesPerPage; }

    // Scroll bar arrows and page areas (by `delta` lines) and the thumb (to `position`); true when the
    // top line changed.
    bool BarStep(int32_t delta) { return Move(top_ + delta, lines_ - perPage_ + 1); }
    bool BarTrack(int32_t position) { return Move(position, lines_ - perPage_ + 1); }
    // Up, Down, Page Up and Page Down.
    void KeyStep(int32_t delta) { Move(top_ + delta, lines_ - perPage_); }
    // Adds a wheel delta to the program-wide sum; each whole 120 of it is a notch of 3 lines (1 with
    // Shift). True when a notch was used.
    bool Wheel(int32_t delta, bool shift);
    // Makes the next found word current (the first after the last) and puts its line third on the
    // page; true when the top line was set (found words exist and the word lies below the title).
    bool LocateNext(const std::vector<NewsFoundWord>& found, const std::vector<NewsStoryLine>& lines, int32_t& current);

private:
    bool Move(int32_t top, int32_t upper);

    int32_t top_ = 0;
    int32_t lines_ = 0;
    int32_t perPage_ = 0;
};

// The wheel's running sum, shared by every story window of the run.
int32_t& NewsWheelAccumulator();

} // namespace qv
