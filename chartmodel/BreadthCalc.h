// The daily market-breadth record and the breadth calculator of the indicator types 18-30, which reads
// a series of those records one day per call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qv {

class CMovingAverage;
struct IndicatorRecord;

// One weekday of a market or portfolio: how many shares rose and fell, made new highs and lows, and
// the volume traded on the rising and the falling ones. 16 bytes, kept in memory only.
struct BreadthRecord {
    uint16_t advances = 0;
    uint16_t declines = 0;
    uint16_t newHighs = 0;
    uint16_t newLows = 0;
    float advancingVolume = 0;
    float decliningVolume = 0;
};
static_assert(sizeof(BreadthRecord) == 16);

class CBreadthCalc {
public:
    // Reads `count` records from `records` (null for none); `source` names the market or portfolio.
    CBreadthCalc(const IndicatorRecord& settings, const BreadthRecord* records, size_t count,
                 std::string_view source);
    ~CBreadthCalc();
    CBreadthCalc(const CBreadthCalc&) = delete;
    CBreadthCalc& operator=(const CBreadthCalc&) = delete;

    // The output after the next record; past the last record (or with none) the output unchanged.
    float* AddValue();
    const std::string& Name() const { return name_; }
    size_t Position() const { return next_; }

private:
    double Value(const BreadthRecord& r);

    uint8_t type_;
    const BreadthRecord* records_;
    size_t count_;
    size_t next_ = 0;
    double value_;
    double fast_, slow_, stix_; // E5, E10, STIX
    std::unique_ptr<CMovingAverage> average_;
    double weight_ = 0;
    bool smoothing_ = false;
    double smoothed_;
    float output_ = 0;
    std::string name_;
};

} // namespace qv
