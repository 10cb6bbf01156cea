// The portfolio record, its entry array and node lists, and the program-wide portfolio chain.
#pragma once

#include "core/RecordAccess.h"

#include <cstdint>
#include <string>

namespace qv {

struct Transaction;

// A member of a group portfolio: the included portfolio's number + 1.
struct PortfolioMember {
    PortfolioMember* next = nullptr;
    uint16_t numberPlusOne = 0;
};

// A share the portfolio holds that no record answers to (kept so that the next save writes it
// back); a group portfolio keeps its member ids in the same kind of list.
struct MissingShare {
    MissingShare* next = nullptr;
    uint16_t id = 0;
    uint16_t second = 0;
};

enum PortfolioType : uint8_t { kUserPortfolio = 0, kPresetList = 1, kFilterPreset = 2, kGroupPortfolio = 3 };

// Numbers of the pre-set portfolios.
constexpr uint16_t kNewLowsNumber = 0xFF01;
constexpr uint16_t kNewHighsNumber = 0xFF02;
constexpr uint16_t kAlarmsNumber = 0xFF03;
constexpr uint16_t kGlobalAlarmsNumber = 0xFF04;
constexpr uint16_t kFilterPortfolioNumber = 0xFF05;
// Portfolio files carry three digits.
constexpr uint16_t kHighestPortfolioNumber = 999;

constexpr size_t kPortfolioSettingsSize = 80;
// Entries of a new entry array, the zero entry included; arrays grow by as many.
constexpr uint32_t kEntrySlotsStep = 8;

// The record keeps the stored layout's fields in its order; its links are native pointers.
struct Portfolio {
    Portfolio* next = nullptr;
    uint32_t entryBytes = 0; // size in bytes of the entry array
    uint8_t changed = 0;     // loaded / changed
    uint8_t viewSetting = 0; // the portfolio view's configuration number
    uint8_t type = kUserPortfolio;
    uint8_t flags = 0;
    uint16_t cashAccount = 0;
    uint16_t number = 0;
    std::string name; // Windows-1252 bytes
    Transaction* transactions = nullptr;
    RecordCursor* entries = nullptr; // ended by an entry whose record is null
    int32_t current = 0;
    int32_t last = 0;
    int32_t firstVisible = 0;
    PortfolioMember* members = nullptr; // group portfolios only
    MissingShare* missing = nullptr;    // group portfolios: the kept member ids
    uint8_t settings[kPortfolioSettingsSize] = {};
};

// Head of the program-wide portfolio chain.
Portfolio*& PortfolioChain();

// Entries the array has room for, the zero entry included.
inline uint32_t PortfolioEntrySlots(const Portfolio& p) { return p.entryBytes / uint32_t(sizeof(RecordCursor)); }

// Entries before the zero entry, bounded by the array.
uint32_t CountPortfolioEntries(const Portfolio& p);
// Replaces the entry array by an empty one of kEntrySlotsStep slots.
void ResetPortfolioEntries(Portfolio& p);
// Appends an entry, growing the array; `last` becomes the new entry's index.
void AddPortfolioEntry(Portfolio& p, RecordCursor entry);
// Frees the missing-share and member lists.
void FreeMissingShares(MissingShare*& head);
void FreePortfolioMembers(PortfolioMember*& head);

} // namespace qv
