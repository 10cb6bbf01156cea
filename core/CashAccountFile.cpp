// Reading and writing the cash-account file.
#include "core/CashAccountFile.h"

#include "core/CashAccounts.h"
#include "core/Memory.h"
#include "core/SaveProtocol.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cstring>

namespace qv {
namespace {

constexpr uint8_t kCashVersion = 2;
constexpr size_t kWideningOffset = 24;
constexpr size_t kWidening = 20;
constexpr size_t kRepairPadding = 48;
constexpr uint32_t kLongestName = 1024;

// Reads one account; false when its name or block runs past the file (the account is dropped).
bool ReadAccount(ByteReader& in, uint8_t version, StoredCashAccount& account)
{
    uint32_t nameSize = 0, dataSize = 0, pointerWord = 0;
    if (!in.u32(nameSize) || !in.u32(account.first) || !in.i32(account.second) || !in.u32(account.third) ||
        !in.u32(dataSize) || !in.u32(pointerWord))
        return false;
    if (nameSize == 0 || nameSize > kLongestName || nameSize > in.remaining())
        return false;
    std::span<const uint8_t> name = in.take(nameSize);
    const void* zero = std::memchr(name.data(), 0, name.size());
    size_t length = zero ? size_t(static_cast<const uint8_t*>(zero) - name.data()) : name.size();
    account.name.assign(reinterpret_cast<const char*>(name.data()), length);
    if (dataSize > in.remaining())
        return false;
    std::span<const uint8_t> data = in.take(dataSize);
    account.data = version == 1 ? WidenVersion1CashBlock(data) : std::vector<uint8_t>(data.begin(), data.end());
    RepairCashBlock(account.data);
    return true;
}

} // namespace

StoredCashAccount DefaultCashAccount()
{
    StoredCashAccount account;
    account.data.assign(kDefaultCashBlockBytes, 0);
    account.name = kDefaultCashAccountName;
    return account;
}

std::vector<uint8_t> WidenVersion1CashBlock(std::span<const uint8_t> block)
{
    std::vector<uint8_t> out;
    out.reserve(block.size() + kWidening * 8);
    size_t pos = 0;
    size_t records = 0;
    while (pos < block.size() && block[pos] >= kWideningOffset && block[pos] + kWidening <= 0xFF &&
           pos + block[pos] <= block.size()) {
        size_t length = block[pos];
        out.push_back(uint8_t(length + kWidening));
        out.insert(out.end(), block.begin() + ptrdiff_t(pos + 1), block.begin() + ptrdiff_t(pos + kWideningOffset));
        out.insert(out.end(), kWidening, 0);
        out.insert(out.end(), block.begin() + ptrdiff_t(pos + kWideningOffset), block.begin() + ptrdiff_t(pos + length));
        pos += length;
        ++records;
    }
    out.insert(out.end(), block.begin() + ptrdiff_t(pos), block.end());
    // The block keeps the room it had behind its entries, and gains one widening more.
    out.resize(block.size() + kWidening * (records + 1), 0);
    return out;
}

void RepairCashBlock(std::vector<uint8_t>& block)
{
    size_t pos = 0, lastStart = 0;
    while (pos < block.size()) {
        if (block[pos] == 0)
            return;
        lastStart = pos;
        pos += block[pos];
    }
    block.resize(lastStart);
    block.resize(lastStart + kRepairPadding, 0);
}

CashFileContents ReadCashFile(std::span<const uint8_t> image)
{
    CashFileContents contents;
    ByteReader in(image);
    TaggedFileHeader header;
    contents.verdict = header.read(in) ? TestHeaderVersionFirst(header, file_tag::kCashAccounts)
                                       : HeaderVerdict::BadlyFormatted;
    if (contents.verdict != HeaderVerdict::Accepted)
        return contents;
    for (uint32_t i = 0; i < header.word8; ++i) {
        StoredCashAccount account;
        if (!ReadAccount(in, header.version, account)) {
            contents.truncated = true;
            break;
        }
        contents.accounts.push_back(std::move(account));
    }
    return contents;
}

std::vector<uint8_t> WriteCashFile(const std::vector<StoredCashAccount>& accounts)
{
    ByteWriter out;
    TaggedFileHeader header;
    header.tag = file_tag::kCashAccounts;
    header.version = kCashVersion;
    header.word8 = uint32_t(accounts.size());
    header.write(out);
    for (const StoredCashAccount& a : accounts) {
        out.u32(uint32_t(a.name.size() + 1));
        out.u32(a.first);
        out.i32(a.second);
        out.u32(a.third);
        out.u32(uint32_t(a.data.size()));
        out.u32(0);
        out.cString(a.name);
        out.bytes(a.data.data(), a.data.size());
    }
    return out.take();
}

std::optional<std::vector<StoredCashAccount>> LoadCashFile()
{
    SavePlan plan = CashAccountsSavePlan();
    std::filesystem::path file = AppPath(plan.name);
    std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(file);
    if (!bytes) {
        file = AppPath(plan.temporary);
        bytes = ReadFileBytes(file);
    }
    if (!bytes)
        return std::vector<StoredCashAccount>{DefaultCashAccount()};
    CashFileContents contents = ReadCashFile(*bytes);
    if (contents.verdict != HeaderVerdict::Accepted) {
        ShowHeaderMessage(TaggedFileKind::CashAccounts, contents.verdict);
        // Set aside, so that the next save does not write over the accounts it may hold.
        SetRejectedFileAside(file);
        return std::nullopt;
    }
    if (contents.truncated) {
        SetDamagedFileAside(file, KeptItemsText(contents.accounts.size(), "cash account", "cash accounts"));
        // The program always has an account to book cash to.
        if (contents.accounts.empty())
            contents.accounts.push_back(DefaultCashAccount());
    }
    return std::move(contents.accounts);
}

bool SaveCashFile(const std::vector<StoredCashAccount>& accounts)
{
    return SaveFileImage(CashAccountsSavePlan(), WriteCashFile(accounts)) == SaveResult::Saved;
}

void LoadCashAccounts()
{
    std::optional<std::vector<StoredCashAccount>> accounts = LoadCashFile();
    if (!accounts)
        return;
    FreeCashAccounts();
    CashAccountList& list = CashAccounts();
    CashAccount** tail = &list.head;
    for (const StoredCashAccount& stored : *accounts) {
        auto* account = new CashAccount;
        account->number = stored.first;
        account->kind = stored.second;
        account->third = stored.third;
        account->dataSize = uint32_t(stored.data.size());
        account->data = static_cast<uint8_t*>(ProCalloc(std::max<uint32_t>(account->dataSize, 1), 1, "Cash account"));
        std::memcpy(account->data, stored.data.data(), stored.data.size());
        account->name = stored.name;
        *tail = account;
        tail = &account->next;
    }
    list.current = list.head;
}

bool SaveCashAccounts()
{
    std::vector<StoredCashAccount> accounts;
    for (const CashAccount* a = CashAccounts().head; a; a = a->next)
        accounts.push_back({a->number, a->kind, a->third, std::vector<uint8_t>(a->data, a->data + a->dataSize), a->name});
    return SaveCashFile(accounts);
}

} // namespace qv
