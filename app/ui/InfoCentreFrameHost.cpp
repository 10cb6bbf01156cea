// The frame's InfoCentre: the store on the program's content folder, reporting to the frame.
#include "app/ui/InfoCentreFrameHost.h"

#include "platform/Paths.h"
#include "shell/ui/MainFrame.h"

#include <optional>

namespace qv {

CInfoCentreFrameHost::CInfoCentreFrameHost(CMainFrame& frame)
    : frame_(frame), store_(std::make_unique<CInCStore>(AppPath("Data\\Content"), false, this))
{
}

CInfoCentreFrameHost::~CInfoCentreFrameHost()
{
    store_->StopTimer();
}

std::unique_ptr<InCDocumentWindow> CInfoCentreFrameHost::CreateDocumentWindow(CInCStore&, uint16_t,
                                                                               const InCDocSummary&, bool)
{
    return nullptr;
}

void CInfoCentreFrameHost::InfoCentreLoaded(bool ready)
{
    // No web browser control on this platform yet: the item stays out of the menu, while the rules
    // learn that the store is ready.
    frame_.CheckBrowserVersion(std::nullopt, ready);
}

} // namespace qv
