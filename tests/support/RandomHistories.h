// Random price histories and what the decoders should make of them, worked out from the history
// alone; shared by the encoder's and the database writer's round trips.
#pragma once

#include "core/DayRecord.h"
#include "core/PriceStream.h"
#include "devtools/lib/PriceStreamEncoder.h"
#include "support/PriceFixtures.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace qv::test {

using HistoryKind = dev::HistoryDay::Kind;

// A random history: a walk with runs of unchanged prices, days without data, marked days, unit
// changes, volumes, and switches between the two modes (or one mode throughout).
inline dev::PriceHistory RandomHistory(std::mt19937& rng, int modes)
{
    dev::PriceHistory h;
    h.scale = int16_t(std::uniform_int_distribution<int>(-20, 200)(rng));
    h.firstDate = WeekdaysAfter(Date(1995, 1, 2), int(rng() % 200));
    int n = 1 + int(rng() % 3000);
    int32_t price = 1 + int32_t(rng() % 5000);
    uint8_t mode = modes == 2 ? uint8_t(rng() % 2) : uint8_t(modes);
    std::uniform_int_distribution<int> pct(0, 99);
    for (int i = 0; i < n; ++i) {
        dev::HistoryDay d;
        int r = pct(rng);
        if (i > 0 && r < 3) {
            d.kind = r == 0 ? HistoryKind::NoDataA : r == 1 ? HistoryKind::NoDataC : HistoryKind::Marked;
            h.days.push_back(d);
            continue;
        }
        if (modes == 2 && pct(rng) < 2)
            mode ^= 1;
        d.mode = mode;
        if (pct(rng) < 1)
            d.newUnit = std::uniform_real_distribution<float>(0.1f, 10.0f)(rng);
        if (pct(rng) > 25)  // otherwise the day repeats the price
            price = std::max<int32_t>(1, price + std::uniform_int_distribution<int32_t>(-price / 20 - 40, price / 20 + 40)(rng));
        if (pct(rng) < 1)
            price = std::max<int32_t>(1, price + int32_t(rng() % 3000000) - 1000000);  // long tokens
        d.close = price;
        d.open = d.high = d.low = price;
        if (mode == 1 && pct(rng) < 70) {
            d.open = std::max<int32_t>(1, price + int32_t(rng() % 21) - 10);
            d.high = std::max(d.open, price) + int32_t(rng() % 10);
            d.low = std::max<int32_t>(1, std::min(d.open, price) - int32_t(rng() % 10));
            d.hasVolume = pct(rng) < 80;
            d.volumeWord = uint16_t(rng() & 0xFFFF);
        }
        h.days.push_back(d);
    }
    return h;
}

// What the decoders should give for the history, worked out from the history alone.
inline std::vector<DayRecord> Expected(const dev::PriceHistory& h, bool raw)
{
    std::vector<DayRecord> out;
    float unit = StartingUnit(h.scale);
    int32_t price = 0;
    uint16_t date = 0;
    for (const dev::HistoryDay& d : h.days) {
        date = date == 0 ? h.firstDate : WeekdaysAfter(date, 1);
        if (d.newUnit != 0)
            unit = ScaledUnit(d.newUnit, h.scale);
        DayRecord r{};
        r.date = date;
        r.unit = unit;
        if (d.kind == HistoryKind::NoDataA || d.kind == HistoryKind::NoDataC) {
            if (raw)
                continue;
            r.modeMarks = d.kind == HistoryKind::NoDataA ? kDayMarkA : kDayMarkC;
        } else if (d.kind == HistoryKind::Marked) {
            r.modeMarks = kDayMarkF;
        }
        if (r.modeMarks != 0) {
            float value = raw ? float(double(price) * unit) : (out.empty() ? 0 : out.back().close);
            r.open = r.high = r.low = r.close = value;
            out.push_back(r);
            continue;
        }
        price = d.close;
        auto at = [&](int32_t p) { return float(double(p) * unit); };
        if (d.mode == 0) {
            r.open = r.high = r.low = r.close = at(d.close);
        } else {
            r.open = at(d.open);
            r.high = at(d.high);
            r.low = at(d.low);
            r.close = at(d.close);
            if (d.hasVolume) {
                double divisor = double(h.scale) * unit;
                if (divisor < 1e-07)
                    divisor = 1.0;
                r.volume = float((d.volumeWord & 0xFFF) * std::pow(10.0, d.volumeWord >> 12) / divisor);
            }
        }
        out.push_back(r);
    }
    return out;
}

} // namespace qv::test
