// The application object: it runs start-up, the message loop and the exit, and gives the start-up
// order the screen, the keys, the splash and the main frame.
#pragma once

#include "shell/StartUp.h"

#include <QApplication>
#include <memory>

namespace qv {

class CMainFrame;
class CViewRequests;
class CFrameCommandHost;
class CWindowCommands;
class CWindowFactory;
class CInfoCentreFrameHost;

class CQuorvantisApp : public QApplication, public StartUpHost {
    Q_OBJECT
public:
    CQuorvantisApp(int& argc, char** argv);
    ~CQuorvantisApp() override;

    // Start-up, the message loop and the exit; the program's exit code.
    int Run();

    bool InitInstance();
    int ExitInstance(int loopCode);

    CMainFrame* frame() const { return frame_.get(); }
    ProgramState& state() { return state_; }

    // StartUpHost.
    ScreenInfo screen() const override;
    bool ctrlHeld() const override;
    std::optional<std::string> askPassword() override;
    void showSplash() override;
    void endSplash() override;
    void createFrameObject() override;
    bool createFrameWindow(CDoc& document) override;
    int placeFrame(const FramePlacement& placement) override;
    void setFrameCaption(const std::string& caption) override;
    void createLayoutWindows() override;
    void rebuildMenuBarAndShow() override;
    void showTipOfTheDay() override;
    void postFrameCommand(uint32_t command) override;
    void checkBrowserVersion() override;

protected:
    // The splash takes the first key or click.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void armDeveloperHooks();

    std::string commandLine_;
    ProgramState state_;
    std::unique_ptr<CMainFrame> frame_;
    // Made with the layout windows; they go before the frame.
    std::unique_ptr<CWindowFactory> windows_;
    std::unique_ptr<CViewRequests> requests_;
    std::unique_ptr<CFrameCommandHost> commands_;
    std::unique_ptr<CWindowCommands> windowCommands_;
    std::unique_ptr<CInfoCentreFrameHost> infoCentre_;
};

} // namespace qv
