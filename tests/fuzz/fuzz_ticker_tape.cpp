// Fuzzes the ticker's tape over random ring entries, share facts, times and steps in every layout:
// no placed item is left far behind the visible range and the speed advice stays -1, 0 or 1.
#include "realtime/TickerTape.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    qv::TickerDesign design;
    design.fields = uint16_t(data[0] | (data[1] & 1) << 8);
    design.categories = data[2] & 0x3F;
    design.layout = uint8_t(data[3] % 5);
    design.flags = uint8_t(data[1] >> 1 & 3);
    design.portfolioFilter = uint8_t(data[1] >> 3 & 3);
    qv::TickerTape tape;
    tape.SetMeasure([](const qv::TickerItem& item) { return int(item.trade.share % 300); });
    tape.SetSettings(design, qv::TickerCell{int(data[2] % 20), int(data[3] % 30)}, 0, 400);
    tape.SetPortfolioShares({1, 7, 300});
    tape.FollowEngine(1);
    int speed = 3;
    for (size_t at = 4; at + 16 <= size; at += 16) {
        qv::RecentTrade trade;
        std::memcpy(&trade.share, data + at, 2);
        std::memcpy(&trade.time, data + at + 2, 4);
        std::memcpy(&trade.price, data + at + 6, 4);
        std::memcpy(&trade.open, data + at + 10, 4);
        const uint16_t type = uint16_t(data[at + 14] | data[at + 15] << 8);
        const uint32_t now = trade.time % qv::kTenthsPerDay;
        tape.AddTrade(trade, qv::TickerTape::ShareFacts{(type & 1) != 0, type, trade.price}, now);
        const int advice = tape.Scroll(now, -qv::TickerStep(design.layout, speed), speed);
        if (advice < -1 || advice > 1)
            std::abort();
        speed = std::clamp(speed + advice, 1, 5);
        for (const qv::TickerItem& item : tape.items())
            if (item.placed() && item.position + item.length < -10 - 8)
                std::abort();
        if (data[at + 15] == 0xEE)
            tape.FollowEngine(0);
    }
    return 0;
}
