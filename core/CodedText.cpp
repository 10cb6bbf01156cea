// Bit-tree decoding of coded texts, the tidy pass that restores capitals and words, and bit fields.
#include "core/CodedText.h"

#include "platform/ByteOrder.h"

#include <atomic>
#include <string_view>

namespace qv {
namespace {

// A damaged table can make phrases call each other or make a walk run on without output; these
// limits end such a walk long after any real text has finished.
constexpr int kMaxPhraseDepth = 4;
constexpr size_t kStepBudget = size_t(1) << 20;
constexpr size_t kRawLimit = 65536;

std::atomic<int> g_shortWordSwitch{0};

bool NextBit(BitCursor& c, int& bit)
{
    if (c.bytes.empty())
        return false;
    bit = (c.bytes[0] >> (7 - c.bit)) & 1;
    if (++c.bit == 8) {
        c.bit = 0;
        c.bytes = c.bytes.subspan(1);
    }
    return true;
}

struct Leaf {
    uint16_t node = 0;
    size_t position = 0; // of the leaf's word within the tree
    bool isPhrase() const { return node & 0x4000; }
    uint8_t character() const { return uint8_t(node); }
};

// Follows the stream's bits from the root to a leaf. False when the stream, the tree or the step
// budget runs out first.
bool WalkToLeaf(std::span<const uint8_t> tree, BitCursor& c, Leaf& leaf, size_t& budget)
{
    size_t pos = 0;
    for (;;) {
        if (budget == 0)
            return false;
        --budget;
        int bit = 0;
        if (!NextBit(c, bit) || pos + 2 > tree.size())
            return false;
        uint16_t node = LoadU16(&tree[pos]);
        if (bit) {
            pos += (node & 0x4000) ? (node & 0xFFF) : 2;
            if (pos + 2 > tree.size())
                return false;
            node = LoadU16(&tree[pos]);
        }
        if (node & 0x8000) {
            leaf = Leaf{node, pos};
            return true;
        }
        pos += node & 0xFFF;
    }
}

class Decoder {
public:
    explicit Decoder(const CodingTables& tables) : tables_(tables) {}

    // Appends the raw symbols of one text to raw; true when its end character was reached.
    bool decode(std::string& raw, BitCursor& c, int kind, bool oneSymbol, int depth)
    {
        if (kind < 0 || kind >= tables_.loadedCount())
            return true;
        auto tree = tables_.block(kind);
        for (;;) {
            Leaf leaf;
            if (!WalkToLeaf(tree, c, leaf, budget_))
                return false;
            if (leaf.isPhrase()) {
                if (depth >= kMaxPhraseDepth)
                    return false;
                BitCursor phrase{tree.subspan(leaf.position + 2), 0};
                if (!decode(raw, phrase, tables_.subKind(kind), false, depth + 1))
                    return false;
            } else {
                if (leaf.character() == 0)
                    return true;
                if (raw.size() >= kRawLimit)
                    return false;
                raw.push_back(char(leaf.character()));
            }
            if (oneSymbol)
                return true;
        }
    }

    // The first character a text decodes to (a phrase gives its own first), -1 when none.
    int first(BitCursor& c, int kind, int depth)
    {
        if (kind < 0 || kind >= tables_.loadedCount())
            return 0;
        Leaf leaf;
        if (!WalkToLeaf(tables_.block(kind), c, leaf, budget_))
            return -1;
        if (!leaf.isPhrase())
            return leaf.character();
        if (depth >= kMaxPhraseDepth)
            return -1;
        BitCursor phrase{tables_.block(kind).subspan(leaf.position + 2), 0};
        return first(phrase, tables_.subKind(kind), depth + 1);
    }

private:
    const CodingTables& tables_;
    size_t budget_ = kStepBudget;
};

// Entry n (from 1) of a word list {u8 length, text}... ended by a length of 0.
bool FindWord(std::span<const uint8_t> list, int n, std::string_view& word)
{
    size_t pos = 0;
    for (int entry = 1; pos < list.size() && list[pos] != 0; ++entry) {
        size_t length = list[pos];
        if (pos + 1 + length > list.size())
            return false;
        if (entry == n) {
            word = std::string_view(reinterpret_cast<const char*>(&list[pos + 1]), length);
            return true;
        }
        pos += 1 + length;
    }
    return false;
}

// The entry of a short word list {u8 code, u8 length, text}... (ended by a code of 0) with the code.
bool FindShortWord(std::span<const uint8_t> list, uint8_t code, std::string_view& word)
{
    size_t pos = 0;
    while (pos + 2 <= list.size() && list[pos] != 0) {
        size_t length = list[pos + 1];
        if (pos + 2 + length > list.size())
            return false;
        if (list[pos] == code) {
            word = std::string_view(reinterpret_cast<const char*>(&list[pos + 2]), length);
            return true;
        }
        pos += 2 + length;
    }
    return false;
}

std::span<const uint8_t> ListOfKind(const CodingTables& tables, int index)
{
    return index < tables.loadedCount() ? tables.block(index) : std::span<const uint8_t>{};
}

// Replaces every occurrence, including those that a replacement brings together: a new match can
// only end where the text built so far ends.
void ReplaceAll(std::string& s, std::string_view from, std::string_view to)
{
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        out += c;
        while (out.size() >= from.size() && std::string_view(out).substr(out.size() - from.size()) == from) {
            out.resize(out.size() - from.size());
            out += to;
        }
    }
    s = std::move(out);
}

} // namespace

bool CodingTables::parse(std::span<const uint8_t> bytes, int groupCount)
{
    clear();
    ByteReader in(bytes);
    int total = groupCount * 3 < kMaxBlocks ? groupCount * 3 : kMaxBlocks;
    uint16_t subKind = 0;
    for (int i = 0; i < total; ++i) {
        if (i % 3 == 0 && !in.u16(subKind))
            return false;
        uint16_t length = 0;
        if (!in.u16(length))
            return false;
        auto body = in.take(length);
        if (!in.ok())
            return false;
        setBlock(i, std::vector<uint8_t>(body.begin(), body.end()), subKind);
    }
    return true;
}

bool CodingTables::parseDatabaseBlock(std::span<const uint8_t> block)
{
    if (block.size() < 6 || std::string_view(reinterpret_cast<const char*>(block.data()), 4) != kDatabaseTag)
        return false;
    return parse(block.subspan(6), block[4]);
}

void CodingTables::setBlock(int index, std::vector<uint8_t> bytes, int subKind)
{
    if (index < 0 || index >= kMaxBlocks)
        return;
    blocks_[size_t(index)] = std::move(bytes);
    subKinds_[size_t(index)] = subKind;
    if (index >= loaded_)
        loaded_ = index + 1;
}

void CodingTables::clear()
{
    for (auto& b : blocks_)
        b.clear();
    subKinds_.fill(0);
    loaded_ = 0;
}

std::span<const uint8_t> CodingTables::block(int index) const
{
    if (index < 0 || index >= loaded_)
        return {};
    return blocks_[size_t(index)];
}

int CodingTables::subKind(int index) const
{
    return index < 0 || index >= loaded_ ? 0 : subKinds_[size_t(index)];
}

CodingTables& ActiveCodingTables()
{
    static CodingTables tables;
    return tables;
}

void SetShortWordSwitch(int value) { g_shortWordSwitch = value; }
int ShortWordSwitch() { return g_shortWordSwitch; }

std::string TidyDecodedText(std::string_view raw, int kind, const CodingTables& tables)
{
    auto words = ListOfKind(tables, kind + 1);
    auto shortWords = ListOfKind(tables, kind + 2);
    bool searchShort = ShortWordSwitch() == 0 && !shortWords.empty();
    std::string out;
    out.reserve(raw.size());
    bool capital = true;
    for (char c : raw) {
        auto b = uint8_t(c);
        if (b == 0x80) {
            capital = !capital;
        } else if (b >= 'a' && b <= 'z') {
            out += capital ? char(b - 32) : c;
            capital = false;
        } else if (b == ' ') {
            out += ' ';
            capital = true;
        } else if (b == 127) {
            out += '\xA3';
            capital = false;
        } else if (b > 0x80) {
            int entry = (b & 0x7F) < 2 ? 1 : (b & 0x7F);
            std::string_view word;
            if ((searchShort && FindShortWord(shortWords, b, word)) || FindWord(words, entry, word))
                out += word;
            else
                out += c;
            capital = true;
        } else {
            out += c;
            capital = false;
        }
    }
    if (!out.empty() && out.front() == ' ')
        out.erase(0, 1);
    ReplaceAll(out, "  ", " ");
    ReplaceAll(out, "( ", "(");
    ReplaceAll(out, " )", ")");
    ReplaceAll(out, "~ ", "");
    ReplaceAll(out, " ,", ",");
    return out;
}

int UnpackText(char* out, size_t capacity, BitCursor from, int kind, bool oneSymbol, const CodingTables& tables)
{
    Decoder decoder(tables);
    if (!out) {
        int c = decoder.first(from, kind, 0);
        return c < 0 ? 0 : c;
    }
    if (capacity == 0)
        return 0;
    std::string raw;
    decoder.decode(raw, from, kind, oneSymbol, 0);
    std::string text = TidyDecodedText(raw, kind, tables);
    size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
    text.copy(out, n);
    out[n] = '\0';
    return 0;
}

std::string UnpackText(BitCursor from, int kind, const CodingTables& tables)
{
    Decoder decoder(tables);
    std::string raw;
    decoder.decode(raw, from, kind, false, 0);
    return TidyDecodedText(raw, kind, tables);
}

bool SkipCodedSymbol(BitCursor& cursor, int kind, bool oneSymbol, const CodingTables& tables)
{
    if (kind < 0 || kind >= tables.loadedCount())
        return true;
    auto tree = tables.block(kind);
    size_t budget = kStepBudget;
    for (;;) {
        Leaf leaf;
        if (!WalkToLeaf(tree, cursor, leaf, budget))
            return false;
        if (oneSymbol || (!leaf.isPhrase() && leaf.character() == 0))
            return true;
    }
}

void AdvanceBitCursor(BitCursor& cursor, int n)
{
    if (n <= 0)
        return;
    size_t bits = size_t(cursor.bit) + size_t(n);
    size_t bytes = bits / 8;
    if (bytes >= cursor.bytes.size()) {
        cursor.bytes = cursor.bytes.subspan(cursor.bytes.size());
        cursor.bit = 0;
        return;
    }
    cursor.bytes = cursor.bytes.subspan(bytes);
    cursor.bit = int(bits % 8);
}

uint32_t GetBitField(const uint8_t* p, int bitOffset, int count)
{
    if (bitOffset < 0 || count <= 0 || bitOffset + count > 24)
        return 0;
    uint32_t v = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    return (v >> (24 - bitOffset - count)) & ((1u << count) - 1);
}

int TestBit(const uint8_t* p, int n)
{
    return n < 0 ? 0 : (p[n >> 3] >> (7 - (n & 7))) & 1;
}

} // namespace qv
