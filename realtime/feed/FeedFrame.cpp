// Feed frames: encoding, and the reader that cuts a byte stream into frames.
#include "realtime/feed/FeedFrame.h"

#include "platform/ByteOrder.h"

namespace qv {

std::vector<uint8_t> EncodeFeedFrame(uint8_t kind, uint8_t code, std::span<const uint8_t> payload)
{
    std::vector<uint8_t> out(kFeedFrameHeaderBytes + payload.size());
    out[0] = kind;
    out[1] = code;
    StoreU32(out.data() + 4, uint32_t(payload.size()));
    std::copy(payload.begin(), payload.end(), out.begin() + kFeedFrameHeaderBytes);
    return out;
}

void FeedFrameReader::Add(std::span<const uint8_t> bytes)
{
    if (start_ > 65536 && start_ * 2 > buffer_.size()) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + long(start_));
        start_ = 0;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

FeedFrameReader::Result FeedFrameReader::Next(FeedFrame& frame)
{
    if (buffered() < kFeedFrameHeaderBytes)
        return Result::NeedMore;
    const uint8_t* h = buffer_.data() + start_;
    uint32_t length = LoadU32(h + 4);
    if (LoadU16(h + 2) != 0 || length > kFeedMaxPayload)
        return Result::Bad;
    if (buffered() < kFeedFrameHeaderBytes + length)
        return Result::NeedMore;
    frame.kind = h[0];
    frame.code = h[1];
    frame.payload.assign(h + kFeedFrameHeaderBytes, h + kFeedFrameHeaderBytes + length);
    start_ += kFeedFrameHeaderBytes + length;
    return Result::Frame;
}

} // namespace qv
