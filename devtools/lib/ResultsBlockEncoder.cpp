// 18-bit results figures: sign, five exponent bits (powers of e from e^-8) and a 12-bit mantissa.
#include "devtools/lib/ResultsBlockEncoder.h"

#include <algorithm>
#include <cmath>

namespace qv::dev {

namespace {

constexpr uint32_t kNoValue = 0x1FFFF;
constexpr uint32_t kSign = 0x20000;
constexpr int kBias = 8;
constexpr int kLargestExponent = 31;
constexpr int kMantissaSteps = 4096;
constexpr size_t kFiguresAt = 4;

} // namespace

uint32_t EncodeResultsFigure(std::optional<double> value)
{
    if (!value)
        return kNoValue;
    double magnitude = std::fabs(*value);
    if (magnitude < std::exp(-kBias))
        return 0;
    int k = std::clamp(int(std::floor(std::log(magnitude))) + kBias, 0, kLargestExponent);
    double base = std::exp(double(k - kBias));
    double steps = std::min((magnitude / base - 1) / (std::exp(1.0) - 1) * kMantissaSteps, double(kMantissaSteps));
    long m = std::lround(steps);
    if (m >= kMantissaSteps && k < kLargestExponent) {
        ++k;
        m = 0;
    }
    m = std::clamp(m, 0L, long(kMantissaSteps - 1));
    uint32_t code = (uint32_t(k) << 12) | uint32_t(m);
    if (code == kNoValue)
        --code; // the largest positive value is one step short of the no-value code
    return *value < 0 ? code | kSign : code;
}

std::vector<uint8_t> EncodeResultsBlock(uint16_t yearEnd, const ResultsBlockFigures& figures, uint8_t length)
{
    std::vector<uint8_t> block(61, 0);
    block[0] = length;
    block[2] = uint8_t(yearEnd);
    block[3] = uint8_t(yearEnd >> 8);
    for (size_t n = 0; n < figures.size(); ++n) {
        uint32_t code = EncodeResultsFigure(figures[n]);
        for (int b = 0; b < 18; ++b) {
            size_t bit = n * 18 + size_t(b);
            if (code & (1u << (17 - b)))
                block[kFiguresAt + bit / 8] |= uint8_t(0x80 >> (bit % 8));
        }
    }
    block.resize(size_t(length) + 1);
    return block;
}

} // namespace qv::dev
