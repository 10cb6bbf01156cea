// The news word dictionary and the code-number table.
#include "news/NewsDictionary.h"

#include <algorithm>
#include <utility>

namespace qv {

namespace nh = news_header;

namespace {

constexpr uint8_t kVariantClass = 7;
constexpr size_t kEntryHead = 7;
constexpr size_t kVariantSize = 12;

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
char Lower(char c) { return IsUpper(c) ? char(c - 'A' + 'a') : c; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
size_t EntrySize(size_t length) { return (kEntryHead + length + 3) / 4 * 4; }

uint32_t Load24(const uint8_t* p) { return (uint32_t(p[0]) << 16) | LoadU16(p + 1); }
void Store24(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v >> 16);
    StoreU16(p + 1, uint16_t(v));
}

struct CodeEntry {
    const char* code;
    const char* name;
};
constexpr CodeEntry kCodes[] = {
#include "news/NewsCodes.inc"
};

} // namespace

uint32_t NewsDictionary::HomeSlot(std::string_view word, uint32_t prime)
{
    uint32_t h = 0;
    for (char c : word)
        h = h * 131u + uint8_t(c);
    int64_t slot = int64_t(int32_t(h)) % int64_t(prime);
    return uint32_t(slot < 0 ? slot + prime : slot);
}

int NewsCharacterClass(unsigned char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return 0;
    if (c >= '0' && c <= '9')
        return 1;
    if (c == ' ' || c == '\t')
        return 2;
    return c >= 32 && c < 127 ? 3 : 4;
}

bool NewsDictionary::entryFits(uint32_t id, size_t length) const
{
    return id >= nh::kFirstWordOffset && entryAt(id) + kEntryHead + length <= c_.header.size();
}

bool NewsDictionary::slotHolds(uint32_t slot, std::string_view word) const
{
    uint32_t value = c_.hashTable[slot];
    uint32_t id = value & 0xFFFFFF;
    if (word.size() == 1 || id < nh::kFirstWordOffset)
        return id == uint8_t(word[0]) && (value >> 24) == word.size();
    if ((value >> 24) != word.size() || !entryFits(id, word.size()))
        return false;
    const uint8_t* chars = c_.header.bytes().data() + entryAt(id) + kEntryHead;
    if (chars[word.size() - 1] != uint8_t(word.back()))
        return false;
    return std::equal(word.begin(), word.end(), chars, [](char a, uint8_t b) { return uint8_t(a) == b; });
}

NewsDictionary::Lookup NewsDictionary::find(std::string_view word) const
{
    uint32_t prime = uint32_t(c_.hashTable.size());
    if (prime == 0 || word.empty())
        return {};
    uint32_t slot = HomeSlot(word, prime);
    // The k-th retry lies k² slots on; half the table is free, so an empty slot turns up.
    for (uint32_t step = 1; step < prime; step += 2) {
        if (c_.hashTable[slot] == 0)
            return {false, slot};
        if (slotHolds(slot, word))
            return {true, slot};
        slot += step % prime;
        if (slot >= prime)
            slot -= prime;
    }
    return {false, prime};
}

void NewsDictionary::reserve(size_t bytes)
{
    while (c_.header.u32(nh::kFreeBytes) < std::max(bytes, nh::kMinFree)) {
        c_.header.bytes().resize(c_.header.size() + nh::kGrowStep, 0);
        c_.header.setU32(nh::kHeaderSize, uint32_t(c_.header.size()));
        c_.header.setU32(nh::kFreeBytes, c_.header.u32(nh::kFreeBytes) + uint32_t(nh::kGrowStep));
    }
}

uint32_t NewsDictionary::append(std::string_view lower, int wordClass)
{
    uint32_t id = c_.header.u32(nh::kNextWord);
    size_t size = EntrySize(lower.size());
    reserve(size);
    uint8_t* p = c_.header.bytes().data() + entryAt(id);
    std::fill(p, p + size, 0);
    p[0] = uint8_t((wordClass << 5) | (lower.size() - 2));
    std::copy(lower.begin(), lower.end(), p + kEntryHead);
    c_.header.setU32(nh::kNextWord, id + uint32_t(size));
    c_.header.setU32(nh::kFreeBytes, c_.header.u32(nh::kFreeBytes) - uint32_t(size));
    c_.header.setU32(nh::kWordCount, c_.header.u32(nh::kWordCount) + 1);
    return id;
}

uint32_t NewsDictionary::variant(uint32_t base, uint32_t mask)
{
    uint8_t* b = c_.header.bytes().data() + entryAt(base);
    uint32_t newest = Load24(b + 4);
    if (newest != 0) {
        const uint8_t* v = b + newest;
        if (entryAt(base) + newest + kVariantSize <= c_.header.size() && LoadU32(v + 7) == mask)
            return base + newest + 3;
    }
    uint8_t length = b[0] & 0x1F;
    uint32_t id = c_.header.u32(nh::kNextWord);
    reserve(kVariantSize);
    uint8_t* v = c_.header.bytes().data() + entryAt(id);
    std::fill(v, v + kVariantSize, 0);
    v[0] = uint8_t((kVariantClass << 5) | length);
    Store24(v + 1, id - base);
    StoreU32(v + 7, mask);
    Store24(c_.header.bytes().data() + entryAt(base) + 4, id - base);
    c_.header.setU32(nh::kNextWord, id + uint32_t(kVariantSize));
    c_.header.setU32(nh::kFreeBytes, c_.header.u32(nh::kFreeBytes) - uint32_t(kVariantSize));
    c_.header.setU32(nh::kWordCount, c_.header.u32(nh::kWordCount) + 1);
    return id + 3;
}

uint32_t NewsDictionary::add(std::string_view word, int wordClass)
{
    if (word.empty())
        return ' ';
    word = word.substr(0, kNewsMaxWord);
    if (word.size() == 1)
        return uint8_t(word[0]) >= 128 ? ' ' : uint8_t(word[0]);
    if (needsResize())
        resize(false);
    std::string lower(word);
    uint32_t mask = 0;
    int upper = 0;
    for (size_t i = 0; i < lower.size(); ++i) {
        if (IsUpper(lower[i])) {
            mask |= 1u << i;
            ++upper;
        }
        lower[i] = Lower(lower[i]);
    }
    uint32_t mode = 3;
    if (upper == 0)
        mode = 0;
    else if (size_t(upper) == word.size())
        mode = 1;
    else if (upper == 1 && mask == 1)
        mode = 2;
    Lookup at = find(lower);
    if (at.slot >= c_.hashTable.size())
        return ' ';
    uint32_t id = at.found ? slotId(at.slot) : 0;
    if (!at.found) {
        id = append(lower, wordClass);
        c_.hashTable[at.slot] = (uint32_t(lower.size()) << 24) | id;
        c_.header.setU32(nh::kOccupied, c_.header.u32(nh::kOccupied) + 1);
    }
    return mode == 3 ? variant(id, mask) : id + mode;
}

NewsWordText NewsDictionary::text(uint32_t id, bool applyCase) const
{
    if (id < nh::kFirstWordOffset)
        return {NewsCharacterClass(uint8_t(id)), std::string(1, char(id))};
    uint32_t mode = id & kNewsCaseMask;
    if (!entryFits(id, 0))
        return {};
    const uint8_t* p = c_.header.bytes().data() + entryAt(id);
    uint32_t mask = 0;
    if ((p[0] >> 5) == kVariantClass) {
        uint32_t back = Load24(p + 1);
        mask = entryFits(id, kVariantSize - kEntryHead) ? LoadU32(p + 7) : 0;
        if (back > (id & ~kNewsCaseMask) - nh::kFirstWordOffset)
            return {};
        id = (id & ~kNewsCaseMask) - back;
        p = c_.header.bytes().data() + entryAt(id);
        if ((p[0] >> 5) == kVariantClass)
            return {};
    }
    size_t length = (p[0] & 0x1F) + 2;
    if (!entryFits(id, length))
        return {};
    NewsWordText word{p[0] >> 5, std::string(reinterpret_cast<const char*>(p + kEntryHead), length)};
    if (!applyCase || word.wordClass != 0)
        return word;
    for (size_t i = 0; i < length; ++i) {
        bool up = mode == 1 || (mode == 2 && i == 0) || (mode == 3 && i < 32 && (mask >> i) & 1);
        if (up)
            word.text[i] = Upper(word.text[i]);
    }
    return word;
}

uint32_t NewsDictionary::baseId(uint32_t id) const
{
    if (id < nh::kFirstWordOffset || !entryFits(id, 0))
        return id;
    uint32_t offset = id & ~kNewsCaseMask;
    const uint8_t* p = c_.header.bytes().data() + entryAt(id);
    if ((p[0] >> 5) != kVariantClass)
        return offset;
    uint32_t back = Load24(p + 1);
    return back <= offset - nh::kFirstWordOffset ? offset - back : id;
}

bool NewsDictionary::needsResize() const
{
    return 2ull * c_.header.u32(nh::kOccupied) >= c_.hashTable.size();
}

bool NewsDictionary::resize(bool force)
{
    size_t sizeClass = 2;
    size_t stories = c_.stories.size();
    if (!force) {
        if (!c_.indexed())
            sizeClass = 1;
        else
            sizeClass = stories < 2000 ? 2 : stories < 10000 ? 3 : stories < 20000 ? 4 : 5;
    }
    uint64_t occupied = c_.header.u32(nh::kOccupied);
    while (2 * occupied >= kNewsDictionaryPrimes[sizeClass] && sizeClass + 1 < kNewsDictionaryPrimes.size())
        ++sizeClass;
    std::vector<uint32_t> old = std::move(c_.hashTable);
    c_.hashTable.assign(kNewsDictionaryPrimes[sizeClass], 0);
    c_.header.setU16(nh::kSizeClass, uint16_t(sizeClass));
    uint32_t inserted = 0;
    for (uint32_t value : old) {
        uint32_t id = value & 0xFFFFFF;
        size_t length = value >> 24;
        if (value == 0 || id < nh::kFirstWordOffset || !entryFits(id, length) || inserted >= c_.hashTable.size())
            continue;
        const uint8_t* p = c_.header.bytes().data() + entryAt(id);
        std::string_view word(reinterpret_cast<const char*>(p + kEntryHead), length);
        bool high = std::any_of(word.begin(), word.end(), [](char ch) { return uint8_t(ch) > 128; });
        if ((p[0] >> 5) == kVariantClass || high || (p[0] & 0x1F) + 2u != length)
            continue;
        Lookup at = find(word);
        if (at.found || at.slot >= c_.hashTable.size())
            continue;
        c_.hashTable[at.slot] = value;
        ++inserted;
    }
    c_.header.setU32(nh::kOccupied, inserted);
    resized_ = true;
    return c_.indexed();
}

void NewsCodeTable::build(NewsDictionary& dictionary, NewsCatalogue& catalogue)
{
    numbers_.clear();
    uint32_t number = 0;
    int list = 0;
    for (const CodeEntry& entry : kCodes) {
        if (entry.code[0] == '*') {
            catalogue.header.setU32(nh::kCodeTotals + 4 * size_t(list++), number);
            continue;
        }
        numbers_.emplace(dictionary.add(entry.code, 0), number++);
    }
    catalogue.header.setU32(nh::kCodesBuilt, 1);
}

uint32_t NewsCodeTable::number(uint32_t id) const
{
    auto it = numbers_.find(id);
    return it == numbers_.end() || it->second >= kLimit ? 0 : it->second;
}

namespace {

const std::vector<const CodeEntry*>& NumberedCodes()
{
    static const std::vector<const CodeEntry*> codes = [] {
        std::vector<const CodeEntry*> all;
        for (const CodeEntry& entry : kCodes)
            if (entry.code[0] != '*')
                all.push_back(&entry);
        return all;
    }();
    return codes;
}

} // namespace

uint32_t NewsCodeTable::Count() { return uint32_t(NumberedCodes().size()); }
std::string_view NewsCodeTable::Code(uint32_t number)
{
    return number < Count() ? NumberedCodes()[number]->code : "";
}
std::string_view NewsCodeTable::Name(uint32_t number)
{
    return number < Count() ? NumberedCodes()[number]->name : "";
}

uint32_t NewsCodeTable::ListEnd(int list)
{
    uint32_t number = 0;
    int ended = 0;
    for (const CodeEntry& entry : kCodes) {
        if (entry.code[0] != '*')
            ++number;
        else if (ended++ == list)
            return number;
    }
    return number;
}

} // namespace qv
