// The find-a-share rules: the program-wide name index of every database item, extra item and
// imported item, the lines the search list shows for a typed text, the remembered choices and the
// Fast EPIC decision. The dialog (shell/ui/FindShareDlg) carries them out.
#pragma once

#include "core/RecordCursor.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class ItemSource : uint8_t { Database, Extra, Imported };

struct NameIndexItem {
    RecordCursor cursor;
    ItemSource source = ItemSource::Database;
};

// Names compared character by character with letters taken in upper case; <0, 0, >0.
int CompareShareNames(std::string_view a, std::string_view b);

// Merges the three sources in name order (the database first on equal names, then extra items, then
// imported items). Each pair is taken once: a set of pairs seen keeps later copies out, and nothing is
// written into the records.
std::vector<NameIndexItem> MergeNameSources(const std::vector<NameIndexItem>& database,
                                            const std::vector<NameIndexItem>& extra,
                                            const std::vector<NameIndexItem>& imported);
// Builds the index from the loaded database (every sub-record of every record), the extra records
// (under their lock) and the imported items.
std::vector<NameIndexItem> BuildNameIndex();

// The exchange label of a market number; "LSE" for any number outside the table.
const char* MarketLabel(unsigned market);
// The market of an item: extra items carry it in the low bits of their head word; the others are
// London's.
unsigned ItemMarket(const NameIndexItem& item);
// The item's EPIC (upper case), empty when it has none.
std::string ItemEpic(const NameIndexItem& item);
// The former name: the previous-names field up to its first "|"; empty when the name never changed.
std::string FormerName(const RecordCursor& cursor);
// Class bits of the record's flags (byte 4, mask 0x38); mode 2 leaves out the class 0x18.
bool ExcludedInMode2(const RecordCursor& cursor);

struct FindShareQuery {
    std::string text;
    bool useEpic = false;
    bool firstLetter = true;
    int mode = 0;               // 2 leaves out the excluded class
    bool marketsInUse = false;  // the real-time option
    RecordCursor previous;      // the share chosen before, selected again when listed
};

struct FindShareLine {
    std::string text;
    std::string key; // EPIC mode: the label and EPIC (or the EPIC alone)
    NameIndexItem item;
};

struct FindShareFill {
    std::vector<FindShareLine> lines; // at most kFindShareLines
    int selection = -1;               // -1 with no line
    bool exact = false;               // EPIC mode with a trailing space
    std::string typed;                // the text without the trailing space
};
constexpr size_t kFindShareLines = 100;
constexpr size_t kNeighbourhoodBefore = 11;

FindShareFill FillFindShareList(const std::vector<NameIndexItem>& index, const FindShareQuery& query);

// True when the fill should press OK at once: EPIC mode, one line, Fast EPIC on, the typed text as
// long as the line's key, and (while markets are in use with no ":" typed) not the start of a label.
bool FastEpicTakes(const FindShareFill& fill, const FindShareQuery& query, bool fastEpic);

// The lines of the index that name the same share as the chosen one (equal names), at most eight,
// the chosen one among them; for the share-type chooser when there is more than one.
std::vector<RecordCursor> SameShareLines(const std::vector<NameIndexItem>& index, const RecordCursor& chosen);

// The remembered choices, kept in the option block.
struct FindShareChoices {
    bool useEpic = false;
    bool firstLetter = true;
    bool fastEpic = false;
    bool fastEpicQuestionSuppressed = false;
    bool showAlphabet = false;
};
FindShareChoices LoadFindShareChoices();
void StoreFindShareChoices(const FindShareChoices& choices);

// Whether the database names EPIC codes: at least one item of the index has one.
bool IndexHasEpics(const std::vector<NameIndexItem>& index);

// The item data of a list line: sub-index in the upper 16 bits, share id in the lower 16.
uint32_t FindShareItemData(const RecordCursor& cursor);

} // namespace qv
