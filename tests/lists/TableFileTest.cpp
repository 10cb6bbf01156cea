// Table library files: the written lines, a design read back byte for byte, line ends, and the damaged
// files that are refused whole.
#include "lists/TableFile.h"

#include "core/ColumnDef.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace qv;

namespace {

TableDesign Sample()
{
    TableDesign design;
    for (size_t i = 0; i < design.style.size(); ++i)
        design.style[i] = uint8_t(i * 7 + 3);
    std::memset(design.style.data() + 132, 0, 32);
    std::memcpy(design.style.data() + 132, "Arial", 5);
    AppendColumnDef(design.layout, ColumnOf(kColumnField, 2).withWidth(120));
    AppendColumnDef(design.layout, ColumnOf(kColumnField, 7).withOwnTitle("Price"));
    AppendColumnDef(design.layout, ColumnOf(kColumnField, 9));
    design.layout.push_back(0);
    design.sort = -2;
    return design;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

void Replace(std::string& text, const std::string& from, const std::string& to)
{
    text.replace(text.find(from), from.size(), to);
}

} // namespace

TEST(TableFile, WrittenLinesAndTheirLengths)
{
    std::string text = WriteTableFile(Sample(), std::string(40, 'N'), "First line\nsecond line");
    std::vector<std::string> lines = Lines(text);
    ASSERT_GE(lines.size(), 12u);
    EXPECT_EQ(lines[0].size(), 80u);
    EXPECT_EQ(lines[0], kTableFileFirstLine);
    EXPECT_EQ(lines[1], "!" + std::string(32, 'N'));
    EXPECT_EQ(lines[2], "!First line second line"); // one line, so the reader keeps it a title
    EXPECT_EQ(lines[3], "REV1");
    EXPECT_EQ(lines[4].size(), 80u); // the style block: 268 characters as 80, 80, 80, 28
    EXPECT_EQ(lines[5].size(), 80u);
    EXPECT_EQ(lines[6].size(), 80u);
    EXPECT_EQ(lines[7].size(), 28u);
    EXPECT_EQ(lines[8], "!");
    EXPECT_EQ(lines[lines.size() - 2], "!");
    EXPECT_EQ(lines.back(), kTableFileLastLine);
    EXPECT_EQ(lines.back().size(), 80u);
    EXPECT_EQ(Lines(WriteTableFile(Sample(), "x", ""))[2], "!");

    std::string none;
    WriteBase64Lines(none, "");
    EXPECT_TRUE(none.empty());
}

TEST(TableFile, ReadsBackWithEitherLineEnd)
{
    TableDesign design = Sample();
    std::string text = WriteTableFile(design, "My table", "Prices and changes");
    EXPECT_EQ(ReadTableFile(text), design);
    std::string unix;
    for (char c : text)
        if (c != '\r')
            unix += c;
    EXPECT_EQ(ReadTableFile(unix), design);
    EXPECT_EQ(ReadTableFile("!a\n!b\n!c\n!d\n" + unix.substr(unix.find("REV1"))), design); // any "!" lines first
    auto title = ReadTableFileTitle(text);
    ASSERT_TRUE(title);
    EXPECT_EQ(title->title, "My table");
    EXPECT_EQ(title->description, "Prices and changes");
    EXPECT_FALSE(ReadTableFileTitle("!one\nREV1\n!three\n"));
}

TEST(TableFile, DamagedFilesAreRefusedWhole)
{
    std::string good = WriteTableFile(Sample(), "T", "");
    std::vector<std::string> lines = Lines(good);
    struct Case {
        const char* what;
        std::string text;
    };
    std::vector<Case> cases;
    auto with = [&](const char* what, auto change) {
        std::string text = good;
        change(text);
        cases.push_back({what, text});
    };
    with("another revision", [&](std::string& t) { Replace(t, "REV1", "REV2"); });
    with("no revision line", [&](std::string& t) { t = t.substr(0, t.find("REV1")); });
    with("a bad Base64 character", [&](std::string& t) { t[t.find("REV1") + 8] = '*'; });
    with("a short last group", [&](std::string& t) { Replace(t, lines[7], lines[7].substr(0, 27)); });
    with("a leading blank", [&](std::string& t) { Replace(t, lines[4], " " + lines[4]); });
    with("ends before the first \"!\"", [&](std::string& t) { t = t.substr(0, t.find(lines[7]) + lines[7].size()); });
    with("ends before the second \"!\"", [&](std::string& t) { t = t.substr(0, t.rfind("\r\n!\r\n")); });
    {
        TableDesign shortStyle = Sample();
        std::string text = WriteTableFile(shortStyle, "T", "");
        // A style block of 150 bytes.
        std::string encoded = text.substr(text.find("REV1") + 6);
        encoded = encoded.substr(0, encoded.find("\r\n!\r\n"));
        std::string oneLine;
        for (char c : encoded)
            if (c != '\r' && c != '\n')
                oneLine += c;
        Replace(text, encoded, oneLine.substr(0, 200));
        cases.push_back({"a style block of another size", text});
    }
    {
        TableDesign noFaceEnd = Sample();
        std::memset(noFaceEnd.style.data() + 132, 'A', 32);
        cases.push_back({"a font face without its end", WriteTableFile(noFaceEnd, "T", "")});
    }
    {
        TableDesign badLayout = Sample();
        badLayout.layout.back() = 7; // no terminator
        cases.push_back({"a layout without its end", WriteTableFile(badLayout, "T", "")});
        TableDesign noLayout = Sample();
        noLayout.layout.clear();
        cases.push_back({"only the sort byte", WriteTableFile(noLayout, "T", "")});
        TableDesign badSort = Sample();
        badSort.sort = 4; // three columns
        cases.push_back({"a sort column outside the layout", WriteTableFile(badSort, "T", "")});
    }
    for (const Case& c : cases)
        EXPECT_FALSE(ReadTableFile(c.text)) << c.what;
}
