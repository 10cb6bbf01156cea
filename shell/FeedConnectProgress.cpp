// The connecting dialog's step and closing rules.
#include "shell/FeedConnectProgress.h"

#include "realtime/FeedStates.h"

#include <algorithm>

namespace qv {

FeedConnectView FeedConnectStepView(int32_t step)
{
    FeedConnectView v;
    v.position = std::clamp(step, kFeedDisconnected, kFeedConnected);
    constexpr int32_t kFirstError = 10;
    v.text = FeedStepText(step >= kFirstError && step <= kFeedConnectionLost ? step : v.position);
    return v;
}

uint32_t FeedConnectCloseWaitMs(uint32_t elapsedMs)
{
    return elapsedMs < kFeedConnectMinimumMs ? kFeedConnectMinimumMs - elapsedMs : 0;
}

} // namespace qv
