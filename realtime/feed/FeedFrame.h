// The framing of feed messages on the connection: u8 kind, u8 code, u16 0, u32 payload length, then
// the payload (docs/FEED.md lists the kinds).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qv {

constexpr size_t kFeedFrameHeaderBytes = 8;
constexpr uint32_t kFeedMaxPayload = 1u << 20;

// Message kinds.
constexpr uint8_t kFeedRequest = 1;        // client to server: code is the request code
constexpr uint8_t kFeedLiveRecord = 2;     // one record
constexpr uint8_t kFeedCatchUpBlock = 3;   // a block header and records
constexpr uint8_t kFeedDefinition = 4;     // an instrument definition
constexpr uint8_t kFeedStatus = 5;         // code: the connection step the server reports

// Request codes of the client besides those of the backfill.
constexpr uint8_t kFeedLogOn = 0x01; // payload: u16 the day the client holds up to (0 none)

struct FeedFrame {
    uint8_t kind = 0;
    uint8_t code = 0;
    std::vector<uint8_t> payload;
};

std::vector<uint8_t> EncodeFeedFrame(uint8_t kind, uint8_t code, std::span<const uint8_t> payload);

// Collects bytes as they arrive and hands out whole frames.
class FeedFrameReader {
public:
    enum class Result : uint8_t { Frame, NeedMore, Bad };
    void Add(std::span<const uint8_t> bytes);
    // Bad for a frame whose reserved word is not 0 or whose length passes kFeedMaxPayload: the
    // connection cannot be trusted after it.
    Result Next(FeedFrame& frame);
    size_t buffered() const { return buffer_.size() - start_; }

private:
    std::vector<uint8_t> buffer_;
    size_t start_ = 0;
};

} // namespace qv
