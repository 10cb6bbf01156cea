// The word index: sections written and read bit by bit, and the reindex of every day.
#include "news/NewsIndex.h"

#include "core/ParallelFor.h"
#include "news/NewsCoding.h"
#include "news/NewsDatabase.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "shell/IdleWork.h"

#include <algorithm>
#include <bit>
#include <numeric>
#include <span>

namespace qv {

namespace {

constexpr uint16_t kEmptyPostings = 65535;

// Bits written most significant first through a 64-bit accumulator, emptied 32 bits at a time.
class Bits {
public:
    void reserve(size_t bytes) { bytes_.reserve(bytes); }
    void put(uint32_t value, int count)
    {
        pending_ = (pending_ << count) | (uint64_t(value) & ((uint64_t(1) << count) - 1));
        pendingBits_ += count;
        if (pendingBits_ < 32)
            return;
        pendingBits_ -= 32;
        const uint32_t word = uint32_t(pending_ >> pendingBits_);
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes_.push_back(uint8_t(word >> shift));
    }
    void align()
    {
        for (; pendingBits_ >= 8; pendingBits_ -= 8)
            bytes_.push_back(uint8_t(pending_ >> (pendingBits_ - 8)));
        if (pendingBits_)
            bytes_.push_back(uint8_t(pending_ << (8 - pendingBits_)));
        pending_ = 0;
        pendingBits_ = 0;
    }
    void u16(uint16_t v)
    {
        align();
        bytes_.push_back(uint8_t(v));
        bytes_.push_back(uint8_t(v >> 8));
    }
    // The bytes written, the last one filled out with zero bits.
    std::vector<uint8_t>& bytes()
    {
        align();
        return bytes_;
    }

private:
    std::vector<uint8_t> bytes_;
    uint64_t pending_ = 0;
    int pendingBits_ = 0;
};

int BitLength(uint32_t v)
{
    int n = 0;
    for (; v; v >>= 1)
        ++n;
    return std::max(n, 1);
}

} // namespace

namespace {

// The section of postings given in ascending slot order, as (slot, story indexes) pairs.
template <typename Postings>
std::vector<uint8_t> SectionOf(const Postings& postings)
{
    // At most two bytes a story and three a list: the lists are written without growing.
    size_t most = 0;
    for (const auto& posting : postings)
        most += 3 + 2 * posting.second.size();
    Bits lists;
    lists.reserve(most);
    std::vector<std::pair<uint32_t, uint32_t>> table;
    table.reserve(postings.size());
    for (const auto& [slot, stories] : postings) {
        table.emplace_back(slot, uint32_t(lists.bytes().size()));
        lists.u16(stories.empty() ? kEmptyPostings : stories[0]);
        uint32_t widest = 1;
        for (size_t i = 1; i < stories.size(); ++i)
            widest = std::max<uint32_t>(widest, uint32_t(stories[i] - stories[i - 1]));
        int w = BitLength(widest);
        lists.put(uint32_t(w), 5);
        for (size_t i = 1; i < stories.size(); ++i)
            lists.put(uint32_t(stories[i] - stories[i - 1]), w);
        lists.put(0, w);
        lists.align();
    }
    uint32_t maxSlot = 1, maxOffset = 1, previousSlot = 0, previousOffset = 0;
    for (auto [slot, offset] : table) {
        maxSlot = std::max(maxSlot, slot - previousSlot);
        maxOffset = std::max(maxOffset, offset - previousOffset);
        previousSlot = slot;
        previousOffset = offset;
    }
    int a = BitLength(maxSlot), b = BitLength(maxOffset);
    Bits words;
    words.put(uint32_t(a), 5);
    words.put(uint32_t(b), 4);
    previousSlot = previousOffset = 0;
    for (auto [slot, offset] : table) {
        words.put(slot - previousSlot, a);
        words.put(offset - previousOffset, b);
        previousSlot = slot;
        previousOffset = offset;
    }
    ByteWriter out;
    out.u32(uint32_t(table.size() + 1));
    out.u32(uint32_t(lists.bytes().size()));
    out.bytes(lists.bytes().data(), lists.bytes().size());
    size_t length = 8 + lists.bytes().size() + ((a + b) * table.size() + 9) / 8 + 1;
    std::vector<uint8_t> section = out.take();
    section.insert(section.end(), words.bytes().begin(), words.bytes().end());
    section.resize(std::max(section.size(), length), 0);
    return section;
}

} // namespace

std::vector<uint8_t> NewsIndexSection(const std::map<uint32_t, std::vector<uint16_t>>& postings)
{
    return SectionOf(postings);
}

std::vector<uint8_t> NewsIndexSection(const std::vector<NewsPostingList>& postings)
{
    return SectionOf(postings);
}

NewsIndexSectionReader::NewsIndexSectionReader(std::span<const uint8_t> section, uint32_t dayStories)
    : section_(section), dayStories_(dayStories)
{
    if (section.size() < 8)
        return;
    uint32_t n = LoadU32(section.data()), d = LoadU32(section.data() + 4);
    if (n == 0 || uint64_t(d) + 8 >= section.size())
        return;
    NewsBitReader in(section.subspan(8 + d));
    uint32_t a = 0, b = 0;
    if (!in.read(5, a) || !in.read(4, b) || a == 0 || b == 0 || (n - 1) > in.bitsLeft() / (a + b))
        return;
    uint32_t slot = 0, offset = 0;
    for (uint32_t i = 0; i + 1 < n; ++i) {
        uint32_t ds = 0, doff = 0;
        in.read(int(a), ds);
        in.read(int(b), doff);
        slot += ds;
        offset += doff;
        if (i > 0 && ds == 0)
            break; // slots ascend; a repeat ends a damaged table
        pairs_.emplace_back(slot, offset);
    }
}

std::vector<uint16_t> NewsIndexSectionReader::stories(uint32_t slot) const
{
    auto it = std::lower_bound(pairs_.begin(), pairs_.end(), std::make_pair(slot, 0u));
    if (it == pairs_.end() || it->first != slot)
        return {};
    size_t start = 8 + size_t(it->second);
    if (start + 2 > section_.size())
        return {};
    uint32_t story = LoadU16(section_.data() + start);
    if (story == kEmptyPostings)
        return {};
    std::vector<uint16_t> out;
    NewsBitReader in(section_, (start + 2) * 8);
    uint32_t w = 0, delta = 0;
    if (!in.read(5, w) || w == 0)
        return {};
    for (;;) {
        if (story < dayStories_)
            out.push_back(uint16_t(story));
        if (!in.read(int(w), delta) || delta == 0)
            break;
        story += delta;
        if (story > 0xFFFF)
            break;
    }
    return out;
}

namespace {

NewsReindexProgressMaker progressMaker = nullptr;

// The hash slot of every stored word, by its id (UINT32_MAX for an id that is no stored word).
std::vector<uint32_t> SlotsById(const NewsCatalogue& c)
{
    std::vector<uint32_t> slots(c.header.size(), UINT32_MAX);
    for (uint32_t slot = 0; slot < c.hashTable.size(); ++slot) {
        const uint32_t id = c.hashTable[slot] & 0xFFFFFF;
        if (c.hashTable[slot] && id < slots.size())
            slots[id] = slot;
    }
    return slots;
}

// A day to index: its stories, its block's bytes read on the thread that makes its section, and
// the section.
struct DayWork {
    std::optional<std::vector<uint8_t>> bytes;
    std::vector<const NewsStory*> stories;
    std::vector<uint8_t> section;
};

// The day's postings: for each hash slot of its words, the day indexes of the stories holding it.
// Each of the day's symbols is mapped once to its word's slot, and the slots to dense word numbers
// in slot order; the (word, story) pairs then fall into place by a counting sort.
std::vector<uint8_t> DaySection(DayWork& day, const NewsDictionary& dictionary, const std::vector<uint32_t>& slotById,
                                size_t slotCount)
{
    constexpr uint32_t kNone = UINT32_MAX;
    const std::optional<NewsDayBlock> parsed = day.bytes ? NewsDayBlock::Parse(*day.bytes) : std::nullopt;
    if (!parsed)
        return NewsIndexSection(std::vector<NewsPostingList>());
    const NewsDayBlock& block = *parsed;
    // The slots in use are marked in a bitmap, so that a slot's number is the count of marks below it.
    std::vector<uint32_t> slotOfSymbol(block.wordIds.size(), kNone);
    std::vector<uint64_t> marks((slotCount + 63) / 64, 0);
    for (size_t symbol = 0; symbol < block.wordIds.size(); ++symbol) {
        const uint32_t id = block.wordIds[symbol];
        if (id < news_header::kFirstWordOffset)
            continue;
        const uint32_t base = (id & kNewsCaseMask) == 3 ? dictionary.baseId(id) : id & ~kNewsCaseMask;
        if (base >= slotById.size() || slotById[base] == kNone)
            continue;
        const uint32_t slot = slotOfSymbol[symbol] = slotById[base];
        marks[slot / 64] |= uint64_t(1) << (slot % 64);
    }
    std::vector<uint32_t> slots;
    std::vector<uint32_t> marksBelow(marks.size());
    for (size_t w = 0; w < marks.size(); ++w) {
        marksBelow[w] = uint32_t(slots.size());
        for (uint64_t bits = marks[w]; bits; bits &= bits - 1)
            slots.push_back(uint32_t(w * 64 + size_t(std::countr_zero(bits))));
    }
    std::vector<uint32_t> wordOfSymbol(slotOfSymbol.size(), kNone);
    for (size_t symbol = 0; symbol < slotOfSymbol.size(); ++symbol) {
        const uint32_t slot = slotOfSymbol[symbol];
        if (slot != kNone) {
            const uint64_t lower = marks[slot / 64] & ((uint64_t(1) << (slot % 64)) - 1);
            wordOfSymbol[symbol] = marksBelow[slot / 64] + uint32_t(std::popcount(lower));
        }
    }

    std::stable_sort(day.stories.begin(), day.stories.end(),
                     [](const NewsStory* a, const NewsStory* b) { return a->dayIndex < b->dayIndex; });
    // Stories come in index order, so a word already listed for the story was listed last for it.
    std::vector<uint32_t> lastStory(slots.size(), kNone);
    std::vector<uint32_t> counts(slots.size() + 1, 0);
    std::vector<std::pair<uint32_t, uint16_t>> pairs; // (word, story index within the day)
    // The stories are decoded a code table at a time, which keeps that table's steps in the cache,
    // into one buffer (a story that does not decode leaves no symbols), and taken in index order.
    std::vector<uint32_t> byTable(day.stories.size());
    std::iota(byTable.begin(), byTable.end(), 0u);
    std::stable_sort(byTable.begin(), byTable.end(),
                     [&](uint32_t a, uint32_t b) { return day.stories[a]->codeTable < day.stories[b]->codeTable; });
    std::vector<uint16_t> decoded;
    std::vector<std::pair<size_t, size_t>> decodedOf(day.stories.size(), {0, 0}); // (first, count) in decoded
    std::vector<uint16_t> symbols;
    for (uint32_t i : byTable) {
        const NewsStory* story = day.stories[i];
        if (!block.storySymbols(story->dayIndex, story->codeTable, symbols))
            continue;
        decodedOf[i] = {decoded.size(), symbols.size()};
        decoded.insert(decoded.end(), symbols.begin(), symbols.end());
    }
    for (size_t i = 0; i < day.stories.size(); ++i) {
        const uint16_t dayIndex = day.stories[i]->dayIndex;
        for (uint16_t symbol : std::span<const uint16_t>(decoded).subspan(decodedOf[i].first, decodedOf[i].second)) {
            const uint32_t word = wordOfSymbol[symbol];
            if (word == kNone || lastStory[word] == dayIndex)
                continue;
            lastStory[word] = dayIndex;
            ++counts[word + 1];
            pairs.emplace_back(word, dayIndex);
        }
    }
    for (size_t word = 1; word < counts.size(); ++word)
        counts[word] += counts[word - 1];
    std::vector<uint16_t> sorted(pairs.size());
    std::vector<uint32_t> next(counts.begin(), counts.end() - 1);
    for (const auto& [word, story] : pairs)
        sorted[next[word]++] = story;
    std::vector<std::pair<uint32_t, std::span<const uint16_t>>> postings;
    for (size_t word = 0; word < slots.size(); ++word)
        if (counts[word + 1] > counts[word])
            postings.emplace_back(slots[word], std::span<const uint16_t>(sorted).subspan(counts[word], counts[word + 1] - counts[word]));
    return SectionOf(postings);
}

// The index file's bytes up to the end of the last section before firstDay, when every such
// section lies in the file; otherwise just the header, and firstDay becomes 0.
std::vector<uint8_t> KeptSections(const NewsCatalogue& c, size_t& firstDay)
{
    std::vector<uint8_t> header = NewsFileHeader("ZQDI");
    if (firstDay == 0)
        return header;
    std::vector<uint8_t> file =
        ReadFileBytes(NewsDatabase::NewsFolder() / "INews.dat").value_or(std::vector<uint8_t>());
    uint64_t end = kNewsFileHeaderSize;
    for (size_t i = 0; i < firstDay && i < c.days.size(); ++i) {
        const NewsDay& day = c.days[i];
        if (day.indexLength < 8 || uint64_t(day.indexOffset) + day.indexLength > file.size() ||
            day.indexOffset < kNewsFileHeaderSize) {
            firstDay = 0;
            return header;
        }
        end = std::max<uint64_t>(end, uint64_t(day.indexOffset) + day.indexLength);
    }
    if (!IsNewsFileHeader(file, "ZQDI")) {
        firstDay = 0;
        return header;
    }
    file.resize(size_t(end));
    return file;
}

void Unindex(NewsCatalogue& c)
{
    for (NewsDay& day : c.days)
        day.indexOffset = day.indexLength = 0;
}

} // namespace

void SetNewsReindexProgressMaker(NewsReindexProgressMaker maker) { progressMaker = maker; }

std::unique_ptr<NewsReindexProgress> MakeNewsReindexProgress()
{
    return progressMaker ? progressMaker() : nullptr;
}

size_t FirstUnindexedNewsDay(const NewsDatabase& database)
{
    const std::vector<NewsDay>& days = database.catalogue().days;
    for (size_t i = 0; i < days.size(); ++i)
        if (days[i].indexLength < 8)
            return i;
    return days.size();
}

NewsReindexResult ReindexNews(NewsDatabase& database, NewsReindexProgress* progress, size_t firstDay)
{
    NewsCatalogue& c = database.catalogue();
    if (c.stories.empty() || firstDay >= c.days.size())
        return NewsReindexResult::Done;
    const std::filesystem::path work = NewsDatabase::NewsFolder() / "workINews.dat";
    ForceDelete(work);
    const std::vector<uint32_t> slotById = SlotsById(c);
    const NewsDictionary dictionary(c);
    std::map<PackedDate, std::vector<const NewsStory*>> byDay;
    for (const NewsStory& story : c.stories)
        byDay[story.dayDate].push_back(&story);
    // The index is written as it is made, into workINews.dat, which then takes INews.dat's place.
    const std::vector<uint8_t> kept = KeptSections(c, firstDay);
    ExclusiveFile file;
    bool written = file.open(work, ExclusiveFile::Mode::Create) && file.write(kept.data(), kept.size());
    uint64_t fileSize = kept.size();
    ExclusiveFile stories;
    const bool storiesOpen = stories.open(NewsDatabase::NewsFolder() / "DNews.dat", ExclusiveFile::Mode::Read);
    std::vector<DayWork> days(written ? c.days.size() - firstDay : 0);
    for (size_t j = 0; j < days.size(); ++j)
        days[j].stories = std::move(byDay[c.days[firstDay + j].date]);
    if (progress)
        progress->open(c.days.size());
    bool stopped = false;
    // Each day's block is read and its section made on any of the threads; the sections are written,
    // with a waiting message dispatched and the progress shown, in day order on this thread.
    auto make = [&](size_t j) {
        DayWork& day = days[j];
        if (storiesOpen)
            day.bytes = NewsDatabase::ReadDayBytes(stories, c.days[firstDay + j]);
        day.section = DaySection(day, dictionary, slotById, c.hashTable.size());
        day.bytes.reset();
        day.stories = {};
    };
    auto take = [&](size_t j) {
        NewsDay& day = c.days[firstDay + j];
        const std::vector<uint8_t> section = std::move(days[j].section);
        day.indexOffset = uint32_t(fileSize);
        day.indexLength = uint32_t(section.size());
        fileSize += section.size();
        written = file.write(section.data(), section.size());
        PumpWaitingMessages();
        stopped = progress && !progress->step(firstDay + j + 1);
        return written && !stopped;
    };
    ParallelForInOrder(days.size(), make, take);
    written = file.close() && written;
    if (progress)
        progress->close();
    if (stopped) {
        ForceDelete(work);
        ForceDelete(NewsDatabase::NewsFolder() / "INews.dat");
        Unindex(c);
        return NewsReindexResult::Stopped;
    }
    if (!written || !RenameReplace(work, NewsDatabase::NewsFolder() / "INews.dat")) {
        ForceDelete(work);
        Unindex(c);
        return NewsReindexResult::Failed;
    }
    return NewsReindexResult::Done;
}

} // namespace qv
