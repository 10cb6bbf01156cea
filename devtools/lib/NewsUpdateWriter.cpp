// Writes news update files that the news database's update reader decodes exactly.
#include "devtools/lib/NewsUpdateWriter.h"

#include "devtools/lib/TextCoder.h"
#include "news/NewsDictionary.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <queue>

namespace qv::dev {

namespace {

bool IsWordChar(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// A word's class is that of its first character.
int WordClassOf(const std::string& word) { return NewsCharacterClass(uint8_t(word[0])); }

class Huffman {
public:
    // Codes for the symbols of the weights (symbol -> weight); a lone symbol gets an empty code.
    explicit Huffman(const std::map<uint16_t, uint64_t>& weights)
    {
        using Item = std::pair<uint64_t, int>;
        std::priority_queue<Item, std::vector<Item>, std::greater<>> queue;
        for (auto [symbol, weight] : weights) {
            nodes_.push_back({-1, -1, symbol});
            queue.push({weight, int(nodes_.size()) - 1});
        }
        if (nodes_.empty()) {
            nodes_.push_back({-1, -1, 0});
            queue.push({0, 0});
        }
        while (queue.size() > 1) {
            auto [wa, a] = queue.top();
            queue.pop();
            auto [wb, b] = queue.top();
            queue.pop();
            nodes_.push_back({a, b, 0});
            queue.push({wa + wb, int(nodes_.size()) - 1});
        }
        root_ = queue.top().second;
        assign(root_, {});
    }

    const std::vector<bool>& code(uint16_t symbol) const { return codes_.at(symbol); }

    // The bit-packed tree: run-count width, symbol width, allotment, then the runs in preorder.
    void writeTree(BitWriter& out) const
    {
        std::vector<std::pair<int, int>> runs; // (run count, leaf symbol) in the reader's order
        std::vector<int> stack;
        int node = root_;
        for (;;) {
            int k = 0;
            while (nodes_[node].first >= 0) {
                stack.push_back(node);
                node = nodes_[node].first;
                ++k;
            }
            runs.push_back({k, nodes_[node].symbol});
            if (stack.empty())
                break;
            node = nodes_[stack.back()].second;
            stack.pop_back();
        }
        int countBits = 0, symbolBits = 0;
        for (auto [k, symbol] : runs) {
            countBits = std::max(countBits, BitLength(k));
            symbolBits = std::max(symbolBits, BitLength(symbol));
        }
        put(out, countBits, 4);
        put(out, symbolBits, 4);
        put(out, int(nodes_.size()) & 0xFF, 8);
        put(out, int(nodes_.size()) >> 8, 8);
        for (auto [k, symbol] : runs) {
            put(out, k, countBits);
            put(out, symbol, symbolBits);
        }
        Align(out);
    }

    static int BitLength(int v)
    {
        int n = 0;
        for (; v > 0; v >>= 1)
            ++n;
        return n;
    }
    static void put(BitWriter& out, int value, int bits)
    {
        for (int i = bits - 1; i >= 0; --i)
            out.put(((value >> i) & 1) != 0);
    }
    static void Align(BitWriter& out)
    {
        while (out.bitCount() % 8)
            out.put(false);
    }

private:
    struct Node {
        int first = -1, second = -1;
        int symbol = 0;
    };

    void assign(int node, std::vector<bool> prefix)
    {
        if (nodes_[node].first < 0) {
            codes_[uint16_t(nodes_[node].symbol)] = prefix;
            return;
        }
        std::vector<bool> one = prefix, zero = prefix;
        one.push_back(true); // a 1 bit leads to the first child
        zero.push_back(false);
        assign(nodes_[node].first, one);
        assign(nodes_[node].second, zero);
    }

    std::vector<Node> nodes_;
    std::map<uint16_t, std::vector<bool>> codes_;
    int root_ = 0;
};

std::vector<uint8_t> CompressedBlock(const std::vector<uint16_t>& symbols)
{
    std::map<uint16_t, uint64_t> weights;
    for (uint16_t s : symbols)
        ++weights[s];
    Huffman coder(weights);
    BitWriter bits;
    for (int shift = 0; shift < 32; shift += 8)
        Huffman::put(bits, int((symbols.size() >> shift) & 0xFF), 8);
    coder.writeTree(bits);
    for (uint16_t s : symbols)
        bits.put(coder.code(s));
    Huffman::Align(bits);
    return bits.bytes();
}

std::vector<uint16_t> WordBytes(const std::vector<std::string>& words, size_t from, size_t to)
{
    std::vector<uint16_t> bytes;
    for (size_t i = from; i < to; ++i) {
        const std::string& w = words[i];
        for (size_t c = 0; c + 1 < w.size(); ++c)
            bytes.push_back(uint8_t(w[c]));
        bytes.push_back(uint16_t(uint8_t(w.back()) + 128));
    }
    return bytes;
}

} // namespace

std::vector<std::string> NewsTextWords(const std::string& text)
{
    std::vector<std::string> words;
    for (size_t i = 0; i < text.size();) {
        size_t j = i + 1;
        if (IsWordChar(text[i]))
            while (j < text.size() && IsWordChar(text[j]))
                ++j;
        words.push_back(text.substr(i, j - i));
        i = j;
    }
    return words;
}

std::vector<uint8_t> WriteNewsUpdate(const NewsUpdateInput& input)
{
    int tables = std::clamp(input.codeTables, 1, 8);
    // The day's words: those of letters first, then the rest by class.
    std::vector<std::vector<std::string>> storyWords;
    std::map<std::string, int> seen;
    std::vector<std::string> words;
    for (const NewsUpdateStoryInput& story : input.stories) {
        storyWords.push_back(NewsTextWords(story.text));
        for (const std::string& w : storyWords.back())
            if (seen.emplace(w, 0).second)
                words.push_back(w);
    }
    std::stable_sort(words.begin(), words.end(),
                     [](const std::string& a, const std::string& b) { return WordClassOf(a) < WordClassOf(b); });
    size_t firstList = 0;
    while (firstList < words.size() && WordClassOf(words[firstList]) == 0)
        ++firstList;
    std::vector<uint16_t> boundaries;
    for (int wordClass = 1; wordClass < tables && wordClass <= 4; ++wordClass) {
        size_t at = firstList;
        while (at < words.size() && WordClassOf(words[at]) < wordClass)
            ++at;
        boundaries.push_back(uint16_t(at));
    }
    while (int(boundaries.size()) < tables - 1)
        boundaries.push_back(uint16_t(words.size()));
    for (size_t i = 0; i < words.size(); ++i)
        seen[words[i]] = int(i);

    // Per table, the weights of the symbols of its stories; a second symbol keeps every code at
    // least one bit long, so that a story's length can be read from the stream.
    std::vector<std::map<uint16_t, uint64_t>> weights(tables);
    std::vector<std::vector<uint16_t>> storySymbols;
    for (size_t i = 0; i < storyWords.size(); ++i) {
        std::vector<uint16_t> symbols;
        for (const std::string& w : storyWords[i])
            symbols.push_back(uint16_t(seen[w]));
        for (uint16_t s : symbols)
            ++weights[i % tables][s];
        storySymbols.push_back(std::move(symbols));
    }
    std::vector<Huffman> coders;
    BitWriter treeBits;
    for (auto& w : weights) {
        for (uint16_t filler = 0; w.size() < 2; ++filler)
            w.emplace(filler, 0);
        coders.emplace_back(w);
        coders.back().writeTree(treeBits);
    }

    BitWriter text;
    ByteWriter directory;
    for (size_t i = 0; i < storySymbols.size(); ++i) {
        const NewsUpdateStoryInput& story = input.stories[i];
        size_t at = text.bitCount();
        uint16_t titleSymbols = 0;
        for (const std::string& w : storyWords[i]) {
            if (w == "\n")
                break;
            ++titleSymbols;
        }
        directory.u16(story.date);
        directory.u16(story.time);
        directory.u32(uint32_t(at / 8) | (uint32_t(at % 8) << 24));
        directory.u16(titleSymbols);
        directory.u8(uint8_t(i % tables));
        directory.zeros(5);
        for (uint16_t s : storySymbols[i])
            text.put(coders[i % tables].code(s));
    }
    size_t textBits = text.bitCount();
    Huffman::Align(text);

    ByteWriter out;
    out.zeros(4);
    out.u16(1);
    out.zeros(10);
    out.u16(uint16_t(tables));
    out.zeros(2);
    for (uint16_t b : boundaries)
        out.u16(b);
    out.zeros(36 - out.size());
    out.u32(uint32_t(words.size()));
    out.u32(uint32_t(text.bytes().size()));
    out.u32(uint32_t(input.stories.size()));
    out.u32(uint32_t(textBits));
    auto append = [&out](const std::vector<uint8_t>& bytes) { out.bytes(bytes.data(), bytes.size()); };
    append(CompressedBlock(WordBytes(words, 0, firstList)));
    append(CompressedBlock(WordBytes(words, firstList, words.size())));
    const std::vector<uint8_t>& trees = treeBits.bytes();
    append(CompressedBlock(std::vector<uint16_t>(trees.begin(), trees.end())));
    append(text.bytes());
    const std::vector<uint8_t>& dir = directory.data();
    append(CompressedBlock(std::vector<uint16_t>(dir.begin(), dir.end())));
    return out.take();
}

std::string NewsUpdateFileName(PackedDate date)
{
    char name[16];
    std::snprintf(name, sizeof name, "N%02d%02d%02d.UPD", FullYear(date) % 100, MonthOfYear(date), DayOfMonth(date));
    return name;
}

} // namespace qv::dev
