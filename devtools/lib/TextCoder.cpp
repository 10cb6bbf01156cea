// Huffman coding tree, word list and phrase leaves laid out in the stored 16-bit node form.
#include "devtools/lib/TextCoder.h"

#include "platform/ByteOrder.h"

#include <algorithm>
#include <functional>
#include <queue>

namespace qv::dev {
namespace {

constexpr int kEnd = 0;
constexpr int kPhraseBase = 256;
constexpr size_t kMaxOffset = 0xFFF;
constexpr size_t kMaxWords = 127;

bool IsLower(uint8_t c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(uint8_t c) { return c >= 'A' && c <= 'Z'; }

bool HasTidyPattern(std::string_view text)
{
    if (!text.empty() && text.front() == ' ')
        return true;
    for (std::string_view p : {"  ", "( ", " )", "~ ", " ,"})
        if (text.find(p) != std::string_view::npos)
            return true;
    return false;
}

} // namespace

void BitWriter::put(bool bit)
{
    if (bits_ % 8 == 0)
        bytes_.push_back(0);
    if (bit)
        bytes_.back() |= uint8_t(0x80 >> (bits_ % 8));
    ++bits_;
}

void BitWriter::put(const std::vector<bool>& bits)
{
    for (bool b : bits)
        put(b);
}

std::optional<TextCoder> TextCoder::Build(const TextCoderInput& input)
{
    TextCoder coder;
    coder.phrases_ = input.phrases;
    coder.words_ = input.words;
    // Characters above 0x7F are word codes to the decoder, so each one the texts use (other than the
    // pound sign, which has a code of its own) travels as a one-character word.
    for (const auto& text : input.texts)
        for (char c : text) {
            std::string one(1, c);
            if (uint8_t(c) >= 0x80 && uint8_t(c) != 0xA3 &&
                std::find(coder.words_.begin(), coder.words_.end(), one) == coder.words_.end())
                coder.words_.push_back(one);
        }
    if (coder.words_.size() > kMaxWords)
        return std::nullopt;
    for (const auto& w : coder.words_) {
        if (w.empty() || w.size() > 255)
            return std::nullopt;
        coder.wordList_.push_back(uint8_t(w.size()));
        coder.wordList_.insert(coder.wordList_.end(), w.begin(), w.end());
    }
    coder.wordList_.push_back(0);

    size_t symbolCount = kPhraseBase + coder.phrases_.size();
    std::vector<uint64_t> weight(symbolCount, 0);
    auto count = [&](std::string_view raw) {
        for (int t : coder.tokens(raw))
            ++weight[size_t(t)];
        ++weight[kEnd];
    };
    for (const auto& text : input.texts)
        if (auto raw = coder.rawSymbols(text))
            count(*raw);
    for (const auto& phrase : coder.phrases_)
        for (char c : phrase)
            ++weight[uint8_t(c)];
    auto ensure = [&](int symbol) { weight[size_t(symbol)] = std::max<uint64_t>(weight[size_t(symbol)], 1); };
    ensure(kEnd);
    ensure(' ');
    if (input.everyPrintable) {
        for (int c = 0x20; c < 0x7F; ++c)
            ensure(c);
        ensure(0x80);
        ensure(127);
        for (size_t i = 1; i <= coder.words_.size(); ++i)
            ensure(int(0x80 | i));
    }
    for (size_t i = 0; i < coder.phrases_.size(); ++i)
        ensure(int(kPhraseBase + i));

    using Entry = std::pair<uint64_t, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    for (size_t s = 0; s < symbolCount; ++s)
        if (weight[s]) {
            coder.nodes_.push_back(Node{-1, -1, int(s), weight[s]});
            queue.push({weight[s], int(coder.nodes_.size() - 1)});
        }
    while (queue.size() > 1) {
        auto [wa, a] = queue.top();
        queue.pop();
        auto [wb, b] = queue.top();
        queue.pop();
        coder.nodes_.push_back(Node{a, b, -1, wa + wb});
        queue.push({wa + wb, int(coder.nodes_.size() - 1)});
    }
    coder.root_ = queue.top().second;
    if (!coder.layOut())
        return std::nullopt;
    return coder;
}

std::optional<std::string> TextCoder::rawSymbols(std::string_view text) const
{
    if (HasTidyPattern(text))
        return std::nullopt;
    std::string raw;
    bool capital = true;
    size_t i = 0;
    while (i < text.size()) {
        size_t best = 0, bestLength = 0;
        for (size_t w = 0; w < words_.size(); ++w)
            if (words_[w].size() > bestLength && text.substr(i, words_[w].size()) == words_[w]) {
                best = w + 1;
                bestLength = words_[w].size();
            }
        if (best) {
            raw += char(0x80 | best);
            capital = true;
            i += bestLength;
            continue;
        }
        auto c = uint8_t(text[i++]);
        if (c == 0 || c == 127 || (c >= 0x80 && c != 0xA3))
            return std::nullopt;
        if (c == ' ') {
            raw += ' ';
            capital = true;
            continue;
        }
        if (IsLower(c) && capital)
            raw += char(0x80);
        if (c == 0xA3)
            raw += char(127);
        else
            raw += char(IsUpper(c) && capital ? c + 32 : c);
        capital = false;
    }
    return raw;
}

std::vector<int> TextCoder::tokens(std::string_view raw) const
{
    std::vector<int> out;
    size_t i = 0;
    while (i < raw.size()) {
        int best = -1;
        size_t bestLength = 0;
        for (size_t p = 0; p < phrases_.size(); ++p)
            if (phrases_[p].size() > bestLength && raw.substr(i, phrases_[p].size()) == phrases_[p]) {
                best = int(kPhraseBase + p);
                bestLength = phrases_[p].size();
            }
        if (best >= 0) {
            out.push_back(best);
            i += bestLength;
        } else {
            out.push_back(uint8_t(raw[i++]));
        }
    }
    return out;
}

size_t TextCoder::slotSize(int node) const
{
    const Node& n = nodes_[size_t(node)];
    if (n.zero < 0 && n.symbol >= kPhraseBase)
        return 2 + phraseBits_[size_t(n.symbol - kPhraseBase)].size();
    return 2;
}

size_t TextCoder::bodySize(int node) const
{
    const Node& n = nodes_[size_t(node)];
    if (n.zero < 0)
        return 0;
    return slotSize(n.zero) + slotSize(n.one) + bodySize(n.zero) + bodySize(n.one);
}

void TextCoder::assignCodes(int node, std::vector<bool>& path)
{
    const Node& n = nodes_[size_t(node)];
    if (n.zero < 0) {
        codes_[size_t(n.symbol)] = path;
        return;
    }
    path.push_back(false);
    assignCodes(n.zero, path);
    path.back() = true;
    assignCodes(n.one, path);
    path.pop_back();
}

bool TextCoder::layOut()
{
    codes_.assign(kPhraseBase + phrases_.size(), {});
    std::vector<bool> path;
    assignCodes(root_, path);
    // Phrase sizes depend only on code lengths, which the ordering of children below keeps.
    phraseBits_.assign(phrases_.size(), {});
    auto codePhrases = [&] {
        for (size_t p = 0; p < phrases_.size(); ++p) {
            BitWriter bits;
            for (char c : phrases_[p])
                bits.put(codes_[uint8_t(c)]);
            bits.put(codes_[kEnd]);
            phraseBits_[p] = bits.bytes();
        }
    };
    codePhrases();
    // Putting the smaller subtree on the 0 side keeps the offset to the 1 side's subtree short.
    for (auto& n : nodes_)
        if (n.zero >= 0 && bodySize(n.one) < bodySize(n.zero))
            std::swap(n.zero, n.one);
    assignCodes(root_, path);
    codePhrases();
    tree_.clear();
    return writeRegion(root_);
}

bool TextCoder::writeRegion(int node)
{
    const Node& n = nodes_[size_t(node)];
    size_t slot[2] = {0, 0};
    int child[2] = {n.zero, n.one};
    for (int side = 0; side < 2; ++side) {
        const Node& c = nodes_[size_t(child[side])];
        slot[side] = tree_.size();
        tree_.resize(tree_.size() + 2);
        if (c.zero >= 0)
            continue;
        if (c.symbol < kPhraseBase) {
            StoreU16(&tree_[slot[side]], uint16_t(0x8000 | c.symbol));
            continue;
        }
        const auto& bits = phraseBits_[size_t(c.symbol - kPhraseBase)];
        if (2 + bits.size() > kMaxOffset)
            return false;
        StoreU16(&tree_[slot[side]], uint16_t(0xC000 | (2 + bits.size())));
        tree_.insert(tree_.end(), bits.begin(), bits.end());
    }
    for (int side = 0; side < 2; ++side) {
        if (nodes_[size_t(child[side])].zero < 0)
            continue;
        size_t offset = tree_.size() - slot[side];
        if (offset > kMaxOffset)
            return false;
        StoreU16(&tree_[slot[side]], uint16_t(offset));
        if (!writeRegion(child[side]))
            return false;
    }
    return true;
}

bool TextCoder::canEncode(std::string_view text) const
{
    auto raw = rawSymbols(text);
    if (!raw)
        return false;
    for (char c : *raw)
        if (codes_[uint8_t(c)].empty())
            return false;
    return true;
}

bool TextCoder::encode(std::string_view text, BitWriter& out) const
{
    if (!canEncode(text))
        return false;
    for (int t : tokens(*rawSymbols(text)))
        out.put(codes_[size_t(t)]);
    out.put(codes_[kEnd]);
    return true;
}

std::vector<uint8_t> TextCoder::encode(std::string_view text) const
{
    BitWriter bits;
    encode(text, bits);
    return bits.bytes();
}

void TextCoder::install(CodingTables& tables, int kind) const
{
    tables.setBlock(kind, tree_, kind);
    tables.setBlock(kind + 1, wordList_, kind);
    tables.setBlock(kind + 2, {}, kind);
}

std::vector<uint8_t> StoreCodingTables(const CodingTables& tables, int groupCount)
{
    ByteWriter out;
    for (int i = 0; i < groupCount * 3 && i < CodingTables::kMaxBlocks; ++i) {
        if (i % 3 == 0)
            out.u16(uint16_t(tables.subKind(i)));
        auto block = tables.block(i);
        out.u16(uint16_t(block.size()));
        out.bytes(block.data(), block.size());
    }
    return out.take();
}

} // namespace qv::dev

namespace qv::dev {

std::vector<uint8_t> CodingTablesDatabaseBlock(const CodingTables& tables, int groupCount)
{
    std::vector<uint8_t> block(CodingTables::kDatabaseTag, CodingTables::kDatabaseTag + 4);
    block.push_back(uint8_t(groupCount));
    block.push_back(0);
    auto stored = StoreCodingTables(tables, groupCount);
    block.insert(block.end(), stored.begin(), stored.end());
    return block;
}

} // namespace qv::dev
