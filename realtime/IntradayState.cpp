// The intraday engine's state words.
#include "realtime/IntradayState.h"

namespace qv {

int32_t RTEngineState = 0;
uint8_t IntradayLockFlag = 0;

} // namespace qv
