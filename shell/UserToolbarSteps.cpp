// Start-up and exit steps of the user toolbars.
#include "shell/UserToolbarSteps.h"

#include "platform/Display.h"
#include "platform/Registry.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PortfolioRoutines.h"
#include "shell/AppServices.h"
#include "shell/ToolbarFile.h"
#include "shell/UserToolbars.h"
#include "views/FrameState.h"

namespace qv {
namespace {

constexpr const char* kToolbarSettings = "Settings";
constexpr const char* kToolbarColour = "ToolbarColour";

} // namespace

void StoreToolbarBackground(uint32_t colour)
{
    ProgramToolbars().background = colour;
    Registry::Instance().setU32(kToolbarSettings, kToolbarColour, colour);
}

void LoadUserToolbarsAtStartUp()
{
    ToolbarSet& set = ProgramToolbars();
    ScreenRect desktop = Display().desktopRect();
    if (desktop.right > desktop.left && desktop.bottom > desktop.top)
        set.screen = ScreenSize{desktop.right - desktop.left, desktop.bottom - desktop.top};
    GetPortfolioFileHooks().resolvePortfolioShortcuts = [] {
        ResolvePortfolioShortcuts(ProgramToolbars().portfolioTargets);
        ProgramToolbars().UpdatePortfolioButtons();
    };
    GetPortfolioRoutineHooks().replaceShortcuts = [](uint16_t removed, uint16_t replacement) {
        ProgramToolbars().ReplacePortfolioTarget(removed, replacement);
    };
    if (std::optional<uint32_t> colour = Registry::Instance().getU32(kToolbarSettings, kToolbarColour))
        set.background = *colour & 0xFFFFFF;
    LoadToolbarConfig(false);
    set.DropUnavailableButtons();
    if (FrameHooks* frame = MainFrameHooks())
        frame->RefreshToolbars();
}

void FreeUserToolbarsAtExit() { ProgramToolbars().ClearToolbars(); }

} // namespace qv
