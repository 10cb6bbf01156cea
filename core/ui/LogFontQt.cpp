// Conversions between stored font descriptions and Qt fonts.
#include "core/ui/LogFontQt.h"

#include "platform/qt/QtText.h"

#include <QFont>

#include <cmath>

namespace qv {

QFont FontFromLogFont(const LogFont& logFont, int pixelsPerInch)
{
    QFont font(FromCp1252(logFont.faceName()));
    int32_t height = logFont.height;
    if (height < 0 && pixelsPerInch > 0)
        font.setPointSizeF(-double(height) * 72.0 / pixelsPerInch);
    else if (height > 0)
        font.setPixelSize(height);
    font.setBold(logFont.weight >= 700);
    font.setWeight(QFont::Weight(std::clamp(logFont.weight > 0 ? int(logFont.weight) : 400, 1, 1000)));
    font.setItalic(logFont.italic != 0);
    font.setUnderline(logFont.underline != 0);
    font.setStrikeOut(logFont.strikeOut != 0);
    return font;
}

LogFont LogFontFromFont(const QFont& font, int pixelsPerInch)
{
    LogFont logFont;
    logFont.setFaceName(ToCp1252(font.family()));
    if (font.pointSizeF() > 0)
        logFont.height = -int32_t(std::lround(font.pointSizeF() * pixelsPerInch / 72.0));
    else
        logFont.height = -font.pixelSize();
    logFont.weight = font.bold() ? 700 : 400;
    logFont.italic = font.italic() ? 1 : 0;
    logFont.underline = font.underline() ? 1 : 0;
    logFont.strikeOut = font.strikeOut() ? 1 : 0;
    return logFont;
}

} // namespace qv
