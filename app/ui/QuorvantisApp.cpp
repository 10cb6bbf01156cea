// The application object on Qt: the start-up host, the message loop and the exit.
#include "app/ui/QuorvantisApp.h"

#include "app/ui/ChartCheck.h"
#include "app/ui/FeedCheck.h"
#include "app/ui/InfoCentreFrameHost.h"
#include "app/ui/IndicatorCheck.h"
#include "app/ui/RoundTripCheck.h"
#include "app/ui/ScriptedUse.h"
#include "app/ui/WindowLayerHooks.h"
#include "portfolio/PortfolioFile.h"
#include "chartmodel/ui/SeriesProgressDialog.h"
#include "chartmodel/ui/ViewGraphEODWindow.h"
#include "chartmodel/ui/ViewGraphWindow.h"
#include "core/Document.h"
#include "core/DMFilter.h"
#include "datamining/ui/FilterProgressDialog.h"
#include "datamining/ui/AddCriteriaDlg.h"
#include "datamining/ui/ViewDataMining.h"
#include "lists/ListViewOptions.h"
#include "lists/RowSort.h"
#include "lists/ui/ListDialogCommands.h"
#include "lists/ui/ViewDetailWindow.h"
#include "lists/ui/ViewHoldWindow.h"
#include "lists/ui/ViewList.h"
#include "news/ui/NewsReindexDialog.h"
#include "news/ui/ViewNewsWindow.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/qt/QtPlatform.h"
#include "portfolio/PortfolioChooserRules.h"
#include "portfolio/ui/PortfolioWindows.h"
#include "realtime/ui/ViewRTTicker.h"
#include "realtime/ui/ViewTradeList.h"
#include "realtime/ui/ViewGraphRTWindow.h"
#include "shell/AppServices.h"
#include "shell/FrameCommands.h"
#include "shell/FrameDialogSeams.h"
#include "shell/KeyRouting.h"
#include "shell/StartupSteps.h"
#include "shell/ui/AppServicesQt.h"
#include "shell/ui/CommandSweep.h"
#include "shell/ui/FindShareDlg.h"
#include "shell/ui/FrameCommandHost.h"
#include "shell/ui/IdleHost.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ShellDialogs.h"
#include "shell/ui/SplashWnd.h"
#include "shell/ui/TimerCallbackHost.h"
#include "shell/ui/TipOfDay.h"
#include "shell/ui/ViewRequests.h"
#include "shell/ui/WindowCommands.h"
#include "shell/ui/WindowFactory.h"
#include "tools/ui/ToolDialogs.h"

#include <QDir>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <filesystem>

namespace qv {
namespace {

// Developer hook: with QV_RENDER_DIR set, the splash and the main window are saved there as PNG
// files for a person (or a test) to look at.
void SaveRender(QWidget& widget, const char* name)
{
    const char* folder = std::getenv("QV_RENDER_DIR");
    if (!folder || !*folder)
        return;
    QDir dir(QString::fromLocal8Bit(folder));
    dir.mkpath(QStringLiteral("."));
    widget.grab().save(dir.filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
}

// The frame that shows the sort's progress on its status bar.
CMainFrame* sortProgressFrame = nullptr;

void ShowSortProgressOnFrame(const char* text, int step, bool force)
{
    if (sortProgressFrame)
        sortProgressFrame->ShowProgress(QString::fromLatin1(text), step, force);
}

} // namespace

CQuorvantisApp::CQuorvantisApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Quorvantis"));
    setQuitOnLastWindowClosed(true);
    // Qt has taken its own options out of the arguments by now.
    commandLine_ = JoinCommandLine(argc, argv);
    SetProgramFolder(std::filesystem::current_path());
    InstallQtPlatform();
    InstallWindowLayerHooks();
    // The frame's timed callbacks walk the share lists, so they run on this thread.
    InstallQtTimerCallbacks();
    InstallIdleHost();
    InstallAppServicesQt();
    InstallSeriesProgressDialog();
    InstallNewsReindexDialog();
    InstallToolDialogs();
    InstallFilterProgressDialog();
    InstallChartViewClasses();
    InstallDealingsViewClass();
    InstallNewsViewClass();
    InstallDetailViewClass();
    InstallDailyChartClass();
    installEventFilter(this);
}

CQuorvantisApp::~CQuorvantisApp()
{
    removeEventFilter(this);
}

int CQuorvantisApp::Run()
{
    if (!InitInstance())
        return 0;
    return ExitInstance(exec());
}

bool CQuorvantisApp::InitInstance()
{
    // Command 527 shows the tip whenever the user asks for it.
    SetTipOfTheDay([this] { showTipOfTheDay(); });
    bool started = RunStartUp(*this, state_, commandLine_);
    // The live-price views (the trade summary among them) follow the real-time option of this run.
    CurrentListViewOptions().livePrices = RealTimeOptionOn();
    armDeveloperHooks();
    return started;
}

int CQuorvantisApp::ExitInstance(int loopCode)
{
    RunExit(state_);
    SetTipOfTheDay({});
    RemoveShellDialogs();
    RemoveToolDialogs();
    SetFrameCommandTarget(nullptr);
    SetFindShareDialog(nullptr);
    SetFindInvestorDialog(nullptr);
    infoCentre_.reset();
    if (frame_)
        frame_->RemoveHandlers();
    windowCommands_.reset();
    requests_.reset();
    windows_.reset();
    SetSortProgress(nullptr);
    sortProgressFrame = nullptr;
    frame_.reset();
    return loopCode;
}

void CQuorvantisApp::armDeveloperHooks()
{
    if (!frame_)
        return;
    SaveRender(*frame_, "main-window");
    // For unattended runs (tests, CI): close the main window after this many milliseconds.
    if (const char* ms = std::getenv("QV_AUTO_EXIT_MS"))
        QTimer::singleShot(std::atoi(ms), frame_.get(), &QWidget::close);
    // For CI: the charts of the default layouts, then a normal exit; with "/RT" once the feed has
    // delivered 20 s of trading.
    if (const char* check = std::getenv("QV_CHART_CHECK"); check && *check) {
        auto run = [frame = frame_.get()] {
            RunChartCheck(*frame, [frame](int layout) {
                SaveRender(*frame, ("layout-" + std::to_string(layout + 1)).c_str());
            });
            frame->close();
        };
        if (RealTimeOptionOn())
            WaitForTrading(*frame_, 20, run);
        else
            QTimer::singleShot(0, frame_.get(), run);
    }
    // For CI: each indicator window added on a daily chart shows its line; then a normal exit.
    if (const char* check = std::getenv("QV_INDICATOR_CHECK"); check && *check)
        QTimer::singleShot(0, frame_.get(), [frame = frame_.get()] {
            RunIndicatorCheck(*frame, [](const std::string& name, const QImage& image) {
                if (const char* folder = std::getenv("QV_RENDER_DIR"); folder && *folder) {
                    QDir dir(QString::fromLocal8Bit(folder));
                    dir.mkpath(QStringLiteral("."));
                    image.save(dir.filePath(QString::fromStdString(name) + QStringLiteral(".png")));
                }
            });
            frame->close();
        });
    // For CI: every enabled menu command once (twice in the dialog mode), then a normal exit.
    if (const char* sweep = std::getenv("QV_COMMAND_SWEEP"); sweep && *sweep) {
        SweepDialogs dialogs = std::string_view(sweep) == "dialogs" ? SweepDialogs::RunAndAnswered
                                                                    : SweepDialogs::CancelledUnseen;
        QTimer::singleShot(0, frame_.get(), [frame = frame_.get(), dialogs] {
            ReportCommandSweep(RunCommandSweep(*frame, dialogs));
            frame->close();
        });
    }
    // For CI, with "/RT": what the feed delivered of the day, then a normal exit.
    if (const char* check = std::getenv("QV_FEED_CHECK"); check && *check)
        QTimer::singleShot(0, frame_.get(), [frame = frame_.get(), mode = std::string(check)] {
            auto run = mode == "reconnect" ? RunFeedReconnectCheck : mode == "alarm" ? RunFeedAlarmCheck : RunFeedCheck;
            run(*frame, [frame] { frame->close(); });
        });
    // For CI: a short session driven as a user would, ending with File > Exit.
    // "round-trip-1" and "round-trip-2": the save, exit and restart check instead.
    if (const char* script = std::getenv("QV_SCRIPTED_USE"); script && *script) {
        const std::string_view mode(script);
        const int roundTrip = mode == "round-trip-1" ? 1 : mode == "round-trip-2" ? 2 : 0;
        QTimer::singleShot(0, frame_.get(), [frame = frame_.get(), roundTrip] {
            if (roundTrip)
                RunRoundTrip(*frame, roundTrip);
            else
                RunScriptedUse(*frame);
        });
    }
}

bool CQuorvantisApp::eventFilter(QObject* watched, QEvent* event)
{
    if (HideSplashOnInput(*event))
        return true;
    return QApplication::eventFilter(watched, event);
}

ScreenInfo CQuorvantisApp::screen() const
{
    ScreenInfo info;
    QScreen* screen = primaryScreen();
    if (!screen)
        return info;
    info.width = screen->geometry().width();
    info.height = screen->geometry().height();
    info.bitsPerPixel = screen->depth();
    info.pixelsPerInchY = int(screen->logicalDotsPerInchY() + 0.5);
    return info;
}

bool CQuorvantisApp::ctrlHeld() const
{
    return queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

std::optional<std::string> CQuorvantisApp::askPassword()
{
    return AskProgramPassword(nullptr);
}

void CQuorvantisApp::showSplash()
{
    EnableSplash(true);
    ShowSplash(nullptr);
}

void CQuorvantisApp::endSplash()
{
    if (CSplashWnd* splash = SplashWindow())
        SaveRender(*splash, "splash");
    EndSplash();
}

void CQuorvantisApp::createFrameObject()
{
    frame_ = std::make_unique<CMainFrame>();
    SetFrameCommandTarget(frame_.get());
    InstallShellDialogs(*frame_);
    InstallFindShareDialog(frame_.get());
    sortProgressFrame = frame_.get();
    SetSortProgress(ShowSortProgressOnFrame);
}

bool CQuorvantisApp::createFrameWindow(CDoc&)
{
    return frame_ != nullptr;
}

int CQuorvantisApp::placeFrame(const FramePlacement& placement)
{
    switch (placement.kind) {
    case FramePlacement::Kind::CommandLine:
        frame_->setWindowFlag(Qt::WindowStaysOnTopHint);
        frame_->setGeometry(placement.x, placement.y, placement.width, placement.height);
        return placement.x + placement.width;
    case FramePlacement::Kind::Stored: {
        const WindowPlacement& p = placement.stored;
        frame_->setGeometry(p.normalLeft, p.normalTop, p.normalRight - p.normalLeft, p.normalBottom - p.normalTop);
        // A window closed while minimised comes back in its normal state.
        if (p.showCommand == 3)
            frame_->setWindowState(Qt::WindowMaximized);
        return p.normalRight;
    }
    case FramePlacement::Kind::Maximised:
        frame_->setWindowState(Qt::WindowMaximized);
        return screen().width;
    }
    return screen().width;
}

void CQuorvantisApp::setFrameCaption(const std::string& caption)
{
    // The caption is the frame's title only: a display name would be added again to the end of
    // every window's title, dialogs included.
    frame_->setWindowTitle(QString::fromLatin1(caption.c_str()));
}

void CQuorvantisApp::createLayoutWindows()
{
    RegisterListViews();
    RegisterDataMiningView();
    InstallCriterionDialog();
    windows_ = std::make_unique<CWindowFactory>(*frame_);
    requests_ = std::make_unique<CViewRequests>(*frame_, *windows_);
    InstallPortfolioWindows();
    InstallTradeListViewClass();
    InstallIntradayChartClass();
    InstallTickerViewClass();
    requests_->SetPortfolioChooser([] {
        bool deleteFlag = false;
        return FrameDialogs().portfolioChooser ? FrameDialogs().portfolioChooser(9, deleteFlag) : nullptr;
    });
    SetChooserFilterNames([] {
        std::vector<std::string> names;
        for (const auto& filter : FilterList())
            names.push_back(filter->name);
        return names;
    });
    commands_ = std::make_unique<CFrameCommandHost>(*frame_, *requests_);
    windowCommands_ = std::make_unique<CWindowCommands>(*frame_, *windows_, *requests_);
    InstallListDialogCommands(*frame_);
    // The current list shows the portfolio it showed at the last exit, as after a layout switch.
    windows_->ApplyLayout(StoredCurrentPortfolioNumber());
}

void CQuorvantisApp::rebuildMenuBarAndShow()
{
    frame_->RebuildMenuBar();
    frame_->show();
    processEvents();
}

void CQuorvantisApp::showTipOfTheDay()
{
    CTipOfDay tip(ProgramFolder(), frame_.get());
    if (AutoAnswerMessages()) {
        // Unattended: the tip goes to standard error and the dialog closes as "&Close" would.
        std::fprintf(stderr, "Tip of the Day: %s\n", tip.tipText().toLocal8Bit().constData());
        tip.accept();
        return;
    }
    tip.exec();
}

void CQuorvantisApp::checkBrowserVersion()
{
    // The web engine stands for the browser control; the store's first timer tick files the content
    // and reports again, with the store's readiness.
    frame_->CheckBrowserVersion(UsableHtmlEngine(), false);
    infoCentre_ = std::make_unique<CInfoCentreFrameHost>(*frame_);
}

void CQuorvantisApp::postFrameCommand(uint32_t command)
{
    PostCommandToFrame(command);
}

} // namespace qv
