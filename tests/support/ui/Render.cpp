// Widget rendering for tests.
#include "support/ui/Render.h"

#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QWidget>

namespace qv::test {

QImage RenderWidget(QWidget& widget)
{
    widget.ensurePolished();
    if (!widget.isVisible())
        widget.show();
    QApplication::processEvents();
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    widget.render(&image);
    return image;
}

QString SaveRender(const QImage& image, const QString& name)
{
    QDir dir(QStringLiteral(QV_RENDER_DIR));
    dir.mkpath(QStringLiteral("."));
    QString path = dir.filePath(name + QStringLiteral(".png"));
    image.save(path);
    return path;
}

bool FontsAvailable()
{
    return QFontMetrics(QApplication::font()).inFont(QChar('H'));
}

} // namespace qv::test
