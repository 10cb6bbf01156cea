// Button images from masks: layered on the work image in Qt-free code, cached here as QImages.
#include "shell/ui/ButtonBitmaps.h"

#include <QHash>
#include <QPainter>
#include <QRect>

#include <algorithm>

namespace qv {
namespace {

QHash<int, QImage>& MaskResources()
{
    static QHash<int, QImage> masks;
    return masks;
}

ButtonMask MaskOf(int id)
{
    if (id == 0)
        return {};
    QImage image = ButtonMaskResource(id);
    if (image.isNull())
        return {};
    image = image.scaled(kButtonWorkSize, kButtonWorkSize).convertToFormat(QImage::Format_RGB32);
    ButtonMask mask(size_t(kButtonWorkSize * kButtonWorkSize));
    for (int y = 0; y < kButtonWorkSize; ++y)
        for (int x = 0; x < kButtonWorkSize; ++x)
            mask[size_t(y * kButtonWorkSize + x)] = qGray(image.pixel(x, y)) >= 128 ? 1 : 0;
    return mask;
}

// The masks are laid on black, so a scaled pixel is its colour already weighted by its coverage: a
// premultiplied pixel whose alpha is the coverage. Drawn, it leaves what lies outside the masks seen.
QImage ToQImage(const RgbImage& rgb, const RgbImage& coverage)
{
    QImage image(rgb.width, rgb.height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < rgb.height; ++y)
        for (int x = 0; x < rgb.width; ++x) {
            const uint32_t word = rgb.at(x, y);
            const int alpha = int(coverage.at(x, y) & 0xFF);
            auto channel = [&](int shift) { return std::min(alpha, int((word >> shift) & 0xFF)); };
            image.setPixel(x, y, qRgba(channel(0), channel(8), channel(16), alpha));
        }
    return image;
}

} // namespace

void RegisterButtonMask(int id, const QImage& mask) { MaskResources().insert(id, mask); }

QImage ButtonMaskResource(int id) { return MaskResources().value(id); }

CButtonBitmaps::CButtonBitmaps(int first, int second, int third, int fourth)
    : masks_{MaskOf(first), MaskOf(second), MaskOf(third), MaskOf(fourth)}
{
}

void CButtonBitmaps::Draw(QPainter& painter, const QRect& rect, const QSize& size, uint32_t base, uint32_t second,
                          int state)
{
    const ButtonImageKey key{size.width(), size.height(), base & 0xFFFFFF, second & 0xFFFFFF, state};
    const QImage* image = cache_.Find(key);
    if (!image) {
        ++builds_;
        const RgbImage work = LayMasks(masks_, key.base, key.second);
        image = &cache_.Store(key, ToQImage(ScaleButtonImage(work, key.width, key.height),
                                            ScaleButtonImage(MaskCoverage(masks_), key.width, key.height)));
    }
    painter.drawImage(rect.topLeft(), *image, QRect(QPoint(0, 0), rect.size()));
}

} // namespace qv
