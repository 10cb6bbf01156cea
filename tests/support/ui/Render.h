// Renders widgets to images, and saves them as PNG files in the build folder for a person to look at.
#pragma once

#include <QImage>
#include <QString>

class QWidget;

namespace qv::test {

QImage RenderWidget(QWidget& widget);
// Saves under <build>/renders/<name>.png and returns the path.
QString SaveRender(const QImage& image, const QString& name);
// True when the default font has a glyph for 'H' (without fonts Qt draws boxes and says nothing).
bool FontsAvailable();
// The pages of a PDF file that Qt wrote; -1 when it cannot be read.
int PdfPageCount(const QString& path);
// An empty white A4 page at 150 dots per inch, for printed pages drawn to look at.
QImage PrintedPageImage();

} // namespace qv::test
