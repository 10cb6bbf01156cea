// A news story as the story display shows and exports it: the header fields, the text laid out for
// reading, and the plain and HTML texts that are copied, saved and printed.
#pragma once

#include "core/PackedDate.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

struct NewsStory;

struct NewsStoryHeader {
    std::string subject;
    std::string company;  // the names of the shares the story names, joined by ", "; empty for none
    std::string country;
    std::string industry;
    PackedDate date = 0;
    uint32_t seconds = 0; // time of day
};

// The header of a story: the code names and the date and time; `company` is filled by the caller.
NewsStoryHeader NewsStoryHeaderOf(const NewsStory& story);

// The story's text as it is read: a tab followed by a lower-case letter stands for one blank fewer
// than the letter's place in the alphabet; carriage returns are dropped.
std::string NewsReadableText(std::string_view text);

// The export text: the header lines, the title, the body. In HTML the texts are escaped, line breaks
// are "<BR>" and a blank after a blank is "&nbsp;".
std::string NewsStoryExportText(const NewsStoryHeader& header, std::string_view text, bool html);
// The whole HTML document saved and printed.
std::string NewsStoryHtmlDocument(const NewsStoryHeader& header, std::string_view text);

// A story whose body is shorter than this shows the no-body text.
inline constexpr size_t kNewsShortestBody = 10;
inline constexpr const char* kNewsNoBodyText = "There is no body to this news item.";

} // namespace qv
