// Cash-account list operations.
#include "core/CashAccounts.h"

#include "core/Memory.h"
#include "core/UpperHooks.h"
#include "platform/MessageBox.h"

#include <cstring>
#include <mutex>
#include <vector>

namespace qv {
namespace {

std::mutex g_dialogMutex;
NewCashAccountDialog g_dialog;

uint32_t LowestFreeNumber()
{
    std::vector<bool> used(kMaxCashAccounts + 2, false);
    for (CashAccount* a = CashAccounts().head; a; a = a->next)
        if (a->number < used.size())
            used[a->number] = true;
    uint32_t n = 1;
    while (n <= kMaxCashAccounts && used[n])
        ++n;
    return n;
}

void FreeAccount(CashAccount* account)
{
    ProFree(account->data);
    delete account;
}

std::optional<NewCashAccountAnswer> AskNewAccount()
{
    NewCashAccountDialog dialog;
    {
        std::lock_guard lock(g_dialogMutex);
        dialog = g_dialog;
    }
    return dialog ? dialog() : std::nullopt;
}

} // namespace

CashAccountList& CashAccounts()
{
    static CashAccountList list;
    return list;
}

NewCashAccountDialog SetNewCashAccountDialog(NewCashAccountDialog dialog)
{
    std::lock_guard lock(g_dialogMutex);
    std::swap(g_dialog, dialog);
    return dialog;
}

CashAccount* NewCashAccount(const std::string& name)
{
    uint32_t number = LowestFreeNumber();
    if (number > kMaxCashAccounts) {
        ShowMessage("Only 1000 cash accounts allowed", {}, MsgButtons::Ok, MsgIcon::Information);
        return nullptr;
    }
    auto* account = new CashAccount;
    account->number = number;
    account->dataSize = kCashBlockBytes;
    account->data = static_cast<uint8_t*>(ProCalloc(kCashBlockBytes, 1, "NewCashAccount"));
    account->name = name;
    if (name.empty()) {
        auto answer = AskNewAccount();
        if (!answer) {
            FreeAccount(account);
            return nullptr;
        }
        account->name = answer->name;
        if (answer->kind)
            account->kind = *answer->kind;
    }
    CashAccount** link = &CashAccounts().head;
    while (*link)
        link = &(*link)->next;
    *link = account;
    return account;
}

void CopyCashAccount(CashAccount& destination, const CashAccount& source, bool keepFlags)
{
    if (&destination == &source)
        return;
    if (!keepFlags) {
        destination.number = source.number;
        destination.kind = source.kind;
        destination.third = source.third;
    }
    auto* copy = static_cast<uint8_t*>(ProCalloc(source.dataSize ? source.dataSize : 1, 1, "CopyCashAccount"));
    if (source.data && source.dataSize)
        std::memcpy(copy, source.data, source.dataSize);
    ProFree(destination.data);
    destination.data = copy;
    destination.dataSize = source.dataSize;
    destination.name = source.name;
}

void RemoveCashAccount(CashAccount* account)
{
    CashAccountList& list = CashAccounts();
    CashAccount** link = &list.head;
    while (*link && *link != account)
        link = &(*link)->next;
    if (!account || !*link)
        return;
    *link = account->next;
    if (list.current == account)
        list.current = list.head;
    uint32_t number = account->number;
    FreeAccount(account);
    if (const auto& clear = CoreUpperHooks().clearPortfolioCashReferences)
        clear(number);
}

void FreeCashAccounts()
{
    CashAccountList& list = CashAccounts();
    while (CashAccount* a = list.head) {
        list.head = a->next;
        FreeAccount(a);
    }
    list.current = nullptr;
}

} // namespace qv
