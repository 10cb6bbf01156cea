// Painting the chart's drawing objects, the line style dialog and the chart's context menus.
#include "chartmodel/ui/DrawingObjectPainter.h"

#include "core/PackedPen.h"
#include "core/ui/PenSelect.h"
#include "platform/MessageBox.h"
#include "shell/SoftMenu.h"
#include "shell/ui/LineStyleDlg.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/SoftMenuQt.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>

namespace qv {
namespace {

constexpr int kHandleHalf = 3;
constexpr int kSmallHandleHalf = 1;

void InvertSquare(QPainter& painter, ScreenPoint at, int half)
{
    painter.fillRect(QRect(at.x - half, at.y - half, 2 * half + 1, 2 * half + 1), Qt::white);
}

} // namespace

void PaintDrawingObjects(QPainter& painter, const std::vector<DrawnLineObject>& objects)
{
    for (const DrawnLineObject& object : objects) {
        painter.save();
        painter.setClipRect(QRect(QPoint(object.pane.left, object.pane.top), QPoint(object.pane.right, object.pane.bottom)));
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(MakePackedPen(DeviceOf(painter), object.pen));
        painter.drawLine(object.from.x, object.from.y, object.to.x, object.to.y);
        if (!object.handles.empty()) {
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            for (size_t i = 0; i < object.handles.size(); ++i)
                InvertSquare(painter, object.handles[i], int(i) == object.smallHandle ? kSmallHandleHalf : kHandleHalf);
        }
        painter.restore();
    }
}

std::optional<DailyChartDrawing::StyleChoice> RunLineStyleDialog(uint32_t pen, uint32_t background, QWidget* parent)
{
    CLineStyleDlg dialog(pen, background, parent);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return DailyChartDrawing::StyleChoice{dialog.word(), dialog.setAsDefault()};
}

uint32_t DrawingKeyCommand(int key, bool shift)
{
    switch (key) {
    case Qt::Key_Tab: return 26133;
    case Qt::Key_Backtab: return 26134;
    case Qt::Key_Delete: return shift ? 20612 : 20611;
    default: return 0;
    }
}

void TrackChartMenu(uint32_t menuId, uint32_t flags, const QPoint& global, QWidget* parent,
                    const std::function<void(uint32_t command)>& run)
{
    const SoftMenu built = LoadSoftMenu(menuId, true, uint8_t(flags));
    if (built.entries.empty() || AutoAnswerMessages() || QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    QMenu* menu = CreateSoftQMenu(built.entries.front(), parent);
    UpdateMenuCommands(*menu);
    QAction* chosen = menu->exec(global);
    const uint32_t command = chosen ? ActionCommand(chosen) : 0;
    menu->deleteLater();
    if (command)
        run(command);
}

} // namespace qv
