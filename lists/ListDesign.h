// The list design dialog's working design and its rules without windows: the Light and Dark defaults,
// the columns' own formatting, the backgrounds that samples share, and saving and loading designs in
// the table library.
#pragma once

#include "core/ConfigRecords.h"
#include "lists/TableFile.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qv {

// Offsets within the 200-byte style block (the table style's own fields).
namespace StyleOffset {
constexpr size_t Background = TableStyle::kBackground;
constexpr size_t SelectedText = TableStyle::kCurrentText;
constexpr size_t SelectedBackground = TableStyle::kCurrentBackground;
constexpr size_t WhiteSpace = TableStyle::kWhiteSpace;
constexpr size_t Text = TableStyle::kText;
constexpr size_t LineInterval = TableStyle::kLineInterval;
constexpr size_t HorizontalPen = TableStyle::kHorizontalPen;
constexpr size_t VerticalPen = TableStyle::kVerticalPen;
constexpr size_t HeadingBackground = TableStyle::kHeadingBackground;
constexpr size_t HeadingText = TableStyle::kHeadingText;
constexpr size_t Negative = TableStyle::kNegative;
constexpr size_t Imported = TableStyle::kImported;
constexpr size_t Flash = TableStyle::kFlash;                 // up, down, same
constexpr size_t SelectedFlash = TableStyle::kCurrentFlash;  // up, down, same
constexpr size_t Graph = TableStyle::kGraphPen;
constexpr size_t Ticks = TableStyle::kTickPens;              // up, down, same
constexpr size_t VolumeSplit = TableStyle::kVolumeSplit;     // buy, sell, unknown
constexpr size_t Thermograph = TableStyle::kThermograph;     // up, down
constexpr size_t IntradayOnly = TableStyle::kIntradayOnly;
constexpr size_t Arrows = TableStyle::kArrows;               // up, down, same
constexpr size_t Wrap = TableStyle::kWrapColumns;
constexpr size_t FontFlags = TableStyle::kFontFlags;
constexpr size_t PointSize = TableStyle::kPointSize;
constexpr size_t Face = TableStyle::kFace;
constexpr size_t AlternateBackground = TableStyle::kAlternateBackground;
constexpr size_t Flags = TableStyle::kFlags;                 // bit 0 alternate shading, bit 1 no plain vertical lines
} // namespace StyleOffset

using StyleBlock = std::array<uint8_t, kTableStyleSize>;

uint32_t StyleWord(const StyleBlock& style, size_t offset);
void SetStyleWord(StyleBlock& style, size_t offset, uint32_t value);

// Sets the Light or Dark design's colours, white space 3, line interval 1 and wrap off; the font and
// the bytes no control edits stay.
void ApplyDefaultDesign(StyleBlock& style, bool dark);

// True when a column of the layout has its own formatting (byte 7 non-zero).
bool LayoutHasCustomFormatting(const std::vector<uint8_t>& layout);
// Clears bytes 7 to 16 of every column record.
void ClearColumnFormatting(std::vector<uint8_t>& layout);

// The backgrounds shared by samples: a change of any member's background sets the shared word.
// Returns the word's offset for a sample's label offset ("Text" 16 -> 0), or nothing when the
// sample has no shared background.
std::optional<size_t> SharedBackgroundOf(size_t sampleOffset);

// The imported-item colour must differ from the text colour.
inline constexpr const char* kImportTextClash = "'Import text' colour must be different to 'Text' colour";
bool ImportColourClashes(const StyleBlock& style);

// The design in the dialog and the one in force when it opened.
struct WorkingDesign {
    TableDesign working;
    TableDesign saved;
    bool applied = false;
};

// The library folder of the program folder.
std::filesystem::path LibraryFolder(const std::filesystem::path& programFolder);

// Writes a design as a library file; false when the file cannot be written.
bool SaveTableFile(const std::filesystem::path& file, const TableDesign& design, std::string_view name,
                   std::string_view description);

// Reads a library file: the design, or the message to show ("The file could not be opened." or the
// format error); the caller's design is not touched either way.
struct TableFileLoad {
    std::optional<TableDesign> design;
    std::string error;
};
inline constexpr const char* kTableFileNotOpened = "The file could not be opened.";
TableFileLoad LoadTableFile(const std::filesystem::path& file);

// The question before a load: its title, or the file name when the title is empty.
std::string ReplaceTableQuestion(const std::string& title, const std::filesystem::path& file);

} // namespace qv
