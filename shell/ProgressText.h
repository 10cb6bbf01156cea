// The status-bar progress of long list operations: a text with a cycling run of dots, shown at most
// every thousandth call (unless forced) and no more often than every 250 ms, and the idle prompt
// that comes back when the operation ends.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qv {

class CViewBase;

class ProgressText {
public:
    static constexpr uint32_t kCallsBetween = 1000;
    static constexpr uint32_t kMinimumGapMs = 250;
    static constexpr int kMostDots = 21;

    // The text pane 0 should show now, or nothing. step < 1 asks for the idle prompt.
    std::optional<std::string> Show(const std::string& text, int step, bool force, uint32_t nowMs);

    uint32_t calls() const { return calls_; }
    int dots() const { return dots_; }

private:
    uint32_t nextTick_ = 0;
    uint32_t calls_ = 0;
    int dots_ = 0;
};
ProgressText& MainProgressText();

// The prompt pane 0 shows when nothing runs, for the active view.
std::string IdlePrompt(const CViewBase* activeView);
extern const char* const kIdlePromptReady;

} // namespace qv
