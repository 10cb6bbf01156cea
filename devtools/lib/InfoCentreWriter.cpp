// Descriptor bytes, pages and the demo's InfoCentre library.
#include "devtools/lib/InfoCentreWriter.h"

#include "infocentre/InCDescriptor.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"

#include <system_error>

namespace qv::dev {
namespace {

void PutU16(std::vector<uint8_t>& out, uint16_t v)
{
    uint8_t b[2];
    StoreU16(b, v);
    out.insert(out.end(), b, b + 2);
}

void PutText(std::vector<uint8_t>& out, const std::string& text)
{
    out.push_back(uint8_t(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

bool WriteText(const std::filesystem::path& file, const std::string& text)
{
    return WriteFileBytes(file, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

} // namespace

std::vector<uint8_t> InCDescriptorBytes(const InCDocumentSpec& spec)
{
    std::vector<uint8_t> out = {'Z', 'Q', 'I', 'C', 0, 0};
    PutU16(out, spec.number);
    out.push_back(spec.classFlags);
    out.push_back(spec.displayFlags);
    PutU16(out, 0);
    PutU16(out, spec.expiry);
    out.push_back(0);
    out.push_back(0);  // window size mode
    PutU16(out, 0);    // size value
    PutU16(out, 0);    // orientation
    out.push_back('C');
    out.push_back('C');
    PutText(out, spec.title);
    PutText(out, spec.category);
    PutText(out, spec.subCategory);
    PutU16(out, uint16_t(spec.superseded.size()));
    for (uint16_t n : spec.superseded)
        PutU16(out, n);
    uint32_t total = 0;
    for (const std::string& f : spec.files)
        total += uint32_t(f.size() + 1);
    uint8_t t[4];
    StoreU32(t, total);
    out.insert(out.end(), t, t + 4);
    for (const std::string& f : spec.files)
        PutText(out, f);
    return out;
}

std::string InCPage(const std::string& title, const std::string& body)
{
    return "<html><head><title>" + title + "</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"inc.css\">\n"
           "</head><body>\n<h3>" + title + "</h3>\n" + body + "\n</body></html>\n";
}

bool WriteInCDocument(const std::filesystem::path& folder, const InCDocumentSpec& spec, const std::string& body)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    uint16_t fileNumber = spec.fileNumber ? spec.fileNumber : spec.number;
    if (!WriteFileBytes(InCDescriptorPath(folder, fileNumber), InCDescriptorBytes(spec)))
        return false;
    for (const std::string& name : spec.files) {
        auto path = ContentFilePath(folder, name);
        if (!path || path->extension() != ".htm")
            continue;
        if (!WriteText(*path, InCPage(spec.title, body.empty() ? "<p>" + spec.title + "</p>" : body)))
            return false;
    }
    return true;
}

bool WriteDemoInfoCentre(const std::filesystem::path& content)
{
    const std::string form =
        "<form method=\"post\" action=\"qv:docsubmit\">\n"
        "<input type=\"hidden\" name=\"fieldlist\" value=\"name,email,interest\">\n"
        "<input type=\"hidden\" name=\"mandatoryfields\" value=\"name:Your name,email:Your email address\">\n"
        "<input type=\"hidden\" name=\"destemail\" value=\"forms@quorvantis.example\">\n"
        "<p>Your name <input type=\"text\" name=\"name\"></p>\n"
        "<p>Your email address <input type=\"text\" name=\"email\"></p>\n"
        "<p>Interested in <input type=\"checkbox\" name=\"interest\" value=\"shares\"> shares\n"
        "<input type=\"checkbox\" name=\"interest\" value=\"funds\"> funds</p>\n"
        "<p><input type=\"submit\" value=\"Send\"></p>\n</form>";
    const std::string survey =
        "<form method=\"post\" action=\"qv:docsubmit\">\n"
        "<input type=\"hidden\" name=\"fieldlist\" value=\"outlook\">\n"
        "<input type=\"hidden\" name=\"mandatoryfields\" value=\"outlook:Your outlook\">\n"
        "<input type=\"hidden\" name=\"destemail\" value=\"survey@quorvantis.example\">\n"
        "<p>Over the next month the FTSE 100 will go <select name=\"outlook\"><option>up</option>"
        "<option>down</option><option>sideways</option></select></p>\n"
        "<p><input type=\"submit\" value=\"Vote\"></p>\n</form>";
    struct Item {
        InCDocumentSpec spec;
        std::string body;
    };
    const std::vector<Item> items = {
        {{.number = 1, .title = "Introduction", .category = "Ludrin Ossery", .files = {"00001.htm"}},
         "<p>Welcome to the InfoCentre. Newsletters, answers and forms arrive here as they are published.</p>"},
        {{.number = 10, .title = "Newsletter: January", .category = "Newsletters", .subCategory = "2026",
          .files = {"00010.htm"}},
         "<p>Markets opened the year quietly; <a href=\"00011.htm\">February's issue</a> follows.</p>"},
        {{.number = 11, .title = "Newsletter: February", .category = "Newsletters", .subCategory = "2026",
          .files = {"00011.htm"}},
         "<table><tr><th>Index</th><th>Change</th></tr><tr><td>FTSE 100</td><td>+1.2%</td></tr>"
         "<tr class=\"alternate\"><td>FTSE 250</td><td>-0.4%</td></tr></table>"},
        {{.number = 20, .displayFlags = 0x08, .title = "Frequently asked questions", .category = "Help",
          .files = {"00020.htm"}},
         "<p><b>How do I add a share to a portfolio?</b> Open the portfolio and choose Add.</p>"},
        {{.number = 30, .title = "Tell us about yourself", .category = "Forms", .files = {"00030.htm", "thanks.htm"}},
         form},
        {{.number = 40, .classFlags = 0x0C, .title = "Market sentiment", .category = "Quorvantis Sentiment Survey",
          .files = {"00040.htm"}},
         survey},
        {{.number = 50, .title = "Dividend guide (old edition)", .category = "Help", .files = {"00050.htm"}},
         "<p>This edition is replaced by the new one.</p>"},
        {{.number = 51, .title = "Dividend guide", .category = "Help", .superseded = {50}, .files = {"00051.htm"}},
         "<p>Dividends are paid twice a year by most companies.</p>"},
        {{.number = 60, .displayFlags = 0x06, .expiry = 14, .title = "Seminar this fortnight", .category = "Events",
          .files = {"00060.htm"}},
         "<p>An evening seminar on reading charts, for two weeks only.</p>"},
    };
    for (const Item& item : items)
        if (!WriteInCDocument(content, item.spec, item.body))
            return false;
    return WriteText(content / "thanks.htm",
                     InCPage("Thank you", "<p>Thank you. Your answers will be sent with your next update.</p>"));
}

} // namespace qv::dev
