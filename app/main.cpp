// Quorvantis: the program starts in the folder it is started from, which holds all its files.
#include "core/WindowLayoutFile.h"
#include "platform/Paths.h"
#include "platform/qt/QtPlatform.h"
#include "shell/FrameState.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/TimerCallbackHost.h"
#include "shell/ui/ViewRequests.h"
#include "shell/ui/WindowFactory.h"

#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvantis"));
    qv::SetProgramFolder(std::filesystem::current_path());
    qv::InstallQtPlatform();
    qv::InstallQtTimerCallbacks();

    qv::CMainFrame frame;
    frame.show();
    qv::MainWindowCreated = 1;
    qv::CWindowFactory windows(frame);
    qv::CViewRequests requests(frame, windows);
    qv::LoadViews(-1, qv::LayoutContextFromConfig(0));
    windows.ApplyLayout(-1);

    // For unattended runs (tests, CI): close the main window after this many milliseconds.
    if (const char* ms = std::getenv("QV_AUTO_EXIT_MS"))
        QTimer::singleShot(std::atoi(ms), &frame, &QWidget::close);
    return QApplication::exec();
}
