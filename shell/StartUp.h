// The program's start-up and exit in their order, in plain code: the window layer supplies the
// screen, the keys, the splash and the main frame through a host.
#pragma once

#include "core/RegistrySettings.h"
#include "shell/CommandLine.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace qv {

class CDoc;
class SingleInstanceLock;

inline constexpr const char* kInstanceLockName = "QuorvantisMutexFromPelmorI";
inline constexpr uint32_t kUpdateCommand = 25000;
inline constexpr uint32_t kTimedUpdateDelayMs = 20000;
inline constexpr uint32_t kFeedLevelsCommand = 27061;
inline constexpr int kExitAnotherCopy = 3;
inline constexpr int kExitNoMainWindow = 4;
inline constexpr int kExitPasswordRefused = 5;
// The byte of the stored options that counts starts between two resolution advices.
inline constexpr size_t kResolutionAdviceCounter = 476;

// Set from the end of start-up on; other parts of the program read it.
extern uint8_t StartUpComplete;

struct ScreenInfo {
    int width = 800;
    int height = 600;
    int bitsPerPixel = 32;
    int pixelsPerInchY = 96;
};

// Where the main window goes: the command line's rectangle, the stored placement, or maximised.
struct FramePlacement {
    enum class Kind { CommandLine, Stored, Maximised } kind = Kind::Maximised;
    int x = 0, y = 0, width = 0, height = 0;
    WindowPlacement stored;
};

class StartUpHost {
public:
    virtual ~StartUpHost() = default;
    virtual ScreenInfo screen() const = 0;
    virtual bool spaceHeld() const { return false; }
    virtual bool ctrlHeld() const { return false; }

    // The program password typed by the user; nothing when the user gives up (or nobody can ask).
    virtual std::optional<std::string> askPassword() { return std::nullopt; }
    virtual void showSplash() = 0;
    virtual void endSplash() = 0;

    virtual void createFrameObject() = 0;
    virtual bool createFrameWindow(CDoc& document) = 0;
    // The frame's right edge after it has been placed.
    virtual int placeFrame(const FramePlacement& placement) = 0;
    virtual void setFrameCaption(const std::string& caption) = 0;
    virtual void createLayoutWindows() = 0;
    virtual void rebuildMenuBarAndShow() = 0;
    virtual void showTipOfTheDay() = 0;
    virtual void postFrameCommand(uint32_t command) = 0;
    // The installed web browser's version, into the frame.
    virtual void checkBrowserVersion() = 0;
};

// What start-up leaves for the rest of the run and for the exit.
struct ProgramState {
    CommandLineSettings commandLine;
    uint32_t startTick = 0;
    bool configSkip = false;
    bool placementUsable = true;
    bool realTimeOptionInFile = false;
    bool newMailWaiting = false;
    std::unique_ptr<SingleInstanceLock> instanceLock;
    std::unique_ptr<CDoc> document;

    ProgramState();
    ~ProgramState();
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;
};

// The whole start-up; true when the main window stands. Ends the program with code 3 for a second
// copy (unless "/m:57"), 4 when the main window cannot be made and 5 when the program password is
// not given; the password is asked before anything is loaded.
bool RunStartUp(StartUpHost& host, ProgramState& state, const std::string& commandLine);

// The whole exit: stops the services, saves every file in order, frees the data and closes the lock.
void RunExit(ProgramState& state);
// Saves the user's files: window layouts, portfolios, filters, cash accounts, the configuration,
// imports, the lines-and-text and price-correction stores and the toolbars. Only when exiting are the
// filters, imports and stores freed afterwards.
void SaveProgramData(bool exiting);

// The tip dialog's show-at-start-up setting (registry "Settings" "ShowTipOnStartUp" is 0 or less).
bool TipsShowAtStartUp();

} // namespace qv
