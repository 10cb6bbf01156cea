// A news update file, read and checked whole.
#include "news/NewsUpdateFile.h"

#include "platform/ByteOrder.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace qv {

namespace {

constexpr size_t kMaxBlockSymbols = size_t(1) << 26;
constexpr size_t kDirectoryEntry = 16;
constexpr uint8_t kWordEnd = 129;
constexpr int kMaxWordClass = 4;
constexpr size_t kMaxStories = 0xFFFF;

NewsUpdateRead Fail(std::string fault)
{
    NewsUpdateRead result;
    result.fault = std::move(fault);
    return result;
}

// Splits a word block: each word ends with a byte of 129 or more, its last character + 128.
bool SplitWords(const std::vector<uint16_t>& symbols, std::vector<std::string>& words)
{
    std::string word;
    for (uint16_t s : symbols) {
        if (s > 0xFF)
            return false;
        if (s >= kWordEnd) {
            word.push_back(char(s - 128));
            words.push_back(std::move(word));
            word.clear();
        } else {
            word.push_back(char(s));
        }
    }
    return word.empty();
}

bool ReadTrees(const std::vector<uint16_t>& bytes, size_t count, std::vector<NewsDecodeTree>& trees)
{
    std::vector<uint8_t> packed(bytes.begin(), bytes.end());
    NewsBitReader in(packed);
    for (size_t i = 0; i < count; ++i) {
        std::optional<NewsDecodeTree> tree = ReadNewsDecodeTree(in);
        if (!tree)
            return false;
        trees.push_back(std::move(*tree));
    }
    return true;
}

void ReadDirectory(const std::vector<uint16_t>& bytes, std::vector<NewsUpdateStory>& stories)
{
    std::vector<uint8_t> raw(bytes.begin(), bytes.end());
    for (size_t i = 0; i < stories.size(); ++i) {
        const uint8_t* p = &raw[i * kDirectoryEntry];
        NewsUpdateStory& s = stories[i];
        s.date = LoadU16(p);
        s.time = LoadU16(p + 2);
        s.start = LoadU32(p + 4);
        s.titleSymbols = LoadU16(p + 8);
        s.codeTable = p[10];
    }
}

std::string CheckStories(const NewsUpdate& u)
{
    size_t previous = 0;
    std::vector<NewsDecodeTable> tables;
    for (const NewsDecodeTree& tree : u.trees)
        tables.push_back(MakeNewsDecodeTable(tree.entries));
    for (size_t i = 0; i < u.stories.size(); ++i) {
        const NewsUpdateStory& s = u.stories[i];
        size_t startBit = NewsStartBit(s.start);
        if (s.codeTable >= u.trees.size() || (s.start >> 24) > 7 || startBit > u.textBits || startBit < previous)
            return "story " + std::to_string(i) + " starts outside the text";
        previous = startBit;
        size_t end = i + 1 < u.stories.size() ? NewsStartBit(u.stories[i + 1].start) : u.textBits;
        if (end < startBit || end > u.textBits)
            return "story " + std::to_string(i + 1) + " starts outside the text";
        NewsStorySymbols text =
            DecodeNewsStory(u.trees[s.codeTable].entries, u.text, s.start, end, end - startBit, &tables[s.codeTable]);
        if (!text.ok)
            return "story " + std::to_string(i) + " does not decode";
        for (uint16_t symbol : text.symbols)
            if (symbol >= u.words.size())
                return "story " + std::to_string(i) + " names a word the update does not bring";
    }
    return {};
}

} // namespace

int NewsUpdate::wordClass(size_t i) const
{
    if (i < firstListWords)
        return 0;
    int wordClass = 0;
    for (uint16_t boundary : classBoundaries)
        if (i >= boundary && wordClass < kMaxWordClass)
            ++wordClass;
    return wordClass;
}

namespace {

// The 64 bits of the stream from byte `at`, the first bit the most significant.
uint64_t StreamWindow(const uint8_t* at)
{
    uint64_t window = 0;
    std::memcpy(&window, at, sizeof window);
    if constexpr (std::endian::native == std::endian::little)
        window = __builtin_bswap64(window);
    return window;
}

// One symbol from the eight bytes at `bytes` (skipping `skip` bits): the table gives the first
// twelve bits' worth, and a longer code walks on through the tree in the same 64-bit window. The
// bits used (the symbol in `symbol`), or 0 when the code leaves the tree or outruns the window.
int FastNewsSymbol(std::span<const uint16_t> tree, const NewsDecodeTable& table, const uint8_t* bytes, int skip,
                   size_t& symbol)
{
    constexpr int k = NewsDecodeTable::kBits;
    const uint64_t window = StreamWindow(bytes) << skip;
    const NewsDecodeTable::Step step = table.steps[size_t(window >> (64 - k))];
    if (!step.bits)
        return 0;
    if (step.leaf) {
        symbol = step.at;
        return step.bits;
    }
    size_t at = step.at;
    for (int used = step.bits; used < 64 - skip; ++used) {
        if (at >= tree.size())
            return 0;
        const uint16_t entry = tree[at];
        if (!(entry & 0x8000)) {
            symbol = entry;
            return used;
        }
        at += (window >> (63 - used)) & 1 ? 1 : (entry & 0x7FFF);
    }
    return 0;
}

// The symbols whose codes end within the table's twelve bits, decoded one after another from one
// 64-bit window of the stream at `pos` for as long as their codes lie whole in it and before
// `endBit`. Stops at a longer code, at the window's end or at endBit; false when a code crosses
// endBit or there would be more than maxSymbols.
bool ShortNewsSymbols(const NewsDecodeTable& table, std::span<const uint8_t> text, size_t& pos, size_t endBit,
                      size_t maxSymbols, std::vector<uint16_t>& symbols)
{
    constexpr int k = NewsDecodeTable::kBits;
    uint64_t window = StreamWindow(text.data() + pos / 8) << (pos % 8);
    int left = 64 - int(pos % 8);
    while (pos < endBit) {
        const NewsDecodeTable::Step step = table.steps[size_t(window >> (64 - k))];
        // Bits beyond the window read as zeros, which a code no longer than what is left ignores.
        if (!step.leaf || step.bits > left)
            return true;
        if (symbols.size() >= maxSymbols || pos + step.bits > endBit)
            return false;
        symbols.push_back(step.at);
        pos += step.bits;
        window <<= step.bits;
        left -= step.bits;
    }
    return true;
}

} // namespace

bool DecodeNewsStoryInto(std::span<const uint16_t> tree, std::span<const uint8_t> text, uint32_t start, size_t endBit,
                         size_t maxSymbols, const NewsDecodeTable* table, std::vector<uint16_t>& symbols)
{
    symbols.clear();
    size_t pos = NewsStartBit(start);
    if (pos > endBit || endBit > text.size() * 8 || tree.empty())
        return false;
    // A tree of one leaf codes in no bits: such a story has no length to read.
    if (!(tree[0] & 0x8000))
        return pos == endBit;
    // Every code takes at least a bit.
    symbols.reserve(std::min(endBit - pos, maxSymbols));
    while (pos < endBit) {
        if (table && pos / 8 + 8 <= text.size()) {
            if (!ShortNewsSymbols(*table, text, pos, endBit, maxSymbols, symbols)) {
                symbols.clear();
                return false;
            }
            if (pos >= endBit)
                break;
        }
        if (symbols.size() >= maxSymbols) {
            symbols.clear();
            return false;
        }
        size_t at = 0;
        if (table && pos / 8 + 8 <= text.size()) {
            const int used = FastNewsSymbol(tree, *table, text.data() + pos / 8, int(pos % 8), at);
            if (used > 0) {
                pos += size_t(used);
                if (pos > endBit) {
                    symbols.clear();
                    return false;
                }
                symbols.push_back(uint16_t(at));
                continue;
            }
            at = 0;
        }
        NewsBitReader in(text.first((endBit + 7) / 8), pos);
        std::optional<uint16_t> symbol = DecodeNewsSymbol(tree.subspan(at), in);
        pos = in.bitPosition();
        if (!symbol || pos > endBit) {
            symbols.clear();
            return false;
        }
        symbols.push_back(*symbol);
    }
    return true;
}

NewsStorySymbols DecodeNewsStory(std::span<const uint16_t> tree, std::span<const uint8_t> text, uint32_t start,
                                 size_t endBit, size_t maxSymbols, const NewsDecodeTable* table)
{
    NewsStorySymbols result;
    result.ok = DecodeNewsStoryInto(tree, text, start, endBit, maxSymbols, table, result.symbols);
    return result;
}

NewsUpdateRead ReadNewsUpdate(std::span<const uint8_t> bytes, PackedDate date)
{
    ByteReader header(bytes);
    uint16_t version = 0, tables = 0;
    uint32_t wordCount = 0, textBytes = 0, storyCount = 0, textBits = 0;
    header.seek(4);
    header.u16(version);
    header.seek(16);
    header.u16(tables);
    header.seek(36);
    header.u32(wordCount);
    header.u32(textBytes);
    header.u32(storyCount);
    header.u32(textBits);
    if (!header.ok() || bytes.size() < NewsUpdate::kDataStart)
        return Fail("shorter than its header");
    if (version != NewsUpdate::kVersion) {
        NewsUpdateRead result = Fail("version " + std::to_string(version));
        result.status = NewsUpdateStatus::WrongVersion;
        return result;
    }
    if (tables == 0 || tables > NewsUpdate::kMaxTables || storyCount > kMaxStories)
        return Fail("bad table or story count");
    NewsUpdate u;
    u.date = date;
    header.seek(20);
    u.classBoundaries.resize(tables - 1);
    for (uint16_t& boundary : u.classBoundaries)
        header.u16(boundary);

    NewsBitReader in(bytes, NewsUpdate::kDataStart * 8);
    auto first = ReadNewsCompressedBlock(in, kMaxBlockSymbols);
    auto later = first ? ReadNewsCompressedBlock(in, kMaxBlockSymbols) : std::nullopt;
    if (!later || !SplitWords(*first, u.words))
        return Fail("first word list damaged");
    u.firstListWords = u.words.size();
    if (!SplitWords(*later, u.words) || u.words.size() != wordCount || wordCount > 0x8000)
        return Fail("word lists damaged or not of the stated count");
    auto treeBytes = ReadNewsCompressedBlock(in, kMaxBlockSymbols);
    if (!treeBytes || !ReadTrees(*treeBytes, tables, u.trees))
        return Fail("decode trees damaged");
    size_t textStart = in.bytePosition();
    if (bytes.size() - textStart < textBytes)
        return Fail("text stream beyond the file");
    u.text.assign(bytes.begin() + textStart, bytes.begin() + textStart + textBytes);
    u.textBits = textBits == 0 ? textBytes * 8 : textBits;
    if (u.textBits > uint64_t(textBytes) * 8)
        return Fail("text length beyond the stream");
    NewsBitReader rest(bytes, (textStart + textBytes) * 8);
    auto directory = ReadNewsCompressedBlock(rest, kMaxBlockSymbols);
    if (!directory || directory->size() < size_t(storyCount) * kDirectoryEntry)
        return Fail("story directory damaged");
    u.stories.resize(storyCount);
    ReadDirectory(*directory, u.stories);
    if (std::string fault = CheckStories(u); !fault.empty())
        return Fail(fault);
    NewsUpdateRead result;
    result.status = NewsUpdateStatus::Read;
    result.update = std::move(u);
    return result;
}

} // namespace qv
