// The portfolio record, its entry array and node lists, and the program-wide portfolio chain.
#pragma once

#include "core/Link32.h"
#include "core/RecordAccess.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace qv {

struct Transaction;

// A member of a group portfolio: the included portfolio's number + 1 (an 8-byte node).
struct PortfolioMember {
    Link32<PortfolioMember> next;
    uint16_t numberPlusOne = 0;
    uint16_t unused = 0;
};
static_assert(sizeof(PortfolioMember) == 8);

// A share the portfolio holds that no record answers to (kept so that the next save writes it
// back); a group portfolio keeps its member ids in the same kind of list.
struct MissingShare {
    Link32<MissingShare> next;
    uint16_t id = 0;
    uint16_t second = 0;
};
static_assert(sizeof(MissingShare) == 8);

// The portfolio's name (Windows-1252 bytes): a 32-bit link to a text of its own.
class PortfolioName {
public:
    PortfolioName() = default;
    PortfolioName(const PortfolioName& other);
    PortfolioName(PortfolioName&& other) noexcept;
    PortfolioName& operator=(const PortfolioName& other);
    PortfolioName& operator=(PortfolioName&& other) noexcept;
    ~PortfolioName();

    PortfolioName& operator=(std::string_view text);
    void assign(const char* text, size_t size) { *this = std::string_view(text, size); }

    const std::string& str() const;
    operator const std::string&() const { return str(); }
    const char* c_str() const { return str().c_str(); }
    size_t size() const { return str().size(); }
    bool empty() const { return str().empty(); }
    std::string substr(size_t position, size_t count) const { return str().substr(position, count); }

    friend bool operator==(const PortfolioName& a, std::string_view b) { return a.str() == b; }
    friend std::ostream& operator<<(std::ostream& out, const PortfolioName& name) { return out << name.str(); }

private:
    Link32<std::string> text_;
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

// The 128-byte record in the layout's order; its links are 32-bit links.
struct Portfolio {
    Link32<Portfolio> next;
    uint32_t entryBytes = 0; // size in bytes of the entry array
    uint8_t changed = 0;     // loaded / changed
    uint8_t viewSetting = 0; // the portfolio view's configuration number
    uint8_t type = kUserPortfolio;
    uint8_t flags = 0;
    uint16_t cashAccount = 0;
    uint16_t number = 0;
    PortfolioName name;
    Link32<Transaction> transactions;
    Link32<RecordCursor> entries; // ended by an entry whose record is null
    int32_t current = 0;
    int32_t last = 0;
    int32_t firstVisible = 0;
    Link32<PortfolioMember> members; // group portfolios only
    Link32<MissingShare> missing;    // group portfolios: the kept member ids
    uint8_t settings[kPortfolioSettingsSize] = {};
};
static_assert(sizeof(Portfolio) == 128);
static_assert(offsetof(Portfolio, number) == 14);
static_assert(offsetof(Portfolio, name) == 16);
static_assert(offsetof(Portfolio, entries) == 24);
static_assert(offsetof(Portfolio, members) == 40);
static_assert(offsetof(Portfolio, settings) == 48);

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
void FreeMissingShares(Link32<MissingShare>& head);
void FreePortfolioMembers(Link32<PortfolioMember>& head);
// Appends a missing share at the end of the list.
void AppendMissingShare(Link32<MissingShare>& head, uint16_t id, uint16_t second);
// Appends the portfolio at the end of the chain.
void AppendToChain(Portfolio* p);
// Takes the portfolio out of the chain; false when it is not in it.
bool UnlinkFromChain(Portfolio* p);

} // namespace qv
