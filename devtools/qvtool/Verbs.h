// The verbs of qvtool: each file registers its own with a static Verb object.
#pragma once

#include "core/RecordAccess.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::tool {

using VerbFunction = int (*)(const std::vector<std::string>& args);

struct VerbInfo {
    const char* name;
    const char* usage;
    const char* summary;
    VerbFunction run;
};

std::vector<VerbInfo>& AllVerbs();

// The bytes of the one FILE a verb takes. Without them it has told the user why and set EXIT_CODE:
// 2 for a wrong argument count (with USAGE, e.g. "cfg FILE"), 1 for an unreadable file.
std::optional<std::vector<uint8_t>> ReadFileArgument(const std::vector<std::string>& args, const char* usage,
                                                     int& exitCode);

// A whole decimal number between low and high (both included); false for any other text.
bool ParseNumber(const std::string& text, int low, int high, int& out);

// The stream whose EPIC (company data field 128, else the record's own EPIC) is the one asked; an
// empty cursor when none is.
RecordCursor FindByEpic(std::string_view epic);

// Makes FOLDER the program folder and loads its database; false, having told the user, when it
// cannot be read.
bool LoadFolderDatabase(const std::string& folder);

// For verbs that take FOLDER EPIC: loads FOLDER's database and finds the stream. Without it the
// verb has told the user why and set EXIT_CODE (2 wrong argument count, 1 no database or share);
// with it the database stays loaded for the verb to free.
std::optional<RecordCursor> LoadFolderShare(const std::vector<std::string>& args, const char* usage, int& exitCode);

struct Verb {
    Verb(const char* name, const char* usage, const char* summary, VerbFunction run)
    {
        AllVerbs().push_back(VerbInfo{name, usage, summary, run});
    }
};

} // namespace qv::tool
