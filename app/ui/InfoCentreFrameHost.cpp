// The frame's InfoCentre: the store on the program's content folder, reporting to the frame.
#include "app/ui/InfoCentreFrameHost.h"

#include "infocentre/ui/HtmlCtrl.h"
#include "infocentre/ui/InCDocDlg.h"
#include "infocentre/ui/InCMainDlg.h"
#include "infocentre/ui/InCSettingsDlg.h"
#include "platform/Paths.h"
#include "shell/FrameDialogSeams.h"
#include "shell/ui/MainFrame.h"

namespace qv {

namespace {

constexpr uint32_t kIntroductionCommand = 27275;

} // namespace

std::optional<std::string> UsableHtmlEngine()
{
    return HtmlEngineAvailable() ? HtmlEngineVersion() : std::nullopt;
}

CInfoCentreFrameHost::CInfoCentreFrameHost(CMainFrame& frame)
    : frame_(frame), store_(std::make_unique<CInCStore>(AppPath("Data\\Content"), !HtmlEngineVersion(), this))
{
    if (!UsableHtmlEngine())
        return;
    SetCommandDialog(kInCContentsCommand, [this, &frame] {
        CInCMainDlg contents(*store_, "", std::nullopt, &frame);
        contents.setWindowModality(Qt::WindowModal);
        return contents.exec() == QDialog::Accepted;
    });
    SetCommandDialog(kInCSettingsCommand, [this, &frame] {
        CInCSettingsDlg settings(*store_, &frame);
        if (settings.exec() != QDialog::Accepted)
            return false;
        AfterInCSettings(*store_, settings.StyleChanged());
        return true;
    });
    // The introduction, ignored while it is already shown.
    SetCommandDialog(kIntroductionCommand, [this] { return store_->ShowIntroduction(); });
    for (uint32_t command = kTextSizeLargestCommand; command <= kTextSizeSmallestCommand; ++command)
        textSizes_.Add(
            command,
            [command] {
                if (CInCDocDlg* window = CInCDocDlg::LastActive())
                    window->control().OnTextSizeCommand(command);
            },
            [command](CommandUi& ui) {
                CInCDocDlg* window = CInCDocDlg::LastActive();
                ui.enabled = window != nullptr;
                ui.checked = window && window->control().IsTextSizeChecked(command);
            });
    AddCommandTarget(&textSizes_);
}

CInfoCentreFrameHost::~CInfoCentreFrameHost()
{
    RemoveCommandTarget(&textSizes_);
    for (uint32_t command : {kInCContentsCommand, kInCSettingsCommand, kIntroductionCommand})
        SetCommandDialog(command, {});
    store_->StopTimer();
}

bool CInfoCentreFrameHost::HasDocumentWindows() const
{
    return UsableHtmlEngine().has_value();
}

std::unique_ptr<InCDocumentWindow> CInfoCentreFrameHost::CreateDocumentWindow(CInCStore& store, uint16_t number,
                                                                               const InCDocSummary& summary,
                                                                               bool autoView)
{
    auto window = std::make_unique<CInCDocDlg>(store, number, summary, autoView);
    if (!window->Open())
        return nullptr;
    return window;
}

void CInfoCentreFrameHost::InfoCentreLoaded(bool ready)
{
    // Without the engine (or on a display that cannot host it) the item stays out of the menu, while
    // the rules learn that the store is ready.
    frame_.CheckBrowserVersion(UsableHtmlEngine(), ready);
}

} // namespace qv
