// The program-wide list of cash accounts: creation with the lowest free number, copying, removal.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace qv {

constexpr uint32_t kMaxCashAccounts = 1000;
constexpr uint32_t kCashBlockBytes = 1024;

// A list node. The three header words and the data size are the 24-byte head the cash file
// stores with the link; the data block is a chain of records, each beginning with its length
// byte, ended by a 0.
struct CashAccount {
    CashAccount* next = nullptr;
    uint32_t number = 0; // 1-1000
    int32_t kind = -1;
    uint32_t third = 0;
    uint32_t dataSize = 0;
    uint8_t* data = nullptr; // guarded memory
    std::string name;
};

struct CashAccountList {
    CashAccount* head = nullptr;
    CashAccount* current = nullptr;
};
CashAccountList& CashAccounts();

// The new-account dialog: the name typed and, when the user chose one, the account kind; nothing
// on Cancel. With no dialog installed a new account without a name is cancelled.
struct NewCashAccountAnswer {
    std::string name;
    std::optional<int32_t> kind;
};
using NewCashAccountDialog = std::function<std::optional<NewCashAccountAnswer>()>;
NewCashAccountDialog SetNewCashAccountDialog(NewCashAccountDialog dialog);

// Makes an account with the lowest free number and a zeroed 1,024-byte block, asks its name when
// none is given, and appends it to the list; null when all 1000 numbers are used (after telling
// the user) or the dialog was cancelled.
CashAccount* NewCashAccount(const std::string& name);
// Copies the head and name and duplicates the data block; with keepFlags the destination keeps its
// own three header words. The destination keeps its link.
void CopyCashAccount(CashAccount& destination, const CashAccount& source, bool keepFlags);
// Unlinks the account, frees it, and clears the portfolios' references to its number.
void RemoveCashAccount(CashAccount* account);
// Frees every account; the list becomes empty.
void FreeCashAccounts();

} // namespace qv
