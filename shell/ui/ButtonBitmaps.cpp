// Button images from masks: layered on the work image in Qt-free code, cached here as QImages.
#include "shell/ui/ButtonBitmaps.h"

#include <QHash>
#include <QPainter>
#include <QRect>

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

QImage ToQImage(const RgbImage& rgb)
{
    QImage image(rgb.width, rgb.height, QImage::Format_RGB32);
    for (int y = 0; y < rgb.height; ++y)
        for (int x = 0; x < rgb.width; ++x) {
            uint32_t word = rgb.at(x, y);
            image.setPixel(x, y, qRgb(int(word & 0xFF), int((word >> 8) & 0xFF), int((word >> 16) & 0xFF)));
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
        RgbImage work = LayMasks(masks_, key.base, key.second);
        image = &cache_.Store(key, ToQImage(ScaleButtonImage(work, key.width, key.height)));
    }
    painter.drawImage(rect.topLeft(), *image, QRect(QPoint(0, 0), rect.size()));
}

} // namespace qv
