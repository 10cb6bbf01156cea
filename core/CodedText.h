// Coded record texts: the bit-tree decoder, its skipper and tidy pass, and the bit-field readers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// The coding tables that arrive with the data: up to 20 blocks. A text of kind k uses block k as its
// tree, k + 1 as its word list and k + 2 as its short word list; its phrase leaves are coded with the
// tree of block k's sub-kind.
class CodingTables {
public:
    static constexpr int kMaxBlocks = 20;
    static constexpr char kDatabaseTag[5] = "ZQCT";

    // Reads the stored form: for each group of three blocks a u16 sub-kind, then each block as a u16
    // length and its bytes (a length of 0 leaves the block absent). A short table keeps the blocks
    // read before the shortage; false tells the caller so.
    bool parse(std::span<const uint8_t> bytes, int groupCount);
    // Reads the tables as the database carries them: an extra block that begins "ZQCT", then a u8
    // group count and a reserved byte, then the stored form above. False for any other block.
    bool parseDatabaseBlock(std::span<const uint8_t> block);
    void setBlock(int index, std::vector<uint8_t> bytes, int subKind);
    void clear();

    int loadedCount() const { return loaded_; }
    std::span<const uint8_t> block(int index) const;
    int subKind(int index) const;

private:
    std::array<std::vector<uint8_t>, kMaxBlocks> blocks_{};
    std::array<int, kMaxBlocks> subKinds_{};
    int loaded_ = 0;
};

// The program-wide tables that the database load installs, and the short-word switch (0 lets the
// short word lists take part in the tidy pass).
CodingTables& ActiveCodingTables();
void SetShortWordSwitch(int value);
int ShortWordSwitch();

// A position in a coded bit stream: bits are taken from the most significant bit of each byte down.
struct BitCursor {
    std::span<const uint8_t> bytes; // the bytes from the cursor's byte to the end of the data
    int bit = 0;                    // 0-7
};

// Decodes one coded text of the kind from the cursor into out (capacity bytes, the terminating NUL
// included; a longer text is cut) and returns 0. With a null out, returns the first character decoded
// instead. With the one-symbol flag only one leaf is decoded. A damaged tree or stream ends decoding
// early with what was decoded so far.
int UnpackText(char* out, size_t capacity, BitCursor from, int kind, bool oneSymbol,
               const CodingTables& tables = ActiveCodingTables());
std::string UnpackText(BitCursor from, int kind, const CodingTables& tables = ActiveCodingTables());

// The tidy pass alone, over a raw decoded text: capitals, the pound sign, words and blank rules.
std::string TidyDecodedText(std::string_view raw, int kind, const CodingTables& tables = ActiveCodingTables());

// Moves the cursor past one coded text (or one leaf with the flag). False when the stream or the tree
// ended first; the cursor then stands where the walk stopped.
bool SkipCodedSymbol(BitCursor& cursor, int kind, bool oneSymbol,
                     const CodingTables& tables = ActiveCodingTables());

// index + n, carrying whole bytes into the cursor; never moves past the end of the data.
void AdvanceBitCursor(BitCursor& cursor, int n);

// The count bits at the bit offset (0 the most significant) of the three bytes read as one
// big-endian 24-bit number; 0 when the field would reach beyond the three bytes.
uint32_t GetBitField(const uint8_t* p, int bitOffset, int count);

// Bit n of the bytes from p, 0 being the most significant bit of the first byte.
int TestBit(const uint8_t* p, int n);

} // namespace qv
