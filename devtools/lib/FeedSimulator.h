// A stand-in for the feed's servers on the loopback interface: it serves the demo shares' trades and
// quotes of the day as if live, from the intraday day generator, with a catch-up of the day so far
// at log-on. Tests run it in-process; devtools/qvfeed runs it alone.
#pragma once

#include "core/PackedDate.h"
#include "devtools/lib/FeedMembers.h"
#include "devtools/lib/IntradayDayGenerator.h"
#include "devtools/lib/SimulatedAgreements.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qv::dev {

struct FeedSimulatorOptions {
    std::filesystem::path folder; // a program folder with the demo's intraday store
    int port = 7005;              // 0 picks a free one
    double speed = 1.0;           // 1: the clock's time of day; N: from 08:00, N times faster
    PackedDate day = 0;           // 0: today, or the last weekday at weekends
    // Faults to test the client with, after this many frames to a connection (-1: none).
    enum class Fault : uint8_t { None, Drop, Stall, Malformed, Oversized } fault = Fault::None;
    int faultAfter = -1;
    // The log-on's answer: a refusal step (11-14) ends the connection instead; the agreements the
    // account has completed at start (bit 0 NYSE/AMEX, bit 1 NASDAQ) and the levels it is served at.
    int refuseStep = 0;
    uint32_t agreements = 3;
    uint32_t levels = 0x3FF;
    // Weekdays before the served day that a backfill can bring (London data).
    int backfillDays = 10;
    // A hole in the served day, seconds [from, to): London's shares' records of that stretch are
    // left out of the catch-up and the live records, as a server that lost them would, and are sent
    // only to a gap request (0x48) that asks for them. 0, 0: none.
    uint32_t holeFrom = 0, holeTo = 0;
};

struct SimulatedShare {
    uint16_t share = 0;
    std::string shortName, longName; // feed-only instruments
    // The sequence number of the definition the store holds: the one sent at log-on is the next, so
    // that it applies (its price scale codes the prices sent).
    uint16_t storedSequence = 0;
    float previousClose = 0;
    // An index is served as values from the index source, at its market's hours and clock.
    bool index = false;
    uint8_t market = 0;
    std::vector<IntradayEvent> events;
};

class FeedSimulator {
public:
    explicit FeedSimulator(FeedSimulatorOptions options);
    ~FeedSimulator();
    FeedSimulator(const FeedSimulator&) = delete;
    FeedSimulator& operator=(const FeedSimulator&) = delete;

    // Reads the shares and binds 127.0.0.1; false with the reason.
    bool Start(std::string* error);
    void Stop();
    // Ends every open connection at once, as a server that lost them; new ones are still accepted.
    void DropConnections();
    int port() const { return port_; }
    PackedDate day() const { return day_; }
    const std::vector<SimulatedShare>& shares() const { return shares_; }
    // The simulated time of day in seconds.
    uint32_t Now() const;
    size_t connections() const { return connections_; }
    // Gap requests (0x48) received, over every connection.
    size_t gapRequests() const { return gapRequests_; }
    // The shares the last log-on asked to have first.
    std::vector<uint16_t> lastPriority() const
    {
        std::lock_guard guard(clientsMutex_);
        return lastPriority_;
    }
    // What the log-on reports as completed, which a received NYSE/AMEX agreement completes.
    const SimulatedAgreements& agreements() const { return agreements_; }

private:
    void AcceptLoop();
    void Serve(int fd);

    FeedSimulatorOptions options_;
    SimulatedAgreements agreements_;
    PackedDate day_ = 0;
    std::vector<SimulatedShare> shares_;
    int listen_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<size_t> connections_{0};
    std::atomic<size_t> gapRequests_{0};
    std::chrono::steady_clock::time_point start_;
    uint32_t startSeconds_ = 0;
    std::thread acceptThread_;
    mutable std::mutex clientsMutex_;
    std::vector<uint16_t> lastPriority_; // under clientsMutex_
    std::vector<std::thread> clients_;
    std::vector<int> clientFds_;
    SimulatedMemberStore members_;
};

// The day the stand-in serves for a date: the date itself on a weekday, else the weekday before.
PackedDate SimulatedFeedDay(PackedDate today);
// The share's day of the stand-in: the generator's ticks around prices drawn from the previous close.
std::vector<IntradayEvent> SimulatedShareDay(uint16_t share, PackedDate day, float previousClose);
// The same for a served share: an index's values over its market's hours.
std::vector<IntradayEvent> SimulatedShareDay(const SimulatedShare& share, PackedDate day);

} // namespace qv::dev
