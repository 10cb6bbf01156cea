// Child window of the main frame.
#include "shell/ui/ChildWindow.h"

#include "platform/MessageDispatch.h"
#include "resources/MessageIds.h"
#include "shell/LayoutSwitch.h"
#include "shell/LayoutWindow.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPixmap>
#include <QResizeEvent>
#include <QThread>

namespace qv {
namespace {

constexpr int kSlideShowStopWaitMs = 100;

void SendToFrame(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (MessageTarget* frame = MainFrameTarget())
        SendProgramMessage(*frame, message, wParam, lParam);
}

} // namespace

CChildWindow::CChildWindow() : id_(MainFrameState().windowCounter++)
{
    setAttribute(Qt::WA_DeleteOnClose);
    QPixmap noIcon(16, 16);
    noIcon.fill(Qt::transparent);
    setWindowIcon(QIcon(noIcon));
    stateWatch_ = connect(this, &QMdiSubWindow::windowStateChanged, this,
                          [this](Qt::WindowStates before, Qt::WindowStates now) { RestoredFromMaximised(before, now); });
}

// The base's destructor still changes the window's state, when this is no child window any more.
CChildWindow::~CChildWindow() { disconnect(stateWatch_); }

void CChildWindow::RestoredFromMaximised(Qt::WindowStates before, Qt::WindowStates now)
{
    // A layout opened with its maximised window alone is laid out again with every window however the
    // user un-maximises that window (its restore button, say), as the caption's double click does;
    // else the windows opened next would be lost from the layout. Posted: the re-layout closes this
    // window. Another window taking the maximised state from it is no un-maximising by the user.
    if (!createdMaximised_ || !(before & Qt::WindowMaximized) || (now & Qt::WindowMaximized))
        return;
    if (!isVisible() || !mdiArea() || mdiArea()->subWindowList().size() != 1)
        return;
    createdMaximised_ = false;
    if (MessageTarget* frame = MainFrameTarget())
        PostProgramMessage(*frame, WM_COMMAND, kCommandRelayLayout, 0);
}

void CChildWindow::Create(QMdiArea* area, const QRect& rect, int32_t kind, bool maximised, bool multipleWindows)
{
    kind_ = kind;
    multipleWindows_ = multipleWindows;
    area->addSubWindow(this);
    if (!multipleWindows) {
        setWindowFlags(Qt::FramelessWindowHint);
        area->viewport()->installEventFilter(this);
        FitToClient();
    } else {
        // The ticker's frame has its caption, to drag it by, but no buttons.
        if (kind == kViewTicker)
            setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
        setGeometry(rect);
    }
    ApplyTrackLimits();
    if (multipleWindows && maximised) {
        createdMaximised_ = true;
        showMaximized();
    } else {
        show();
    }
}

void CChildWindow::ShowCreatedMaximised()
{
    createdMaximised_ = multipleWindows_;
    showMaximized();
}

void CChildWindow::SetFixedSize(int width, int height)
{
    fixedWidth_ = width;
    fixedHeight_ = height;
    ApplyTrackLimits();
}

void CChildWindow::ApplyTrackLimits()
{
    setMinimumSize(fixedWidth_ ? fixedWidth_ : kMinTrackWidth, fixedHeight_ ? fixedHeight_ : kMinTrackHeight);
    setMaximumSize(fixedWidth_ ? fixedWidth_ : QWIDGETSIZE_MAX, fixedHeight_ ? fixedHeight_ : QWIDGETSIZE_MAX);
}

void CChildWindow::FitToClient()
{
    QMdiArea* area = mdiArea();
    if (!area)
        return;
    QRect client = area->viewport()->rect();
    if (!multipleWindows_) {
        // The edges lie outside the visible area.
        setGeometry(client.adjusted(-2, -2, 2, 2));
        return;
    }
    if (isMaximized())
        setGeometry(client);
}

void CChildWindow::resizeEvent(QResizeEvent* event)
{
    QMdiSubWindow::resizeEvent(event);
    FitToClient();
}

bool CChildWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && mdiArea() && watched == mdiArea()->viewport())
        FitToClient();
    return QMdiSubWindow::eventFilter(watched, event);
}

void CChildWindow::closeEvent(QCloseEvent* event)
{
    if (!closingSilently_) {
        if (SlideShowRunning) {
            SlideShowRunning = 0;
            QThread::msleep(kSlideShowStopWaitMs);
        }
        SendToFrame(MSG_CHILD_WINDOW_CLOSED, 0, intptr_t(id_));
    }
    QMdiSubWindow::closeEvent(event);
}

void CChildWindow::CaptionDoubleClicked()
{
    if (isMaximized() && createdMaximised_) {
        createdMaximised_ = false;
        SendToFrame(WM_COMMAND, kCommandRelayLayout, 0);
        return;
    }
    if (!isMaximized())
        SendToFrame(WM_COMMAND, kCommandSaveAllLayouts, 0);
    if (isMaximized())
        showNormal();
    else
        showMaximized();
    if (MayPumpMessages())
        QApplication::processEvents();
    FitToClient();
}

void CChildWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Only the caption: the contents area belongs to the view.
    int captionBottom = widget() ? widget()->geometry().top() : contentsRect().top();
    if (event->button() == Qt::LeftButton && event->position().y() < captionBottom) {
        CaptionDoubleClicked();
        event->accept();
        return;
    }
    QMdiSubWindow::mouseDoubleClickEvent(event);
}

} // namespace qv
