// Fuzzes the trade list's rows and totals over random ticks in each mode: no more rows than ticks
// before the end record, every trade row's direction is -1, 0 or 1, and the totals' slots add up.
#include "realtime/TradeListRows.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int32_t mode = data[0] % 3;
    const uint8_t unit = data[1] % 8;
    std::vector<qv::IntradayTick> ticks;
    for (size_t at = 2; at + 12 <= size; at += 12) {
        qv::IntradayTick t;
        t.source = data[at];
        t.tradeClass = data[at + 1];
        std::memcpy(&t.type, data + at + 2, 2);
        std::memcpy(&t.value1, data + at + 4, 4);
        std::memcpy(&t.value2, data + at + 8, 4);
        ticks.push_back(t);
    }
    const std::vector<qv::TradeListRow> rows = qv::BuildTradeListRows(ticks, mode, unit);
    if (rows.size() > ticks.size())
        std::abort();
    for (const qv::TradeListRow& row : rows)
        if (row.direction < -1 || row.direction > 1 || (row.change & ~0x3Fu) != 0)
            std::abort();
    const qv::TradeTotals totals = qv::SumTradeTotals(rows);
    if (totals.count[1] + totals.count[2] + totals.count[3] != totals.count[0])
        std::abort();
    return 0;
}
