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
    std::vector<uint8_t> out;
    out.reserve(256);
    for (uint8_t b : {'Z', 'Q', 'I', 'C', '\0', '\0'})
        out.push_back(b);
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
    auto doc = [](uint16_t number, std::string title, std::string category, std::vector<std::string> files) {
        InCDocumentSpec spec;
        spec.number = number;
        spec.title = std::move(title);
        spec.category = std::move(category);
        spec.files = std::move(files);
        return spec;
    };
    std::vector<Item> items = {
        {doc(1, "Introduction", "Ludrin Ossery", {"00001.htm"}),
         "<p>Welcome to the InfoCentre. Newsletters, answers and forms arrive here as they are published.</p>"
         "<p>Text size: <a href=\"qv:command/27123\">largest</a> <a href=\"qv:command/27124\">large</a> "
         "<a href=\"qv:command/27125\">medium</a> <a href=\"qv:command/27126\">small</a> "
         "<a href=\"qv:command/27127\">smallest</a>. Find a word by typing it; "
         "<a href=\"qv:document/20\">the questions</a> answer the rest; "
         "<a href=\"qv:command/27257\">InfoCentre settings</a>.</p>"},
        {doc(10, "Newsletter: January", "Newsletters", {"00010.htm"}),
         "<p>Markets opened the year quietly; <a href=\"00011.htm\">February's issue</a> follows.</p>"},
        {doc(11, "Newsletter: February", "Newsletters", {"00011.htm"}),
         "<table><tr><th>Index</th><th>Change</th></tr><tr><td>FTSE 100</td><td>+1.2%</td></tr>"
         "<tr class=\"alternate\"><td>FTSE 250</td><td>-0.4%</td></tr></table>"},
        {doc(20, "Frequently asked questions", "Help", {"00020.htm"}),
         "<p><b>How do I add a share to a portfolio?</b> Open the portfolio and choose Add.</p>"},
        {doc(30, "Tell us about yourself", "Forms", {"00030.htm", "thanks.htm"}), form},
        {doc(40, "Market sentiment", "Quorvantis Sentiment Survey", {"00040.htm"}), survey},
        {doc(50, "Dividend guide (old edition)", "Help", {"00050.htm"}), "<p>This edition is replaced by the new one.</p>"},
        {doc(51, "Dividend guide", "Help", {"00051.htm"}), "<p>Dividends are paid twice a year by most companies.</p>"},
        {doc(60, "Seminar this fortnight", "Events", {"00060.htm"}),
         "<p>An evening seminar on reading charts, for two weeks only.</p>"},
    };
    items[1].spec.subCategory = items[2].spec.subCategory = "2026";
    items[3].spec.displayFlags = 0x08; // shown first
    items[5].spec.classFlags = kInCClassResubmit | kInCClassSurvey;
    items[7].spec.superseded = {50};
    items[8].spec.displayFlags = kInCDocExpires | kInCDocExpiryInDays;
    items[8].spec.expiry = 14;
    for (const Item& item : items)
        if (!WriteInCDocument(content, item.spec, item.body))
            return false;
    return WriteText(content / "thanks.htm",
                     InCPage("Thank you", "<p>Thank you. Your answers will be sent with your next update.</p>"));
}

} // namespace qv::dev
