// The chart canvas on a chart window's painter.
#include "chartmodel/ui/GraphCanvas.h"

#include "chartmodel/ui/GraphPainter.h"
#include "core/PackedPen.h"
#include "core/ui/PenSelect.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace qv {

void GraphCanvas::ClipToPane(const GraphPane* pane)
{
    if (pane)
        graph_.SetPaneClip(pane);
    else
        graph_.RemoveClip();
}

void GraphCanvas::SelectPen(uint32_t packedPen) { painter_.setPen(MakePackedPen(DeviceOf(painter_), packedPen)); }

void GraphCanvas::Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1) { graph_.DrawLine(x0, y0, x1, y1); }

void GraphCanvas::FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t colour)
{
    graph_.FillRectNearest(left, top, right, bottom, colour);
}

void GraphCanvas::PaneCaption(const GraphPane& pane, const std::string& text, uint32_t colour)
{
    graph_.QueuePaneCaption(&pane, {{text, colour}});
}

void GraphCanvas::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t fill)
{
    painter_.save();
    painter_.setBrush(ColourFromWord(fill & 0xFFFFFF));
    painter_.drawEllipse(QRect(left, top, std::max(right - left - 1, 1), std::max(bottom - top - 1, 1)));
    painter_.restore();
}

void GraphCanvas::Text(int32_t x, int32_t y, const std::string& text, uint32_t colour, bool alignRight)
{
    painter_.save();
    painter_.setPen(ColourFromWord(colour & 0xFFFFFF));
    painter_.setFont(graph_.LabelFont(8));
    const QString s = QString::fromLatin1(text.c_str());
    const QFontMetrics metrics = painter_.fontMetrics();
    const int left = alignRight ? x - metrics.horizontalAdvance(s) : x;
    painter_.drawText(left, y - metrics.descent(), s);
    painter_.restore();
}

} // namespace qv
