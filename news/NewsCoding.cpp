// The news coding: bit reading, decode trees and compressed blocks.
#include "news/NewsCoding.h"

#include <algorithm>
#include <array>

namespace qv {

namespace {

constexpr uint16_t kInner = 0x8000;
constexpr uint32_t kMaxDistance = 0x7FFF;

} // namespace

bool NewsBitReader::read(int count, uint32_t& out)
{
    out = 0;
    if (count < 0 || count > 32 || size_t(count) > bitsLeft())
        return false;
    for (int i = 0; i < count; ++i, ++pos_)
        out = (out << 1) | ((bytes_[pos_ / 8] >> (7 - pos_ % 8)) & 1);
    return true;
}

std::optional<NewsDecodeTree> ReadNewsDecodeTree(NewsBitReader& in)
{
    uint32_t countBits = 0, symbolBits = 0, low = 0, high = 0;
    if (!in.read(4, countBits) || !in.read(4, symbolBits))
        return std::nullopt;
    in.alignToByte();
    if (!in.read(8, low) || !in.read(8, high))
        return std::nullopt;
    size_t allotment = low | (high << 8);
    if (allotment == 0)
        return std::nullopt;
    NewsDecodeTree tree;
    tree.symbolBits = int(symbolBits);
    tree.entries.assign(allotment, 0);
    std::vector<size_t> stack;
    size_t current = 0, nextFree = 1;
    uint32_t runs = 0;
    if (!in.read(int(countBits), runs))
        return std::nullopt;
    for (;;) {
        for (uint32_t i = 0; i < runs; ++i) {
            if (nextFree >= allotment)
                return std::nullopt;
            stack.push_back(current);
            current = nextFree++;
        }
        uint32_t symbol = 0;
        if (!in.read(int(symbolBits), symbol))
            return std::nullopt;
        tree.entries[current] = uint16_t(symbol);
        if (stack.empty())
            break;
        if (!in.read(int(countBits), runs) || nextFree >= allotment)
            return std::nullopt;
        size_t parent = stack.back();
        stack.pop_back();
        if (nextFree - parent > kMaxDistance)
            return std::nullopt;
        tree.entries[parent] = uint16_t(kInner | (nextFree - parent));
        current = nextFree++;
    }
    tree.entries.resize(nextFree);
    in.alignToByte();
    return tree;
}

std::optional<uint16_t> DecodeNewsSymbol(std::span<const uint16_t> tree, NewsBitReader& in)
{
    size_t at = 0;
    while (at < tree.size()) {
        uint16_t entry = tree[at];
        if (!(entry & kInner))
            return entry;
        uint32_t bit = 0;
        if (!in.bit(bit))
            return std::nullopt;
        at += bit ? 1 : (entry & kMaxDistance);
    }
    return std::nullopt;
}

namespace {

// Fills the steps of every code of the tree's top levels, walking them through a stack of the entries
// still to visit; a distance that leaves the tree leaves its steps at 0 bits.
void FillSteps(std::span<const uint16_t> tree, NewsDecodeTable& table)
{
    constexpr int k = NewsDecodeTable::kBits;
    struct Pending {
        size_t at;
        int depth;
        uint32_t prefix;
    };
    // Each level leaves at most one entry waiting, so the stack never holds more than k + 2.
    std::array<Pending, k + 2> stack;
    size_t size = 0;
    stack[size++] = {0, 0, 0};
    while (size) {
        const Pending p = stack[--size];
        if (p.at >= tree.size())
            continue;
        const uint16_t entry = tree[p.at];
        if (!(entry & kInner) || p.depth == k) {
            const bool leaf = !(entry & kInner);
            const NewsDecodeTable::Step step{leaf ? entry : uint16_t(p.at), uint8_t(p.depth), leaf};
            std::fill_n(table.steps.begin() + (p.prefix << (k - p.depth)), size_t(1) << (k - p.depth), step);
            continue;
        }
        stack[size++] = {p.at + (entry & kMaxDistance), p.depth + 1, p.prefix << 1};
        stack[size++] = {p.at + 1, p.depth + 1, p.prefix << 1 | 1};
    }
}

} // namespace

NewsDecodeTable MakeNewsDecodeTable(std::span<const uint16_t> tree)
{
    NewsDecodeTable table;
    // A tree of one leaf reads no bits; the decoder deals with it before any table.
    if (!tree.empty() && (tree[0] & kInner))
        FillSteps(tree, table);
    return table;
}

std::optional<std::vector<uint16_t>> ReadNewsCompressedBlock(NewsBitReader& in, size_t maxSymbols)
{
    in.alignToByte();
    uint32_t count = 0;
    uint32_t b[4];
    for (uint32_t& v : b)
        if (!in.read(8, v))
            return std::nullopt;
    count = b[0] | (b[1] << 8) | (b[2] << 16) | (b[3] << 24);
    std::optional<NewsDecodeTree> tree = ReadNewsDecodeTree(in);
    if (!tree || count > maxSymbols)
        return std::nullopt;
    // Every symbol of a tree with an inner node costs at least one bit.
    if (tree->entries.size() > 1 && count > in.bitsLeft())
        return std::nullopt;
    std::vector<uint16_t> symbols;
    symbols.reserve(count);
    uint16_t mask = tree->symbolBits < 9 ? 0xFF : 0x7FFF;
    for (uint32_t i = 0; i < count; ++i) {
        std::optional<uint16_t> symbol = DecodeNewsSymbol(tree->entries, in);
        if (!symbol)
            return std::nullopt;
        symbols.push_back(uint16_t(*symbol & mask));
    }
    in.alignToByte();
    return symbols;
}

} // namespace qv
