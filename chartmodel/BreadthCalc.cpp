// The market-breadth calculator.
#include "chartmodel/BreadthCalc.h"

#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IndicatorTable.h"
#include "core/MovingAverage.h"

#include <cmath>

namespace qv {
namespace {

// The percentage of advancing shares; 50 when nothing moved.
double AdvancingPercent(const BreadthRecord& r)
{
    const double moved = double(r.advances) + r.declines;
    return moved == 0 ? 50.0 : 100.0 * r.advances / moved;
}

} // namespace

CBreadthCalc::CBreadthCalc(const IndicatorRecord& settings, const BreadthRecord* records, size_t count,
                           std::string_view source)
    : type_(settings.type), records_(records), count_(records ? count : 0), name_(GetIndicatorName(settings, source))
{
    const bool percent = type_ == 27 || type_ == 28;
    value_ = percent ? 50 : 0;
    fast_ = slow_ = stix_ = value_;
    smoothed_ = value_;
    if (type_ == 26 || type_ == 28) {
        average_ = CreateMovingAverage(kExponentialAverage, 10, 0, 0);
        int32_t needed = 0, leadIn = 0;
        average_->Prepare(needed, leadIn);
        average_->Prime(value_);
    }
    if (settings.period2 != 0) {
        smoothing_ = true;
        weight_ = settings.period2 * 0.01;
    }
}

CBreadthCalc::~CBreadthCalc() = default;

double CBreadthCalc::Value(const BreadthRecord& r)
{
    const double net = double(r.advances) - double(r.declines);
    const double highsLessLows = double(r.newHighs) - double(r.newLows);
    switch (type_) {
    case 18: return std::fabs(net);
    case 19: return value_ + net;
    case 20: return double(r.advances) / (r.declines == 0 ? 1 : r.declines);
    case 21:
    case 22:
        fast_ = 0.95 * fast_ + 0.05 * net;
        slow_ = 0.1 * net + 0.9 * slow_;
        return type_ == 21 ? slow_ - fast_ : value_ + (slow_ - fast_);
    case 23: return highsLessLows;
    case 24: return value_ + highsLessLows;
    case 25: return double(r.newHighs) / (r.newLows == 0 ? 1 : r.newLows);
    case 26: {
        const double e = average_->Next(net);
        average_->DropOldest();
        return e;
    }
    case 27:
        stix_ = 0.91 * stix_ + 0.09 * AdvancingPercent(r);
        return stix_;
    case 28: {
        const double e = average_->Next(AdvancingPercent(r));
        average_->DropOldest();
        return e;
    }
    case 29: return net;
    case 30:
        if (r.declines != 0 && r.advancingVolume >= 0.1f)
            return (double(r.advances) * r.decliningVolume) / (double(r.declines) * r.advancingVolume);
        return 1.0;
    default: return value_;
    }
}

float* CBreadthCalc::AddValue()
{
    if (next_ >= count_)
        return &output_;
    value_ = Value(records_[next_++]);
    if (smoothing_) {
        smoothed_ = (1 - weight_) * value_ + weight_ * smoothed_;
        output_ = float(smoothed_);
    } else {
        output_ = float(value_);
    }
    return &output_;
}

} // namespace qv
