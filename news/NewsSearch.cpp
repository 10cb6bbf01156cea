// The news search: default texts, parsing, and evaluation over the word index.
#include "news/NewsSearch.h"

#include "core/RecordAccess.h"

#include "news/NewsDatabase.h"
#include "news/NewsIndex.h"
#include "platform/FileOps.h"

#include <algorithm>
#include <filesystem>
#include <array>
#include <map>

namespace qv {

namespace nh = news_header;

namespace {

constexpr size_t kMaxSearchWord = 64;

bool IsWordChar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

using StorySet = std::vector<uint32_t>; // ascending story numbers

StorySet Intersect(const StorySet& a, const StorySet& b)
{
    StorySet out;
    std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
}
StorySet Union(const StorySet& a, const StorySet& b)
{
    StorySet out;
    std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
}
StorySet Difference(const StorySet& a, const StorySet& b)
{
    StorySet out;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
}

// The index read once per search: each day's section, and the story numbers behind its indexes.
class IndexView {
public:
    // file: INews.dat's bytes.
    IndexView(NewsDatabase& database, const std::vector<uint8_t>& file, uint32_t first, uint32_t end)
        : db_(database), file_(file)
    {
        NewsCatalogue& c = database.catalogue();
        PackedDate limit = 0;
        if (c.header.u8(nh::kLimitFlagByte) & nh::kLimitFlagBit) {
            int32_t latest = DateToDayNumber(c.header.u16(nh::kLatestDate));
            limit = DayNumberToDate(std::max(0, latest - 7 * int32_t(c.header.u16(nh::kLimitWeeks))));
        }
        std::map<PackedDate, std::vector<uint32_t>> byDay;
        for (uint32_t i = first; i < std::min<size_t>(end, c.stories.size()); ++i) {
            const NewsStory& s = c.stories[i];
            if (s.storyDate < limit)
                continue;
            std::vector<uint32_t>& day = byDay[s.dayDate];
            if (day.size() <= s.dayIndex)
                day.resize(size_t(s.dayIndex) + 1, UINT32_MAX);
            day[s.dayIndex] = i;
            all_.push_back(i);
        }
        for (const NewsDay& day : c.days) {
            auto stories = byDay.find(day.date);
            if (stories == byDay.end() || uint64_t(day.indexOffset) + day.indexLength > file_.size())
                continue;
            std::span<const uint8_t> section(file_.data() + day.indexOffset, day.indexLength);
            days_.push_back({NewsIndexSectionReader(section, uint32_t(stories->second.size())), stories->second});
        }
    }

    const StorySet& all() const { return all_; }

    // Reports the story reached; false (and from then on) once the user stopped the search.
    bool Step(uint32_t story) const
    {
        if (!stopped_ && step_ && !step_(story, uint32_t(db_.catalogue().stories.size())))
            stopped_ = true;
        return !stopped_;
    }
    bool stopped() const { return stopped_; }
    void SetStep(const NewsSearchStep& step) { step_ = step; }

    StorySet stories(const NewsSearchTerm& term) const
    {
        StorySet out;
        if (!term.known)
            return out;
        for (const Day& day : days_)
            for (uint16_t index : day.reader.stories(term.slot))
                if (day.numbers[index] != UINT32_MAX)
                    out.push_back(day.numbers[index]);
        std::sort(out.begin(), out.end());
        return out;
    }

    // The story's words as the ids of their stored lower-case words, one-character words left out.
    std::vector<uint32_t> storyWordIds(uint32_t story) const
    {
        std::vector<uint32_t> ids;
        NewsDictionary dictionary(db_.catalogue());
        std::optional<std::vector<uint32_t>> words = db_.storyWords(story);
        if (!words)
            return ids;
        ids.reserve(words->size());
        for (uint32_t id : *words)
            if (id >= nh::kFirstWordOffset)
                ids.push_back((id & kNewsCaseMask) == 3 ? dictionary.baseId(id) : id & ~kNewsCaseMask);
        return ids;
    }

private:
    struct Day {
        NewsIndexSectionReader reader;
        std::vector<uint32_t> numbers;
    };
    NewsDatabase& db_;
    const std::vector<uint8_t>& file_;
    std::vector<Day> days_;
    StorySet all_;
    NewsSearchStep step_;
    mutable bool stopped_ = false;
};

bool HoldsPhrase(const std::vector<uint32_t>& words, const std::vector<uint32_t>& phrase)
{
    return std::search(words.begin(), words.end(), phrase.begin(), phrase.end()) != words.end();
}

// The stories holding every word of the group, and then the words in sequence in their text.
StorySet LiteralStories(const IndexView& index, NewsDatabase& database, const std::vector<NewsSearchTerm>& group)
{
    StorySet candidates = index.stories(group[0]);
    std::vector<uint32_t> phrase;
    const std::vector<uint32_t>& table = database.catalogue().hashTable;
    for (const NewsSearchTerm& term : group) {
        if (!term.known || term.slot >= table.size())
            return {};
        candidates = Intersect(candidates, index.stories(term));
        phrase.push_back(table[term.slot] & 0xFFFFFF);
    }
    if (group.size() < 2)
        return candidates;
    StorySet out;
    for (uint32_t story : candidates) {
        if (!index.Step(story))
            break;
        if (HoldsPhrase(index.storyWordIds(story), phrase))
            out.push_back(story);
    }
    return out;
}

// One share's group: the first unit starts the set (a leading exclusion starts from every story
// in range), the others narrow, widen or cut it by their kind.
StorySet EvaluateGroup(const IndexView& index, NewsDatabase& database, const std::vector<NewsSearchTerm>& terms)
{
    StorySet result;
    bool first = true;
    for (size_t i = 0; i < terms.size() && !index.stopped();) {
        uint16_t kind = terms[i].kind % NewsSearchTerm::kLiteral;
        StorySet unit;
        if (terms[i].kind >= NewsSearchTerm::kLiteral) {
            size_t j = i + 1;
            while (j < terms.size() && terms[j].kind >= NewsSearchTerm::kLiteral && !terms[j].literalStart)
                ++j;
            unit = LiteralStories(index, database, std::vector<NewsSearchTerm>(terms.begin() + i, terms.begin() + j));
            i = j;
        } else {
            unit = index.stories(terms[i]);
            ++i;
        }
        if (!unit.empty())
            index.Step(unit.back());
        if (first) {
            result = kind == NewsSearchTerm::kExclusion ? Difference(index.all(), unit) : unit;
            first = false;
        } else if (kind == NewsSearchTerm::kRequired) {
            result = Intersect(result, unit);
        } else if (kind == NewsSearchTerm::kAlternative) {
            result = Union(result, unit);
        } else {
            result = Difference(result, unit);
        }
    }
    return result;
}

// A day whose section is too short to hold anything or lies beyond INews.dat: the index is damaged
// and is built again whole.
bool IndexBeyondItsFile(const NewsDatabase& database)
{
    const std::vector<NewsDay>& days = database.catalogue().days;
    if (days.empty() || days.front().indexLength == 0)
        return false;
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(NewsDatabase::NewsFolder() / "INews.dat", error);
    for (const NewsDay& day : days) {
        if (day.indexLength == 0)
            continue;
        if (error || day.indexLength < 2 || uint64_t(day.indexOffset) + day.indexLength > size)
            return true;
    }
    return false;
}

std::vector<uint8_t> ReadNewsIndexFile()
{
    return ReadFileBytes(NewsDatabase::NewsFolder() / "INews.dat").value_or(std::vector<uint8_t>());
}

// Each group's matches within the index's stories, closed by its separator's share (or the first
// term's owner for the last group).
void SearchIndex(const IndexView& index, NewsDatabase& database, const std::vector<NewsSearchTerm>& terms,
                 std::vector<NewsMatch>& matches)
{
    std::vector<NewsSearchTerm> group;
    auto close = [&](uint32_t owner) {
        if (!group.empty())
            for (uint32_t story : EvaluateGroup(index, database, group))
                matches.push_back({story, owner});
        group.clear();
    };
    for (const NewsSearchTerm& term : terms) {
        if (index.stopped())
            break;
        if (term.kind == NewsSearchTerm::kSeparator)
            close(term.owner);
        else
            group.push_back(term);
    }
    close(group.empty() ? 0 : group.front().owner);
}

} // namespace

std::string MakeNewsSearchText(std::string_view shareName)
{
    static const std::array<std::pair<const char*, const char*>, 4> kShortForms = {
        {{"holdings", "hldgs"}, {"corporation", "corp"}, {"communications", "comms"}, {"telecommunications", "telecom"}}};
    std::string words;
    std::array<size_t, 4> at;
    at.fill(std::string::npos);
    bool inParentheses = false;
    for (size_t i = 0; i < shareName.size();) {
        char c = Lower(shareName[i]);
        if (c == '(' || c == ')') {
            inParentheses = c == '(';
            ++i;
            continue;
        }
        if (!IsWordChar(c)) {
            ++i;
            continue;
        }
        std::string word;
        while (i < shareName.size() && IsWordChar(shareName[i]))
            word.push_back(Lower(shareName[i++]));
        if (word == "plc")
            break;
        for (size_t k = 0; k < kShortForms.size(); ++k)
            if (word == kShortForms[k].first && at[k] == std::string::npos)
                at[k] = words.size();
        words += word;
        bool closes = i < shareName.size() && shareName[i] == ')';
        if (!inParentheses || closes)
            words += ' ';
    }
    if (!words.empty() && words.back() == ' ')
        words.pop_back();
    std::string text = "'" + words + "'";
    for (size_t k = kShortForms.size(); k-- > 0;) {
        if (at[k] != std::string::npos) {
            text += ",'" + words.substr(0, at[k]) + kShortForms[k].second + "'";
            break;
        }
    }
    return text;
}

std::string ShareNewsSearchText(NewsDatabase& database, uint32_t shareId)
{
    for (const NewsSearchText& own : NewsSearchTexts(database.catalogue()))
        if ((own.shareId & 0xFFFF) == (shareId & 0xFFFF))
            return own.text;
    return DefaultNewsSearchText(shareId);
}

std::string DefaultNewsSearchText(uint32_t shareId)
{
    RecordCursor share = FindRecordById(uint16_t(shareId), 0);
    if (!share.record || RecordLength(share.record) == 0)
        return std::string();
    return MakeNewsSearchText(GetRecordTexts(share.record).name);
}

std::vector<NewsSearchWord> SplitNewsSearchText(std::string_view text)
{
    std::vector<NewsSearchWord> words;
    uint16_t sign = NewsSearchTerm::kRequired;
    bool literal = false, literalStart = false;
    for (size_t i = 0; i < text.size();) {
        char c = text[i];
        if (c == ',' || c == '-') {
            sign = c == ',' ? NewsSearchTerm::kAlternative : NewsSearchTerm::kExclusion;
            ++i;
            continue;
        }
        if (c == '"' || c == '\'') {
            literal = !literal;
            literalStart = literal;
            ++i;
            continue;
        }
        if (!IsWordChar(c)) {
            ++i;
            continue;
        }
        NewsSearchWord w;
        while (i < text.size() && IsWordChar(text[i])) {
            if (w.word.size() < kMaxSearchWord)
                w.word.push_back(Lower(text[i]));
            ++i;
        }
        w.sign = sign;
        w.literal = literal;
        w.literalStart = literal && literalStart;
        literalStart = false;
        sign = NewsSearchTerm::kRequired;
        words.push_back(std::move(w));
    }
    return words;
}

std::vector<NewsSearchTerm> MakeNewsSearchWords(NewsDatabase& database, uint32_t owner, std::string_view text)
{
    std::vector<NewsSearchTerm> terms;
    NewsDictionary dictionary(database.catalogue());
    for (const NewsSearchWord& w : SplitNewsSearchText(text)) {
        NewsSearchTerm term;
        term.owner = owner;
        NewsDictionary::Lookup found =
            w.word.size() > 1 ? dictionary.find(w.word.substr(0, kNewsMaxWord)) : NewsDictionary::Lookup{};
        term.known = found.found;
        term.slot = found.found ? found.slot : 0;
        term.kind = uint16_t(w.sign + (w.literal ? NewsSearchTerm::kLiteral : 0));
        term.literalStart = w.literalStart;
        terms.push_back(term);
    }
    if (terms.empty())
        terms.push_back(NewsSearchTerm{owner, 0, false, false, NewsSearchTerm::kRequired});
    return terms;
}

std::vector<NewsSearchTerm> MakeNewsPortfolioSearch(NewsDatabase& database, const std::vector<NewsShareSearch>& shares)
{
    std::vector<NewsSearchTerm> terms;
    for (size_t i = 0; i < shares.size() && i < kNewsPortfolioShares; ++i) {
        std::vector<NewsSearchTerm> own = MakeNewsSearchWords(database, shares[i].shareId, shares[i].text);
        terms.insert(terms.end(), own.begin(), own.end());
        terms.push_back(NewsSearchTerm{shares[i].shareId, 0, false, false, NewsSearchTerm::kSeparator});
    }
    return terms;
}

bool PrepareNewsIndex(NewsDatabase& database, NewsReindexProgress* progress)
{
    if (IndexBeyondItsFile(database))
        database.clearIndex();
    const size_t unindexed = FirstUnindexedNewsDay(database);
    if (unindexed >= database.catalogue().days.size())
        return true;
    const NewsReindexResult result = ReindexNews(database, progress, unindexed);
    database.save(false);
    return result != NewsReindexResult::Stopped;
}

std::vector<NewsMatch> PerformNewsSearch(NewsDatabase& database, const std::vector<NewsSearchTerm>& terms,
                                         uint32_t first, uint32_t end, NewsReindexProgress* progress,
                                         const NewsSearchStep& step)
{
    if (!PrepareNewsIndex(database, progress))
        return {};
    const std::vector<uint8_t> file = ReadNewsIndexFile();
    IndexView index(database, file, first, end);
    index.SetStep(step);
    std::vector<NewsMatch> matches;
    SearchIndex(index, database, terms, matches);
    return matches;
}

NewsSearchRun::NewsSearchRun(NewsDatabase& database, std::vector<NewsSearchTerm> terms, uint32_t storiesPerStep)
    : database_(database), terms_(std::move(terms)), perStep_(std::max<uint32_t>(storiesPerStep, 1)),
      end_(uint32_t(database.catalogue().stories.size()))
{
}

bool NewsSearchRun::Step()
{
    if (done())
        return false;
    // The index is read at the first step, once the caller has prepared it.
    if (next_ == 0)
        index_ = ReadNewsIndexFile();
    const uint32_t end = next_ + std::min(perStep_, end_ - next_);
    const IndexView index(database_, index_, next_, end);
    SearchIndex(index, database_, terms_, matches_);
    next_ = end;
    return !done();
}

} // namespace qv
