// The program's one off-screen bitmap: views and controls draw into it and copy it to the screen in
// one piece. It only grows, and serves one painter at a time on the user-interface thread.
#pragma once

class QPixmap;
class QWidget;

namespace qv {

class CMemBitmap {
public:
    // Makes the bitmap at least w x h, for the window's screen (a null window: the primary one);
    // a size that fits keeps the bitmap and what it holds.
    QPixmap& Create(const QWidget* window, int width, int height);
    // Gives the bitmap back; the next Create makes a new one.
    void Release();

    int width() const { return width_; }
    int height() const { return height_; }
    QPixmap* pixmap() const { return pixmap_; }

private:
    int width_ = 0;
    int height_ = 0;
    QPixmap* pixmap_ = nullptr;
};

CMemBitmap& MemBitmap();
QPixmap& CreateMemBitmap(const QWidget* window, int width, int height);
void ReleaseMemBitmap();

} // namespace qv
