// The HTML page a report dialog prints: its heading, one table row per tab-separated report line, an
// optional closing line across the table and the program's credit line.
#pragma once

#include <string>
#include <vector>

namespace qv {

struct HtmlReport {
    std::string heading;
    bool smallHeading = false;      // H2 in place of H1
    std::vector<std::string> rows;  // tab-separated report lines
    bool hasClosing = false;        // the closing line spans the table in a row after the last
    std::string closing;
};

// The capital gains report: heading = first line, rows = third line to the last but one, the last
// line closing; no rows when the report has fewer than four lines.
HtmlReport CgtHtmlReport(const std::vector<std::string>& lines);
// The dividend report: every line a row under "Dividend report for portfolio %s, tax year %i/%i" (H2).
HtmlReport DividendHtmlReport(const std::vector<std::string>& lines, const std::string& portfolio, int year);
// The valuation report: rows = every line but the last, which closes, under "Portfolio %s valuation".
HtmlReport ValuationHtmlReport(const std::vector<std::string>& lines, const std::string& portfolio);

// The file's bytes (Windows-1252, as the texts). Texts and the face name are escaped; `links` makes
// the web site and e-mail address of the credit line links.
std::string WriteHtmlReport(const HtmlReport& report, const std::string& face, bool links);

// "&", "<", ">" and '"' as entities.
std::string HtmlEscaped(const std::string& text);
// The credit line's web site and e-mail address, as links or as plain text.
std::string HtmlCreditAddresses(bool links);

// Splits a report text at line feeds; a last empty line is dropped.
std::vector<std::string> SplitReportLines(const std::string& text);

} // namespace qv
