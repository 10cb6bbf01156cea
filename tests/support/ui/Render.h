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

} // namespace qv::test
