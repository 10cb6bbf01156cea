// The progress window of a filter run and its ticks.
#include "datamining/FilterProgress.h"

#include "core/DataMiningProgress.h"
#include "core/StringPrintf.h"
#include "datamining/FilterEvaluation.h"
#include "shell/DdeService.h"
#include "shell/IdleWork.h"

namespace qv {
namespace {

struct ProgressState {
    FilterProgressWindow* window = nullptr;
    bool open = false;
    uint32_t ticks = 0;
};

ProgressState& State()
{
    static ProgressState state;
    return state;
}

} // namespace

void SetFilterProgressWindow(FilterProgressWindow* window) { State().window = window; }

bool FilterProgressOpen() { return State().open; }

void ShowFilterProgress(std::span<const DMCriterion> criteria, CViewBase* view, bool wholeFilter, bool isNew,
                        const std::string& filterName)
{
    ProgressState& s = State();
    if (criteria.empty() || s.open)
        return;
    std::string words;
    uint64_t total = 0;
    if (wholeFilter) {
        words = filterName.empty() ? std::string("the current filter")
                                   : StringPrintf("the filter '%s'", filterName.c_str());
        for (const DMCriterion& c : criteria)
            total += EstimateCriterionWork(c);
    } else {
        words = StringPrintf("the %s criteria", isNew ? "new" : "changed");
        total = EstimateCriterionWork(criteria.front());
    }
    if (total == 0 || !s.window)
        return;
    s.ticks = 0;
    if (!s.window->Open("Data Mining", StringPrintf(" Determining values for %s ", words.c_str()),
                        uint32_t(total), view))
        return;
    s.open = true;
    DataMiningProgress() = &s;
    // Share records may be replaced by a refresh the pumped messages start: the DDE items hold ids
    // meanwhile.
    NotifyDdeReload();
}

void FilterProgressTick()
{
    ProgressState& s = State();
    if (s.open && s.ticks % kFilterProgressPumpEvery == 0) {
        s.window->SetPosition(s.ticks);
        PumpWaitingMessages();
    }
    ++s.ticks;
}

uint32_t FilterTicksToNextPump()
{
    const ProgressState& s = State();
    if (!s.open)
        return UINT32_MAX;
    return (kFilterProgressPumpEvery - s.ticks % kFilterProgressPumpEvery) % kFilterProgressPumpEvery + 1;
}

void CloseFilterProgress()
{
    ProgressState& s = State();
    if (!s.open)
        return;
    s.open = false;
    DataMiningProgress() = nullptr;
    s.window->Close();
    NotifyDdeRefresh();
}

} // namespace qv
