// The InfoCentre store as the main frame runs it: made at start-up, its first rebuild reported to the
// frame's menu and command rules, and its document windows, which no HTML engine here can show yet.
#pragma once

#include "infocentre/InCStore.h"

#include <memory>

namespace qv {

class CMainFrame;

class CInfoCentreFrameHost : public InCStoreHost {
public:
    explicit CInfoCentreFrameHost(CMainFrame& frame);
    ~CInfoCentreFrameHost() override;

    CInCStore& store() { return *store_; }

    bool HasDocumentWindows() const override { return false; }
    std::unique_ptr<InCDocumentWindow> CreateDocumentWindow(CInCStore& store, uint16_t number,
                                                             const InCDocSummary& summary, bool autoView) override;
    void InfoCentreLoaded(bool ready) override;

private:
    CMainFrame& frame_;
    std::unique_ptr<CInCStore> store_;
};

} // namespace qv
