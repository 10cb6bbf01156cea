// Importing a price file as an imported item: the item's record, its place in the imported-item
// list (a new id, or the id of the item it replaces with every reference moved to it), and the
// whole import of one file with its messages.
#pragma once

#include "core/PriceImportText.h"
#include "core/RecordLists.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

// An import whose record would pass this many bytes makes nothing: a record of closes alone, or one
// of full days (open, high, low, close and volume), which take some five times the room.
constexpr size_t kImportRecordLimit = 30000;
constexpr size_t kImportFullRecordLimit = 65000;
inline size_t ImportRecordLimit(bool fullDays) { return fullDays ? kImportFullRecordLimit : kImportRecordLimit; }

// The item's record: head, name, the price sub-record with its keywords, scale and first date, and
// the stream; `lastValue` gives the market value. Its statistics are left for the list to compute.
std::vector<uint8_t> BuildImportedRecord(const std::string& name, const ImportKeywords& keywords, int16_t scale,
                                         PackedDate firstDate, double lastValue, std::span<const uint8_t> stream);

// The imported item of exactly this name (the first in the list), or null.
RecordListNode* FindImportedItemByName(std::string_view name);

// Adds a copy of the record with the lowest free id, in name order; null, after "More than 4000
// imports would be created", when no id is free.
uint8_t* AddImportedItem(std::span<const uint8_t> record);
// Puts a copy of the record in place of the item: it keeps the item's id, every portfolio entry and
// share-list entry that showed the item shows the copy, and only then is the item freed.
uint8_t* ReplaceImportedItem(RecordListNode* item, std::span<const uint8_t> record);
// Moves every portfolio and share-list entry from one record to another.
void RepointRecordEntries(const uint8_t* from, uint8_t* to);

// One import (or one folder's imports) and how its messages reach the user.
struct ImportRun {
    ImportSettings settings;
    // A folder import: with error level 1 the messages are collected for one report at the end;
    // messages that end a file's import never wait for an answer.
    bool quiet = false;
    std::vector<std::string> collected;
    int skippedLines = 0;
    bool cancelled = false; // the user cancelled a message or the naming dialog
    uint16_t createdId = 0; // the id of the item the last import made
    std::vector<uint16_t> createdIds; // every item the last import made, in the file's order
};

// Asks for the name of an item whose file names none (the file's name shown); none when cancelled.
using ImportNameDialog = std::function<std::optional<std::string>(const std::string& fileName)>;
void SetImportNameDialog(ImportNameDialog dialog);

// Imports the file; true when the caller should stop (a failure or Cancel), false when the item was
// made (one item for each ticker of a file of many shares). The caller refreshes the views.
bool ImportPriceFile(const std::filesystem::path& path, ImportRun& run);

} // namespace qv
