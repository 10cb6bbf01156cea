// Progress text throttle and the idle prompts.
#include "shell/ProgressText.h"

#include "shell/ViewGroups.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"
#include "views/ViewKinds.h"

namespace qv {

const char* const kIdlePromptReady = "Ready";

namespace {

const char* const kSlideShowPrompt = "Slide show running - press Esc to stop";
const char* const kTrainingPrompt = "Training mode - the chart hides the days ahead";
const char* const kNewsSearchPrompt = "Showing the news found by the search";
constexpr const char* kDotRun = "....................................";

} // namespace

ProgressText& MainProgressText()
{
    static ProgressText progress;
    return progress;
}

std::optional<std::string> ProgressText::Show(const std::string& text, int step, bool force, uint32_t nowMs)
{
    if (!MainWindowCreated)
        return std::nullopt;
    uint32_t before = calls_++;
    // The prompt always comes back, or a finished operation's text would stay on show.
    if (step < 1) {
        calls_ = 0;
        return IdlePrompt(MainFrameState().activeView);
    }
    // The tick is compared as a wrapping count.
    bool due = before >= kCallsBetween && int32_t(nowMs - nextTick_) >= 0;
    if (!force && !due)
        return std::nullopt;
    calls_ = 0;
    dots_ = force || dots_ >= kMostDots ? 0 : dots_ + 1;
    nextTick_ = nowMs + kMinimumGapMs;
    std::string shown = text.substr(0, size_t(step));
    shown.append(kDotRun, size_t(dots_ < kMostDots ? dots_ : kMostDots));
    return shown;
}

std::string IdlePrompt(const CViewBase* view)
{
    if (SlideShowRunning)
        return kSlideShowPrompt;
    if (view && IsChartViewKind(view->kind) && view->GraphTrainingMode())
        return kTrainingPrompt;
    if (view && view->kind == kViewNews && GetViewGroupFields(view->list).newsResults)
        return kNewsSearchPrompt;
    return kIdlePromptReady;
}

} // namespace qv
