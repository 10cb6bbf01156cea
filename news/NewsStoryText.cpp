// The story display's texts.
#include "news/NewsStoryText.h"

#include "core/DateText.h"
#include "core/FormatNumber.h"
#include "news/NewsDictionary.h"
#include "news/NewsRecords.h"
#include "portfolio/ReportHtml.h"

namespace qv {
namespace {

std::string CodeName(uint8_t number)
{
    if (number == 0 || number >= NewsCodeTable::Count())
        return {};
    return std::string(NewsCodeTable::Name(number));
}

// The body's characters with the tab rule, escaped and with kept blanks in HTML.
void AppendBody(std::string& out, std::string_view body, bool html)
{
    char previous = 0;
    for (size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '\r')
            continue;
        if (c == '\n') {
            out += html ? "<BR>\r\n" : "\r\n";
            previous = c;
            continue;
        }
        if (c == '\t' && i + 1 < body.size() && body[i + 1] >= 'a' && body[i + 1] <= 'z') {
            const int blanks = body[++i] - 'a';
            for (int b = 0; b < blanks; ++b)
                out += html ? "&nbsp;" : " ";
            previous = blanks ? ' ' : previous;
            continue;
        }
        if (html && c == ' ' && previous == ' ')
            out += "&nbsp;";
        else
            out += html ? HtmlEscaped(std::string(1, c)) : std::string(1, c);
        previous = c;
    }
}

} // namespace

NewsStoryHeader NewsStoryHeaderOf(const NewsStory& story)
{
    NewsStoryHeader h;
    h.subject = CodeName(story.subject);
    h.country = CodeName(story.country);
    h.industry = CodeName(story.industry);
    h.date = story.storyDate;
    h.seconds = uint32_t(story.time) * 2;
    return h;
}

std::string NewsReadableText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r')
            continue;
        if (c == '\t' && i + 1 < text.size() && text[i + 1] >= 'a' && text[i + 1] <= 'z') {
            out.append(size_t(text[++i] - 'a'), ' ');
            continue;
        }
        out += c;
    }
    return out;
}

std::string NewsStoryExportText(const NewsStoryHeader& header, std::string_view text, bool html)
{
    const std::string br = html ? "<BR>" : "";
    auto field = [&](const std::string& s) { return html ? HtmlEscaped(s) : s; };
    std::string out = "Subject: " + field(header.subject) + br;
    if (!header.company.empty())
        out += "\r\nCompany: " + field(header.company) + br;
    out += "\r\nDate: " + FormatLongDate(header.date) + "  " + FormatClockTime(header.seconds, true) + br;
    out += "\r\nCountry: " + field(header.country) + br;
    out += "\r\nIndustry: " + field(header.industry) + br;
    out += html ? "\r\n\r\n<BR><BR><B><P>" : "\r\n\r\n";
    const size_t titleEnd = text.find('\n');
    std::string_view title = text.substr(0, titleEnd);
    std::string_view body = titleEnd == std::string_view::npos ? std::string_view() : text.substr(titleEnd + 1);
    AppendBody(out, title, html);
    out += html ? "</P></B><BR>\r\n\r\n" : "\r\n\r\n";
    AppendBody(out, body, html);
    return out;
}

std::string NewsStoryHtmlDocument(const NewsStoryHeader& header, std::string_view text)
{
    std::string out = "<HTML><HEAD><TITLE>Quorvantis</TITLE></HEAD><BODY><FONT FACE=\"courier\" SIZE=\"-1\">";
    out += NewsStoryExportText(header, text, true);
    out += "<P><B>Output from Quorvantis. For more information please visit our " + HtmlCreditAddresses(true);
    out += "</B></P></FONT></BODY></HTML>";
    return out;
}

} // namespace qv
