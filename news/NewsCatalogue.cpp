// The news catalogue file image, read and written field by field.
#include "news/NewsCatalogue.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace nh = news_header;

namespace {

constexpr size_t kMinimumImage = 76; // a catalogue this short or shorter is treated as missing
constexpr size_t kEmptySearchTexts = 8;

// Keeps the share entries whose text lies inside the block and ends before the entry table; the
// others are dropped so that no later reader follows a bad offset.
int CheckSearchTexts(NewsCatalogue& c)
{
    std::vector<uint8_t>& block = c.searchTexts;
    uint32_t count = c.header.u32(nh::kSearchTextCount);
    if (uint64_t(count) * 8 > block.size()) {
        c.header.setU32(nh::kSearchTextCount, 0);
        return int(count);
    }
    size_t tableStart = block.size() - size_t(count) * 8;
    std::vector<std::pair<uint32_t, uint32_t>> kept;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t id = LoadU32(&block[tableStart + 8 * i]);
        uint32_t offset = LoadU32(&block[tableStart + 8 * i + 4]);
        bool ended = offset < tableStart &&
                     std::find(block.begin() + offset, block.begin() + tableStart, 0) != block.begin() + tableStart;
        if (ended)
            kept.emplace_back(id, offset);
    }
    int dropped = int(count - kept.size());
    if (dropped == 0)
        return 0;
    block.resize(tableStart);
    for (auto [id, offset] : kept) {
        uint8_t pair[8];
        StoreU32(pair, id);
        StoreU32(pair + 4, offset);
        block.insert(block.end(), pair, pair + 8);
    }
    c.header.setU32(nh::kSearchTextCount, uint32_t(kept.size()));
    c.header.setU32(nh::kSearchTextSize, uint32_t(block.size()));
    return dropped;
}

void MakeEmptyTables(NewsCatalogue& c)
{
    c.hashTable.assign(c.prime(), 0);
    c.searchTexts.assign(kEmptySearchTexts, 0);
    c.header.setU32(nh::kSearchTextCount, 0);
    c.stories.clear();
    c.days.clear();
}

bool ReadTables(ByteReader& in, NewsCatalogue& c)
{
    uint32_t prime = c.prime();
    if (in.remaining() / 4 < prime)
        return false;
    c.hashTable.resize(prime);
    for (uint32_t& slot : c.hashTable)
        in.u32(slot);
    uint32_t textSize = c.header.u32(nh::kSearchTextSize);
    std::span<const uint8_t> texts = in.take(textSize);
    if (!in.ok())
        return false;
    c.searchTexts.assign(texts.begin(), texts.end());
    if (textSize == 0)
        c.searchTexts.assign(kEmptySearchTexts, 0);
    uint32_t storyCount = 0, storyBytes = 0;
    in.u32(storyCount);
    in.u32(storyBytes);
    if (!in.ok() || uint64_t(storyCount) * NewsStory::kSize > storyBytes || storyBytes > in.remaining())
        return false;
    size_t storiesEnd = in.position() + storyBytes;
    c.stories.resize(storyCount);
    for (NewsStory& story : c.stories)
        story.read(in);
    in.seek(storiesEnd);
    uint32_t dayCount = c.header.u32(nh::kDayCount);
    if (!in.ok() || in.remaining() / NewsDay::kSize < dayCount)
        return false;
    c.days.resize(dayCount);
    for (NewsDay& day : c.days)
        day.read(in);
    return in.ok();
}

void Upgrade(NewsCatalogue& c)
{
    uint8_t minor = c.header.u8(nh::kMinor);
    if (c.header.u8(nh::kMajor) < 2 || minor < 4) {
        for (NewsStory& story : c.stories) {
            for (uint32_t& id : story.shareIds)
                id &= 0xFFFF;
            story.reserved16 = {};
        }
    }
    if (c.header.u8(nh::kMajor) < 2 || minor < 2) {
        c.header.setU8(nh::kLimitFlagByte, c.header.u8(nh::kLimitFlagByte) & ~nh::kLimitFlagBit);
        c.header.setU16(nh::kLimitWeeks, 1);
    }
    c.header.setU8(nh::kMajor, 2);
    c.header.setU8(nh::kMinor, 4);
}

void RaiseLatestDate(NewsCatalogue& c)
{
    PackedDate latest = c.header.u16(nh::kLatestDate);
    for (const NewsStory& story : c.stories)
        latest = std::max(latest, story.storyDate);
    c.header.setU16(nh::kLatestDate, latest);
}

} // namespace

NewsCatalogueLoad ParseNewsCatalogue(std::span<const uint8_t> image, bool storyFileExists, NewsCatalogue& out)
{
    NewsCatalogueLoad result;
    if (image.size() <= kMinimumImage) {
        result.status = NewsCatalogueStatus::TooShort;
        return result;
    }
    ByteReader in(image);
    uint32_t ignored = 0, headerSize = 0;
    in.u32(ignored);
    in.u32(headerSize);
    std::span<const uint8_t> block = in.take(headerSize);
    if (!in.ok() || headerSize < nh::kWordStore + nh::kFirstWordOffset)
        return result;
    NewsCatalogue c;
    c.header = NewsHeader(std::vector<uint8_t>(block.begin(), block.end()));
    uint8_t major = c.header.u8(nh::kMajor);
    if (major == 0 || major > 2 || c.header.u16(nh::kSizeClass) >= kNewsDictionaryPrimes.size())
        return result;
    uint64_t storeEnd = uint64_t(nh::kWordStore) + c.header.u32(nh::kNextWord);
    if (storeEnd > headerSize || c.header.u32(nh::kNextWord) < nh::kFirstWordOffset)
        return result;
    c.header.setU32(nh::kHeaderSize, headerSize);
    c.header.setU32(nh::kFreeBytes, uint32_t(headerSize - storeEnd));
    if (storyFileExists) {
        if (!ReadTables(in, c))
            return result;
    } else {
        MakeEmptyTables(c);
    }
    result.droppedSearchTexts = CheckSearchTexts(c);
    Upgrade(c);
    RaiseLatestDate(c);
    out = std::move(c);
    result.status = NewsCatalogueStatus::Loaded;
    return result;
}

std::vector<uint8_t> NewsCatalogueImage(NewsCatalogue& c)
{
    NewsHeader& h = c.header;
    h.setU8(nh::kMajor, 2);
    h.setU8(nh::kMinor, 4);
    h.setU32(nh::kHeaderSize, uint32_t(h.size()));
    h.setU32(nh::kDayCount, uint32_t(c.days.size()));
    h.setU32(nh::kSearchTextSize, uint32_t(c.searchTexts.size()));
    ByteWriter out;
    out.u32(0);
    out.u32(uint32_t(h.size()));
    out.bytes(h.bytes().data(), h.size());
    for (uint32_t slot : c.hashTable)
        out.u32(slot);
    out.bytes(c.searchTexts.data(), c.searchTexts.size());
    out.u32(uint32_t(c.stories.size()));
    out.u32(uint32_t(c.stories.size() * NewsStory::kSize));
    for (const NewsStory& story : c.stories)
        story.write(out);
    for (const NewsDay& day : c.days)
        day.write(out);
    return out.take();
}

NewsCatalogue EmptyNewsCatalogue(bool limitOn)
{
    NewsCatalogue c;
    c.header = NewsHeader(std::vector<uint8_t>(nh::kWordStore + nh::kFirstWordOffset + nh::kGrowStep, 0));
    NewsHeader& h = c.header;
    h.setU8(nh::kMajor, 2);
    h.setU8(nh::kMinor, 4);
    h.setU32(nh::kHeaderSize, uint32_t(h.size()));
    h.setU32(nh::kNextWord, nh::kFirstWordOffset);
    h.setU32(nh::kFreeBytes, uint32_t(nh::kGrowStep));
    h.setU16(nh::kSizeClass, 2);
    h.setU16(nh::kLimitWeeks, 1);
    h.setU8(nh::kOptions, 0x11);
    h.setU8(nh::kOptions + 1, 0x20);
    h.setU8(nh::kOptions + 2, limitOn ? 0x88 : 0x80);
    h.setU32(nh::kOptionValue, 400);
    MakeEmptyTables(c);
    return c;
}

std::vector<NewsSearchText> NewsSearchTexts(const NewsCatalogue& c)
{
    const std::vector<uint8_t>& block = c.searchTexts;
    uint32_t count = c.header.u32(nh::kSearchTextCount);
    std::vector<NewsSearchText> texts;
    if (uint64_t(count) * 8 > block.size())
        return texts;
    size_t tableStart = block.size() - size_t(count) * 8;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t offset = LoadU32(&block[tableStart + 8 * i + 4]);
        if (offset >= tableStart)
            continue;
        const char* start = reinterpret_cast<const char*>(&block[offset]);
        texts.push_back({LoadU32(&block[tableStart + 8 * i]) & 0xFFFF, std::string(start, strnlen(start, tableStart - offset))});
    }
    return texts;
}

void StoreNewsSearchTexts(NewsCatalogue& c, const std::vector<NewsSearchText>& texts)
{
    std::vector<uint8_t>& block = c.searchTexts;
    block.clear();
    std::vector<uint32_t> offsets;
    for (const NewsSearchText& t : texts) {
        offsets.push_back(uint32_t(block.size()));
        block.insert(block.end(), t.text.begin(), t.text.end());
        block.push_back(0);
    }
    for (size_t i = 0; i < texts.size(); ++i) {
        uint8_t pair[8];
        StoreU32(pair, texts[i].shareId);
        StoreU32(pair + 4, offsets[i]);
        block.insert(block.end(), pair, pair + 8);
    }
    if (texts.empty())
        block.assign(kEmptySearchTexts, 0);
    c.header.setU32(nh::kSearchTextCount, uint32_t(texts.size()));
    c.header.setU32(nh::kSearchTextSize, uint32_t(block.size()));
}

void SetNewsSearchText(NewsCatalogue& c, uint32_t shareId, const std::string& text)
{
    std::vector<NewsSearchText> texts = NewsSearchTexts(c);
    auto own = std::find_if(texts.begin(), texts.end(), [shareId](const NewsSearchText& t) { return t.shareId == shareId; });
    if (text.empty()) {
        if (own != texts.end())
            texts.erase(own);
    } else if (own != texts.end()) {
        own->text = text;
    } else {
        texts.push_back({shareId, text});
    }
    StoreNewsSearchTexts(c, texts);
}

} // namespace qv
