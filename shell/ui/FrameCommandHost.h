// The frame's commands for tables and settings, options, alarms, help, tools, the web, the slide
// show, saving and the real-time feed, each with its update rule, running its own work or a dialog
// of another subsystem through the frame's seams; the portfolio commands have a host of their own.
#pragma once

#include "shell/FrameCommandRules.h"
#include "shell/FrameSwitches.h"
#include "shell/SettingCommands.h"
#include "views/CommandUpdate.h"

#include <QObject>
#include <cstdint>
#include <memory>
#include <string>

namespace qv {

class CMainFrame;
class CViewRequests;
class CViewBase;
class CPortfolioCommandHost;

class CFrameCommandHost : public QObject, public CommandTarget {
public:
    CFrameCommandHost(CMainFrame& frame, CViewRequests& requests);
    ~CFrameCommandHost() override;

    bool UpdateCommand(CommandUi& ui) override;
    bool RunCommand(uint32_t command) override;

    // What the update rules see now.
    FrameCommandFacts Facts() const;

    // Tables and settings.
    void SelectSetting(CViewBase* view, int32_t number, bool a, bool b);
    void RestoreTable(int32_t number);
    void RestoreTransactionTable(int32_t selector);
    void RenameConfiguration(int32_t number);
    void CopyConfiguration();
    void RenameLayout(int32_t slot);

    CPortfolioCommandHost& portfolios() { return *portfolios_; }

    // Tools.
    bool RunOptionsSheet(uint16_t pageMask);
    void ShowPopupMenu(uint32_t menuId, int subIndex);
    void OnSlideShow();
    void OpenCompanyPage();
    void SaveCurrentData();
    void ConnectFeed();
    void DisconnectFeed();
    void OnIncomingMessage();
    void OnNicknameInUse();

private:
    bool UpdateTableCommand(CommandUi& ui) const;
    bool RunTableCommand(uint32_t command);
    bool RunToolCommand(uint32_t command);
    bool SeamInstalled(uint32_t command) const;
    bool UpdateRenameButton(CommandUi& ui) const;
    void RenameButtonTarget();
    void RefreshAllViews();
    bool WaitUntilActive(int milliseconds);

    CMainFrame& frame_;
    CViewRequests& requests_;
    std::unique_ptr<CPortfolioCommandHost> portfolios_;
};

// The view's configuration kind and number (its table number or, for graphs and the ticker, its
// setting number).

} // namespace qv
