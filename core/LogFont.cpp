// Stored font descriptions.
#include "core/LogFont.h"

#include "platform/ByteOrder.h"

#include <cmath>
#include <cstring>

namespace qv {

std::string LogFont::faceName() const { return std::string(face.data(), strnlen(face.data(), face.size())); }

void LogFont::setFaceName(const std::string& name)
{
    face.fill(0);
    std::memcpy(face.data(), name.data(), std::min(name.size(), face.size() - 1));
}

LogFont ReadLogFont(std::span<const uint8_t, kLogFontSize> bytes)
{
    LogFont font;
    const uint8_t* p = bytes.data();
    font.height = LoadI32(p);
    font.width = LoadI32(p + 4);
    font.escapement = LoadI32(p + 8);
    font.orientation = LoadI32(p + 12);
    font.weight = LoadI32(p + 16);
    font.italic = p[20];
    font.underline = p[21];
    font.strikeOut = p[22];
    font.charSet = p[23];
    font.outPrecision = p[24];
    font.clipPrecision = p[25];
    font.quality = p[26];
    font.pitchAndFamily = p[27];
    std::memcpy(font.face.data(), p + 28, font.face.size());
    font.face.back() = 0;
    return font;
}

void WriteLogFont(std::span<uint8_t, kLogFontSize> bytes, const LogFont& font)
{
    uint8_t* p = bytes.data();
    StoreI32(p, font.height);
    StoreI32(p + 4, font.width);
    StoreI32(p + 8, font.escapement);
    StoreI32(p + 12, font.orientation);
    StoreI32(p + 16, font.weight);
    p[20] = font.italic;
    p[21] = font.underline;
    p[22] = font.strikeOut;
    p[23] = font.charSet;
    p[24] = font.outPrecision;
    p[25] = font.clipPrecision;
    p[26] = font.quality;
    p[27] = font.pitchAndFamily;
    std::memcpy(p + 28, font.face.data(), font.face.size());
}

int LogFontPoints(const LogFont& font, int pixelsPerInch)
{
    if (pixelsPerInch <= 0)
        return 0;
    return int(std::lround(-double(font.height) * 72.0 / pixelsPerInch));
}

int32_t HeightForPoints(int points, int pixelsPerInch)
{
    return -int32_t(std::lround(double(points) * pixelsPerInch / 72.0));
}

} // namespace qv
