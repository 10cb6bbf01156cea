// The word index: sections written and read bit by bit, and the reindex of every day.
#include "news/NewsIndex.h"

#include "news/NewsCoding.h"
#include "news/NewsDatabase.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "shell/IdleWork.h"

#include <algorithm>

namespace qv {

namespace {

constexpr uint16_t kEmptyPostings = 65535;

class Bits {
public:
    void put(uint32_t value, int count)
    {
        for (int i = count - 1; i >= 0; --i) {
            if (bits_ % 8 == 0)
                bytes_.push_back(0);
            if ((value >> i) & 1)
                bytes_.back() |= uint8_t(0x80 >> (bits_ % 8));
            ++bits_;
        }
    }
    void align() { bits_ = bytes_.size() * 8; }
    void u16(uint16_t v)
    {
        align();
        bytes_.push_back(uint8_t(v));
        bytes_.push_back(uint8_t(v >> 8));
        bits_ = bytes_.size() * 8;
    }
    std::vector<uint8_t>& bytes() { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    size_t bits_ = 0;
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
    Bits lists;
    std::vector<std::pair<uint32_t, uint32_t>> table;
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

// The day's postings: for each hash slot of its words, the day indexes of the stories holding it.
std::vector<uint8_t> DaySection(NewsDatabase& database, const std::vector<size_t>& stories,
                                const std::vector<uint32_t>& slotById)
{
    NewsCatalogue& c = database.catalogue();
    NewsDictionary dictionary(c);
    std::vector<std::pair<uint32_t, uint16_t>> pairs; // (slot, story index within the day)
    for (size_t story : stories) {
        std::optional<std::vector<uint32_t>> words = database.storyWords(story);
        if (!words)
            continue;
        const uint16_t index = c.stories[story].dayIndex;
        for (uint32_t id : *words) {
            if (id < news_header::kFirstWordOffset)
                continue;
            const uint32_t base = (id & kNewsCaseMask) == 3 ? dictionary.baseId(id) : id & ~kNewsCaseMask;
            if (base < slotById.size() && slotById[base] != UINT32_MAX)
                pairs.emplace_back(slotById[base], index);
        }
    }
    std::sort(pairs.begin(), pairs.end());
    pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
    std::vector<NewsPostingList> postings;
    for (const auto& [slot, index] : pairs) {
        if (postings.empty() || postings.back().first != slot)
            postings.push_back({slot, {}});
        postings.back().second.push_back(index);
    }
    return NewsIndexSection(postings);
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
    std::map<PackedDate, std::vector<size_t>> byDay;
    for (size_t i = 0; i < c.stories.size(); ++i)
        byDay[c.stories[i].dayDate].push_back(i);
    ByteWriter file;
    std::vector<uint8_t> kept = KeptSections(c, firstDay);
    file.bytes(kept.data(), kept.size());
    if (progress)
        progress->open(c.days.size());
    bool stopped = false;
    for (size_t i = firstDay; i < c.days.size() && !stopped; ++i) {
        NewsDay& day = c.days[i];
        std::vector<uint8_t> section = DaySection(database, byDay[day.date], slotById);
        day.indexOffset = uint32_t(file.size());
        day.indexLength = uint32_t(section.size());
        file.bytes(section.data(), section.size());
        PumpWaitingMessages();
        stopped = progress && !progress->step(i + 1);
    }
    if (progress)
        progress->close();
    if (stopped) {
        ForceDelete(NewsDatabase::NewsFolder() / "INews.dat");
        Unindex(c);
        return NewsReindexResult::Stopped;
    }
    if (!WriteFileBytes(work, file.data()) || !RenameReplace(work, NewsDatabase::NewsFolder() / "INews.dat")) {
        ForceDelete(work);
        Unindex(c);
        return NewsReindexResult::Failed;
    }
    return NewsReindexResult::Done;
}

} // namespace qv
