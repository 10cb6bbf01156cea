// The outgoing mailbox message of a submitted InfoCentre form.
#include "infocentre/FormMessage.h"

#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "resources/WebAddresses.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <system_error>

namespace qv {

namespace {

constexpr size_t kMaxUser = 80;

struct FormPage {
    uint32_t number = 0;
    std::string name;
};

// The document's page files, in page-number order: the name, decimal digits and ".new".
std::vector<FormPage> PagesOf(const fs::path& folder, const std::string& documentName)
{
    std::vector<FormPage> pages;
    for (const std::string& name : FindFiles(folder, documentName + "*.new")) {
        const std::string digits = name.substr(documentName.size(), name.size() - documentName.size() - 4);
        if (digits.empty() || digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        pages.push_back({uint32_t(std::stoul(digits)), name});
    }
    std::sort(pages.begin(), pages.end(), [](const FormPage& a, const FormPage& b) { return a.number < b.number; });
    return pages;
}

void ShowFormError(const std::string& code, int error)
{
    const std::string detail = error ? std::strerror(error) : "No detailed message for this error";
    ShowMessage("Quorvantis is unable to process the data you have entered on the form.\nPlease perform an Update "
                "and try again.  If the error recurs, please contact\nQuorvantis support quoting code: '" +
                    code + detail + "'",
                {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

// The message put in the mailbox under a name of its own; false when no name could be taken.
bool PutInMailbox(const fs::path& out, const std::vector<uint8_t>& bytes)
{
    static uint32_t sent = 0;
    const uint32_t seed = uint32_t(std::hash<std::string>{}(std::to_string(std::time(nullptr)) + "/" + std::to_string(++sent)));
    char name[16];
    std::snprintf(name, sizeof name, "FRM%04X.tmp", seed & 0xFFFF);
    const fs::path temporary = out / name;
    if (!WriteFileBytes(temporary, bytes))
        return false;
    for (uint32_t i = 0; i < 0x10000; ++i) {
        std::snprintf(name, sizeof name, "FRM%04X.MBO", (seed + i) & 0xFFFF);
        if (RenameNoReplace(temporary, out / name))
            return true;
        if (!fs::exists(temporary))
            return false;
    }
    ForceDelete(temporary);
    return false;
}

} // namespace

std::string FormMessageTitle(const std::string& documentName) { return documentName + " Form Field Contents"; }

std::string FormMailHeader(const std::string& user, const std::string& title)
{
    if (user.empty())
        return {};
    return "From: " + user + "@" + kMailDomain + "\r\nSubject: " + title + "\r\n\r\n";
}

std::string BuildMailHeader(const std::string& title)
{
    const Registry& registry = Registry::Instance();
    std::string user = registry.getString("Email", "Address").value_or("").substr(0, kMaxUser);
    if (user.empty())
        user = registry.getString("Comms", "Account").value_or("");
    return FormMailHeader(user, title);
}

std::vector<uint8_t> FormMessageBytes(const FormMessage& m)
{
    ByteWriter out;
    out.u32(1);
    out.u32(1);
    out.u32(uint32_t(m.destination.size()));
    out.u32(0);
    out.bytes(m.destination.data(), m.destination.size());
    out.u32(uint32_t(m.title.size() + 1));
    out.cString(m.title);
    out.u32(uint32_t(m.header.size() + m.body.size() + 1));
    out.bytes(m.header.data(), m.header.size());
    out.cString(m.body);
    return out.take();
}

std::optional<FormMessage> ParseFormMessage(std::span<const uint8_t> bytes)
{
    ByteReader in(bytes.data(), bytes.size());
    uint32_t one = 0, two = 0, length = 0, zero = 0;
    if (!in.u32(one) || !in.u32(two) || !in.u32(length) || !in.u32(zero) || length > in.remaining())
        return std::nullopt;
    FormMessage m;
    std::span<const uint8_t> part = in.take(length);
    m.destination.assign(part.begin(), part.end());
    if (!in.u32(length) || length == 0 || length > in.remaining())
        return std::nullopt;
    part = in.take(length);
    if (part.back() != 0)
        return std::nullopt;
    m.title.assign(part.begin(), part.end() - 1);
    if (!in.u32(length) || length != in.remaining() || length == 0 || bytes.back() != 0)
        return std::nullopt;
    // The header ends at its empty line; the body is the rest less its zero.
    part = in.take(length);
    const std::string rest(part.begin(), part.end() - 1);
    const size_t blank = rest.starts_with("From: ") ? rest.find("\r\n\r\n") : std::string::npos;
    const size_t headerEnd = blank == std::string::npos ? 0 : blank + 4;
    m.header = rest.substr(0, headerEnd);
    m.body = rest.substr(headerEnd);
    return m;
}

bool SendFormData(const std::string& destination, const std::string& documentName)
{
    const fs::path content = AppPath("Data\\Content");
    const std::vector<FormPage> pages = PagesOf(content, documentName);
    FormMessage message{destination, FormMessageTitle(documentName), {}, {}};
    for (const FormPage& page : pages) {
        errno = 0;
        const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(content / page.name);
        if (!bytes) {
            ShowFormError("Open error reading form data from CSV file;\n", errno);
            return false;
        }
        std::string line(bytes->begin(), bytes->end());
        line = line.substr(0, line.find_first_of("\r\n"));
        if (line.empty())
            continue;
        if (!message.body.empty())
            message.body += ',';
        message.body += line;
    }
    message.header = BuildMailHeader(message.title);
    std::error_code error;
    const fs::path out = AppPath("MAILBOX\\OUT");
    fs::create_directories(out, error);
    errno = 0;
    if (error || !PutInMailbox(out, FormMessageBytes(message))) {
        ShowFormError("Error writing the outgoing message;\n", error ? error.value() : errno);
        return false;
    }
    for (const FormPage& page : pages)
        ForceDelete(content / page.name);
    return true;
}

} // namespace qv
