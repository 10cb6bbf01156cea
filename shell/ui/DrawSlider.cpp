// The colour slider widget: gradient bands, the thumb, mouse and keys.
#include "shell/ui/DrawSlider.h"

#include "core/ui/PenSelect.h"
#include "shell/ui/ButtonBitmaps.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QStyleOptionFocusRect>

namespace qv {
namespace {

int ThumbHeightFor(int width) { return width > 1 ? width - 1 : 1; }

constexpr int kThumbMask = 828;

// A pointer at the channel: a block with a notch towards it.
QImage ThumbMask()
{
    QImage mask(kButtonWorkSize, kButtonWorkSize, QImage::Format_RGB32);
    mask.fill(Qt::black);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygonF({QPointF(2, 32), QPointF(30, 4), QPointF(62, 4), QPointF(62, 60), QPointF(30, 60)}));
    return mask;
}

int Channel(uint32_t colour, int shift) { return int((colour >> shift) & 0xFF); }

uint32_t StepDown(uint32_t start, const double (&step)[3], double steps)
{
    uint32_t colour = 0;
    int i = 0;
    for (int shift : {0, 8, 16}) {
        int c = int(Channel(start, shift) - step[i++] * steps);
        colour |= uint32_t(std::clamp(c, 0, 255)) << shift;
    }
    return colour;
}

} // namespace

CDrawSlider::CDrawSlider(uint32_t baseColour, bool lightness, QWidget* parent)
    : QWidget(parent), base_(baseColour & 0xFFFFFF), lightness_(lightness)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    layoutChannel();
}

void CDrawSlider::layoutChannel()
{
    QRect channel = channelRect();
    track_.channelTop = channel.top();
    track_.channelHeight = channel.height();
}

QRect CDrawSlider::channelRect() const
{
    QRect client = rect();
    int cut = client.width() * 9 / 20;
    return QRect(client.left(), client.top() + cut / 2, client.width() - cut, std::max(0, client.height() - cut));
}

QRect CDrawSlider::thumbRect() const
{
    QRect channel = channelRect();
    int width = rect().width() - channel.width();
    int height = ThumbHeightFor(width);
    return QRect(channel.right() + 2, track_.thumbTop(height), std::max(1, width - 1), height);
}

void CDrawSlider::SetThumbPos(int position)
{
    track_.position = std::clamp(position, track_.minimum, std::max(track_.minimum, track_.maximum));
    update();
}

void CDrawSlider::SetRange(int minimum, int maximum, bool repaint)
{
    track_.minimum = minimum;
    track_.maximum = maximum;
    if (repaint)
        update();
}

void CDrawSlider::SetBaseColour(uint32_t colour)
{
    SliderBase base = BaseForColour(colour);
    base_ = base.base;
    track_.position = base.position;
    update();
}

int CDrawSlider::PositionOfColour(uint32_t colour) const { return qv::PositionOfColour(base_, colour); }

uint32_t CDrawSlider::GetColour() const
{
    return lightness_ ? LightnessColourAt(base_, track_.position) : base_;
}

void CDrawSlider::report(SliderCode code)
{
    emit scrolled(SliderNotice(track_.position, code));
}

void CDrawSlider::paintChannel(QPainter& painter, QRect channel) const
{
    int steps = lightness_ ? 511 : 256;
    int height = channel.height();
    if (height <= 0)
        return;
    int band = height > steps ? height / steps : 1;
    double perRow = height <= steps ? double(steps) / height : 0;
    double fromWhite[3], towardsBlack[3];
    int i = 0;
    for (int shift : {0, 8, 16}) {
        int b = Channel(base_, shift);
        fromWhite[i] = StepFromWhite(b, 1);
        towardsBlack[i++] = StepTowardsBlack(b, 1, !lightness_);
    }
    double taken = 0;
    for (int y = channel.top(); y <= channel.bottom(); y += band) {
        uint32_t colour;
        if (!lightness_)
            colour = StepDown(base_, towardsBlack, taken);
        else if (taken < 256)
            colour = StepDown(0xFFFFFF, fromWhite, taken);
        else
            colour = StepDown(base_, towardsBlack, taken - 255);
        painter.fillRect(QRect(channel.left(), y, channel.width(), std::min(band, channel.bottom() - y + 1)), ColourFromWord(colour));
        taken += height <= steps ? perRow : 1;
    }
}

void CDrawSlider::paintThumb(QPainter& painter, QRect thumb) const
{
    if (thumb.width() < 3 || thumb.height() < 3)
        return;
    // The thumb's picture, in a shade between the face and the text colours, so that it reads on any
    // face; it is stretched to the thumb.
    static CButtonBitmaps bitmaps = [] {
        RegisterButtonMask(kThumbMask, ThumbMask());
        return CButtonBitmaps(kThumbMask);
    }();
    bitmaps.Draw(painter, thumb, thumb.size(), WordFromColour(palette().windowText().color()),
                 WordFromColour(palette().button().color()), 0);
}

void CDrawSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().button());
    QRect channel = channelRect();
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = channel;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
        channel.adjust(1, 1, -1, -1);
    }
    paintChannel(painter, channel);
    paintThumb(painter, thumbRect());
}

void CDrawSlider::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutChannel();
}

void CDrawSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    setFocus();
    int y = int(event->position().y());
    QRect thumb = thumbRect();
    if (thumb.contains(event->position().toPoint())) {
        dragging_ = true;
        return;
    }
    track_.position = track_.clickTowardsMark(y, y > thumb.center().y(), thumb.height());
    report(SliderThumbPosition);
    update();
}

void CDrawSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_)
        return;
    int position = track_.positionAt(int(event->position().y()));
    if (position == track_.position)
        return;
    track_.position = position;
    report(SliderThumbTrack);
    repaint();
}

void CDrawSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (!dragging_ || event->button() != Qt::LeftButton)
        return;
    dragging_ = false;
    report(SliderThumbPosition);
}

void CDrawSlider::keyPressEvent(QKeyEvent* event)
{
    SliderKey key;
    switch (event->key()) {
    case Qt::Key_Up: key = SliderKey::Up; break;
    case Qt::Key_Down: key = SliderKey::Down; break;
    case Qt::Key_PageUp: key = SliderKey::PageUp; break;
    case Qt::Key_PageDown: key = SliderKey::PageDown; break;
    case Qt::Key_Home: key = SliderKey::Home; break;
    case Qt::Key_End: key = SliderKey::End; break;
    default: QWidget::keyPressEvent(event); return;
    }
    report(ApplySliderKey(track_, key));
    update();
}

void CDrawSlider::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void CDrawSlider::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

} // namespace qv
