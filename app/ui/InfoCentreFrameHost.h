// The InfoCentre store as the main frame runs it: made at start-up, its first rebuild reported to the
// frame's menu and command rules, its document windows on the HTML engine, and the frame's
// InfoCentre commands: the contents, the settings, the introduction and the text sizes.
#pragma once

#include "infocentre/InCStore.h"
#include "views/CommandUpdate.h"

#include <memory>
#include <optional>
#include <string>

namespace qv {

class CMainFrame;

// The engine's version where this build and display can show documents; nothing otherwise.
std::optional<std::string> UsableHtmlEngine();

class CInfoCentreFrameHost : public InCStoreHost {
public:
    explicit CInfoCentreFrameHost(CMainFrame& frame);
    ~CInfoCentreFrameHost() override;

    CInCStore& store() { return *store_; }

    bool HasDocumentWindows() const override;
    std::unique_ptr<InCDocumentWindow> CreateDocumentWindow(CInCStore& store, uint16_t number,
                                                             const InCDocSummary& summary, bool autoView) override;
    void InfoCentreLoaded(bool ready) override;

private:
    CMainFrame& frame_;
    std::unique_ptr<CInCStore> store_;
    // The text sizes act on the document window last worked in.
    CommandHandlerTable textSizes_;
};

} // namespace qv
