// The table library's ".tab" text files: one whole table design (style block, sort column and column
// layout) between marker lines, as two Base64 blocks that can be mailed or pasted.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

inline constexpr size_t kTableStyleSize = 200;
inline constexpr size_t kTableFileNameLimit = 32;
inline constexpr size_t kTableFileDescriptionLimit = 256;
inline constexpr size_t kBase64LineLength = 80;

// The marker lines, 80 characters each.
extern const char* const kTableFileFirstLine;
extern const char* const kTableFileLastLine;
inline constexpr const char* kTableFileBadFormat = "This file is incorrectly formatted and can not be read.";

struct TableDesign {
    std::array<uint8_t, kTableStyleSize> style{};
    int8_t sort = 0;              // (column index + 1) x direction, 0 for none
    std::vector<uint8_t> layout;  // column records with their terminating zero byte

    bool operator==(const TableDesign&) const = default;
};

// Appends the text in lines of at most 80 characters, each ended by CR LF; an empty text adds nothing.
void WriteBase64Lines(std::string& out, std::string_view text);

// The whole file. The name is cut to 32 characters and the description to 256; a description typed
// over several lines is written on one, its line breaks as blanks.
std::string WriteTableFile(const TableDesign& design, std::string_view name, std::string_view description);

// A design read back whole, or nothing when the file is not one: a first line after the "!" lines that
// is not "REV1", a block that does not decode, a style block of another size or whose font face has
// no end, a definition whose layout does not check or whose sort column lies outside it, or a file
// that ends before either "!" line. CR LF and LF both read.
std::optional<TableDesign> ReadTableFile(std::string_view text);

// The title and description of a library file: its first three lines all begin with "!"; the title is
// line 2 after the "!" (trailing blanks removed), the description line 3. Nothing for other files.
struct TableFileTitle {
    std::string title;
    std::string description;
};
std::optional<TableFileTitle> ReadTableFileTitle(std::string_view text);

} // namespace qv
