// Screens and fonts from Qt.
#include "platform/qt/QtDisplay.h"

#include "platform/qt/QtFonts.h"
#include "platform/qt/QtText.h"

#include <QGuiApplication>
#include <QScreen>

namespace qv {
namespace {

// Qt's rectangles are inclusive; the system's run to one past the right and bottom edges.
ScreenRect ToScreenRect(const QRect& r) { return ScreenRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }

} // namespace

std::optional<std::vector<ScreenRect>> QtDisplayHost::monitorRects() const
{
    std::vector<ScreenRect> rects;
    for (QScreen* screen : QGuiApplication::screens())
        rects.push_back(ToScreenRect(screen->geometry()));
    return rects;
}

ScreenRect QtDisplayHost::desktopRect() const
{
    QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? ToScreenRect(primary->virtualGeometry()) : ScreenRect{};
}

bool QtDisplayHost::hasFontFamily(const std::string& face) const
{
    return FaceAvailable(FromCp1252(face));
}

} // namespace qv
