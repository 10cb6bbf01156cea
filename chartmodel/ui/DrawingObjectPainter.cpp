// Painting the chart's drawing objects, the line style dialog and the chart's context menus.
#include "chartmodel/ui/DrawingObjectPainter.h"

#include "chartmodel/ChartFont.h"
#include "chartmodel/ui/MarkerBitmap.h"
#include "core/ConfigState.h"
#include "core/LogFont.h"
#include "core/PackedPen.h"
#include "core/ui/LogFontQt.h"
#include "core/ui/PenSelect.h"
#include "platform/MessageBox.h"
#include "shell/SoftMenu.h"
#include "platform/ByteOrder.h"
#include "shell/ui/BoxColoursDlg.h"
#include "shell/ui/LineStyleDlg.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/SoftMenuQt.h"

#include <QAction>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPolygon>
#include <QTimer>

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
        if (segment.inverted) {
            painter.save();
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            painter.setPen(QPen(Qt::white, 1));
            painter.drawLine(segment.from.x, segment.from.y, segment.to.x, segment.to.y);
            painter.restore();
            continue;
        }
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

constexpr int kTextMargin = 2;
constexpr int kLargestTextPoints = 1000;

// The box's font: its own description at its point size, or the chart font when it names no face.
// Empty when no font can be made of it.
std::optional<QFont> TextBoxFont(const DrawnTextBox& t, const QPainter& painter)
{
    const LogFont described = ReadLogFont(std::span<const uint8_t, kLogFontSize>(t.font.data(), kLogFontSize));
    QFont font;
    if (described.faceName().empty()) {
        const ChartFont chart = ReadChartFont(Config().optionsA);
        font = QFont(QString::fromStdString(chart.face));
        font.setPointSize(t.pointSize > 0 ? t.pointSize : chart.points);
        font.setWeight(QFont::Weight(chart.weight));
        font.setItalic(chart.italic);
        font.setUnderline(chart.underline);
        return font;
    }
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    font = FontFromLogFont(described, dpi);
    const int points = t.pointSize > 0 ? t.pointSize : LogFontPoints(described, dpi);
    if (points <= 0 || points > kLargestTextPoints)
        return std::nullopt;
    font.setPointSize(points);
    return font;
}

void ReportFontFailure()
{
    static bool pending = false;
    if (pending)
        return;
    pending = true;
    // Told after the paint, never from inside it.
    QTimer::singleShot(0, [] {
        ShowMessage("Failed to create Text Box Font");
        pending = false;
    });
}

void PaintTextBox(QPainter& painter, const DrawnTextBox& t)
{
    const QRect box(QPoint(t.box.left, t.box.top), QPoint(t.box.right - 1, t.box.bottom - 1));
    if (t.outlineOnly) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
        return;
    }
    const QColor frame = ColourFromWord(t.frame);
    if (!t.transparent) {
        painter.setPen(frame);
        painter.setBrush(ColourFromWord(t.fill));
        painter.drawRect(box);
    }
    if (t.arrow) {
        painter.setPen(frame);
        painter.drawLine(t.arrow->from.x, t.arrow->from.y, t.arrow->to.x, t.arrow->to.y);
        QPolygon head;
        for (const ScreenPoint& p : t.arrow->head)
            head << QPoint(p.x, p.y);
        painter.setBrush(frame);
        painter.drawPolygon(head);
    }
    const std::optional<QFont> font = TextBoxFont(t, painter);
    if (!font) {
        ReportFontFailure();
        return;
    }
    painter.setFont(*font);
    painter.setPen(ColourFromWord(t.textColour));
    const QRect inside = QRect(QPoint(t.box.left + kTextMargin, t.box.top + kTextMargin - 1),
                               QPoint(t.box.right - kTextMargin, t.box.bottom - kTextMargin));
    const Qt::Alignment align = t.alignment == 1 ? Qt::AlignHCenter : t.alignment == 2 ? Qt::AlignRight : Qt::AlignLeft;
    painter.drawText(inside, int(align | Qt::AlignTop | Qt::TextWordWrap), QString::fromLatin1(t.text.c_str()));
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
        if (object.textBox) {
            painter.save();
            PaintTextBox(painter, *object.textBox);
            painter.restore();
        }
        if (object.bell)
            DrawMarkerBitmap(painter, object.bell->at.x, object.bell->at.y, object.bell->outline, object.bell->fill,
                             object.bell->ringing);
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

namespace {

constexpr int kScreenDpi = 96;

LogFont StoredFont(const uint8_t* stored)
{
    return ReadLogFont(std::span<const uint8_t, kLogFontSize>(stored + textbox::kFont, kLogFontSize));
}

// The box's font as the dialogs show it: its own, or the chart font when it names no face.
LogFont ShownFont(const uint8_t* stored, int& points)
{
    LogFont font = StoredFont(stored);
    points = LoadI32(stored + textbox::kPointSize);
    if (font.faceName().empty()) {
        const ChartFont chart = ReadChartFont(Config().optionsA);
        font.setFaceName(chart.face);
        font.weight = chart.weight;
        font.italic = chart.italic;
        if (points <= 0)
            points = chart.points;
    }
    if (points <= 0)
        points = LogFontPoints(font, kScreenDpi);
    font.height = HeightForPoints(points, kScreenDpi);
    return font;
}

void StoreFont(uint8_t* stored, const LogFont& font, int points)
{
    WriteLogFont(std::span<uint8_t, kLogFontSize>(stored + textbox::kFont, kLogFontSize), font);
    StoreI32(stored + textbox::kPointSize, points);
}

} // namespace

bool RunTextBoxColours(uint8_t* stored, bool& asDefault, QWidget* parent)
{
    BoxColours box;
    box.text = LoadU32(stored + textbox::kTextColour) & 0xFFFFFF;
    box.background = LoadU32(stored + textbox::kFillColour) & 0xFFFFFF;
    box.border = LoadU32(stored + textbox::kFrameColour) & 0xFFFFFF;
    box.flags = LoadU16(stored + 6) & textbox::kTransparent ? kBoxNoBackground : 0;
    box.font = ShownFont(stored, box.points);
    CBoxColoursDlg dialog(box, kScreenDpi, parent);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return false;
    const BoxColours& chosen = dialog.result();
    StoreU32(stored + textbox::kTextColour, chosen.text & 0xFFFFFF);
    StoreU32(stored + textbox::kFillColour, chosen.background & 0xFFFFFF);
    StoreU32(stored + textbox::kFrameColour, chosen.border & 0xFFFFFF);
    const uint16_t style = LoadU16(stored + 6);
    StoreU16(stored + 6, (chosen.flags & kBoxNoBackground) ? uint16_t(style | textbox::kTransparent)
                                                           : uint16_t(style & ~textbox::kTransparent));
    StoreFont(stored, chosen.font, chosen.points);
    asDefault = chosen.setAsDefault;
    return true;
}

bool RunTextBoxFont(uint8_t* stored, QWidget* parent)
{
    int points = 0;
    const LogFont shown = ShownFont(stored, points);
    QFontDialog dialog(FontFromLogFont(shown, kScreenDpi), parent);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return false;
    const QFont chosen = dialog.selectedFont();
    const int chosenPoints = chosen.pointSize() > 0 ? chosen.pointSize() : points;
    StoreFont(stored, LogFontFromFont(chosen, kScreenDpi), chosenPoints);
    return true;
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
