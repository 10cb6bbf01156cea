// Widget rendering for tests.
#include "support/ui/Render.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
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

int PdfPageCount(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(file.readAll());
    return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

QImage PrintedPageImage()
{
    constexpr double kDotsPerInch = 150;
    QImage page(1240, 1754, QImage::Format_RGB32);
    page.setDotsPerMeterX(int(kDotsPerInch / 0.0254));
    page.setDotsPerMeterY(int(kDotsPerInch / 0.0254));
    page.fill(Qt::white);
    return page;
}

bool FontsAvailable()
{
    return QFontMetrics(QApplication::font()).inFont(QChar('H'));
}

} // namespace qv::test
