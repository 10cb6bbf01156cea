// The sliding-window maximum and minimum, in one guarded block of 8n bytes.
#include "core/RollingExtremes.h"

#include "core/Memory.h"

namespace qv {

RollingExtremes::RollingExtremes(uint16_t n, float first) : capacity_(n ? n : 1)
{
    auto* block = static_cast<uint16_t*>(ProCalloc(capacity_, 8, "Rolling extremes"));
    maxRing_ = block;
    minRing_ = block + capacity_;
    values_ = reinterpret_cast<float*>(block + 2 * capacity_);
    Reset(first);
}

RollingExtremes::~RollingExtremes()
{
    ProFree(maxRing_);
}

void RollingExtremes::Reset(float first)
{
    maxHead_ = maxTail_ = minHead_ = minTail_ = 0;
    maxRing_[0] = minRing_[0] = 0;
    values_[0] = first;
    writePosition_ = uint16_t(1 % capacity_);
}

void RollingExtremes::Push(float v)
{
    const uint16_t n = capacity_;
    auto back = [n](uint16_t i) { return uint16_t(i == 0 ? n - 1 : i - 1); };
    auto ahead = [n](uint16_t i) { return uint16_t(i + 1 == n ? 0 : i + 1); };

    if (maxRing_[maxHead_] == writePosition_)
        maxHead_ = ahead(maxHead_);
    while (maxTail_ != maxHead_ && v > values_[maxRing_[maxTail_]])
        maxTail_ = back(maxTail_);
    if (v < values_[maxRing_[maxTail_]])
        maxTail_ = ahead(maxTail_);
    maxRing_[maxTail_] = writePosition_;

    if (minRing_[minHead_] == writePosition_)
        minHead_ = ahead(minHead_);
    while (minTail_ != minHead_ && v < values_[minRing_[minTail_]])
        minTail_ = back(minTail_);
    if (v > values_[minRing_[minTail_]])
        minTail_ = ahead(minTail_);
    minRing_[minTail_] = writePosition_;

    values_[writePosition_] = v;
    writePosition_ = ahead(writePosition_);
}

} // namespace qv
