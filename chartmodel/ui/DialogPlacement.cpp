// Placing a dialog beside its calling button.
#include "chartmodel/ui/DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace qv {

void PlaceBesideButton(QWidget& dialog, const QWidget& button)
{
    QRect at(button.mapToGlobal(QPoint(0, 0)), button.size());
    QScreen* screen = QGuiApplication::screenAt(at.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    dialog.adjustSize();
    QRect area = screen->availableGeometry();
    QSize size = dialog.frameGeometry().size();
    int x = at.right() + 1;
    if (x + size.width() > area.right() + 1)
        x = at.left() - size.width();
    x = std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - size.width()));
    int y = std::clamp(at.top(), area.top(), std::max(area.top(), area.bottom() + 1 - size.height()));
    dialog.move(x, y);
}

} // namespace qv
