// The "Data Mining" progress window of a filter run: opened when values must be computed, ticked by
// the value cache once per value, and closed when the run ends. The window itself is installed by
// the user-interface layer; without one nothing is shown.
#pragma once

#include "core/DMFilter.h"

#include <cstdint>
#include <span>
#include <string>

namespace qv {

class CViewBase;

// The window: opened centred on the main window with the view's frame disabled meanwhile.
class FilterProgressWindow {
public:
    virtual ~FilterProgressWindow() = default;
    // False when there is no main window to show it on.
    virtual bool Open(const std::string& caption, const std::string& message, uint32_t total, CViewBase* view) = 0;
    virtual void SetPosition(uint32_t position) = 0;
    virtual void Close() = 0;
};
void SetFilterProgressWindow(FilterProgressWindow* window);

// Values ticked between two pumps of the waiting messages.
constexpr uint32_t kFilterProgressPumpEvery = 250;

// Opens the window for a whole filter ("the filter '%s'", or "the current filter" without a name) or
// for one criterion ("the new criteria" / "the changed criteria"), when values must be computed.
void ShowFilterProgress(std::span<const DMCriterion> criteria, CViewBase* view, bool wholeFilter, bool isNew,
                        const std::string& filterName);
// Once per computed value: every 250th sets the bar and pumps the waiting messages.
void FilterProgressTick();
// The ticks up to and including the next that pumps the messages; UINT32_MAX while no window is open.
uint32_t FilterTicksToNextPump();
void CloseFilterProgress();
bool FilterProgressOpen();

} // namespace qv
