// The list design's defaults, column formatting, shared backgrounds and library files on disk.
#include "lists/ListDesign.h"

#include "core/ColumnDef.h"
#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include <unistd.h>

using namespace qv;

namespace {

TableDesign Sample()
{
    TableDesign design;
    for (size_t i = 0; i < design.style.size(); ++i)
        design.style[i] = uint8_t(i * 5 + 1);
    std::memset(design.style.data() + StyleOffset::Face, 0, 32);
    std::memcpy(design.style.data() + StyleOffset::Face, "Arial", 5);
    AppendColumnDef(design.layout, ColumnOf(kColumnField, 2).withWidth(120));
    AppendColumnDef(design.layout, ColumnOf(kColumnField, 7));
    design.layout.push_back(0);
    design.sort = 2;
    return design;
}

std::filesystem::path TempFile(const char* name)
{
    return std::filesystem::temp_directory_path() / (std::string("qv-list-design-") + std::to_string(::getpid()) + name);
}

} // namespace

TEST(ListDesign, LightAndDarkDefaultsKeepFontAndUneditedBytes)
{
    StyleBlock style = Sample().style;
    const StyleBlock before = style;
    ApplyDefaultDesign(style, false);
    struct Word {
        size_t offset;
        uint32_t light, dark;
    } words[] = {{StyleOffset::Text, 0x000000, 0xFFFFFF},         {StyleOffset::Background, 0xFFFFFF, 0x000000},
                 {StyleOffset::SelectedBackground, 0xFFE9CC, 0x800000}, {StyleOffset::IntradayOnly, 0x000000, 0xF0CAA6},
                 {StyleOffset::Flash + 8, 0xE0FFFF, 0x808080},    {StyleOffset::SelectedFlash + 4, 0x000080, 0x000080},
                 {StyleOffset::Ticks, 0x30D030, 0x30D030},         {StyleOffset::Thermograph + 4, 0x0000FF, 0x0000FF},
                 {StyleOffset::Arrows + 8, 0xFF0000, 0xFF0000},    {StyleOffset::WhiteSpace, 3, 3},
                 {StyleOffset::LineInterval, 1, 1}};
    for (const Word& w : words)
        EXPECT_EQ(StyleWord(style, w.offset), w.light) << w.offset;
    EXPECT_EQ(style[StyleOffset::Flags], 1);
    ApplyDefaultDesign(style, true);
    for (const Word& w : words)
        EXPECT_EQ(StyleWord(style, w.offset), w.dark) << w.offset;
    EXPECT_EQ(style[StyleOffset::Flags], 0);
    EXPECT_EQ(style[StyleOffset::Wrap], 0);
    // The font and the bytes no control edits are carried.
    for (size_t i : {size_t(125), size_t(126), size_t(127), size_t(128), size_t(132), size_t(169), size_t(199)})
        EXPECT_EQ(style[i], before[i]) << i;
    EXPECT_FALSE(ImportColourClashes(style));
}

TEST(ListDesign, CustomColumnFormattingFoundAndCleared)
{
    TableDesign design = Sample();
    EXPECT_FALSE(LayoutHasCustomFormatting(design.layout));
    uint8_t* second = GetColumnDef(design.layout.data(), 1);
    second[ColumnDefLayout::Appearance] = 1;
    second[ColumnDefLayout::Appearance + 9] = 0x7F;
    const uint16_t width = LoadU16(second + ColumnDefLayout::Width);
    EXPECT_TRUE(LayoutHasCustomFormatting(design.layout));
    ClearColumnFormatting(design.layout);
    EXPECT_FALSE(LayoutHasCustomFormatting(design.layout));
    EXPECT_EQ(second[ColumnDefLayout::Appearance + 9], 0);
    EXPECT_EQ(LoadU16(second + ColumnDefLayout::Width), width);
}

TEST(ListDesign, SamplesShareTheirBackgrounds)
{
    using namespace StyleOffset;
    for (size_t s : {Background, Text, Negative, Imported, IntradayOnly})
        EXPECT_EQ(SharedBackgroundOf(s), Background) << s;
    EXPECT_EQ(SharedBackgroundOf(SelectedText), SelectedBackground);
    EXPECT_EQ(SharedBackgroundOf(HeadingText), HeadingBackground);
    EXPECT_FALSE(SharedBackgroundOf(Graph));
}

TEST(ListDesign, SavedFileLoadsBackAndDamageChangesNothing)
{
    const TableDesign design = Sample();
    const auto file = TempFile("a.tab");
    ASSERT_TRUE(SaveTableFile(file, design, "Blue", "Two\nlines"));
    const TableFileLoad load = LoadTableFile(file);
    ASSERT_TRUE(load.design);
    EXPECT_EQ(*load.design, design);
    EXPECT_TRUE(load.error.empty());

    // Cut after the style block: refused whole with the format message.
    std::string text = WriteTableFile(design, "Blue", "");
    text.resize(text.find("\r\n!\r\n") + 5);
    std::ofstream(file, std::ios::binary) << text;
    const TableFileLoad cut = LoadTableFile(file);
    EXPECT_FALSE(cut.design);
    EXPECT_EQ(cut.error, kTableFileBadFormat);
    std::filesystem::remove(file);
    EXPECT_EQ(LoadTableFile(file).error, kTableFileNotOpened);
    EXPECT_FALSE(SaveTableFile(TempFile("missing") / "x.tab", design, "x", ""));
    EXPECT_EQ(ReplaceTableQuestion("", "/lib/Blue.tab"), "Replace current table with\nBlue.tab?");
}
