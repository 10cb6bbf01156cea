// The cash-account file "Data\Cash.dat": its image, the older version it widens, and the repair of
// an entry chain that lost its end.
#pragma once

#include "core/TaggedFile.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

// One account as the file holds it: the three header words, the entry block and the name.
struct StoredCashAccount {
    uint32_t first = 1;
    int32_t second = -1;
    uint32_t third = 0;
    std::vector<uint8_t> data;
    std::string name;

    bool operator==(const StoredCashAccount&) const = default;
};

constexpr uint32_t kDefaultCashBlockBytes = 1024;
constexpr const char* kDefaultCashAccountName = "Global Account";

// The one account a program without a cash file starts with.
StoredCashAccount DefaultCashAccount();

struct CashFileContents {
    HeaderVerdict verdict = HeaderVerdict::Accepted;
    std::vector<StoredCashAccount> accounts;
    // An account whose name or block ran past the file was dropped and reading stopped there.
    bool truncated = false;
};

// Reads a file image. A rejected header reads no accounts.
CashFileContents ReadCashFile(std::span<const uint8_t> image);
std::vector<uint8_t> WriteCashFile(const std::vector<StoredCashAccount>& accounts);

// Widens a version-1 entry block: 20 zero bytes behind byte 24 of every entry.
std::vector<uint8_t> WidenVersion1CashBlock(std::span<const uint8_t> block);
// Cuts a block whose entries find no end before the last entry that starts inside it and puts
// 48 zero bytes behind the cut; a sound block is left as it is.
void RepairCashBlock(std::vector<uint8_t>& block);

// The accounts of "Data\Cash.dat", or of "Data\Cash.tem" when only that is there; the default
// account when there is neither. A rejected header shows its message, sets the file aside and
// answers nothing; a file damaged part way is set aside too, with the accounts read before the
// damage (the default account when none) and the user told.
std::optional<std::vector<StoredCashAccount>> LoadCashFile();
// Writes the accounts through the save protocol; false when the disk refused.
bool SaveCashFile(const std::vector<StoredCashAccount>& accounts);

// The program-wide account list from the file: the accounts read replace the whole list, and the
// first becomes current. A rejected file leaves the list as it was.
void LoadCashAccounts();
// Writes the program-wide account list; false when the disk refused.
bool SaveCashAccounts();

} // namespace qv
