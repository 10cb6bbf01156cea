// The feed's transport: one TCP connection to a feed server, a stop event the engine sets, and the
// wait for data that blocks on both.
#pragma once

#include "realtime/feed/FeedFrame.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace qv {

class FeedTransport {
public:
    FeedTransport();
    ~FeedTransport();
    FeedTransport(const FeedTransport&) = delete;
    FeedTransport& operator=(const FeedTransport&) = delete;

    // Opens the connection on the calling thread (the feed thread: the window never waits on a
    // server). Waits at most timeoutMs for the server, and ends at once when the stop event is set.
    // True when connected.
    bool Connect(const std::string& host, int port, int timeoutMs);
    // Sends one request; -1 on failure, else the bytes sent.
    int SendFeedRequest(std::span<const uint8_t> data, uint8_t code);
    // Shuts the connection so that the feed thread's wait ends; the socket stays until Disconnect.
    void Close();
    void Disconnect();
    bool connected() const { return connected_; }

    // Blocks until data, the stop event or the time-out (ms); true when data came or the time ran
    // out while connected. Logs "Wait for data fail" otherwise.
    bool WaitForData(int timeoutMs);
    // Reads what is waiting into the frame reader; false when the server closed the connection.
    bool Receive(FeedFrameReader& reader);

    void SetStopEvent();
    void ResetStopEvent();
    bool stopSet() const { return stop_; }
    const std::atomic<bool>& stopFlag() const { return stop_; }

private:
    int socket_ = -1;
    int stopPipe_[2] = {-1, -1};
    std::atomic<bool> connected_{false};
    std::atomic<bool> stop_{false};
    std::mutex sendMutex_;
};

// The server the feed connects to: QV_FEED_SERVER=host:port for this run, else the servers of the
// settings in turn, one an attempt: the first, then the alternative addresses (those set).
struct FeedServer {
    std::string host;
    int port = 0;
    int index = 0; // 0-2, the settings' row
};
FeedServer ChosenFeedServer(int attempt = 0);

} // namespace qv
