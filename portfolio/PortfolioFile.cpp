// Reading and writing portfolio files, and the chain they fill.
#include "portfolio/PortfolioFile.h"

#include "core/ConfigState.h"
#include "core/DMFilter.h"
#include "core/Database.h"
#include "core/Memory.h"
#include "core/RecordLists.h"
#include "core/RecordLookup.h"
#include "core/SaveProtocol.h"
#include "core/ShareList.h"
#include "core/TableLock.h"
#include "core/TaggedFile.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "portfolio/PortfolioRoutines.h"
#include "portfolio/Transaction.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace qv {
namespace {

namespace T = TransactionLayout;

constexpr uint8_t kPortfolioVersion = 3;
constexpr size_t kSettingsFromVersion = 2;
// A transaction record's length is a u16 in the record itself.
constexpr uint32_t kLongestTransaction = 0xFFFF;
constexpr size_t kMaxStoredName = 253;

// Where the share name's length byte lies in each version's transaction record.
size_t NameLengthOffset(uint8_t version)
{
    return version == 1 ? 76 : version == 2 ? 116 : T::NameLength;
}

// Whether every length of the body after the header adds up: the name block, the entries, the
// settings block, and transactions of sound lengths filling their stated total, which ends the
// file. A file cut short or written over in part fails here rather than loading what is left.
bool BodyAddsUp(ByteReader in, uint8_t version)
{
    uint8_t n = 0;
    int32_t entryBytes = 0;
    if (!in.u8(n) || !in.skip(n) || !in.i32(entryBytes) || entryBytes < 0 || !in.skip(size_t(entryBytes)))
        return false;
    if (version >= kSettingsFromVersion && !in.skip(kPortfolioSettingsSize))
        return false;
    uint32_t left = 0;
    if (!in.u32(left) || left != in.remaining())
        return false;
    const size_t fixed = NameLengthOffset(version) + 1;
    while (left > 0) {
        uint32_t length = 0;
        if (!in.u32(length) || length > kLongestTransaction || length < fixed || length > left)
            return false;
        in.skip(length - 4);
        left -= length;
    }
    return in.ok();
}

void ShowBadlyFormatted()
{
    ShowHeaderMessage(TaggedFileKind::Portfolio, HeaderVerdict::BadlyFormatted);
}

Portfolio* AppendPortfolio(uint16_t number)
{
    auto* p = new Portfolio;
    p->number = number;
    p->changed = 1;
    std::memset(p->settings, 0xFF, sizeof p->settings);
    ResetPortfolioEntries(*p);
    AppendToChain(p);
    return p;
}

// The name block: version 3 always ends with the flags and type bytes; older files end with them
// only when their values are small, read as unsigned bytes.
void ReadNameBlock(Portfolio& p, std::span<const uint8_t> block, uint8_t version)
{
    size_t n = block.size();
    size_t nameSize = n;
    if (version >= 3 && n >= 2) {
        p.flags = block[n - 2];
        p.type = block[n - 1];
        nameSize = n - 2;
    } else if (n > 2 && block[n - 2] < 12) {
        p.flags = block[n - 2];
        p.type = block[n - 1];
        nameSize = n - 2;
    } else if (n > 1 && block[n - 1] < 12) {
        p.flags = block[n - 1];
        nameSize = n - 1;
    }
    p.name.assign(reinterpret_cast<const char*>(block.data()), nameSize);
}

RecordListNode* FindNode(RecordListNode* node, uint16_t id)
{
    for (; node; node = node->next)
        if (node->record && RecordId(node->record) == id)
            return node;
    return nullptr;
}

uint8_t* FindInMainBlock(uint16_t id)
{
    if (id < 0x8000)
        return RecordIndex[id];
    for (uint8_t* r = MainRecordBlock; r && RecordLength(r) != 0; r = NextRecord(r))
        if (RecordId(r) == id)
            return r;
    return nullptr;
}

// The record an entry names: the main database, then the imported items, then the extra records.
uint8_t* LocateEntryShare(uint16_t id, bool& imported)
{
    imported = false;
    if (uint8_t* r = FindInMainBlock(id))
        return r;
    if (RecordListNode* node = FindNode(ImportedItemList, id)) {
        imported = true;
        return node->record;
    }
    TableLockGuard hold(&ExtraRecordsLock);
    RecordListNode* node = FindNode(ExtraRecordList, id);
    return node ? node->record : nullptr;
}

// A group's entry pairs name its members: {member number + 1, 0}.
void ReadGroupMembers(Portfolio& p, std::span<const uint8_t> block)
{
    Link32<PortfolioMember>* tail = &p.members;
    for (size_t at = 0; at + 8 <= block.size(); at += 8) {
        uint32_t key = LoadU32(&block[at]);
        if (key == 0)
            break;
        if (key > 0xFFFF)
            continue;
        auto* node = new PortfolioMember{{}, uint16_t(key), 0xFFFF};
        *tail = node;
        tail = &node->next;
    }
}

void ReadEntries(Portfolio& p, std::span<const uint8_t> block)
{
    if (p.type == kGroupPortfolio) {
        ReadGroupMembers(p, block);
        return;
    }
    for (size_t at = 0; at + 8 <= block.size(); at += 8) {
        uint32_t id = LoadU32(&block[at]);
        if (id == 0)
            break;
        uint32_t second = LoadU32(&block[at + 4]);
        bool imported = false;
        uint8_t* record = id <= 0xFFFF ? LocateEntryShare(uint16_t(id), imported) : nullptr;
        if (!record) {
            AppendMissingShare(p.missing, uint16_t(id), uint16_t(second));
            continue;
        }
        if (imported && second != 0) {
            second = 0;
            ShowMessage("An Imported share in a portfolio had a bad Share Number.\nThis has now been corrected.");
        }
        AddPortfolioEntry(p, RecordCursor{record, second});
    }
    p.current = p.firstVisible = 0;
}

void InsertZeros(std::vector<uint8_t>& bytes, size_t at, size_t replaced, size_t count)
{
    if (bytes.size() < at + replaced)
        bytes.resize(at + replaced);
    bytes.erase(bytes.begin() + ptrdiff_t(at), bytes.begin() + ptrdiff_t(at + replaced));
    bytes.insert(bytes.begin() + ptrdiff_t(at), count, 0);
}

void SetLength(std::vector<uint8_t>& r)
{
    StoreU32(&r[T::Link], uint32_t(r.size()));
    StoreU16(&r[T::RecordLength], uint16_t(r.size()));
}

// Brings a transaction read from a file of `version` to the current layout and mends what the
// file got wrong.
void ConvertTransaction(std::vector<uint8_t>& r, uint8_t version, uint16_t portfolioNumber)
{
    if (!(r[T::Flags] & TransactionFlag::FloatValues)) {
        if (r[T::Type] != kLatestRowType)
            for (size_t at : {T::Shares, T::Holding})
                StoreF32(&r[at], float(LoadI32(&r[at])));
        r[T::Flags] |= TransactionFlag::FloatValues;
    }
    if (version == 1)
        InsertZeros(r, 70, 6, 46);
    if (version <= 2) {
        InsertZeros(r, 114, 2, 42);
        StoreU16(&r[T::PortfolioNumber], portfolioNumber);
        if (r[T::Type] == 8)
            r[T::Type] = kLatestRowType;
    }
    if (r.size() <= T::NameLength)
        r.resize(T::NameLength + 1, 0);
    if (r[T::Type] == 7) {
        float shares = LoadF32(&r[T::Shares]), price = LoadF32(&r[T::Price]);
        float total = shares < 0.0001f ? price : shares * price;
        total += LoadF32(&r[T::BrokerCharge]) + LoadF32(&r[T::StampDuty]) + LoadF32(&r[T::ContractLevy]);
        StoreF32(&r[T::Amount], total);
    }
    if (r.size() > 0xFFFF)
        r.resize(0xFFFF);
    SetLength(r);
    uint8_t* share = FindShareRecord(LoadU16(&r[T::ShareId]));
    if (!share) {
        if (!TransactionNameIsSound(r))
            RebuildAsLostShare(r);
    } else {
        std::string_view name = GetRecordTexts(share).name;
        std::string_view own(reinterpret_cast<const char*>(&r[T::Name]),
                             std::min<size_t>(r[T::NameLength], r.size() - T::Name));
        if (name != own)
            RenameTransaction(r, name);
    }
    SetLength(r);
}

// Reads the transactions, whose lengths BodyAddsUp has checked.
void ReadTransactions(Portfolio& p, ByteReader& in, uint8_t version)
{
    uint32_t left = 0;
    if (!in.u32(left))
        return;
    while (left >= 4) {
        uint32_t length = 0;
        in.u32(length);
        std::vector<uint8_t> r(length, 0);
        in.bytes(r.data() + 4, length - 4);
        left -= length;
        if (!in.ok() || LoadU16(&r[T::RecordLength]) == 0)
            break;
        ConvertTransaction(r, version, p.number);
        auto* t = new Transaction;
        t->bytes = std::move(r);
        InsertSortedByName(p.transactions, t);
    }
}

// Reads the body after the header; false when it is damaged.
bool ReadBody(Portfolio& p, ByteReader& in, uint8_t version, int index, int total)
{
    uint8_t n = 0;
    if (!in.u8(n))
        return false;
    std::span<const uint8_t> nameBlock = in.take(n);
    if (!in.ok())
        return false;
    ReadNameBlock(p, nameBlock, version);
    PortfolioFileHooks& hooks = GetPortfolioFileHooks();
    if (total > 0 && hooks.splashStatus) {
        char text[400];
        std::snprintf(text, sizeof text, "Loading portfolio %s (%1d of %1d)", p.name.c_str(), index, total);
        hooks.splashStatus(text, 85 + 10 * index / total);
    }
    int32_t entryBytes = 0;
    if (!in.i32(entryBytes) || entryBytes < 0 || size_t(entryBytes) > in.remaining())
        return false;
    ReadEntries(p, in.take(size_t(entryBytes)));
    if (version >= kSettingsFromVersion && !in.bytes(p.settings, sizeof p.settings))
        return false;
    ReadTransactions(p, in, version);
    return true;
}

void AppendEntryPair(ByteWriter& out, uint32_t id, uint32_t second)
{
    out.u32(id);
    out.u32(second);
}

ShareList* FirstListShowing(const Portfolio* p)
{
    for (ShareList* l = ShareListChain(); l; l = l->next)
        if (l->source == p)
            return l;
    return nullptr;
}

// The lists whose stored source number is this portfolio's show it.
void AttachLists(Portfolio* p)
{
    for (ShareList* l = ShareListChain(); l; l = l->next)
        if (l->sourceNumber == p->number && l->source != p)
            SetShareListSource(l, p, 0, 0, true, false);
}

bool ReportUnsaved(const std::vector<std::string>& names)
{
    if (names.empty())
        return true;
    std::string text = "Unable to save portfolio";
    for (const std::string& name : names)
        text += "\n" + name;
    ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

Portfolio* NewPreset(uint16_t number, uint8_t type, std::string name)
{
    auto* p = new Portfolio;
    p->number = number;
    p->type = type;
    p->name = std::move(name);
    std::memset(p->settings, 0xFF, sizeof p->settings);
    ResetPortfolioEntries(*p);
    p->next = PortfolioChain();
    PortfolioChain() = p;
    return p;
}

// The number in a portfolio file's title: the three characters after "Quorva".
std::optional<uint16_t> FileNumber(const std::string& title)
{
    if (title.rfind("Quorva", 0) != 0 || title.size() < 9)
        return std::nullopt;
    int value = 0;
    for (size_t i = 6; i < 9; ++i) {
        if (title[i] < '0' || title[i] > '9')
            return std::nullopt;
        value = value * 10 + (title[i] - '0');
    }
    return uint16_t(value);
}

bool InChain(uint16_t number)
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->number == number)
            return true;
    return false;
}

void LoadAndAttach(uint16_t number, bool interim, int index, int total)
{
    Portfolio* p = LoadPortfolio(number, interim, index, total);
    if (!p)
        return;
    AttachLists(p);
    if (number == StoredCurrentPortfolioNumber() && CurrentShareList())
        SetShareListSource(CurrentShareList(), p, 0, 0, true, false);
}

} // namespace

PortfolioFileHooks& GetPortfolioFileHooks()
{
    static PortfolioFileHooks hooks;
    return hooks;
}

int32_t StoredCurrentPortfolioNumber()
{
    return int32_t(LoadU32(Config().optionsA.data() + OptionBlockA::kCurrentPortfolio));
}

void StoreCurrentPortfolioNumber(int32_t number)
{
    StoreU32(Config().optionsA.data() + OptionBlockA::kCurrentPortfolio, uint32_t(number));
}

std::optional<std::string> MakePortfolioFileName(uint16_t number, bool interim)
{
    if (number > kHighestPortfolioNumber)
        return std::nullopt;
    char name[32];
    std::snprintf(name, sizeof name, "Quorva%03i.%s", int(number), interim ? "new" : "por");
    return std::string(name);
}

std::vector<uint8_t> BuildPortfolioImage(const Portfolio& p)
{
    const bool group = p.type == kGroupPortfolio;
    std::string name = p.name.substr(0, kMaxStoredName);

    ByteWriter entries;
    if (!group)
        for (uint32_t i = 0; i < CountPortfolioEntries(p); ++i)
            AppendEntryPair(entries, RecordId(p.entries[i].record), p.entries[i].count);
    for (const MissingShare* m = p.missing; m; m = m->next)
        AppendEntryPair(entries, m->id, m->second);
    if (group)
        for (const PortfolioMember* m = p.members; m; m = m->next)
            AppendEntryPair(entries, m->numberPlusOne, 0);
    entries.u32(0);

    ByteWriter transactions;
    if (!group)
        for (const Transaction* t = p.transactions; t; t = t->next)
            transactions.bytes(t->bytes.data(), t->bytes.size());

    TaggedFileHeader header;
    header.tag = file_tag::kPortfolio;
    header.version = kPortfolioVersion;
    header.setWords8(DatabaseWordA, DatabaseDate);
    header.word12 = uint32_t(name.size() + entries.size() + transactions.size() + 10);

    ByteWriter out;
    header.write(out);
    out.u8(uint8_t(name.size() + 2));
    out.bytes(name.data(), name.size());
    out.u8(p.flags);
    out.u8(p.type);
    out.u32(uint32_t(entries.size()));
    out.bytes(entries.data().data(), entries.size());
    out.bytes(p.settings, sizeof p.settings);
    out.u32(uint32_t(transactions.size()));
    out.bytes(transactions.data().data(), transactions.size());
    return out.take();
}

bool PortfolioImageReadsWhole(std::span<const uint8_t> image)
{
    ByteReader in(image);
    TaggedFileHeader header;
    return header.read(in) &&
           TestHeaderVersionFirst(header, file_tag::kPortfolio, kPortfolioVersion) == HeaderVerdict::Accepted &&
           BodyAddsUp(in, header.version);
}

Portfolio* LoadPortfolioImage(std::span<const uint8_t> image, uint16_t number, int index, int total)
{
    ByteReader in(image);
    TaggedFileHeader header;
    HeaderVerdict verdict = header.read(in) ? TestHeaderVersionFirst(header, file_tag::kPortfolio, kPortfolioVersion)
                                            : HeaderVerdict::BadlyFormatted;
    if (verdict != HeaderVerdict::Accepted) {
        ShowHeaderMessage(TaggedFileKind::Portfolio, verdict);
        return nullptr;
    }
    if (!BodyAddsUp(in, header.version)) {
        ShowBadlyFormatted();
        return nullptr;
    }
    Portfolio* p = AppendPortfolio(number);
    if (!ReadBody(*p, in, header.version, index, total)) {
        ShowBadlyFormatted();
        UnlinkFromChain(p);
        FreePortfolio(p);
        return nullptr;
    }
    return p;
}

Portfolio* LoadPortfolio(uint16_t number, bool interim, int index, int total)
{
    std::optional<std::string> name = MakePortfolioFileName(number, interim);
    if (!name)
        return nullptr;
    std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(AppPath(*name));
    if (!bytes)
        return nullptr;
    Portfolio* p = LoadPortfolioImage(*bytes, number, index, total);
    // A damaged file is set aside, so that no later save of this number writes over it.
    if (!p && !InChain(number))
        SetRejectedFileAside(AppPath(*name));
    return p;
}

namespace {

// Saves one portfolio; `quiet` leaves the report to the caller.
bool SaveOne(Portfolio* p, bool final, bool quiet)
{
    if (!p)
        return true;
    if (p->type == kFilterPreset) {
        int position = FindFilterPosition(p->name.str());
        StoreU16(Config().optionsA.data() + OptionBlockA::kFilterPosition, uint16_t(position > 0 ? position : 0));
        return true;
    }
    if (p->type != kUserPortfolio && p->type != kGroupPortfolio)
        return true;
    std::optional<std::string> finalName = MakePortfolioFileName(p->number, false);
    if (!MainRecordBlock || !finalName) {
        if (!quiet)
            ShowMessage("Unable to save portfolio");
        return false;
    }
    std::vector<uint8_t> image = BuildPortfolioImage(*p);
    uint64_t entryBytes = LoadU32(&image[TaggedFileHeader::kSize + 1 + image[TaggedFileHeader::kSize]]);
    SavePlan plan = PortfolioSavePlan(p->number, entryBytes, TransactionBytes(p->transactions));
    std::string interimName = *MakePortfolioFileName(p->number, true);
    plan.readsWhole = PortfolioImageReadsWhole;
    if (!final) {
        plan.name = interimName;
        plan.older.clear();
    }
    if (SaveFileImage(plan, image) != SaveResult::Saved)
        return false;
    if (!final)
        return true;
    if (ShareList* list = FirstListShowing(p))
        list->sourceNumber = p->number;
    if (CurrentShareList() && CurrentShareList()->source == p)
        StoreCurrentPortfolioNumber(p->number);
    // The portfolio stays whole in memory: the views go on showing it and the next save writes it again.
    ForceDelete(AppPath(interimName));
    return true;
}

} // namespace

bool SavePortfolio(Portfolio* p, bool final) { return SaveOne(p, final, false); }

bool SaveAllPortfolios(bool final)
{
    for (ShareList* l = ShareListChain(); l; l = l->next)
        if (l->source)
            l->sourceNumber = l->source->number;
    if (ShareList* current = CurrentShareList())
        StoreCurrentPortfolioNumber(current->source ? current->source->number : kNoPortfolioNumber);
    std::vector<std::string> failed;
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (!SaveOne(p, final, true))
            failed.push_back(p->name);
    return ReportUnsaved(failed);
}

void CreatePresetPortfolios()
{
    if (!CurrentShareList())
        CurrentShareList() = GetShareListForSource(nullptr);
    PortfolioFileHooks& hooks = GetPortfolioFileHooks();
    const int32_t stored = StoredCurrentPortfolioNumber();
    // Each pre-set passes through the current list as it is made; without a stored match the list
    // gets back the source it had, rather than keeping the last pre-set for good.
    ShareList* current = CurrentShareList();
    Portfolio* storedCurrent = current->source;
    const char* names[] = {"New Lows", "New Highs", "Alarms", "Alarms - Global"};
    for (uint16_t number = kNewLowsNumber; number <= kFilterPortfolioNumber; ++number) {
        Portfolio* p = nullptr;
        if (number == kFilterPortfolioNumber) {
            int position = LoadU16(Config().optionsA.data() + OptionBlockA::kFilterPosition);
            std::optional<std::string> filter;
            if (position > 0 && size_t(position) <= FilterList().size())
                filter = FilterList()[size_t(position - 1)]->name;
            else if (position == 0 && CurrentFilter())
                filter = CurrentFilter()->name; // a first start shows the current filter's shares at once
            p = NewPreset(number, kFilterPreset, filter.value_or(hooks.defaultFilterPortfolioName));
            p->changed = filter ? 1 : 0;
        } else {
            p = NewPreset(number, kPresetList, names[number - kNewLowsNumber]);
        }
        SetShareListSource(current, p, 0, 0, true, false);
        AttachLists(p);
        if (number == stored)
            storedCurrent = p;
    }
    SetShareListSource(current, storedCurrent, 0, 0, true, false);
}

void LoadPortfolios()
{
    FreePortfolioChain();
    CreatePresetPortfolios();
    for (const std::string& file : FindFiles(ProgramFolder(), "*.new"))
        if (std::optional<uint16_t> number = FileNumber(file); number && !InChain(*number))
            LoadAndAttach(*number, true, 0, 0);
    std::vector<uint16_t> finals;
    std::vector<std::string> files = FindFiles(ProgramFolder(), "*.por");
    int index = 0;
    for (const std::string& file : files) {
        ++index;
        std::optional<uint16_t> number = FileNumber(file);
        if (number && !InChain(*number))
            LoadAndAttach(*number, false, index, int(files.size()));
    }
    // A group's file names only its members: it holds their entries and transactions from the
    // start, for the reports and commands that read it before any view has shown it.
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kGroupPortfolio)
            RebuildGroupPortfolio(p);
    ShareList* current = CurrentShareList();
    if (current && (!current->source || current->source == PortfolioChain()) && PortfolioChain())
        SetShareListSource(current, PortfolioChain()->next, 0, 0, true, false);
    PortfolioFileHooks& hooks = GetPortfolioFileHooks();
    if (hooks.resolvePortfolioShortcuts && PortfolioChain())
        hooks.resolvePortfolioShortcuts();
}

void FreePortfolio(Portfolio* p)
{
    if (!p)
        return;
    FreeTransactions(p->transactions);
    FreeMissingShares(p->missing);
    FreePortfolioMembers(p->members);
    ProFree(p->entries);
    delete p;
}

void FreePortfolioChain()
{
    // The lists keep the number of the portfolio they showed, so that a reload can show it again.
    for (ShareList* l = ShareListChain(); l; l = l->next)
        if (l->source) {
            int32_t number = l->sourceNumber;
            SetShareListSource(l, nullptr, 0, 0, true, false);
            l->sourceNumber = number;
        }
    while (Portfolio* p = PortfolioChain()) {
        PortfolioChain() = p->next;
        FreePortfolio(p);
    }
}

} // namespace qv
