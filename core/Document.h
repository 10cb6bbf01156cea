// The one document: it opens the end-of-day database at start-up (restoring an earlier copy when
// the file is missing), reloads all data on command 513 and frees the database when it goes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace qv {

// Set while command 513 reloads all data; views and commands test it.
extern bool ReloadInProgress;

// The maker's help line named in the fatal missing-file message.
extern const char* const kHelpTelephone;

class CDoc {
public:
    // Opens the database; returns only with it loaded, else ends the program with code 1. A data
    // file named on the command line is used as it is, with no restore offered.
    explicit CDoc(std::optional<std::filesystem::path> commandLineDataFile = std::nullopt);
    ~CDoc();
    CDoc(const CDoc&) = delete;
    CDoc& operator=(const CDoc&) = delete;

    // The document's commands; true when the command was handled.
    bool onCommand(uint32_t command);

    // Frees everything and loads the database and the user's data files again (command 513).
    void ReloadAllData();

    int32_t elementCount() const;
};

// The fatal box for a database that cannot be found; ends the program with code 1.
[[noreturn]] void DatabaseMissing();

} // namespace qv
