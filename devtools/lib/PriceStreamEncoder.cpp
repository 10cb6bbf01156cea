// Encoding of price histories into the compressed daily price stream.
#include "devtools/lib/PriceStreamEncoder.h"

#include "core/PriceImportText.h"
#include "core/PriceStream.h"
#include "core/VarInt.h"
#include "platform/ByteOrder.h"


namespace qv::dev {

namespace {

using Kind = HistoryDay::Kind;

bool IsDayEntry(const HistoryDay& d) { return d.kind == Kind::Priced || d.kind == Kind::Marked; }

class StreamWriter {
public:
    StreamWriter(const PriceHistory& h, std::vector<uint8_t>& out, std::string* error)
        : h_(h), out_(out), error_(error)
    {
    }

    bool run()
    {
        out_.clear();
        size_t i = 0;
        while (i < h_.days.size()) {
            i = entry(i);
            if (failed_)
                return false;
        }
        out_.push_back(kStreamEnd);
        return true;
    }

private:
    // The mode of the next day entry after i, or the current mode when there is none.
    uint8_t nextDayMode(size_t i) const
    {
        for (size_t k = i + 1; k < h_.days.size(); ++k) {
            if (IsDayEntry(h_.days[k]))
                return h_.days[k].mode;
        }
        return h_.days[i].mode;
    }

    // True when day k can be a repeat of the running price in its mode.
    bool repeats(size_t k, uint8_t mode) const
    {
        const HistoryDay& d = h_.days[k];
        if (d.kind != Kind::Priced || d.mode != mode || d.newUnit != 0)
            return false;
        if (mode == 0)
            return d.close == price_;
        return !d.hasVolume && d.open == price_ && d.high == price_ && d.low == price_ && d.close == price_;
    }

    // Writes the entry (or run of entries) starting at i; returns the index after it.
    size_t entry(size_t i)
    {
        const HistoryDay& d = h_.days[i];
        if (d.kind == Kind::NoDataA || d.kind == Kind::NoDataC) {
            out_.push_back(d.kind == Kind::NoDataA ? kStreamDayA : kStreamDayC);
            return i + 1;
        }
        if (d.newUnit != 0) {
            out_.push_back(kStreamUnit);
            uint8_t bytes[4];
            StoreF32(bytes, d.newUnit);
            out_.insert(out_.end(), bytes, bytes + 4);
        }
        if (d.mode == 1 && mode_ == 0) {
            out_.push_back(kStreamMode);
            out_.push_back(1);
            mode_ = 1;
        }
        // Leaving full days: the switch is read before the last full day and holds from the next.
        if (mode_ == 1 && nextDayMode(i) == 0) {
            out_.push_back(kStreamMode);
            out_.push_back(0);
            single(d, 1);
            mode_ = 0;
            return i + 1;
        }
        uint8_t mode = mode_;
        if (d.kind == Kind::Marked || !repeats(i, mode)) {
            single(d, mode);
            return i + 1;
        }
        size_t n = 1;
        while (i + n < h_.days.size() && n < 0x7FFF && repeats(i + n, mode) &&
               !(mode == 1 && nextDayMode(i + n) == 0))
            ++n;
        // In mode 0 an 'F' right after a run would be read inside it; end such a run with a plain day.
        bool beforeMarked = i + n < h_.days.size() && h_.days[i + n].kind == Kind::Marked;
        size_t counted = (mode == 0 && beforeMarked) ? n - 1 : n;
        if (counted < 2) {
            single(d, mode);
            return i + 1;
        }
        out_.push_back(kStreamRepeat);
        if (counted > 127) {
            out_.push_back(uint8_t(0x80 | (counted >> 8)));
            out_.push_back(uint8_t(counted & 0xFF));
        } else {
            out_.push_back(uint8_t(counted));
        }
        return i + counted;
    }

    void single(const HistoryDay& d, uint8_t mode)
    {
        if (d.kind == Kind::Marked) {
            out_.push_back(kStreamDayF);
            return;
        }
        if (mode == 0) {
            token(d.close);
            // The decoder lifts a running price of 0 or below to 1 unless its caller asks otherwise.
            if (price_ <= 0)
                price_ = 1;
            return;
        }
        int32_t prices[4] = {d.open, d.high, d.low, d.close};
        uint8_t mask = d.hasVolume ? 0x10 : 0;
        int32_t running = price_;
        for (int k = 0; k < 4; ++k) {
            if (prices[k] != running) {
                mask |= uint8_t(1 << k);
                running = prices[k];
            }
        }
        out_.push_back(mask);
        running = price_;
        for (int k = 0; k < 4; ++k) {
            if (mask & (1 << k)) {
                writeDelta(int64_t(prices[k]) - running);
                running = prices[k];
            }
        }
        price_ = running;
        if (d.hasVolume) {
            out_.push_back(uint8_t(d.volumeWord));
            out_.push_back(uint8_t(d.volumeWord >> 8));
        }
    }

    void token(int32_t target)
    {
        writeDelta(int64_t(target) - price_);
        price_ = target;
    }

    void writeDelta(int64_t delta)
    {
        uint8_t bytes[4];
        uint8_t* end = delta >= -kVarIntLimit && delta <= kVarIntLimit ? EncodeVarInt(int32_t(delta), bytes) : nullptr;
        if (end == nullptr) {
            failed_ = true;
            if (error_)
                *error_ = "price change " + std::to_string(delta) + " is too large for the price stream";
            return;
        }
        out_.insert(out_.end(), bytes, end);
    }

    const PriceHistory& h_;
    std::vector<uint8_t>& out_;
    std::string* error_;
    int32_t price_ = 0;
    uint8_t mode_ = 0;
    bool failed_ = false;
};

} // namespace

bool EncodePriceStream(const PriceHistory& history, std::vector<uint8_t>& out, std::string* error)
{
    return StreamWriter(history, out, error).run();
}

uint16_t VolumeWordFor(double volume, int32_t scale, float unit) { return StreamVolumeWord(volume, scale, unit); }

} // namespace qv::dev
