// What an InfoCentre document's forms and "qv:" links come to, without a browser: the posted form
// data checked and filed for the outgoing mailbox, the missing-field message, and the link verbs.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// A form's description from its three hidden fields, and what a submission leaves of it.
struct FormDescription {
    std::vector<std::string> fieldList;           // "fieldlist": the output columns in order
    std::map<std::string, std::string> mandatory; // "mandatoryfields": name to label (maybe empty)
    bool mandatorySeen = false;
    std::string destination;                      // "destemail"
};

// WriteFailed: the file could not be written (already reported); the page stays, nothing is sent.
enum class FormSaveResult { Saved = 0, MandatoryMissing = 1, Malformed = 2, WriteFailed = 3 };

// The posted fields in arrival order, a repeat following directly joined to its value with a comma.
struct FormPost {
    FormSaveResult result = FormSaveResult::Saved;
    std::vector<std::pair<std::string, std::string>> fields;
    bool badlyFormatted = false; // an ordinary field before the form's description was complete
};

// Reads URL-encoded post data into the description and fields: a name of letters, digits and "_"
// (at most 63) up to "=", a value up to "&" with "+" a blank and "%xx" a byte. A double quote is
// kept as an apostrophe; line feeds, carriage returns and tabs (a text area's lines) as blanks; any
// other control character, coded or not, makes the data malformed. A non-empty value takes its name
// out of the mandatory map.
FormPost ParseFormPost(std::string_view post, FormDescription& form);

// The line of the form data file: each field of the field list, in its order, in double quotes
// (two double quotes without a value), separated by commas. The fields named, with their values, are
// taken out of `fields`; what remains goes to the left-over file.
std::string FormDataLine(const std::vector<std::string>& fieldList, std::vector<std::pair<std::string, std::string>>& fields);
// name="value" entries separated by commas, ended by a line end.
std::string LeftOverFieldsLine(const std::vector<std::pair<std::string, std::string>>& fields);

// The form data of a page of the document: "Data\Content\" + document name + page depth + ".new",
// and the left-over fields beside it with ".err". Malformed data and an incomplete description say
// so (the badly formatted message) and give Malformed; mandatory fields left empty give
// MandatoryMissing and write nothing; a file that cannot be written is reported (WriteFailed).
FormSaveResult SaveFormData(std::string_view post, FormDescription& form, const std::string& documentName,
                            uint32_t pageDepth);
std::string FormDataFileName(const std::string& documentName, uint32_t pageDepth, const char* extension);

// "The form cannot be submitted until you have ..." with a line for each field of the field list
// still in the mandatory map: its label, or a tab and its name, its first letter made a capital.
std::string MissingFieldsMessage(const FormDescription& form);
void ListMissingFields(const FormDescription& form);

// A link the document window follows.
enum class InCLinkVerb {
    None, // not a "qv:" link
    Unknown,
    CloseWindow,
    BackPage,
    Command,
    CommandClose,
    HelpKey,
    Help,
    PartSubmit,
    DocSubmit,
    Document,
};
struct InCLink {
    InCLinkVerb verb = InCLinkVerb::None;
    std::string argument;           // the text after the verb (and its "/")
    std::optional<uint32_t> number; // the argument read as a number, where the verb takes one
};
// A "qv:" link's verb and argument, each verb compared over its own length.
InCLink ParseInCLink(std::string_view url);

// The pages navigated forward inside one document window, which limit "backpage".
class HtmlPageDepth {
public:
    uint32_t Depth() const { return depth_; }
    // A page load begins: it counts unless it was announced as not counting.
    void PageNavigated();
    // The page finished loading: later loads count again.
    void DocumentComplete() { doNotCount_ = false; }
    // A document shown in the window: back to its first page.
    void NewDocument(bool doNotCount);
    // "backpage": true when there is a page to go back to, which the caller then shows.
    bool BackPage();
    // A page the program opens itself (the next page of a form), counted at once.
    void CountPage();

private:
    uint32_t depth_ = 0;
    bool doNotCount_ = true;
};

// helpkey's keyword: the text cut to 63 characters, each "%" with the two characters after it
// made one blank (a "%" without two characters after it is kept).
std::string HelpKeyText(std::string_view text);
// The help topic help/n asks for.
constexpr uint32_t InCHelpTopic(uint32_t n) { return n + 0x10000; }

// What a key or click in a document does before the page sees it.
enum class HtmlKeyAction {
    PassOn,         // the page has it
    OpenLater,      // Escape in a window AutoView opened: the Later... dialog
    CloseWindow,    // Escape otherwise, and any auto-repeated Escape
    ScrollDown,     // Space outside a form field, one window height
    ScrollUp,       // Shift+Space outside a form field
    DialogKey,      // Enter, Delete and Tab: offered to the window's dialog keys first
    OpenFind,       // a graphic character outside a form field: the find dialog with it
    OpenFindEmpty,  // Ctrl+F, and the right mouse button
};
struct HtmlKey {
    enum class Kind { Escape, Space, Enter, Delete, Tab, Character, RightButton, Other };
    Kind kind = Kind::Other;
    bool autoRepeat = false;
    bool shift = false;
    char character = 0; // for Character: the character typed (6 for Ctrl+F)
};
HtmlKeyAction RouteHtmlKey(const HtmlKey& key, bool autoView, bool inFormField);
// Whether the page's active element is a form field that takes Space and typed characters: a text
// input, text area, selection list, option, radio or check box, button or file input.
bool IsFormField(std::string_view tagName, std::string_view inputType);

} // namespace qv
