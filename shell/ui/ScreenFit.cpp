// Keeping a window that grows while shown inside its screen's available area.
#include "shell/ui/ScreenFit.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace qv {

QPoint KeptInside(const QRect& frame, const QRect& area)
{
    const int x = std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() + 1 - frame.width()));
    const int y = std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height()));
    return {x, y};
}

void KeepOnScreen(QWidget& window)
{
    QScreen* screen = window.screen();
    if (!window.isVisible() || !window.isWindow() || !screen)
        return;
    const QRect frame = window.frameGeometry();
    const QPoint to = KeptInside(frame, screen->availableGeometry());
    if (to != frame.topLeft())
        window.move(to);
}

} // namespace qv
