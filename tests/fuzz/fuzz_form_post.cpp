// Fuzzes the InfoCentre form post reader and the link verbs: whatever is posted, a kept value holds
// no double quote and no control character (the form file is one line of quoted values), a name is
// at most 63 characters, and a link's keyword text is never longer than 63.
#include "infocentre/HtmlForms.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    qv::FormDescription form;
    const qv::FormPost post = qv::ParseFormPost(text, form);
    for (const auto& field : post.fields) {
        if (field.first.empty() || field.first.size() > 63)
            std::abort();
        for (char c : field.second)
            if (c == '"' || static_cast<unsigned char>(c) < 0x20)
                std::abort();
    }
    const qv::InCLink link = qv::ParseInCLink(text);
    if (link.verb == qv::InCLinkVerb::None && text.starts_with("qv:"))
        std::abort();
    if (qv::HelpKeyText(text).size() > 63)
        std::abort();
    return 0;
}
