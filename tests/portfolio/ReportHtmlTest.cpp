// The report dialogs' HTML page: cells, fillers, the closing line, headings and escaping, byte for byte.
#include "portfolio/ReportHtml.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

const std::string kHead = "<HTML><HEAD><TITLE>Quorvantis</TITLE></HEAD><BODY>";
const std::string kTables = "<TABLE BORDER=\"0\"><TR><TD><TABLE BORDER=\"0\" >";
const std::string kFont = "<FONT FACE=\"Arial\" SIZE=\"2\">";
const std::string kTail = "</TD></TR></TABLE></TD></TR></TABLE></CENTER><B>Output from Quorvantis. For more "
                          "information please visit our web site https://www.quorvantis.example/ or e-mail "
                          "support@quorvantis.example</BODY></HTML>";
const std::string kFill = "<TD>&nbsp;</TD>";
const std::string kLeft = "<TD ALIGN=\"LEFT\">" + kFont;
const std::string kRight = "<TD ALIGN=\"RIGHT\">" + kFont;

std::string Page(const std::string& heading, const std::string& rows, const std::string& closing = "")
{
    return kHead + "<H1>" + heading + "</H1>" + kTables + rows + closing + kTail;
}

std::string RowsOf(const std::string& line)
{
    HtmlReport report;
    report.rows = {line};
    const std::string page = WriteHtmlReport(report, "Arial", false);
    const size_t from = page.find("<TR>", kHead.size() + kTables.size());
    return page.substr(from, page.rfind("\r\n") + 2 - from);
}

TEST(ReportHtml, RowsCellByCell)
{
    struct Case {
        const char* name;
        std::string line;
        std::string row;
    };
    const Case cases[] = {
        {"one field and three fillers", "Total", "<TR>" + kLeft + "Total</TD>" + kFill + kFill + kFill + "</TR>\r\n"},
        {"an empty field between tabs", "a\t\tc",
         "<TR>" + kLeft + "a</FONT></TD>" + kLeft + "&nbsp;</FONT></TD>" + kRight + "&nbsp;&nbsp;c</TD>" + kFill +
             "</TR>\r\n"},
        {"six fields, six cells, padding of cells 2 and 3", "d\te\t1\t2\t3\t4",
         "<TR>" + kLeft + "d</FONT></TD>" + kLeft + "e</FONT></TD>" + kRight + "&nbsp;&nbsp;1</FONT></TD>" + kRight +
             "2</FONT></TD>" + kRight + "3</FONT></TD>" + kRight + "4</TD></TR>\r\n"},
        {"the last cell as cell 3", "a\tb\tc\td",
         "<TR>" + kLeft + "a</FONT></TD>" + kLeft + "b</FONT></TD>" + kRight + "&nbsp;&nbsp;c</FONT></TD>" + kRight +
             "&nbsp;&nbsp;&nbsp;&nbsp;d</TD></TR>\r\n"},
        {"a trailing tab gives no last cell", "a\t", "<TR>" + kLeft + "a</FONT></TD>" + kFill + kFill + kFill + "</TR>\r\n"},
        {"an empty line", "", "<TR>" + kFill + kFill + kFill + kFill + "</TR>\r\n"},
        {"a share name with & and <", "M&S <plc>\t\"q\"",
         "<TR>" + kLeft + "M&amp;S &lt;plc&gt;</FONT></TD>" + kLeft + "&quot;q&quot;</TD>" + kFill + kFill + "</TR>\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RowsOf(c.line), c.row) << c.name;
}

TEST(ReportHtml, TheThreeReports)
{
    const std::vector<std::string> cgt = {"Capital Gains Report for A&B", "Date\tDescription", "1/1/99\tBought",
                                          "\tChargeable gain\t\t\xA3" "5"};
    EXPECT_EQ(WriteHtmlReport(CgtHtmlReport(cgt), "Arial", false),
              Page("Capital Gains Report for A&amp;B", "<TR>" + kLeft + "1/1/99</FONT></TD>" + kLeft + "Bought</TD>" +
                                                           kFill + kFill + "</TR>\r\n",
                   "<TR><TD COLSPAN=\"4\">\tChargeable gain\t\t\xA3" "5"));
    // Fewer than four lines: the heading and an empty closing cell only.
    EXPECT_EQ(WriteHtmlReport(CgtHtmlReport({"T", "H", "x"}), "Arial", false), Page("T", "", "<TR><TD COLSPAN=\"4\">"));

    const std::string dividends = WriteHtmlReport(DividendHtmlReport({"a", "b"}, "Income", 2004), "Arial", false);
    EXPECT_EQ(dividends, kHead + "<H2>Dividend report for portfolio Income, tax year 2004/2005</H2>" + kTables + "<TR>" +
                             kLeft + "a</TD>" + kFill + kFill + kFill + "</TR>\r\n<TR>" + kLeft + "b</TD>" + kFill +
                             kFill + kFill + "</TR>\r\n" + kTail);

    EXPECT_EQ(WriteHtmlReport(ValuationHtmlReport({"x", "Total"}, "Growth"), "Arial", false),
              Page("Portfolio Growth valuation", "<TR>" + kLeft + "x</TD>" + kFill + kFill + kFill + "</TR>\r\n",
                   "<TR><TD COLSPAN=\"4\">Total"));
}

TEST(ReportHtml, FaceEscapedAndLinksOnRequest)
{
    HtmlReport report;
    report.rows = {"a"};
    const std::string page = WriteHtmlReport(report, "Bad\" Face", true);
    EXPECT_NE(page.find("<FONT FACE=\"Bad&quot; Face\" SIZE=\"2\">"), std::string::npos);
    EXPECT_NE(page.find("<A HREF=\"https://www.quorvantis.example/\">"), std::string::npos);
    EXPECT_NE(page.find("<A HREF=\"mailto:support@quorvantis.example\">"), std::string::npos);
}

TEST(ReportHtml, SplitReportLines)
{
    EXPECT_EQ(SplitReportLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitReportLines("a"), (std::vector<std::string>{"a"}));
    EXPECT_TRUE(SplitReportLines("").empty());
}

} // namespace
} // namespace qv
