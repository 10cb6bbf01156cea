// InfoCentre forms and links: post data read and checked, the form data files, the missing-field
// message and the "qv:" verbs.
#include "infocentre/HtmlForms.h"

#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

namespace qv {

namespace {

constexpr size_t kMaxNameLength = 63;

bool IsNameCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// One byte of a value as it is kept; nothing for a control character that has no place in the
// one-line file.
std::optional<char> KeptByte(unsigned char b)
{
    if (b == '"')
        return '\'';
    if (b == '\n' || b == '\r' || b == '\t')
        return ' ';
    if (b < 0x20 || b == 0x7F)
        return std::nullopt;
    return char(b);
}

std::vector<std::string> SplitCommas(std::string_view text)
{
    std::vector<std::string> parts;
    if (text.empty())
        return parts;
    for (size_t start = 0;;) {
        const size_t comma = text.find(',', start);
        parts.emplace_back(text.substr(start, comma - start));
        if (comma == std::string_view::npos)
            return parts;
        start = comma + 1;
    }
}

void ReadDescription(const std::string& name, const std::string& value, FormDescription& form)
{
    if (name == "fieldlist") {
        form.fieldList = SplitCommas(value);
    } else if (name == "mandatoryfields") {
        form.mandatorySeen = true;
        for (const std::string& entry : SplitCommas(value)) {
            const size_t colon = entry.find(':');
            form.mandatory[entry.substr(0, colon)] = colon == std::string::npos ? std::string() : entry.substr(colon + 1);
        }
    } else {
        form.destination = value;
    }
}

void ShowBadlyFormatted(const std::string& documentName)
{
    ShowMessage("Quorvantis is unable to display this InfoCentre document.  Please\ncontact Quorvantis support, "
                "quoting code 'The document \"" +
                documentName +
                "\"\nappears to be incorrectly formatted or corrupt.  The field list, mandatory\nfield list or "
                "destination email address may be wrong.'");
}

void ShowFileError(const char* what, int error)
{
    const std::string detail = error ? std::strerror(error) : "No detailed message for this error";
    ShowMessage(std::string("Quorvantis is unable to process the data you have entered on the form.\nPlease perform an "
                            "Update and try again.  If the error recurs, please contact\nQuorvantis support quoting "
                            "code: '") +
                    what + detail + "'",
                {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

// Writes the text as the whole file; false after reporting the error.
bool WriteFormFile(const std::filesystem::path& path, const std::string& text)
{
    ExclusiveFile file;
    errno = 0;
    if (!file.open(path, ExclusiveFile::Mode::Create)) {
        ShowFileError("Open error writing CSV file;\n", errno);
        return false;
    }
    errno = 0;
    if (!file.write(text.data(), text.size()) || !file.close()) {
        ShowFileError("CSV file write error;\n", errno);
        return false;
    }
    return true;
}

std::optional<uint32_t> Number(std::string_view text)
{
    uint32_t n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc() || end == text.data())
        return std::nullopt;
    return n;
}

} // namespace

FormPost ParseFormPost(std::string_view post, FormDescription& form)
{
    FormPost out;
    auto malformed = [&out] {
        out.result = FormSaveResult::Malformed;
        return out;
    };
    std::string previous;
    for (size_t pos = 0; pos < post.size();) {
        const size_t equals = post.find('=', pos);
        if (equals == std::string_view::npos || equals == pos || equals - pos > kMaxNameLength ||
            !std::all_of(post.begin() + pos, post.begin() + equals, IsNameCharacter))
            return malformed();
        const std::string name(post.substr(pos, equals - pos));
        std::string value;
        for (pos = equals + 1; pos < post.size() && post[pos] != '&'; ++pos) {
            unsigned char b = static_cast<unsigned char>(post[pos]);
            if (b == '+') {
                b = ' ';
            } else if (b == '%') {
                const int high = pos + 2 < post.size() ? HexDigit(post[pos + 1]) : -1;
                const int low = high >= 0 ? HexDigit(post[pos + 2]) : -1;
                if (low < 0)
                    return malformed();
                b = static_cast<unsigned char>(high * 16 + low);
                pos += 2;
            } else if (b <= 0x20 || b == 0x7F) {
                return malformed(); // a literal character must be a graphic one
            }
            const std::optional<char> kept = KeptByte(b);
            if (!kept)
                return malformed();
            value += *kept;
        }
        if (pos < post.size())
            ++pos;
        if (name == "fieldlist" || name == "mandatoryfields" || name == "destemail") {
            ReadDescription(name, value, form);
            previous.clear();
            continue;
        }
        if (form.destination.empty() || form.fieldList.empty() || !form.mandatorySeen) {
            out.badlyFormatted = true;
            return malformed();
        }
        if (!value.empty())
            form.mandatory.erase(name);
        if (name == previous) {
            out.fields.back().second += "," + value;
            continue;
        }
        previous = name;
        const bool seen = std::any_of(out.fields.begin(), out.fields.end(), [&name](const auto& f) { return f.first == name; });
        if (!seen)
            out.fields.emplace_back(name, std::move(value));
    }
    if (!form.mandatory.empty())
        out.result = FormSaveResult::MandatoryMissing;
    return out;
}

std::string FormDataLine(const std::vector<std::string>& fieldList, std::vector<std::pair<std::string, std::string>>& fields)
{
    std::string line;
    for (size_t i = 0; i < fieldList.size(); ++i) {
        auto it = std::find_if(fields.begin(), fields.end(), [&](const auto& f) { return f.first == fieldList[i]; });
        if (i > 0)
            line += ',';
        line += '"';
        if (it != fields.end()) {
            line += it->second;
            fields.erase(it);
        }
        line += '"';
    }
    return line;
}

std::string LeftOverFieldsLine(const std::vector<std::pair<std::string, std::string>>& fields)
{
    std::string line;
    for (const auto& [name, value] : fields) {
        if (!line.empty())
            line += ',';
        line += name + "=\"" + value + "\"";
    }
    return line + "\n";
}

std::string FormDataFileName(const std::string& documentName, uint32_t pageDepth, const char* extension)
{
    return "Data\\Content\\" + documentName + std::to_string(pageDepth) + "." + extension;
}

FormSaveResult SaveFormData(std::string_view post, FormDescription& form, const std::string& documentName,
                            uint32_t pageDepth)
{
    FormPost read = ParseFormPost(post, form);
    if (read.badlyFormatted)
        ShowBadlyFormatted(documentName);
    if (read.result != FormSaveResult::Saved)
        return read.result;
    const std::string line = FormDataLine(form.fieldList, read.fields);
    if (!WriteFormFile(AppPath(FormDataFileName(documentName, pageDepth, "new"), MakeFolders::Yes), line))
        return FormSaveResult::WriteFailed;
    if (!read.fields.empty() &&
        !WriteFormFile(AppPath(FormDataFileName(documentName, pageDepth, "err"), MakeFolders::Yes), LeftOverFieldsLine(read.fields)))
        return FormSaveResult::WriteFailed;
    return FormSaveResult::Saved;
}

std::string MissingFieldsMessage(const FormDescription& form)
{
    std::string text = "The form cannot be submitted until you have\nfilled in the following:\n\n";
    for (const std::string& name : form.fieldList) {
        auto it = form.mandatory.find(name);
        if (it == form.mandatory.end())
            continue;
        std::string line = it->second.empty() ? name : it->second;
        if (!line.empty() && line[0] >= 'a' && line[0] <= 'z')
            line[0] = char(line[0] - 'a' + 'A');
        text += (it->second.empty() ? "\t" : "") + line + "\n";
    }
    return text + "\nPlease enter them into the form and resubmit.";
}

void ListMissingFields(const FormDescription& form) { ShowMessage(MissingFieldsMessage(form)); }

InCLink ParseInCLink(std::string_view url)
{
    InCLink link;
    if (!url.starts_with("qv:"))
        return link;
    url.remove_prefix(3);
    struct Verb {
        std::string_view text;
        InCLinkVerb verb;
        bool numbered;
    };
    static constexpr Verb kVerbs[] = {
        {"closewindow", InCLinkVerb::CloseWindow, false}, {"backpage", InCLinkVerb::BackPage, false},
        {"command/", InCLinkVerb::Command, true},         {"cmdclose", InCLinkVerb::CommandClose, true},
        {"helpkey/", InCLinkVerb::HelpKey, false},        {"help/", InCLinkVerb::Help, true},
        {"partsubmit", InCLinkVerb::PartSubmit, false},   {"docsubmit", InCLinkVerb::DocSubmit, false},
        {"document/", InCLinkVerb::Document, true},
    };
    link.verb = InCLinkVerb::Unknown;
    for (const Verb& v : kVerbs) {
        if (!url.starts_with(v.text))
            continue;
        link.verb = v.verb;
        std::string_view rest = url.substr(v.text.size());
        if (!v.text.ends_with('/') && rest.starts_with('/'))
            rest.remove_prefix(1);
        link.argument = std::string(rest);
        if (v.numbered)
            link.number = Number(rest);
        break;
    }
    return link;
}

void HtmlPageDepth::PageNavigated()
{
    if (!doNotCount_)
        ++depth_;
}

void HtmlPageDepth::NewDocument(bool doNotCount)
{
    depth_ = 0;
    doNotCount_ = doNotCount;
}

bool HtmlPageDepth::BackPage()
{
    if (depth_ == 0)
        return false;
    // The page gone back to is no new page.
    doNotCount_ = true;
    --depth_;
    return true;
}

void HtmlPageDepth::CountPage()
{
    // The load that follows must not count it a second time.
    ++depth_;
    doNotCount_ = true;
}

std::string HelpKeyText(std::string_view text)
{
    std::string out(text.substr(0, kMaxNameLength));
    for (size_t i = 0; i < out.size(); ++i)
        if (out[i] == '%' && i + 2 < out.size())
            out.replace(i, 3, " ");
    return out;
}

HtmlKeyAction RouteHtmlKey(const HtmlKey& key, bool autoView, bool inFormField)
{
    switch (key.kind) {
    case HtmlKey::Kind::Escape:
        return autoView && !key.autoRepeat ? HtmlKeyAction::OpenLater : HtmlKeyAction::CloseWindow;
    case HtmlKey::Kind::Space:
        if (inFormField)
            return HtmlKeyAction::PassOn;
        return key.shift ? HtmlKeyAction::ScrollUp : HtmlKeyAction::ScrollDown;
    case HtmlKey::Kind::Enter:
    case HtmlKey::Kind::Delete:
    case HtmlKey::Kind::Tab: return HtmlKeyAction::DialogKey;
    case HtmlKey::Kind::Character:
        if (key.character == 6)
            return HtmlKeyAction::OpenFindEmpty;
        if (!inFormField && static_cast<unsigned char>(key.character) > 0x20 && key.character != 0x7F)
            return HtmlKeyAction::OpenFind;
        return HtmlKeyAction::PassOn;
    case HtmlKey::Kind::RightButton: return HtmlKeyAction::OpenFindEmpty;
    case HtmlKey::Kind::Other: break;
    }
    return HtmlKeyAction::PassOn;
}

bool IsFormField(std::string_view tagName, std::string_view inputType)
{
    auto same = [](std::string_view a, std::string_view b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return (x | 0x20) == (y | 0x20); });
    };
    if (same(tagName, "textarea") || same(tagName, "select") || same(tagName, "option") || same(tagName, "button"))
        return true;
    if (!same(tagName, "input"))
        return false;
    for (std::string_view type : {"", "text", "password", "email", "number", "search", "tel", "url", "radio", "checkbox",
                                  "button", "submit", "reset", "file"})
        if (same(inputType, type))
            return true;
    return false;
}

} // namespace qv
