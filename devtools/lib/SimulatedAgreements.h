// The feed stand-in's side of the exchange agreement: reading the answers the program sends and the
// accounts' completed agreements, which a received agreement completes.
#pragma once

#include "realtime/AgreementBlock.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv::dev {

// The answers as the block carries them: texts, the occupations already spelled out.
struct ReceivedAgreement {
    std::string account, name, address;
    std::vector<std::string> occupations;
    std::vector<AgreementEntry> employers;
    bool operator==(const ReceivedAgreement& other) const;
};

// Reads a block packed by PackAgreementAnswers; nothing when it is empty, longer than the block, a text
// is not ended, a count runs past the end, or bytes are left over.
std::optional<ReceivedAgreement> ReadAgreementBlock(std::span<const uint8_t> block);

// The agreements the stand-in's account has completed (bit 0 NYSE/AMEX, bit 1 NASDAQ), and the
// agreements received, shared by the connections.
class SimulatedAgreements {
public:
    explicit SimulatedAgreements(uint32_t completed) : completed_(completed) {}
    uint32_t completed() const;
    // A received NYSE/AMEX agreement: recorded and completed when it reads whole; false otherwise.
    bool Receive(std::span<const uint8_t> block);
    std::vector<ReceivedAgreement> received() const;

private:
    mutable std::mutex mutex_;
    uint32_t completed_;
    std::vector<ReceivedAgreement> received_;
};

} // namespace qv::dev
