// A share's website and e-mail texts made into links.
#include "shell/CompanyLinks.h"

namespace qv {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if ((text[i] | 0x20) != prefix[i])
            return false;
    return true;
}

} // namespace

std::string WebsiteLink(std::string_view text)
{
    std::string_view address = text.substr(0, text.find(' '));
    if (address.size() < text.size() && !address.empty() && address.back() == ';')
        address.remove_suffix(1);
    if (StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://"))
        return std::string(address);
    return "http://" + std::string(address);
}

std::string MailLink(std::string_view text)
{
    if (StartsWithNoCase(text, "mailto:"))
        return std::string(text);
    return "mailto:" + std::string(text);
}

} // namespace qv
