// The connecting dialog's step and closing rules.
#include "shell/FeedConnectProgress.h"

#include "realtime/FeedStates.h"

#include <algorithm>

namespace qv {

FeedConnectView FeedConnectStepView(int32_t step, int32_t failure)
{
    FeedConnectView v;
    v.position = std::clamp(step, kFeedDisconnected, kFeedConnected);
    constexpr int32_t kFirstError = 10;
    v.text = FeedStepText(step >= kFirstError && step <= kFeedConnectionLost ? step : v.position);
    if (auto text = FeedFailurePaneText(step, failure))
        v.text = *text;
    return v;
}

std::optional<std::string> FeedFailurePaneText(int32_t step, int32_t failure)
{
    if (step < kFeedDisconnected || step > kFeedLocating || !*FeedFailureText(failure))
        return std::nullopt;
    return std::string(FeedFailureText(failure));
}

uint32_t FeedConnectCloseWaitMs(uint32_t elapsedMs)
{
    return elapsedMs < kFeedConnectMinimumMs ? kFeedConnectMinimumMs - elapsedMs : 0;
}

} // namespace qv
