// The tagged header at the start of every file the program writes for itself, the tests a loader
// makes of it, the messages it shows for a rejected file, and setting a rejected file aside.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

namespace qv {

class ByteReader;
class ByteWriter;

// "ZQ" and two capital letters, compared as one little-endian 32-bit word.
constexpr uint32_t MakeFileTag(std::string_view fourLetters)
{
    return uint32_t(uint8_t(fourLetters[0])) | uint32_t(uint8_t(fourLetters[1])) << 8 |
           uint32_t(uint8_t(fourLetters[2])) << 16 | uint32_t(uint8_t(fourLetters[3])) << 24;
}

namespace file_tag {
constexpr uint32_t kConfiguration = MakeFileTag("ZQAA");
constexpr uint32_t kPortfolio = MakeFileTag("ZQAB");
constexpr uint32_t kOlderGraph = MakeFileTag("ZQAC");
constexpr uint32_t kFilter = MakeFileTag("ZQAE");
constexpr uint32_t kCashAccounts = MakeFileTag("ZQAG");
constexpr uint32_t kWindowLayouts = MakeFileTag("ZQAI");
constexpr uint32_t kImports = MakeFileTag("ZQDC");
constexpr uint32_t kTimeZones = MakeFileTag("ZQDT");
} // namespace file_tag

struct TaggedFileHeader {
    static constexpr size_t kSize = 16;

    uint32_t tag = 0;
    uint8_t version = 0;
    uint8_t subVersion = 0;
    uint8_t byte6 = 0; // file-specific
    uint8_t byte7 = 0; // file-specific
    uint32_t word8 = 0;  // file-specific count or identity words (two u16 in some files)
    uint32_t word12 = 0; // file-specific size word

    uint16_t low8() const { return uint16_t(word8); }
    uint16_t high8() const { return uint16_t(word8 >> 16); }
    void setWords8(uint16_t low, uint16_t high) { word8 = uint32_t(low) | uint32_t(high) << 16; }

    // Reads the 16 bytes; false (header unchanged) when fewer remain.
    bool read(ByteReader& in);
    void write(ByteWriter& out) const;
    // Writes the header over the first 16 bytes of a file image (lengths known only at the end).
    void writeOver(std::span<uint8_t> image) const;
};

// What a loader's header test decided.
enum class HeaderVerdict { Accepted, TooOld, ProgramTooOld, BadlyFormatted };

// Configuration and imports files: accepted when tag and version both fit; otherwise the version
// alone chooses the message, even when the tag is what was wrong.
HeaderVerdict TestHeaderCombined(const TaggedFileHeader& header, uint32_t tag, uint8_t lowest, uint8_t highest);
// Portfolio and cash files: the version is judged first (0 too old, above `highest` too new), and
// only a version in range lets a wrong tag count as badly formatted.
HeaderVerdict TestHeaderVersionFirst(const TaggedFileHeader& header, uint32_t tag, uint8_t highest = 3);

// The files whose loaders tell the user why a file was rejected.
enum class TaggedFileKind { Configuration, Portfolio, CashAccounts, Imports, TimeZones, OlderGraph };

// The text a loader shows for a verdict, or null when that file has no such message.
const char* HeaderMessageText(TaggedFileKind kind, HeaderVerdict verdict);
// Shows the verdict's message in an OK box; nothing for Accepted or a message the file lacks.
void ShowHeaderMessage(TaggedFileKind kind, HeaderVerdict verdict);

// Moves a rejected file out of the way ("Quorva.cfg" to "Quorva.bad", or "Quorva1.bad" and so on
// when that name is taken) so that the program can go on with its defaults without destroying what
// the user made. The new path, or nothing when the file stays where it was.
std::optional<std::filesystem::path> SetRejectedFileAside(const std::filesystem::path& file);

// A file read only in part (a record damaged or cut short): the whole file is set aside as above
// before any save can write the shortened contents over it, and the user is told which file it
// was, what was kept (`kept`, from KeptItemsText) and where the file now is.
std::optional<std::filesystem::path> SetDamagedFileAside(const std::filesystem::path& file, const std::string& kept);
// What a damaged file kept: "none of its imported items", "only the first imported item",
// "only the first 3 imported items".
std::string KeptItemsText(size_t count, const std::string& singular, const std::string& plural);

} // namespace qv
