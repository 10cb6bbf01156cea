// The encoder that matches the coded-text decoder: builds a coding tree and word list from sample
// texts and phrases, and codes texts into bit streams that decode back exactly.
#pragma once

#include "core/CodedText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::dev {

// Appends bits, most significant first within each byte.
class BitWriter {
public:
    void put(bool bit);
    void put(const std::vector<bool>& bits);
    size_t bitCount() const { return bits_; }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    size_t bits_ = 0;
};

struct TextCoderInput {
    std::vector<std::string> texts;   // the texts the symbol frequencies come from
    std::vector<std::string> phrases; // raw symbol runs that get a leaf of their own
    std::vector<std::string> words;   // word-list entries (at most 127 with the one-character words)
    bool everyPrintable = true;       // give every printable ASCII character a leaf
};

class TextCoder {
public:
    // Null when the tree does not fit the 12-bit offsets of the stored form.
    static std::optional<TextCoder> Build(const TextCoderInput& input);

    // True when the text has a coding: no byte 0 or 127, no leading blank, none of "  ", "( ",
    // " )", "~ " and " ," (the tidy pass would change them), and every character has a leaf or word.
    bool canEncode(std::string_view text) const;
    // Appends the text's code to out; false (nothing appended) when it cannot be coded.
    bool encode(std::string_view text, BitWriter& out) const;
    std::vector<uint8_t> encode(std::string_view text) const;

    const std::vector<uint8_t>& tree() const { return tree_; }
    const std::vector<uint8_t>& wordList() const { return wordList_; }
    // Installs the tree and word list as text kind `kind` (its phrases use the same tree).
    void install(CodingTables& tables, int kind) const;

private:
    struct Node {
        int zero = -1, one = -1; // children; both -1 for a leaf
        int symbol = -1;         // 0-255 a raw byte (0 the end), 256 + i phrase i
        uint64_t weight = 0;
    };

    std::optional<std::string> rawSymbols(std::string_view text) const;
    std::vector<int> tokens(std::string_view raw) const;
    bool layOut();
    void assignCodes(int node, std::vector<bool>& path);
    size_t slotSize(int node) const;
    size_t bodySize(int node) const;
    bool writeRegion(int node);

    std::vector<std::string> phrases_;
    std::vector<std::string> words_;
    std::vector<Node> nodes_;
    int root_ = -1;
    std::vector<std::vector<bool>> codes_; // by symbol
    std::vector<std::vector<uint8_t>> phraseBits_;
    std::vector<uint8_t> tree_;
    std::vector<uint8_t> wordList_;
};

// The stored form of coding tables that CodingTables::parse reads, for groups of three blocks.
std::vector<uint8_t> StoreCodingTables(const CodingTables& tables, int groupCount);
// The same as an extra block of the database: "ZQCT", the group count, a reserved 0, the tables.
std::vector<uint8_t> CodingTablesDatabaseBlock(const CodingTables& tables, int groupCount);

} // namespace qv::dev
