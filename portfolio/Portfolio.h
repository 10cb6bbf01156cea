// The portfolio record as far as the share lists read and write it; the portfolio code owns the
// rest of the record and the chain.
#pragma once

#include "core/RecordAccess.h"

#include <cstdint>

namespace qv {

// A member of a group portfolio: the included portfolio's number + 1.
struct PortfolioMember {
    PortfolioMember* next = nullptr;
    uint16_t numberPlusOne = 0;
};

enum PortfolioType : uint8_t { kUserPortfolio = 0, kPresetList = 1, kFilterPreset = 2, kGroupPortfolio = 3 };

struct Portfolio {
    Portfolio* next = nullptr;
    uint32_t entryBytes = 0; // size in bytes of the entry array
    uint8_t changed = 0;
    uint8_t type = kUserPortfolio;
    uint16_t number = 0;
    RecordCursor* entries = nullptr; // ended by an entry whose record is null
    int32_t current = 0;
    int32_t last = 0;
    int32_t firstVisible = 0;
    PortfolioMember* members = nullptr; // group portfolios only
};

// Head of the program-wide portfolio chain.
Portfolio*& PortfolioChain();

// Entries the array has room for, the zero entry included.
inline uint32_t PortfolioEntrySlots(const Portfolio& p) { return p.entryBytes / uint32_t(sizeof(RecordCursor)); }

} // namespace qv
