// The links a share's website and e-mail texts open: a web address with its scheme and a
// "mailto:" address, for the list cells and the frame's commands alike.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// The website text cut at its first blank (a ';' before the blank goes too), with "http://" put in
// front unless the text names its own scheme ("https://...").
std::string WebsiteLink(std::string_view text);
// "mailto:" and the address, unless the text starts with "mailto:" already.
std::string MailLink(std::string_view text);

} // namespace qv
