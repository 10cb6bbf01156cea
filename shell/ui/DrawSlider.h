// CDrawSlider: a vertical slider that paints its own channel (a colour gradient) and thumb, and
// reports every move to its parent as a vertical-scroll notice.
#pragma once

#include "shell/ColourSlider.h"

#include <QWidget>

#include <cstdint>

namespace qv {

class CDrawSlider : public QWidget {
    Q_OBJECT
public:
    // A lightness slider runs white - base - black over 511 steps; a channel slider base - black over
    // 256.
    CDrawSlider(uint32_t baseColour, bool lightness, QWidget* parent = nullptr);

    void SetThumbPos(int position);
    void SetRange(int minimum, int maximum, bool repaint);
    void SetBaseColour(uint32_t colour);
    int PositionOfColour(uint32_t colour) const;
    uint32_t GetColour() const;

    int position() const { return track_.position; }
    uint32_t baseColour() const { return base_; }
    QRect channelRect() const;
    QRect thumbRect() const;

signals:
    // (position << 16) | code, as a vertical scroll bar reports its moves.
    void scrolled(uint32_t notice);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void layoutChannel();
    void report(SliderCode code);
    void paintChannel(class QPainter& painter, QRect channel) const;
    void paintThumb(class QPainter& painter, QRect thumb) const;

    uint32_t base_;
    bool lightness_;
    SliderTrack track_;
    bool dragging_ = false;
};

} // namespace qv
