// The 52-byte indicator record of a graph setting: one indicator line's type, flags, periods and pens.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qv {

struct IndicatorRecord {
    static constexpr size_t kSize = 52;
    static constexpr uint16_t kNewRecordMarker = 4;
    static constexpr uint8_t kLockedFlag = 0x80; // also asks GetIndicatorName for the bare name

    uint8_t type = 0;   // indicator table code 0-61; 0 an empty slot
    uint8_t flags = 0;  // meaning by type
    uint16_t marker = kNewRecordMarker;
    int16_t period1 = 0;
    int16_t period2 = 0;
    int16_t period3 = 0;
    int16_t period4 = 0; // the stochastic's %D average type, among others
    std::array<uint16_t, 2> kept12{};
    std::array<uint32_t, 4> pens{};
    std::array<uint8_t, 8> kept32{};
    int16_t heightWeight = 0; // record 0 of an add-on window only
    std::array<uint8_t, 10> kept42{};

    static IndicatorRecord Read(std::span<const uint8_t, kSize> bytes);
    void Write(std::span<uint8_t, kSize> bytes) const;
    // A record of the type with its flags and periods, everything else as a new record has it.
    static IndicatorRecord Of(int type, int flags, int p1 = 0, int p2 = 0, int p3 = 0, int p4 = 0);
};

// Byte offsets of the stored fields.
namespace IndicatorRecordLayout {
constexpr size_t Type = 0;
constexpr size_t Flags = 1;
constexpr size_t Marker = 2;
constexpr size_t Period1 = 4;
constexpr size_t Period2 = 6;
constexpr size_t Period3 = 8;
constexpr size_t Period4 = 10;
constexpr size_t Kept12 = 12;
constexpr size_t Pens = 16;
constexpr size_t Kept32 = 32;
constexpr size_t HeightWeight = 40;
constexpr size_t Kept42 = 42;
} // namespace IndicatorRecordLayout
static_assert(IndicatorRecordLayout::Kept42 + 10 == IndicatorRecord::kSize);
static_assert(IndicatorRecordLayout::Pens + 4 * 4 == IndicatorRecordLayout::Kept32);

} // namespace qv
