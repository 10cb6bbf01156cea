// The rules that keep an InfoCentre document to its own folder and to the user's clicks.
#include "infocentre/ContentAccess.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <system_error>

namespace qv {

namespace {

namespace fs = std::filesystem;

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return std::tolower((unsigned char)a) == std::tolower((unsigned char)b); });
}

bool IsWebAddress(std::string_view url) { return StartsWithNoCase(url, "http:") || StartsWithNoCase(url, "https:"); }

bool IsPageKind(const fs::path& file)
{
    static constexpr std::array<std::string_view, 18> kKinds = {
        ".htm", ".html", ".css", ".js",  ".gif",  ".jpg", ".jpeg", ".png", ".bmp",
        ".ico", ".svg",  ".webp", ".ttf", ".woff", ".woff2", ".wav", ".mp3", ".mid",
    };
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return std::find(kKinds.begin(), kKinds.end(), ext) != kKinds.end();
}

} // namespace

bool VerbAllowedWithoutClick(InCLinkVerb verb)
{
    switch (verb) {
    case InCLinkVerb::CloseWindow:
    case InCLinkVerb::BackPage:
    case InCLinkVerb::HelpKey:
    case InCLinkVerb::Help:
    case InCLinkVerb::Document: return true;
    default: return false;
    }
}

LinkAction DecideLink(std::string_view url, LinkSource source)
{
    if (url.starts_with("qv:")) {
        const InCLinkVerb verb = ParseInCLink(url).verb;
        switch (source) {
        case LinkSource::Click: return LinkAction::Verb;
        case LinkSource::Submit:
            return verb == InCLinkVerb::PartSubmit || verb == InCLinkVerb::DocSubmit ? LinkAction::Verb : LinkAction::Refuse;
        case LinkSource::Script: return VerbAllowedWithoutClick(verb) ? LinkAction::Verb : LinkAction::Refuse;
        }
    }
    if (IsWebAddress(url))
        return source == LinkSource::Script ? LinkAction::Refuse : LinkAction::OpenExternal;
    if (StartsWithNoCase(url, "file:"))
        return LinkAction::Load;
    return LinkAction::Refuse;
}

bool ContentFileAllowed(const fs::path& folder, const fs::path& file, ContentUse use)
{
    if (use == ContentUse::ScriptRead || !IsPageKind(file))
        return false;
    std::error_code ec;
    const fs::path root = fs::weakly_canonical(folder, ec);
    if (ec)
        return false;
    // Links resolved, so that neither ".." nor a link planted in the folder leads out of it.
    const fs::path target = fs::weakly_canonical(file.is_absolute() ? file : folder / file, ec);
    if (ec)
        return false;
    const fs::path inside = target.lexically_relative(root);
    return !inside.empty() && *inside.begin() != ".." && *inside.begin() != ".";
}

} // namespace qv
