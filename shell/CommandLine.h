// The program's start-up switches: parsing the command line into the values start-up reads later.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

inline constexpr int32_t kDefaultPortSwitch = 7000;
inline constexpr int32_t kCommsModeNormal = 149;
inline constexpr int32_t kCommsModeAlternate = 150;
inline constexpr int32_t kCommsModeTestServer = 151;

struct CommandLineSettings {
    bool showSplash = true;            // "/nologo" absent
    std::string languageText;          // "/L:"
    std::string spText;                // "/SP:"
    int32_t portNumber = kDefaultPortSwitch; // "/P:"
    int32_t windowX = -1;              // "/C:x,y,w,h"; -1 means no placement given
    int32_t windowY = 0;
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    int32_t commsMode = kCommsModeNormal; // "/D:"
    uint8_t commsFlag = 0;                // "/D:" bit 64
    std::string databaseName;          // "/d:", relative to the program folder; empty: the default
    bool secondCopy = false;           // "/m:57"
    bool unattended = false;           // "/U"
    bool removeDataFiles = false;      // "/R"
    uint8_t unattendedExtra = 0;       // "/X" (only with "/U"), or "/T"
    bool noConfigSave = false;         // "/NC"
    bool timedUpdate = false;          // "/T"
    bool noChartCaption = false;       // "/GC"
    bool realTime = false;             // "/RT": the real-time and multiple-windows options for this run

    bool hasWindowPlacement() const { return windowX != -1; }
};

// Reads every switch from the whole command-line text. Switches are whole blank-separated tokens:
// a flag switch is a token equal to its text, a value switch a token that begins with it and runs
// to the next blank. "/U" alone is still found anywhere in the text, as users of the unattended
// mode rely on.
CommandLineSettings ParseCommandLine(std::string_view text);

// The command line as one text, the arguments joined by single blanks.
std::string JoinCommandLine(int argc, const char* const* argv);

// The data files "/R" removes at start-up: "Data\Quorva.dat", "DirDeal.dat", "Imports.dat" and
// "Cash.dat" below the program folder. A missing file is no error.
void RemoveDataFiles();

} // namespace qv
