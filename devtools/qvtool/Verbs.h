// The verbs of qvtool: each file registers its own with a static Verb object.
#pragma once

#include <string>
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

struct Verb {
    Verb(const char* name, const char* usage, const char* summary, VerbFunction run)
    {
        AllVerbs().push_back(VerbInfo{name, usage, summary, run});
    }
};

} // namespace qv::tool
