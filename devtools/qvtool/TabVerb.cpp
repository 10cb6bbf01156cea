// qvtool tab: prints a table library file decoded: its title, the style's fields, the sort and each
// column with its heading.
#include "devtools/qvtool/Verbs.h"

#include "core/ColumnDef.h"
#include "lists/ColumnHeading.h"
#include "lists/TableFile.h"
#include "platform/ByteOrder.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace qv::tool {
namespace {

const char* kUsage = "tab FILE";

// The style block's 32-bit fields, by offset.
struct StyleField {
    size_t offset;
    const char* label;
    bool pen;
};
constexpr StyleField kWords[] = {
    {0, "Background", false},           {4, "Selected text", false},      {8, "Selected background", false},
    {12, "White space", false},         {16, "Text", false},              {20, "Line interval", false},
    {24, "Horizontal lines", true},     {28, "Vertical lines", true},     {32, "Heading background", false},
    {36, "Heading text", false},        {40, "Negative numbers", false},  {44, "Imported item text", false},
    {48, "Price up", false},            {52, "Price down", false},        {56, "Price same", false},
    {60, "Selected price up", false},   {64, "Selected price down", false}, {68, "Selected price same", false},
    {72, "Graph", true},                {76, "Tick up", true},            {80, "Tick down", true},
    {84, "Tick same", true},            {88, "Buy", false},               {92, "Sell", false},
    {96, "Unknown", false},             {100, "Thermograph up", false},   {104, "Thermograph down", false},
    {108, "Intraday data only", false}, {112, "Arrow up", false},         {116, "Arrow down", false},
    {120, "Arrow same", false},         {128, "Font size", false},        {164, "Alternate background", false},
};

void PrintStyle(const std::array<uint8_t, kTableStyleSize>& style)
{
    for (const StyleField& f : kWords) {
        const uint32_t v = LoadU32(style.data() + f.offset);
        if (f.offset == 12 || f.offset == 20 || f.offset == 128)
            std::printf("  %-22s %u\n", f.label, v);
        else
            std::printf("  %-22s 0x%08X%s\n", f.label, v, f.pen ? " (pen)" : "");
    }
    std::printf("  %-22s %u\n", "Wrap columns", style[124]);
    std::printf("  %-22s %s%s%s\n", "Font flags", style[125] & 1 ? "bold " : "", style[125] & 2 ? "italic " : "",
                style[125] & 4 ? "underline" : "");
    std::printf("  %-22s %s\n", "Face", reinterpret_cast<const char*>(style.data() + 132));
    std::printf("  %-22s alternate shading %s, plain vertical lines %s\n", "Flags", style[168] & 1 ? "on" : "off",
                style[168] & 2 ? "off" : "on");
}

int Run(const std::vector<std::string>& args)
{
    int exitCode = 0;
    const auto bytes = ReadFileArgument(args, kUsage, exitCode);
    if (!bytes)
        return exitCode;
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    const auto design = ReadTableFile(text);
    if (!design) {
        std::fprintf(stderr, "%s\n", kTableFileBadFormat);
        return 1;
    }
    if (const auto title = ReadTableFileTitle(text))
        std::printf("Title: %s\nDescription: %s\n", title->title.c_str(), title->description.c_str());
    std::printf("Style:\n");
    PrintStyle(design->style);
    if (design->sort == 0)
        std::printf("Sort: none\n");
    else
        std::printf("Sort: %d (column %d, %s direction)\n", design->sort, std::abs(design->sort),
                    design->sort > 0 ? "positive" : "negative");
    const int count = CountColumnDefs(design->layout.data());
    std::printf("Columns: %d\n", count);
    for (int n = 0; n < count; ++n) {
        const uint8_t* column = GetColumnDef(design->layout.data(), n);
        std::printf("  %3d  kind 0x%02X  field %3u  width %5u  %s\n", n + 1, column[ColumnDefLayout::Kind],
                    column[ColumnDefLayout::FieldCode], LoadU16(column + ColumnDefLayout::Width),
                    GetColumnHeading(nullptr, column, false).c_str());
    }
    return 0;
}

const Verb kVerb("tab", "tab FILE", "a table library file decoded: style, sort and columns", Run);

} // namespace
} // namespace qv::tool
