// Images of graphic buttons built from up to four monochrome masks in colours computed from a base
// and a second colour, with the last two sizes, colour pairs and states kept ready.
#pragma once

#include "shell/ButtonBitmapRules.h"

#include <QImage>

class QPainter;
class QRect;
class QSize;

namespace qv {

// The program's mask bitmaps by resource id: a white shape on black, taken to 64 x 64.
void RegisterButtonMask(int id, const QImage& mask);
QImage ButtonMaskResource(int id);

class CButtonBitmaps {
public:
    // The first mask is required; 0 marks an absent optional one.
    CButtonBitmaps(int first, int second = 0, int third = 0, int fourth = 0);

    // Copies the image of the size for these colours and state to the rectangle, building it when
    // neither cached copy was made for them.
    void Draw(QPainter& painter, const QRect& rect, const QSize& size, uint32_t base, uint32_t second, int state);

    // Images built so far.
    int builds() const { return builds_; }
    bool present(int mask) const { return !masks_[size_t(mask)].empty(); }

private:
    std::array<ButtonMask, 4> masks_;
    TwoSlotCache<QImage> cache_;
    int builds_ = 0;
};

} // namespace qv
