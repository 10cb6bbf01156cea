// The HTML page of the report dialogs.
#include "portfolio/ReportHtml.h"

#include "core/StringPrintf.h"
#include "resources/WebAddresses.h"

namespace qv {

std::string HtmlEscaped(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string HtmlCreditAddresses(bool links)
{
    if (links)
        return StringPrintf("<A HREF=\"%s\">web site</A> or e-mail <A HREF=\"mailto:%s\">%s</A>", kProductSite,
                            kSupportEmail, kSupportEmail);
    return StringPrintf("web site %s or e-mail %s", kProductSite, kSupportEmail);
}

namespace {

void OpenCell(std::string& out, int cell, const std::string& fontTag)
{
    out += cell < 2 ? "<TD ALIGN=\"LEFT\">" : "<TD ALIGN=\"RIGHT\">";
    out += fontTag;
}

void AppendRow(std::string& out, const std::string& line, const std::string& fontTag)
{
    out += "<TR>";
    int cell = 0;
    size_t start = 0;
    for (size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
        const std::string field = line.substr(start, tab - start);
        OpenCell(out, cell, fontTag);
        if (cell == 2)
            out += "&nbsp;&nbsp;";
        out += field.empty() ? "&nbsp;" : HtmlEscaped(field);
        out += "</FONT></TD>";
        ++cell;
        start = tab + 1;
    }
    const std::string rest = line.substr(start);
    if (!rest.empty()) {
        OpenCell(out, cell, fontTag);
        if (cell == 2)
            out += "&nbsp;&nbsp;";
        if (cell == 3)
            out += "&nbsp;&nbsp;&nbsp;&nbsp;";
        out += HtmlEscaped(rest);
        out += "</TD>";
        ++cell;
    }
    for (; cell < 4; ++cell)
        out += "<TD>&nbsp;</TD>";
    out += "</TR>\r\n";
}

} // namespace

HtmlReport CgtHtmlReport(const std::vector<std::string>& lines)
{
    HtmlReport report;
    report.heading = lines.empty() ? std::string() : lines.front();
    report.hasClosing = true;
    if (lines.size() < 4)
        return report;
    report.rows.assign(lines.begin() + 2, lines.end() - 1);
    report.closing = lines.back();
    return report;
}

HtmlReport DividendHtmlReport(const std::vector<std::string>& lines, const std::string& portfolio, int year)
{
    HtmlReport report;
    report.heading = StringPrintf("Dividend report for portfolio %s, tax year %i/%i", portfolio.c_str(), year, year + 1);
    report.smallHeading = true;
    report.rows = lines;
    return report;
}

HtmlReport ValuationHtmlReport(const std::vector<std::string>& lines, const std::string& portfolio)
{
    HtmlReport report;
    report.heading = StringPrintf("Portfolio %s valuation", portfolio.c_str());
    report.hasClosing = true;
    if (lines.empty())
        return report;
    report.rows.assign(lines.begin(), lines.end() - 1);
    report.closing = lines.back();
    return report;
}

std::string WriteHtmlReport(const HtmlReport& report, const std::string& face, bool links)
{
    const char* tag = report.smallHeading ? "H2" : "H1";
    std::string out = "<HTML><HEAD><TITLE>Quorvantis</TITLE></HEAD><BODY>";
    out += StringPrintf("<%s>", tag) + HtmlEscaped(report.heading) + StringPrintf("</%s>", tag);
    out += "<TABLE BORDER=\"0\"><TR><TD><TABLE BORDER=\"0\" >";
    const std::string fontTag = "<FONT FACE=\"" + HtmlEscaped(face) + "\" SIZE=\"2\">";
    for (const std::string& line : report.rows)
        AppendRow(out, line, fontTag);
    if (report.hasClosing)
        out += "<TR><TD COLSPAN=\"4\">" + HtmlEscaped(report.closing);
    out += "</TD></TR></TABLE></TD></TR></TABLE></CENTER><B>Output from Quorvantis.";
    out += " For more information please visit our " + HtmlCreditAddresses(links);
    out += "</BODY></HTML>";
    return out;
}

std::vector<std::string> SplitReportLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace qv
