// View-base window: "No Data", titles, focus and keys.
#include "views/ui/ViewBaseWindow.h"

#include "core/ShareList.h"
#include "platform/qt/QtText.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/KeyCodes.h"
#include "views/ui/ViewClassRegistry.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

namespace qv {
namespace {

constexpr int kCtrlTimerMs = 500;
constexpr int kVirtualKeyControl = 0x11;

// The Ctrl timer is program-wide: one runs at a time whichever view started it.
QTimer& CtrlTimer()
{
    static QTimer* timer = [] {
        auto* t = new QTimer;
        t->setSingleShot(true);
        t->setInterval(kCtrlTimerMs);
        return t;
    }();
    return *timer;
}

} // namespace

void RetitleGroup(ShareList* group)
{
    for (CViewBase* v = group ? group->views : nullptr; v; v = v->nextInList)
        if (auto* window = dynamic_cast<CViewBaseWnd*>(v))
            window->UpdateTitle();
}

CViewBaseWnd::CViewBaseWnd(int32_t kind, QWidget* parent) : CViewBase(kind), QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    setMinimumSize(160, 90);
}

CViewBaseWnd::~CViewBaseWnd()
{
    closing_ = true;
    ShareList* group = secondList ? secondList : list;
    UnlinkViewFromLists(this);
    RetitleGroup(group);
}

bool CViewBaseWnd::WindowVisible() const { return !closing_ && isVisible(); }

void CViewBaseWnd::InvalidateWindow()
{
    CViewBase::InvalidateWindow();
    update();
}

void CViewBaseWnd::OnRefresh()
{
    ++refreshes_;
    UpdateTitle();
    update();
}

void CViewBaseWnd::SetResyncCode(uint32_t) { ++resyncs_; }

QString CViewBaseWnd::Title() const
{
    std::string source = GetSourceTitle(false);
    return FromCp1252(DecorateTitle(source.empty() ? ViewKindClassName(kind) : source));
}

void CViewBaseWnd::UpdateTitle()
{
    QString title = Title();
    setWindowTitle(title);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->setWindowTitle(title);
}

bool CViewBaseWnd::ctrlTimerRunning() const { return CtrlTimer().isActive(); }

void CViewBaseWnd::DrawNoData(QPainter& painter, const QRect& client, int top, const QString& text)
{
    QString shown = text.isEmpty() ? QStringLiteral("No Data") : text;
    QRect line(client.left(), top, client.width(), painter.fontMetrics().height());
    painter.drawText(line, Qt::AlignHCenter | Qt::AlignTop, shown);
}

void CViewBaseWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    DrawNoData(painter, rect(), height() / 2 - painter.fontMetrics().height() / 2);
}

void CViewBaseWnd::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    OnSetFocus();
}

void CViewBaseWnd::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    // A menu taking the keyboard, or another program's window, leaves this the view commands act on.
    Qt::FocusReason reason = event->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason || reason == Qt::ActiveWindowFocusReason) {
        CViewBase::hasFocus = 0;
        return;
    }
    // A panel docked beside the view in the same child window works on the view: the view stays the
    // one the menus and toolbars act on.
    QWidget* next = QApplication::focusWidget();
    auto* child = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (next && child && child->isAncestorOf(next) && !isAncestorOf(next)) {
        CViewBase::hasFocus = 0;
        return;
    }
    OnKillFocus();
}

void CViewBaseWnd::keyPressEvent(QKeyEvent* event)
{
    uint32_t key = WindowsKeyCode(*event);
    if (!IsChartViewKind(kind)) {
        if (key == kVirtualKeyControl) {
            if (!CtrlTimer().isActive())
                CtrlTimer().start();
        } else {
            CtrlTimer().stop();
        }
    }
    FrameHooks* frame = MainFrameHooks();
    if (frame)
        frame->NoteKeyState(KeyStateOf(*event));
    bool used = frame && key != 0 && frame->HandleViewKey(key);
    uint32_t character = FindShareCharacter(*event);
    if (!used && character != 0)
        used = OnFindShareKey(character);
    // The modifiers belong to this key alone: a command chosen later from a menu sees none.
    if (frame)
        frame->NoteKeyState(KeyState{});
    if (!used)
        QWidget::keyPressEvent(event);
}

void CViewBaseWnd::keyReleaseEvent(QKeyEvent* event)
{
    if (WindowsKeyCode(*event) == kVirtualKeyControl)
        CtrlTimer().stop();
    QWidget::keyReleaseEvent(event);
}

} // namespace qv
