// Context help: the mode entered by "Help on" and the help request of the click that ends it.
#include "shell/ui/ContextHelpMode.h"

#include "shell/HelpTopics.h"
#include "shell/ui/CustomToolBar.h"
#include "shell/ui/SoftMenuQt.h"
#include "views/ViewBase.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

namespace qv {

CContextHelpMode::CContextHelpMode(std::function<void(uint32_t)> help, QObject* parent)
    : QObject(parent), help_(std::move(help))
{
}

CContextHelpMode::~CContextHelpMode()
{
    if (active_)
        QApplication::restoreOverrideCursor();
}

void CContextHelpMode::Enter()
{
    if (active_)
        return;
    active_ = true;
    swallowRelease_ = false;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
    qApp->installEventFilter(this);
}

void CContextHelpMode::Leave()
{
    if (!active_)
        return;
    active_ = false;
    QApplication::restoreOverrideCursor();
}

uint32_t CContextHelpMode::RequestAt(QWidget* widget, const QPoint& global)
{
    if (auto* menu = qobject_cast<QMenu*>(widget))
        if (uint32_t command = ActionCommand(menu->actionAt(menu->mapFromGlobal(global))))
            return command;
    if (auto* bar = dynamic_cast<CToolbarButtons*>(widget)) {
        const int i = bar->HitTest(bar->mapFromGlobal(global));
        if (i >= 0 && bar->buttons()[size_t(i)].command)
            return bar->buttons()[size_t(i)].command;
    }
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (const auto* view = dynamic_cast<const CViewBase*>(w))
            return kHelpViewKindBase + uint32_t(view->kind);
    return kHelpFrameRequest;
}

bool CContextHelpMode::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        if (!active_ || !watched->isWidgetType())
            return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        const uint32_t request = RequestAt(static_cast<QWidget*>(watched), mouse->globalPosition().toPoint());
        Leave();
        swallowRelease_ = true;
        if (auto* menu = qobject_cast<QMenu*>(watched))
            menu->close();
        if (help_)
            help_(request);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!swallowRelease_)
            return false;
        swallowRelease_ = false;
        qApp->removeEventFilter(this);
        return true;
    case QEvent::KeyPress:
        if (!active_ || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
            return false;
        Leave();
        qApp->removeEventFilter(this);
        return true;
    default:
        return false;
    }
}

} // namespace qv
