// The indicator record, field by field, little-endian.
#include "chartmodel/IndicatorRecord.h"

#include "platform/ByteOrder.h"

#include <algorithm>

namespace qv {

namespace L = IndicatorRecordLayout;

IndicatorRecord IndicatorRecord::Read(std::span<const uint8_t, kSize> bytes)
{
    const uint8_t* p = bytes.data();
    IndicatorRecord r;
    r.type = p[L::Type];
    r.flags = p[L::Flags];
    r.marker = LoadU16(p + L::Marker);
    r.period1 = LoadI16(p + L::Period1);
    r.period2 = LoadI16(p + L::Period2);
    r.period3 = LoadI16(p + L::Period3);
    r.period4 = LoadI16(p + L::Period4);
    for (size_t i = 0; i < r.kept12.size(); ++i)
        r.kept12[i] = LoadU16(p + L::Kept12 + 2 * i);
    for (size_t i = 0; i < r.pens.size(); ++i)
        r.pens[i] = LoadU32(p + L::Pens + 4 * i);
    std::copy_n(p + L::Kept32, r.kept32.size(), r.kept32.begin());
    r.heightWeight = LoadI16(p + L::HeightWeight);
    std::copy_n(p + L::Kept42, r.kept42.size(), r.kept42.begin());
    return r;
}

void IndicatorRecord::Write(std::span<uint8_t, kSize> bytes) const
{
    uint8_t* p = bytes.data();
    p[L::Type] = type;
    p[L::Flags] = flags;
    StoreU16(p + L::Marker, marker);
    StoreI16(p + L::Period1, period1);
    StoreI16(p + L::Period2, period2);
    StoreI16(p + L::Period3, period3);
    StoreI16(p + L::Period4, period4);
    for (size_t i = 0; i < kept12.size(); ++i)
        StoreU16(p + L::Kept12 + 2 * i, kept12[i]);
    for (size_t i = 0; i < pens.size(); ++i)
        StoreU32(p + L::Pens + 4 * i, pens[i]);
    std::copy(kept32.begin(), kept32.end(), p + L::Kept32);
    StoreI16(p + L::HeightWeight, heightWeight);
    std::copy(kept42.begin(), kept42.end(), p + L::Kept42);
}

IndicatorRecord IndicatorRecord::Of(int type, int flags, int p1, int p2, int p3, int p4)
{
    IndicatorRecord r;
    r.type = uint8_t(type);
    r.flags = uint8_t(flags);
    r.period1 = int16_t(p1);
    r.period2 = int16_t(p2);
    r.period3 = int16_t(p3);
    r.period4 = int16_t(p4);
    return r;
}

} // namespace qv
