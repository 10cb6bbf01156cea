// A stored font description: the 60-byte record that settings keep for a font, read and written field
// by field.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace qv {

struct LogFont {
    int32_t height = 0;       // negative: the character height in device pixels
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 400;     // 700 bold
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t strikeOut = 0;
    uint8_t charSet = 0;
    uint8_t outPrecision = 0;
    uint8_t clipPrecision = 0;
    uint8_t quality = 0;
    uint8_t pitchAndFamily = 0;
    std::array<char, 32> face{}; // NUL-terminated

    std::string faceName() const;
    // Cut to 31 characters and terminated.
    void setFaceName(const std::string& name);
};

inline constexpr size_t kLogFontSize = 60;

LogFont ReadLogFont(std::span<const uint8_t, kLogFontSize> bytes);
void WriteLogFont(std::span<uint8_t, kLogFontSize> bytes, const LogFont& font);

// Points from a height at the device's pixels per inch, rounded, and back (height = -points x dpi / 72).
int LogFontPoints(const LogFont& font, int pixelsPerInch);
int32_t HeightForPoints(int points, int pixelsPerInch);

} // namespace qv
