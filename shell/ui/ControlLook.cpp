// System colours, the GUI font and the three-pen boxes of the shared controls.
#include "shell/ui/ControlLook.h"

#include "core/ui/PenSelect.h"
#include "shell/ui/FontFaces.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QWidget>

namespace qv {

uint32_t SystemColourWord(SystemColour colour)
{
    const QPalette palette = QApplication::palette();
    switch (colour) {
    case SystemColour::ButtonFace: return WordFromColour(palette.color(QPalette::Button));
    case SystemColour::ButtonText: return WordFromColour(palette.color(QPalette::ButtonText));
    case SystemColour::ButtonHighlight: return WordFromColour(palette.color(QPalette::Light));
    case SystemColour::DarkShadow: return WordFromColour(palette.color(QPalette::Shadow));
    case SystemColour::GreyText: return WordFromColour(palette.color(QPalette::Disabled, QPalette::Text));
    case SystemColour::Window: return WordFromColour(palette.color(QPalette::Base));
    case SystemColour::WindowText: return WordFromColour(palette.color(QPalette::Text));
    case SystemColour::Highlight: return WordFromColour(palette.color(QPalette::Highlight));
    case SystemColour::HighlightText: return WordFromColour(palette.color(QPalette::HighlightedText));
    }
    return 0;
}

QFont DefaultGuiFont() { return ProgramFont(QStringLiteral("Arial"), -11); }

QFont EllipsisButtonFont()
{
    QFont font = ProgramFont(QStringLiteral("Arial"), -13);
    font.setBold(true);
    return font;
}

void DrawRaisedBox(QPainter& painter, const QRect& box, bool pressed)
{
    const uint32_t light = SystemColourWord(SystemColour::ButtonHighlight);
    const uint32_t dark = SystemColourWord(SystemColour::DarkShadow);
    const int l = box.left(), t = box.top(), r = box.left() + box.width() - 1, b = box.top() + box.height() - 1;
    PenObject pen;
    SelectPackedPen(painter, pen, pressed ? dark : light);
    painter.drawLine(l, b, l, t);
    painter.drawLine(l, t, r, t);
    SelectPackedPen(painter, pen, pressed ? light : dark);
    painter.drawLine(r, t, r, b);
    painter.drawLine(r, b, l, b);
    SelectPackedPen(painter, pen, SystemColourWord(SystemColour::ButtonFace));
    painter.drawLine(l + 1, b - 1, l + 1, t + 1);
    painter.drawLine(l + 1, t + 1, r - 1, t + 1);
    ReleasePen(painter, pen);
}

void DrawEtchedLine(QPainter& painter, QPoint from, QPoint to)
{
    const QPoint step = from.y() == to.y() ? QPoint(0, 1) : QPoint(1, 0);
    PenObject pen;
    SelectPackedPen(painter, pen, SystemColourWord(SystemColour::DarkShadow));
    painter.drawLine(from, to);
    SelectPackedPen(painter, pen, SystemColourWord(SystemColour::ButtonHighlight));
    painter.drawLine(from + step, to + step);
    ReleasePen(painter, pen);
}

void TakeOverPlaceholder(QWidget& control, QWidget& placeholder)
{
    control.setParent(placeholder.parentWidget());
    control.setGeometry(placeholder.geometry());
    QWidget::setTabOrder(&placeholder, &control);
    placeholder.hide();
    control.show();
}

} // namespace qv
