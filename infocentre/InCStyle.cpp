// The style sheet's sixteen lines, written and matched line by line.
#include "infocentre/InCStyle.h"

#include "platform/FileOps.h"
#include "platform/Paths.h"

#include <cstdio>
#include <functional>
#include <sstream>
#include <vector>

namespace qv {
namespace {

constexpr size_t kFamilyKept = 31;

std::string Format(const char* pattern, auto... values)
{
    char line[160];
    std::snprintf(line, sizeof line, pattern, values...);
    return line;
}

std::string Colour(const char* pattern, uint32_t rgb)
{
    return Format(pattern, rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

// Matches a whole line against a scan pattern that ends with %n.
template <typename... Out>
bool Scan(const std::string& line, const char* pattern, Out*... out)
{
    int end = -1;
    return std::sscanf(line.c_str(), pattern, out..., &end) == int(sizeof...(Out)) && end == int(line.size());
}

bool ScanColour(const std::string& line, const char* pattern, uint32_t* rgb)
{
    unsigned r = 0, g = 0, b = 0;
    if (!Scan(line, pattern, &r, &g, &b))
        return false;
    if (rgb)
        *rgb = (r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16;
    return true;
}

bool ScanWord(const std::string& line, const char* pattern, InCStyle& s, const char* word, uint32_t bit)
{
    char text[32] = {};
    if (!Scan(line, pattern, text))
        return false;
    if (std::string(text) == word)
        s.styleBits |= bit;
    return true;
}

} // namespace

void SetDefaultStyle(InCStyle& s)
{
    s.padding = 2;
    s.textColour = 0x000000;
    s.background = 0xFFFFFF;
    s.alternateBackground = 0xF6F6F6;
    s.gridLines = 0xA4A0A0;
    s.linkColour = 0xF00000;
    s.visitedColour = 0x0000F0;
    s.fontFamily = "Microsoft Sans Serif";
    s.fontSize = 9;
    s.styleBits = 0;
}

std::string IncCssText(const InCStyle& s)
{
    std::string text = "BODY,TABLE,TH,TR,TD,LI,UL {\n";
    text += Colour("  color: #%02x%02x%02x;\n", s.textColour);
    text += Colour("  background-color: #%02x%02x%02x;\n", s.background);
    text += "  font-family: \"" + s.fontFamily + "\";\n";
    text += Format("  font-size: %1dpt;\n", s.fontSize);
    text += Format("  font-style: %s;\n", (s.styleBits & kInCStyleItalic) ? "italic" : "normal");
    text += Format("  font-weight: %s;\n", (s.styleBits & kInCStyleBold) ? "bold" : "normal");
    text += Format("  text-decoration: %s;\n", (s.styleBits & kInCStyleUnderline) ? "underline" : "normal");
    text += Format("  padding: %1dpx;\n", s.padding);
    text += "}\n";
    text += Colour("TABLE {border-collapse:collapse; border-color: #%02x%02x%02x;}\n", s.gridLines);
    text += Colour("TH,TR,TD {border-color: #%02x%02x%02x;}\n", s.gridLines);
    text += Colour(".alternate {background-color: #%02x%02x%02x;}\n", s.alternateBackground);
    text += Colour("A {text-decoration: none; color: #%02x%02x%02x;}\n", s.linkColour);
    text += Colour("A:visited {color: #%02x%02x%02x;}\n", s.visitedColour);
    text += "A:hover { text-decoration: underline;}\n";
    return text;
}

std::filesystem::path IncCssPath()
{
    return AppPath("Data\\Content\\inc.css");
}

bool WriteIncCss(const InCStyle& style, const std::filesystem::path& file)
{
    std::string text = IncCssText(style);
    std::filesystem::path temporary = file;
    temporary += ".tmp";
    if (!WriteFileBytes(temporary, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size())))
        return false;
    if (RenameReplace(temporary, file))
        return true;
    ForceDelete(temporary);
    return false;
}

bool ParseIncCss(const std::string& text, InCStyle& s)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.size() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line);

    using Step = std::function<bool(const std::string&)>;
    const Step steps[] = {
        [](const std::string& l) { return l == "BODY,TABLE,TH,TR,TD,LI,UL {"; },
        [&](const std::string& l) { return ScanColour(l, "  color: #%02x%02x%02x;%n", &s.textColour); },
        [&](const std::string& l) { return ScanColour(l, "  background-color: #%02x%02x%02x;%n", &s.background); },
        [&](const std::string& l) {
            char family[256] = {};
            if (!Scan(l, "  font-family: \"%255[^\"]\";%n", family))
                return false;
            s.fontFamily = std::string(family).substr(0, kFamilyKept);
            return true;
        },
        [&](const std::string& l) { return Scan(l, "  font-size: %dpt;%n", &s.fontSize); },
        [&](const std::string& l) {
            s.styleBits = 0;
            return ScanWord(l, "  font-style: %31[a-z];%n", s, "italic", kInCStyleItalic);
        },
        [&](const std::string& l) { return ScanWord(l, "  font-weight: %31[a-z];%n", s, "bold", kInCStyleBold); },
        [&](const std::string& l) {
            return ScanWord(l, "  text-decoration: %31[a-z];%n", s, "underline", kInCStyleUnderline);
        },
        [&](const std::string& l) { return Scan(l, "  padding: %dpx;%n", &s.padding); },
        [](const std::string& l) { return l == "}"; },
        [&](const std::string& l) {
            return ScanColour(l, "TABLE {border-collapse:collapse; border-color: #%02x%02x%02x;}%n", &s.gridLines);
        },
        [](const std::string& l) { return ScanColour(l, "TH,TR,TD {border-color: #%02x%02x%02x;}%n", nullptr); },
        [&](const std::string& l) {
            return ScanColour(l, ".alternate {background-color: #%02x%02x%02x;}%n", &s.alternateBackground);
        },
        [&](const std::string& l) {
            return ScanColour(l, "A {text-decoration: none; color: #%02x%02x%02x;}%n", &s.linkColour);
        },
        [&](const std::string& l) { return ScanColour(l, "A:visited {color: #%02x%02x%02x;}%n", &s.visitedColour); },
        [](const std::string& l) { return l == "A:hover { text-decoration: underline;}"; },
    };
    size_t i = 0;
    for (const Step& step : steps) {
        if (i >= lines.size() || !step(lines[i]))
            return false;
        ++i;
    }
    return true;
}

bool ReadIncCss(InCStyle& style, const std::filesystem::path& file)
{
    auto bytes = ReadFileBytes(file);
    if (!bytes)
        return false;
    return ParseIncCss(std::string(bytes->begin(), bytes->end()), style);
}

} // namespace qv
