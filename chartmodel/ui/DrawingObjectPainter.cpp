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
#include <QFontMetrics>
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

// The object's pen with its style made a dot, colour and width kept.
constexpr uint32_t kPenStyleBits = 0x0F000000, kDotStyle = 0x02000000;

void PaintShapes(QPainter& painter, const DrawnLineObject& object)
{
    const StudyShapes& shapes = object.shapes;
    const QPen plain = MakePackedPen(DeviceOf(painter), object.pen);
    const QPen dotted = MakePackedPen(DeviceOf(painter), (object.pen & ~kPenStyleBits) | kDotStyle);
    const QPen second = MakePackedPen(DeviceOf(painter), object.secondPen);
    for (const StudySegment& segment : shapes.segments) {
        painter.setPen(segment.secondPen ? second : segment.dotted ? dotted : plain);
        painter.drawLine(segment.from.x, segment.from.y, segment.to.x, segment.to.y);
    }
    painter.setPen(plain);
    for (const StudyArc& arc : shapes.arcs) {
        const QRect box(arc.centre.x - arc.radius, arc.centre.y - arc.radius, 2 * arc.radius, 2 * arc.radius);
        // Qt counts angles anticlockwise from three o'clock in sixteenths of a degree.
        painter.drawArc(box, arc.below ? 180 * 16 : 0, 180 * 16);
    }
    if (shapes.labels.empty())
        return;
    QFont font = painter.font();
    if (shapes.labelPoints > 0)
        font.setPointSize(shapes.labelPoints);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    for (const StudyLabel& label : shapes.labels) {
        const QString text = QString::fromStdString(label.text);
        const int width = metrics.horizontalAdvance(text);
        int left = label.endsAt ? label.at.x - width : label.at.x;
        int baseline = label.at.y + (metrics.ascent() - metrics.descent()) / 2;
        if (label.centred) {
            left = std::min(label.at.x - width / 2, object.pane.right - width);
            baseline = label.at.y - metrics.descent();
        }
        painter.drawText(left, baseline, text);
    }
}

} // namespace

void PaintDrawingObjects(QPainter& painter, const std::vector<DrawnLineObject>& objects)
{
    for (const DrawnLineObject& object : objects) {
        painter.save();
        painter.setClipRect(QRect(QPoint(object.pane.left, object.pane.top), QPoint(object.pane.right, object.pane.bottom)));
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(MakePackedPen(DeviceOf(painter), object.pen));
        if (object.mainLine)
            painter.drawLine(object.from.x, object.from.y, object.to.x, object.to.y);
        PaintShapes(painter, object);
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
