// The shell's side of the intraday engine: the engine's hooks (main-window notices, view refreshes,
// closes from the database, extra items for new instruments), the connection step for the frame,
// the feed commands' start and stop, and the DDE server's intraday feed.
#pragma once

#include "shell/DdeServer.h"

#include <functional>
#include <string>

namespace qv {

// The intraday values the DDE server serves, read from the engine under the store's shared lock.
class DdeRTFeed : public DdeIntradayFeed {
public:
    int connectionState() const override;
    std::optional<uint32_t> changeMarks(uint32_t shareKey) override;
    void clearChangeMarks(uint32_t shareKey) override;
    int decodeColumnFlags(uint8_t field, uint32_t marks) override;
    DdeValue columnValue(uint32_t shareKey, uint8_t field, uint32_t qualifier) override;
    void setWatchList(const std::vector<uint32_t>& shareKeys) override;
    void attachTarget(uint64_t targetId) override;
    ~DdeRTFeed() override;

private:
    uint64_t target_ = 0;
    bool listMade_ = false;
};
DdeRTFeed& TheDdeRTFeed();

// The connecting dialog, while open, follows each connection step here (user-interface thread).
std::function<void(int32_t step)>& FeedConnectProgressHook();

// Installs the engine's hooks and the frame's feed seams; app/LayerHooks calls it.
void InstallFeedClient();
// What the disconnect alert says: the connection's end, why, and whether another attempt follows.
std::string FeedDisconnectAlertText(int32_t failure, bool retrying);

} // namespace qv
