// The list design's defaults, shared backgrounds and library files.
#include "lists/ListDesign.h"

#include "core/ColumnDef.h"
#include "core/SaveProtocol.h"
#include "platform/ByteOrder.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace qv {

namespace {

struct DefaultColour {
    size_t offset;
    uint32_t light;
    uint32_t dark;
};

constexpr DefaultColour kDefaultColours[] = {
    {StyleOffset::Text, 0x000000, 0xFFFFFF},
    {StyleOffset::Background, 0xFFFFFF, 0x000000},
    {StyleOffset::SelectedText, 0xFF0000, 0xFFFFFF},
    {StyleOffset::SelectedBackground, 0xFFE9CC, 0x800000},
    {StyleOffset::Negative, 0x000080, 0x0000FF},
    {StyleOffset::Imported, 0x808080, 0xA4A0A0},
    {StyleOffset::IntradayOnly, 0x000000, 0xF0CAA6},
    {StyleOffset::HorizontalPen, 0xA4A0A0, 0x000000},
    {StyleOffset::VerticalPen, 0xA4A0A0, 0x808080},
    {StyleOffset::Flash, 0xC8FF96, 0x008000},
    {StyleOffset::Flash + 4, 0xDCDCFF, 0x000080},
    {StyleOffset::Flash + 8, 0xE0FFFF, 0x808080},
    {StyleOffset::SelectedFlash, 0x008000, 0x008000},
    {StyleOffset::SelectedFlash + 4, 0x000080, 0x000080},
    {StyleOffset::SelectedFlash + 8, 0x008080, 0x808080},
    {StyleOffset::AlternateBackground, 0xF6F6F6, 0x000000},
    {StyleOffset::HeadingText, 0x000000, 0x000000},
    {StyleOffset::HeadingBackground, 0xC0C0C0, 0xC0C0C0},
    {StyleOffset::Graph, 0x0000FF, 0x0000FF},
};

constexpr uint32_t kUp = 0x30D030;
constexpr uint32_t kDown = 0x0000FF;
constexpr uint32_t kSame = 0xFF0000;

} // namespace

uint32_t StyleWord(const StyleBlock& style, size_t offset) { return LoadU32(style.data() + offset); }
void SetStyleWord(StyleBlock& style, size_t offset, uint32_t value) { StoreU32(style.data() + offset, value); }

void ApplyDefaultDesign(StyleBlock& style, bool dark)
{
    for (const DefaultColour& c : kDefaultColours)
        SetStyleWord(style, c.offset, dark ? c.dark : c.light);
    for (size_t i = 0; i < 3; ++i) {
        const uint32_t colour = i == 0 ? kUp : i == 1 ? kDown : kSame;
        SetStyleWord(style, StyleOffset::Ticks + 4 * i, colour);
        SetStyleWord(style, StyleOffset::VolumeSplit + 4 * i, colour);
        SetStyleWord(style, StyleOffset::Arrows + 4 * i, colour);
        if (i < 2)
            SetStyleWord(style, StyleOffset::Thermograph + 4 * i, colour);
    }
    SetStyleWord(style, StyleOffset::WhiteSpace, 3);
    SetStyleWord(style, StyleOffset::LineInterval, 1);
    style[StyleOffset::Wrap] = 0;
    // Alternate shading on for Light, off for Dark; vertical lines on for both.
    style[StyleOffset::Flags] = dark ? 0 : 1;
}

bool LayoutHasCustomFormatting(const std::vector<uint8_t>& layout)
{
    if (!ValidateColumnLayout(layout))
        return false;
    const int count = CountColumnDefs(layout.data());
    for (int n = 0; n < count; ++n) {
        const uint8_t* column = GetColumnDef(layout.data(), n);
        if (column[ColumnDefLayout::Length] > ColumnDefLayout::Appearance && column[ColumnDefLayout::Appearance])
            return true;
    }
    return false;
}

void ClearColumnFormatting(std::vector<uint8_t>& layout)
{
    if (!ValidateColumnLayout(layout))
        return;
    const int count = CountColumnDefs(layout.data());
    for (int n = 0; n < count; ++n) {
        uint8_t* column = GetColumnDef(layout.data(), n);
        if (column[ColumnDefLayout::Length] >= ColumnDefLayout::Appearance + ColumnDefLayout::AppearanceSize)
            std::fill_n(column + ColumnDefLayout::Appearance, ColumnDefLayout::AppearanceSize, uint8_t(0));
    }
}

std::optional<size_t> SharedBackgroundOf(size_t sample)
{
    using namespace StyleOffset;
    if (sample == Background || sample == Text || sample == Negative || sample == Imported || sample == IntradayOnly)
        return Background;
    if (sample == SelectedBackground || sample == SelectedText)
        return SelectedBackground;
    if (sample == HeadingBackground || sample == HeadingText)
        return HeadingBackground;
    return std::nullopt;
}

bool ImportColourClashes(const StyleBlock& style)
{
    return StyleWord(style, StyleOffset::Imported) == StyleWord(style, StyleOffset::Text);
}

std::filesystem::path LibraryFolder(const std::filesystem::path& programFolder) { return programFolder / "Library"; }

bool SaveTableFile(const std::filesystem::path& file, const TableDesign& design, std::string_view name,
                   std::string_view description)
{
    return SaveFileAt(file, WriteTableFile(design, name, description));
}

TableFileLoad LoadTableFile(const std::filesystem::path& file)
{
    TableFileLoad load;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        load.error = kTableFileNotOpened;
        return load;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    load.design = ReadTableFile(text);
    if (!load.design)
        load.error = kTableFileBadFormat;
    return load;
}

std::string ReplaceTableQuestion(const std::string& title, const std::filesystem::path& file)
{
    return "Replace current table with\n" + (title.empty() ? file.filename().string() : title) + "?";
}

} // namespace qv
