// The rules of the exchange agreement's pages (which buttons are enabled by what is typed), and the
// program-wide block of answers waiting for the feed to send.
#pragma once

#include "realtime/AgreementBlock.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

inline constexpr size_t kMaxAgreementEmployers = 8;
// The longest text each answer field takes.
inline constexpr int kAgreementNameChars = 100;
inline constexpr int kAgreementAddressChars = 200;
inline constexpr int kAgreementOtherChars = 100;
inline constexpr std::array<int, 3> kAgreementEmployerChars = {200, 100, 100};

// The personal page: Next needs the name, the address and an occupation, and the typed occupation
// when "other" is among the chosen.
bool PersonalPageComplete(const AgreementAnswers& answers);

// The employer page: the three fields of the employer being typed.
bool EmployerAllFilled(const AgreementEntry& entry);
bool EmployerAllEmpty(const AgreementEntry& entry);
// "Next Employer" adds a fully typed employer while fewer than the most were added.
bool EmployerAddEnabled(const AgreementEntry& typed, size_t added);
// Next waits while the fields are partly typed.
bool EmployerPageComplete(const AgreementEntry& typed);

// The answers the feed sends, and the two program-wide flags.
struct AgreementOutbox {
    std::vector<uint8_t> block; // at most kAgreementBlockBytes
    bool toSend = false;
    bool wizardRunning = false;
};
AgreementOutbox& TheAgreementOutbox();

// Finish: a fully typed employer not yet added joins the answers (room allowing), then the answers
// are packed into the outbox and the "to send" flag set. False, with the outbox untouched, when the
// answers do not fit the block.
bool FinishAgreement(AgreementAnswers answers, const AgreementEntry& typed);

} // namespace qv
