// Encoder of the compressed daily price stream: the inverse of the core's decoders, for the database
// writer, the demo data and the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv::dev {

// One entry of a price history. Prices are running integers: the decoded price is the integer times
// the unit in force.
struct HistoryDay {
    enum class Kind : uint8_t {
        Priced,   // a day with prices
        NoDataA,  // 'A': a day without data
        NoDataC,  // 'C': a day without data
        Marked,   // 'F': a marked day priced at the running price
    };
    Kind kind = Kind::Priced;
    uint8_t mode = 0;  // coding mode of the day: 0 close only, 1 full day
    int32_t open = 0, high = 0, low = 0, close = 0;
    bool hasVolume = false;
    uint16_t volumeWord = 0;  // mantissa in bits 0-11, power of ten in bits 12-15
    float newUnit = 0;        // a stored unit ('D') that takes effect from this day; 0 for none
};

struct PriceHistory {
    int16_t scale = 1;
    uint16_t firstDate = 0;
    std::vector<HistoryDay> days;
};

// Encodes the history as stream bytes ending with the end mark. Repeated days become repeat counts.
// False (with the reason in `error`) when a price change is too large for a value token.
bool EncodePriceStream(const PriceHistory& history, std::vector<uint8_t>& out, std::string* error = nullptr);

// The volume word whose decoded volume comes nearest `volume` under the scale and unit.
uint16_t VolumeWordFor(double volume, int32_t scale, float unit);

} // namespace qv::dev
