// Small services of the application object: code scrambling, the analysis plug-in table, the
// printer orientation, the about and tip commands, the list sort setting, the portfolio shortcuts,
// the recalculation after a load and the freeing of the global tables.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace qv {

// Each of five bytes becomes (byte XOR key) + 1; any other length gives a fixed five-character text.
// The result ends at a byte that became 0.
std::string ScrambleCode(std::string_view text);

// There are no in-process servers to preload on this platform; kept for the callers.
void PreloadInProcServer(std::string_view classId);

// One loaded analysis plug-in library.
class PlugInLibrary {
public:
    virtual ~PlugInLibrary() = default;
    // The library's entry of that name, empty when it has none.
    virtual std::function<void()> Entry(const char* name) = 0;
    virtual void Unload() = 0;
};
inline constexpr size_t kPlugInSlots = 10;
struct PlugInSlot {
    std::shared_ptr<PlugInLibrary> library; // null: empty
};
std::array<PlugInSlot, kPlugInSlots>& PlugInTable();
// Empties the ten slots (nothing in the program fills them).
void ResetPlugInTable(bool shiftHeld);
// At exit: each loaded library saves through "QVA_SaveAnal" when it has it and is unloaded.
void SavePlugInAnalyses();

// The default printer's settings as the window layer keeps them.
class DefaultPrinterSettings {
public:
    static constexpr int kPortrait = 1;
    static constexpr int kLandscape = 2;
    virtual ~DefaultPrinterSettings() = default;
    virtual bool Exists() = 0;
    virtual int Orientation() = 0;
    virtual void SetOrientation(int orientation) = 0;
    // The start-up's orientation. A printer whose page layout can wait takes it when the layout is
    // first used, looking for the default printer only then (finding it loads the print system).
    virtual void SetOrientationWhenUsed(int orientation)
    {
        if (Exists())
            SetOrientation(orientation);
    }
    // Whether the page layout was used since the start-up gave it its orientation.
    virtual bool LayoutUsed() { return true; }
};
void SetDefaultPrinterSettings(DefaultPrinterSettings* printer);
// readBack false: the printer takes the stored landscape flag; true: the flag takes the printer's
// orientation. Nothing happens without a default printer, and the flag is kept when the page layout
// was not used (it still holds the flag's own orientation).
void SyncPrinterOrientation(bool readBack);

// The about box (command 57664) and the tip of the day (command 527) are shown by their dialogs once
// these are installed; until then the commands stay greyed.
constexpr uint32_t kCommandAbout = 57664;
constexpr uint32_t kCommandTipOfTheDay = 527;
void SetAboutBox(std::function<void()> show);
void SetTipOfTheDay(std::function<void()> show);
void OnAppAbout();
void OnTipOfTheDay();
// Shows the tip at start-up when the splash was shown and the tip's own setting asks for it.
void ShowTipAtStartUp(bool splashShown, bool showOnStartUp);

// One element of the portfolio chain as the shortcuts see it.
struct PortfolioLink {
    uint32_t number = 0;
    bool named = false;
};
// Makes the nine shortcut numbers refer to existing portfolios; the chain's last element is its end
// mark. An empty chain leaves them.
void ResolvePortfolioShortcuts(std::array<uint32_t, 9>& shortcuts, std::span<const PortfolioLink> chain);
// The same over the program's portfolio chain.
void ResolvePortfolioShortcuts(std::array<uint32_t, 9>& shortcuts);

// The steps that follow a database load or an import; each owner installs its own.
struct AfterLoadSteps {
    std::function<void()> portfolioSeries;
    std::function<void()> dataMining;
    std::function<void()> marketTable;
    std::function<bool()> intradayStoreExists;
    std::function<void()> intradayLinks;
    std::function<void()> releaseRefreshHold;
};
AfterLoadSteps& AfterLoad();
void RecalculateAfterLoad();

// Frees every table of the configuration (names, columns, settings), the portfolio chain and the
// cash accounts.
void FreeTables();

} // namespace qv
