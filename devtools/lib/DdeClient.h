// A client of the DDE price server's local socket, for qvdde and the tests: request lines out,
// replies and pushed values in, every wait bounded by a timeout.
#pragma once

#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace qv::dev {

constexpr std::string_view kDdeServiceName = "QuorvantisDDE";

struct DdeReply {
    enum Kind { Ok, No, Error, Data, Closed, Timeout, Garbled };
    Kind kind = Closed;
    std::string text; // the reason of an error, the line of a garbled reply
    std::string data; // the bytes of a value
};

struct DdeAdvise {
    std::string item;
    std::string format;
    std::string data;
};

class DdeClient {
public:
    DdeClient() = default;
    ~DdeClient();
    DdeClient(const DdeClient&) = delete;
    DdeClient& operator=(const DdeClient&) = delete;

    bool open(const std::string& path, std::string* error = nullptr);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    // Writes bytes as they are (for half-finished or malformed requests).
    bool sendRaw(std::string_view bytes);
    // Shuts the sending side: the server sees the end of the requests.
    void finishSending();
    // How long a reply that must come is waited for: long enough for a machine under any load, as
    // it only guards against a hang.
    static constexpr int kReplyWaitMs = 60000;
    // Sends one request line and reads its reply; values pushed before it are kept for waitAdvise.
    DdeReply call(std::string_view line, int timeoutMs = kReplyWaitMs);
    DdeReply readReply(int timeoutMs = kReplyWaitMs);
    // The next pushed value, or nothing when none comes in time (or the connection ends).
    std::optional<DdeAdvise> waitAdvise(int timeoutMs = kReplyWaitMs);

private:
    using Deadline = std::chrono::steady_clock::time_point;
    bool fill(Deadline deadline);
    bool readLine(std::string& line, Deadline deadline);
    bool readBytes(size_t n, std::string& out, Deadline deadline);
    // Reads one message; a pushed value goes to the queue and gives Kind::Data with text "ADVISE".
    DdeReply readMessage(Deadline deadline);

    int fd_ = -1;
    bool timedOut_ = false;
    std::string in_;
    std::deque<DdeAdvise> advises_;
};

// A text value without its terminating zero.
std::string DdeText(const std::string& data);

} // namespace qv::dev
