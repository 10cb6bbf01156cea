// The intraday engine's state words.
#include "realtime/IntradayState.h"

namespace qv {

int32_t RTEngineState = 0;
uint8_t IntradayLockFlag = 0;

std::atomic<int32_t>& RTConnectionStep()
{
    static std::atomic<int32_t> step{0};
    return step;
}

} // namespace qv
