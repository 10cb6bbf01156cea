// The program-wide keyed item stores and the start-up loading of "Graph.cfg".
#include "core/LinesAndTextFiles.h"

#include "platform/MessageBox.h"

#include <chrono>
#include <thread>

namespace qv {

namespace {
constexpr int kGraphConfigTries = 3;
constexpr int kRetryWaitMs = 1000;
} // namespace

KeyedItemStore& LinesAndTextStore()
{
    static KeyedItemStore store;
    return store;
}

KeyedItemStore& PriceCorrectionStore()
{
    static KeyedItemStore store;
    return store;
}

KeyedItemStore& MarketItemStore()
{
    static KeyedItemStore store;
    return store;
}

void LoadGraphConfigRetry(bool retry, const std::function<void(int ms)>& wait)
{
    for (int attempt = 1;; ++attempt) {
        if (LinesAndTextStore().Load("Graph.cfg"))
            return;
        if (!retry)
            return;
        if (attempt == kGraphConfigTries)
            break;
        if (wait)
            wait(kRetryWaitMs);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(kRetryWaitMs));
    }
    ShowMessage("Quorvantis has encountered a problem reading (Graph.cfg). Please contact Support.");
}

uint8_t* FindPriceCorrections(uint16_t recordId, uint16_t extraWord)
{
    uint8_t* blob = PriceCorrectionStore().GetItem(ShareItemKey(recordId, extraWord), kPriceCorrectionKind, 0);
    if (BlobLength(blob) <= kPriceCorrectionHeadBytes)
        return nullptr;
    return blob + kPriceCorrectionHeadBytes;
}

} // namespace qv
