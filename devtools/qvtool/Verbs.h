// The verbs of qvtool: each file registers its own with a static Verb object.
#pragma once

#include "core/RecordCursor.h"

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

// The stream of the loaded database whose EPIC is the one asked; an empty cursor when none has it.
RecordCursor FindShareByEpic(std::string_view epic);

struct Verb {
    Verb(const char* name, const char* usage, const char* summary, VerbFunction run)
    {
        AllVerbs().push_back(VerbInfo{name, usage, summary, run});
    }
};

} // namespace qv::tool
