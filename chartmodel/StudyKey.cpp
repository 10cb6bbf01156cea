// Study keys of chart series.
#include "chartmodel/StudyKey.h"

#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IndicatorTable.h"

namespace qv {
namespace {

uint32_t LowByte(int16_t field) { return uint32_t(uint16_t(field)) & 0xFF; }

} // namespace

uint32_t MakeSlotKey(const IndicatorRecord& r)
{
    if (r.flags & 1)
        return 128u | (uint32_t(uint16_t(r.period4)) << 8);
    return uint32_t(uint16_t(r.period3)) & 0x7F;
}

uint32_t BreadthStudyKeyOf(uint32_t oldKey)
{
    const IndicatorRecord record = IndicatorRecord::Of(int((oldKey >> 24) - 4), 0, 0, 0, int(oldKey & 0x7F));
    return MakeStudyKey(4, &record);
}

uint32_t MakeStudyKey(uint32_t kind, const IndicatorRecord* record)
{
    if (kind < 4 || !record)
        return kind << 24;
    const uint32_t type = record->type;
    const uint32_t base = (type + 4) << 24;
    const uint32_t p1 = LowByte(record->period1) << 16;
    if (type >= IndicatorType::FirstBreadth && type <= IndicatorType::LastBreadth)
        return base ^ MakeSlotKey(*record);
    switch (type) {
    case IndicatorType::RSI:
        return base ^ (p1 + record->flags);
    case IndicatorType::Ticks:
    case 13:
    case 14:
    case IndicatorType::PointAndFigure:
    case IndicatorType::EquiVolume:
    case 42:
    case 43:
    case IndicatorType::OnBalanceVolume:
        return base;
    case IndicatorType::MACD:
        return base ^ (p1 + (LowByte(record->period2) << 8));
    case IndicatorType::PriceOscillator:
        return base ^ (p1 + (LowByte(record->period2) << 8) + LowByte(record->period3));
    default:
        return base ^ p1;
    }
}

} // namespace qv
