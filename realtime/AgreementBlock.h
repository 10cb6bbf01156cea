// The exchange agreement's answers packed into the block the feed client sends: every text
// zero-terminated, the occupations and entries each after a count byte, all within 4096 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

inline constexpr size_t kAgreementBlockBytes = 4096;
inline constexpr int kOccupationCount = 12;
inline constexpr int kOtherOccupation = 11;

struct AgreementEntry {
    std::string texts[3];
};

struct AgreementAnswers {
    std::string account;
    std::string subscriber[2];
    std::vector<int> occupations; // indices 0-11; 11 stands for the text typed for it
    std::string otherOccupation;
    std::vector<AgreementEntry> entries;
};

// The text of an occupation index 0-10, empty outside.
const char* OccupationText(int index);

// The packed block, or nothing when the answers do not fit the block (or a count passes 255);
// Finish is then refused with kAgreementTooLong and nothing is sent.
std::optional<std::vector<uint8_t>> PackAgreementAnswers(const AgreementAnswers& answers);
inline constexpr const char* kAgreementTooLong =
    "Your answers are too long to be sent. Please shorten them, then press Finish again.";

// The message shown when the agreement is declined, with the support telephone number.
std::string AgreementDeclinedText();

} // namespace qv
