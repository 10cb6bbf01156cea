// What an InfoCentre document may reach: which links and form posts the program follows (and only
// from the user's own click), and which files of the content folder the page may load.
#pragma once

#include "infocentre/HtmlForms.h"

#include <filesystem>
#include <string_view>

namespace qv {

// Where a navigation comes from. Click and Submit are the user's own act on a link or on a control
// of a form; Script is every other navigation (the page's script, a timer, a redirect).
enum class LinkSource { Click, Submit, Script };
enum class LinkAction {
    Verb,         // a "qv:" verb for the program to carry out
    OpenExternal, // a web address for the desktop's browser
    Load,         // a page to load in place, once its file is allowed (ContentFileAllowed)
    Refuse,
};
// How the main frame treats a navigation. Web addresses and the verbs that run commands or post
// forms need the user's click; a form post may only name partsubmit or docsubmit; anything but
// "qv:", web and file addresses (data, blob, mailto, javascript ...) is refused.
LinkAction DecideLink(std::string_view url, LinkSource source);
// The verbs a page may reach without a click: they close, page back, show help or another
// document, and neither run a command nor post a form.
bool VerbAllowedWithoutClick(InCLinkVerb verb);

// What the page does with a file.
enum class ContentUse {
    Page,       // shows it (the main frame or a frame inside it)
    Resource,   // a style sheet, script, picture or font the page uses
    ScriptRead, // reads its bytes from a script (XMLHttpRequest, fetch)
};
// Only a page's own kinds of file (pages, style sheets, scripts, pictures, fonts, sounds) inside the
// content folder, after every link and ".." is resolved, are shown or used; no script reads any file,
// so neither the user's form data beside the pages nor any file outside can be sent out.
bool ContentFileAllowed(const std::filesystem::path& folder, const std::filesystem::path& file, ContentUse use);

} // namespace qv
