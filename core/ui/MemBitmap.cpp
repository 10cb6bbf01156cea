// The shared off-screen bitmap.
#include "core/ui/MemBitmap.h"

#include <QPixmap>
#include <QWidget>
#include <algorithm>

namespace qv {

QPixmap& CMemBitmap::Create(const QWidget* window, int width, int height)
{
    if (pixmap_ && width <= width_ && height <= height_)
        return *pixmap_;
    Release();
    width_ = std::max(width_, width);
    height_ = std::max(height_, height);
    qreal ratio = window ? window->devicePixelRatioF() : 1.0;
    pixmap_ = new QPixmap(int(width_ * ratio), int(height_ * ratio));
    pixmap_->setDevicePixelRatio(ratio);
    return *pixmap_;
}

void CMemBitmap::Release()
{
    delete pixmap_;
    pixmap_ = nullptr;
}

CMemBitmap& MemBitmap()
{
    static CMemBitmap bitmap;
    return bitmap;
}

QPixmap& CreateMemBitmap(const QWidget* window, int width, int height)
{
    return MemBitmap().Create(window, width, height);
}

void ReleaseMemBitmap() { MemBitmap().Release(); }

} // namespace qv
