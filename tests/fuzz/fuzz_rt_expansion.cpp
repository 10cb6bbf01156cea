// Fuzzes the expansion of random tick words into a day block, its classes and its roll-up.
#include "realtime/store/RTStore.h"
#include "realtime/store/RTTickExpansion.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    qv::ResetRTStore();
    qv::RTStore& s = qv::TheRTStore();
    s.workAreaReady = true;
    s.rollUpLevel = data[0] % 6;
    uint8_t flags = data[1];
    qv::RTDayRecord* day = qv::GetRTDay(qv::PackDate(7, 12, 2026), true);
    int32_t slot = -1;
    qv::RTDayShareEntry* e = qv::GetRTDayShare(0x4001, *day, slot, true);
    e->flags = flags & 0x09;
    e->loadFlags = uint16_t(qv::kRTLoadAllTicks | (flags & 0x80));
    e->streamOffset = uint16_t(flags & 0x40 ? 36 : flags & 0x3F);
    e->ticks.assign(36, 0);
    for (size_t i = 2; i + 4 <= size; i += 4)
        e->ticks.push_back(uint32_t(data[i]) | uint32_t(data[i + 1]) << 8 | uint32_t(data[i + 2]) << 16 |
                           uint32_t(data[i + 3]) << 24);
    e->tickCount = uint32_t(e->ticks.size());
    qv::RTActiveShare* a = qv::CreateRTActiveShare(qv::ShareRef{nullptr, 0, 0x4001});
    if (qv::LoadRTActiveShareDay(day, a, flags & 1)) {
        uint32_t buys = 0, sells = 0;
        qv::RTShareDayBlock* b = qv::FindRTShareDay(*a, day->day);
        qv::ClassifyRTTrades(*b, buys, sells);
        qv::RollUpRTTicks(day->day, *b, 60, true);
    }
    qv::ResetRTStore();
    return 0;
}
