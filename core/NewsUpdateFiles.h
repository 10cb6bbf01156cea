// News update files waiting in the data folder: finding them, checking them and handing them to the
// news database's merge, deleting a file only once it has been merged.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class NewsMergeResult {
    Merged,
    NotMerged, // kept for a later pass
    SetAside,  // damaged: renamed to ".bad" by the merge
};

// What the pass needs of the news database. The base class stands in until the news database is
// built: it takes no lock, loads nothing and merges nothing, so every file is kept for later.
class NewsMergeHost {
public:
    virtual ~NewsMergeHost() = default;
    // The status-bar progress text, shown when the main frame exists.
    virtual void showProgress(std::string_view /*text*/) {}
    // The merge writes the news database, so the whole pass holds its lock exclusively.
    virtual void lockExclusive() {}
    virtual void unlock() {}
    virtual void loadNewsDatabase() {}
    virtual NewsMergeResult mergeNewsUpdate(const std::string& /*fileName*/,
                                            const std::filesystem::path& /*folder*/)
    {
        return NewsMergeResult::NotMerged;
    }
};

// Installs the host (null restores the stand-in); the previous host is returned.
NewsMergeHost* SetNewsMergeHost(NewsMergeHost* host);

// An update file's name, taken in capitals, is eleven characters: "N", six more, ".UPD".
bool IsNewsUpdateFileName(std::string_view name);

// The update files of "data\" below the program folder, sorted by name.
std::vector<std::filesystem::path> FindNewsUpdateFiles();

struct NewsUpdateOutcome {
    int found = 0;
    int merged = 0; // deleted after their merge
    int kept = 0;   // not merged, left in place for the next pass
    int setAside = 0; // damaged, renamed to ".bad"
};

// Merges every waiting update file into the news database and deletes each one that merged.
NewsUpdateOutcome ApplyNewsUpdateFiles();

} // namespace qv
