// A day block of DNews.dat, built from an update, written and read field by field.
#include "news/NewsDayBlock.h"

#include "news/NewsUpdateFile.h"
#include "platform/ByteOrder.h"

#include <algorithm>

namespace qv {

std::vector<uint8_t> NewsDayBlock::bytes() const
{
    ByteWriter out;
    out.zeros(kFixedSize);
    for (uint32_t start : starts)
        out.u32(start);
    std::vector<uint32_t> tableOffsets;
    for (const std::vector<uint16_t>& table : tables) {
        tableOffsets.push_back(uint32_t(out.size()));
        for (uint16_t entry : table)
            out.u16(entry);
    }
    if (out.size() % 4)
        out.zeros(4 - out.size() % 4);
    uint32_t wordsAt = uint32_t(out.size());
    for (uint32_t id : wordIds)
        out.u32(id);
    uint32_t textAt = uint32_t(out.size());
    out.bytes(text.data(), text.size());
    out.patchU32(8, uint32_t(out.size()));
    out.patchU16(12, date);
    out.patchU16(14, uint16_t(starts.size()));
    out.patchU32(16, textBits);
    for (size_t i = 0; i < tableOffsets.size(); ++i)
        out.patchU32(20 + 4 * i, tableOffsets[i]);
    out.patchU32(52, textAt);
    out.patchU32(56, wordsAt);
    return out.take();
}

std::optional<NewsDayBlock> NewsDayBlock::Parse(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kFixedSize)
        return std::nullopt;
    const uint8_t* p = bytes.data();
    uint32_t length = LoadU32(p + 8);
    uint16_t stories = LoadU16(p + 14);
    uint32_t textAt = LoadU32(p + 52), wordsAt = LoadU32(p + 56);
    if (length != bytes.size() || kFixedSize + 4ull * stories > bytes.size() || wordsAt > textAt ||
        textAt > bytes.size() || (textAt - wordsAt) % 4)
        return std::nullopt;
    NewsDayBlock block;
    block.date = LoadU16(p + 12);
    block.starts.reserve(stories);
    for (size_t i = 0; i < stories; ++i)
        block.starts.push_back(LoadU32(p + kFixedSize + 4 * i));
    std::vector<uint32_t> offsets;
    for (size_t i = 0; i < kMaxTables && LoadU32(p + 20 + 4 * i) != 0; ++i)
        offsets.push_back(LoadU32(p + 20 + 4 * i));
    for (size_t i = 0; i < offsets.size(); ++i) {
        uint32_t end = i + 1 < offsets.size() ? offsets[i + 1] : wordsAt;
        if (offsets[i] < kFixedSize || offsets[i] > end || end > wordsAt)
            return std::nullopt;
        std::vector<uint16_t> table;
        table.reserve((end - offsets[i]) / 2);
        for (uint32_t at = offsets[i]; at + 2 <= end; at += 2)
            table.push_back(LoadU16(p + at));
        block.tables.push_back(std::move(table));
    }
    block.wordIds.reserve((textAt - wordsAt) / 4);
    for (uint32_t at = wordsAt; at < textAt; at += 4)
        block.wordIds.push_back(LoadU32(p + at));
    block.text.assign(bytes.begin() + textAt, bytes.end());
    block.textBits = LoadU32(p + 16);
    if (block.textBits > block.text.size() * 8)
        return std::nullopt;
    block.makeDecodeTables();
    return block;
}

void NewsDayBlock::makeDecodeTables()
{
    decodeTables.clear();
    for (const std::vector<uint16_t>& table : tables)
        decodeTables.push_back(MakeNewsDecodeTable(table));
}

NewsDayBlock NewsDayBlock::FromUpdate(const NewsUpdate& update, std::vector<uint32_t> wordIds)
{
    NewsDayBlock block;
    block.date = update.date;
    for (const NewsDecodeTree& tree : update.trees)
        block.tables.push_back(tree.entries);
    block.wordIds = std::move(wordIds);
    for (const NewsUpdateStory& story : update.stories)
        block.starts.push_back(story.start);
    block.text = update.text;
    block.textBits = update.textBits;
    block.makeDecodeTables();
    return block;
}

bool NewsDayBlock::storySymbols(size_t story, uint8_t table, std::vector<uint16_t>& symbols, size_t maxSymbols) const
{
    symbols.clear();
    if (story >= starts.size() || table >= tables.size())
        return false;
    size_t end = story + 1 < starts.size() ? NewsStartBit(starts[story + 1]) : textBits;
    const NewsDecodeTable* fast = table < decodeTables.size() ? &decodeTables[table] : nullptr;
    if (!DecodeNewsStoryInto(tables[table], text, starts[story], end, maxSymbols, fast, symbols))
        return false;
    // The largest symbol alone decides, found without a branch per symbol.
    uint16_t largest = 0;
    for (uint16_t s : symbols)
        largest = std::max(largest, s);
    if (!symbols.empty() && largest >= wordIds.size()) {
        symbols.clear();
        return false;
    }
    return true;
}

std::optional<std::vector<uint32_t>> NewsDayBlock::storyWords(size_t story, uint8_t table, size_t maxSymbols) const
{
    std::vector<uint16_t> symbols;
    if (!storySymbols(story, table, symbols, maxSymbols))
        return std::nullopt;
    std::vector<uint32_t> ids;
    ids.reserve(symbols.size());
    for (uint16_t symbol : symbols)
        ids.push_back(wordIds[symbol]);
    return ids;
}

} // namespace qv
