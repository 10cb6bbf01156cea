// The story window's layout, found words and scrolling.
#include "news/NewsStoryLayout.h"

#include "news/NewsSearch.h"

#include <algorithm>
#include <cstring>

namespace qv {
namespace {

constexpr int32_t kWheelNotch = 120;

bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsWordChar(char c) { return IsLower(c) || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// A tab with a lower-case letter behind it: the coded run of blanks.
bool IsCodedTab(std::string_view text, size_t i) { return text[i] == '\t' && i + 1 < text.size() && IsLower(text[i + 1]); }

// Three capital "N" ending at `pos`, or the agency's web address starting there.
bool EndsShownStory(std::string_view text, size_t pos)
{
    if (pos >= 2 && text[pos] == 'N' && text[pos - 1] == 'N' && text[pos - 2] == 'N')
        return true;
    const size_t site = std::strlen(kNewsAgencySite);
    return text.compare(pos, 3, "www") == 0 && pos + 4 + site <= text.size() &&
           text.compare(pos + 4, site, kNewsAgencySite) == 0;
}

class StoryBreaker {
public:
    StoryBreaker(std::string& text, const NewsCharWidths& widths, int32_t width)
        : text_(text), widths_(widths), width_(width), size_(int32_t(text.size()))
    {
    }

    std::vector<NewsStoryLine> Run()
    {
        lines_ = {{0, 0}, {0, kOpen}};
        if (size_ == 0)
            return {{0, 0}, {0, 0}};
        lines_.reserve(1024);
        for (int32_t pos = 0; pos < size_;) {
            pos = Step(pos) + 1;
            if (pos < size_ && EndsShownStory(text_, size_t(pos))) {
                lines_.pop_back();
                Close(pos);
                return lines_;
            }
        }
        Close(size_);
        return lines_;
    }

private:
    static constexpr int32_t kOpen = -1;

    int32_t Blank() const { return widths_[' ']; }
    int32_t Width(char c) const
    {
        const auto u = static_cast<unsigned char>(c);
        return u >= 32 && u < 128 ? widths_[u] : 0;
    }

    void Close(int32_t end)
    {
        for (NewsStoryLine& line : lines_)
            if (line.end == kOpen)
                line.end = end;
    }
    void Open(int32_t start) { lines_.push_back({start, kOpen}); }

    // Lays out the character at `pos`; returns the position the next step goes on behind.
    int32_t Step(int32_t pos)
    {
        char c = text_[size_t(pos)];
        if (IsCodedTab(text_, size_t(pos))) {
            int32_t k = text_[size_t(pos) + 1] - 'a';
            if (!broke_ && k <= 3 && tabsAtBreak_ == 0) {
                text_[size_t(pos)] = ' ';
                text_[size_t(pos) + 1] = ' ';
                x_ += 2 * Blank();
                ++pos; // c still counts as the tab
            } else {
                ++keptTabs_;
                ++pos;
                if (firstTabOnLine_) {
                    k = std::max(k - 4, 0);
                    firstTabOnLine_ = false;
                }
                c = char('a' + k);
                text_[size_t(pos)] = c;
                x_ += k * Blank();
            }
        } else {
            x_ += Width(c);
        }
        broke_ = false;
        if (x_ >= width_) {
            broke_ = true;
            tabsAtBreak_ = keptTabs_;
        } else if (c == ' ') {
            lastBlank_ = pos;
        }
        if (c == '\n') {
            if (pos + 1 < size_ && text_[size_t(pos) + 1] == '\t' && !titlePending_ && keptTabs_ == 0)
                Open(pos);
            tabsAtBreak_ = keptTabs_;
            keptTabs_ = 0;
            broke_ = true;
        }
        return broke_ ? Break(pos, c) : pos;
    }

    int32_t Break(int32_t pos, char c)
    {
        int32_t end = c == '\n' || c == ' ' ? pos : lastBlank_;
        int32_t next = end + 1;
        const int32_t lineStart = lines_.back().start;
        if (end < lineStart) {
            // No blank on this line to go back to: break at the width, before this character
            // unless it is the line's first.
            end = pos > lineStart ? pos : pos + 1;
            if (end - 1 > lineStart && text_[size_t(end) - 1] == '\t')
                --end; // a kept tab goes with its letter
            next = end;
        }
        Close(end);
        if (titlePending_) {
            lines_.push_back({end, end});
            titlePending_ = false;
        }
        firstTabOnLine_ = true;
        Open(next);
        x_ = 0;
        return next - 1;
    }

    std::string& text_;
    const NewsCharWidths& widths_;
    const int32_t width_;
    const int32_t size_;
    std::vector<NewsStoryLine> lines_;
    int32_t x_ = 0;
    int32_t lastBlank_ = -1;
    int32_t keptTabs_ = 0;
    int32_t tabsAtBreak_ = 0;
    bool broke_ = false;
    bool firstTabOnLine_ = true;
    bool titlePending_ = true;
};

struct Phrase {
    std::vector<std::string> words;
    bool excluded = false;
};

// The search text's units: single words and literal phrases, each with the sign of its first word.
std::vector<Phrase> SearchPhrases(std::string_view search)
{
    std::vector<Phrase> phrases;
    for (NewsSearchWord& w : SplitNewsSearchText(search)) {
        if (!w.literal || w.literalStart || phrases.empty())
            phrases.push_back({{}, w.sign == NewsSearchTerm::kExclusion});
        phrases.back().words.push_back(std::move(w.word));
    }
    return phrases;
}

struct TextWord {
    int32_t start = 0;
    int32_t end = 0;
    std::string folded;
};

// The story's words; a coded tab's letter is no part of one.
std::vector<TextWord> StoryWords(std::string_view text)
{
    std::vector<TextWord> words;
    for (size_t i = 0; i < text.size();) {
        if (IsCodedTab(text, i)) {
            i += 2;
            continue;
        }
        if (!IsWordChar(text[i])) {
            ++i;
            continue;
        }
        TextWord w{int32_t(i), 0, {}};
        for (; i < text.size() && IsWordChar(text[i]); ++i)
            w.folded += Lower(text[i]);
        w.end = int32_t(i);
        words.push_back(std::move(w));
    }
    return words;
}

bool MatchesAt(const std::vector<TextWord>& words, size_t at, const Phrase& phrase)
{
    if (at + phrase.words.size() > words.size())
        return false;
    for (size_t i = 0; i < phrase.words.size(); ++i)
        if (words[at + i].folded != phrase.words[i])
            return false;
    return true;
}

} // namespace

std::vector<NewsStoryLine> LayOutNewsStory(std::string& text, const NewsCharWidths& widths, int32_t width)
{
    return StoryBreaker(text, widths, width).Run();
}

std::vector<NewsFoundWord> FindNewsStoryWords(std::string_view text, std::string_view searchText)
{
    std::vector<Phrase> phrases = SearchPhrases(searchText);
    std::erase_if(phrases, [](const Phrase& p) { return p.excluded || p.words.empty(); });
    std::vector<NewsFoundWord> found;
    if (phrases.empty())
        return found;
    const std::vector<TextWord> words = StoryWords(text);
    for (size_t at = 0; at < words.size();) {
        size_t longest = 0;
        for (const Phrase& phrase : phrases)
            if (phrase.words.size() > longest && MatchesAt(words, at, phrase))
                longest = phrase.words.size();
        if (longest == 0) {
            ++at;
            continue;
        }
        found.push_back({words[at].start, words[at + longest - 1].end});
        at += longest;
    }
    return found;
}

std::vector<NewsLineRun> NewsBodyLineRuns(std::string_view text, const NewsStoryLine& line)
{
    std::vector<NewsLineRun> runs;
    const int32_t end = std::min(line.end, int32_t(text.size()));
    int32_t piece = line.start;
    for (int32_t i = line.start; i < end; ++i) {
        if (text[size_t(i)] == '\t') {
            const bool lettered = i + 1 < end && IsLower(text[size_t(i) + 1]);
            const int32_t k = lettered ? text[size_t(i) + 1] - 'a' : 0;
            runs.push_back({piece, i, false, i - piece + k});
            i += lettered ? 1 : 0;
            piece = i + 1;
        } else if (i + 2 < end && text[size_t(i)] == '(' && text[size_t(i) + 1] == 'A' && text[size_t(i) + 2] == 'F') {
            const size_t close = text.substr(0, size_t(end)).find(')', size_t(i));
            const int32_t creditEnd = close == std::string_view::npos ? end : int32_t(close) + 1;
            runs.push_back({piece, creditEnd, true, -1});
            piece = creditEnd;
            i = creditEnd - 1;
        }
    }
    runs.push_back({piece, std::max(piece, end), false, -1});
    return runs;
}

std::vector<NewsRunPiece> CutNewsStoryRun(int32_t start, int32_t end, const std::vector<int32_t>& boundaries,
                                          size_t& boundary, const NewsFoundWord* current)
{
    std::vector<NewsRunPiece> pieces;
    while (start < end) {
        while (boundary < boundaries.size() && boundaries[boundary] < start)
            ++boundary;
        const bool atBoundary = boundary < boundaries.size() && boundaries[boundary] < end;
        NewsRunPiece piece{start, atBoundary ? boundaries[boundary] : end};
        if (boundary % 2 == 1) {
            const bool isCurrent = current && start >= current->start && start < current->end;
            piece.paint = isCurrent ? NewsPiecePaint::Current : NewsPiecePaint::Found;
            piece.addBlank = isCurrent && piece.end < current->end;
        }
        if (piece.end > piece.start || piece.addBlank)
            pieces.push_back(piece);
        if (atBoundary)
            ++boundary;
        start = piece.end;
    }
    return pieces;
}

void NewsStoryScroll::Reset(int32_t lines, int32_t linesPerPage)
{
    top_ = 0;
    lines_ = lines;
    perPage_ = linesPerPage;
}

bool NewsStoryScroll::Move(int32_t top, int32_t upper)
{
    top = std::max(std::min(top, upper), 0);
    const bool changed = top != top_;
    top_ = top;
    return changed;
}

bool NewsStoryScroll::Wheel(int32_t delta, bool shift)
{
    int32_t& sum = NewsWheelAccumulator();
    sum += delta;
    int32_t notches = 0;
    for (; sum <= -kWheelNotch; sum += kWheelNotch)
        ++notches;
    for (; sum >= kWheelNotch; sum -= kWheelNotch)
        --notches;
    if (notches == 0)
        return false;
    Move(top_ + notches * (shift ? 1 : 3), lines_ - 20);
    return true;
}

bool NewsStoryScroll::LocateNext(const std::vector<NewsFoundWord>& found, const std::vector<NewsStoryLine>& lines,
                                 int32_t& current)
{
    if (found.empty())
        return false;
    current = current < 0 || size_t(current) + 1 >= found.size() ? 0 : current + 1;
    const int32_t start = found[size_t(current)].start;
    const auto k = int32_t(std::count_if(lines.begin(), lines.end(), [start](const NewsStoryLine& l) { return l.start <= start; }));
    if (k < 3)
        return false;
    KeyStep(k - 3 - top_);
    return true;
}

int32_t& NewsWheelAccumulator()
{
    static int32_t sum = 0;
    return sum;
}

} // namespace qv
