// Reading and writing "Toolbar.cfg".
#include "shell/ToolbarFile.h"

#include "core/SaveProtocol.h"
#include "core/TaggedFile.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "shell/KeyTable.h"
#include "shell/UserToolbars.h"

#include <algorithm>
#include <cstring>

namespace qv {
namespace {

constexpr char kToolbarMagic[4] = {'Z', 'Q', 'A', 'D'};
constexpr char kKeysMagic[4] = {'Z', 'Q', 'A', 'F'};
constexpr uint8_t kVersion = 1;
constexpr uint8_t kSubVersion = 2;
constexpr uint16_t kRemovedCode = 18;
constexpr const char* kFileName = "Toolbar.cfg";

bool MagicIs(ByteReader& r, const char (&magic)[4])
{
    char bytes[4];
    return r.bytes(bytes, 4) && std::memcmp(bytes, magic, 4) == 0;
}

void WriteEntry(ByteWriter& w, const ToolbarEntry& e)
{
    w.u16(e.code);
    w.u16(e.portfolio);
    w.bytes(e.reserved.data(), e.reserved.size());
}

bool ReadEntry(ByteReader& r, ToolbarEntry& e)
{
    return r.u16(e.code) && r.u16(e.portfolio) && r.bytes(e.reserved.data(), e.reserved.size());
}

// At most `wanted` bytes of the block into the nine targets; the rest of the block is skipped.
bool ReadTargets(ByteReader& r, size_t blockSize, std::array<uint32_t, 9>& targets)
{
    targets.fill(0);
    size_t whole = std::min(blockSize, kPortfolioTargetBlock) / 4;
    for (size_t i = 0; i < whole; ++i)
        if (!r.u32(targets[i]))
            return false;
    return r.skip(blockSize - whole * 4);
}

// Entries into the 64 slots; those past the slots are skipped, and a terminator always ends them.
bool ReadEntries(ByteReader& r, CUserToolbar& t, size_t count)
{
    t.entries.fill(ToolbarEntry{});
    for (size_t i = 0; i < count; ++i) {
        ToolbarEntry e;
        if (!ReadEntry(r, e))
            return false;
        if (i < size_t(kToolbarEntries))
            t.entries[i] = e;
    }
    t.Recount();
    return true;
}

bool ReadToolbarBlock(ByteReader& r, CUserToolbar& t, uint32_t& count)
{
    std::string name;
    uint8_t dock = 0, size = 0;
    if (!r.u32(count) || !r.fixedText(name, kToolbarNameSize) || !r.u8(dock) || !r.u8(size) ||
        !r.bytes(t.reserved.data(), 2) || !r.u32(t.viewMask))
        return false;
    t.name = name.substr(0, kToolbarNameSize - 1);
    t.dock = dock > kSideFloating ? uint8_t(kSideTop) : dock;
    t.size = size > kButtonsWide ? uint8_t(kButtonsLarge) : size;
    return true;
}

void RemoveCode(ToolbarSet& set, uint16_t code)
{
    for (auto& t : set.toolbars) {
        std::vector<ToolbarEntry> kept;
        for (uint16_t c = 0; c < kMaxToolbarButtons && t->entries[c].code != kEndOfButtons; ++c)
            if (t->entries[c].code != code)
                kept.push_back(t->entries[c]);
        t->SetEntries(kept);
    }
}

bool ReadToolbarSection(ByteReader& r, ToolbarSet& set)
{
    uint8_t version = 0, sub = 0;
    uint16_t blockSize = 0, count = 0;
    uint32_t areaSize = 0;
    if (!MagicIs(r, kToolbarMagic) || !r.u8(version) || version != kVersion || !r.u8(sub) || !r.skip(2) ||
        !r.u16(blockSize) || !r.u16(count) || !r.u32(areaSize))
        return false;
    if (sub == 0) {
        CUserToolbar& t = *set.toolbars[0];
        size_t slots = std::min<size_t>(areaSize, kToolbarEntryArea) / kToolbarEntrySize;
        if (!ReadEntries(r, t, slots) || !r.skip(areaSize - slots * kToolbarEntrySize) ||
            !ReadTargets(r, blockSize, set.portfolioTargets))
            return false;
        set.SetDefaultToolbars(-2);
    } else {
        if (count > kMaxToolbars)
            return false;
        set.ClearToolbars();
        if (!ReadTargets(r, blockSize, set.portfolioTargets))
            return false;
        set.AllocateToolbars(count);
        for (auto& t : set.toolbars) {
            uint32_t entries = 0;
            if (!ReadToolbarBlock(r, *t, entries) || entries > uint32_t(kToolbarEntries) || !ReadEntries(r, *t, entries))
                return false;
        }
    }
    if (sub <= 1)
        RemoveCode(set, kRemovedCode);
    return true;
}

enum class KeySection { Missing, Foreign, Read };

KeySection ReadKeySection(ByteReader& r, std::vector<AcceleratorKey>& keys, uint8_t& sub)
{
    uint8_t version = 0;
    uint32_t size = 0;
    if (r.remaining() < kToolbarHeaderSize)
        return KeySection::Missing;
    if (!MagicIs(r, kKeysMagic) || !r.u8(version) || version != kVersion || !r.u8(sub) || !r.skip(6) || !r.u32(size))
        return KeySection::Foreign;
    size_t records = std::min<size_t>(size, r.remaining()) / kKeyRecordSize;
    keys.clear();
    keys.reserve(records + 30);
    for (size_t i = 0; i < records; ++i) {
        AcceleratorKey k;
        if (!r.u16(k.key) || !r.u8(k.modifiers) || !r.u8(k.state) || !r.u16(k.command) || !r.u16(k.reserved))
            break;
        k.state = 0;
        keys.push_back(k);
    }
    return KeySection::Read;
}

bool UsesAny(const std::vector<AcceleratorKey>& keys, auto&& test)
{
    return std::any_of(keys.begin(), keys.end(), test);
}

// Files before sub-version 2 get the digit keys, and the letter and bracket keys where free.
void AddOldFileDefaults(std::vector<AcceleratorKey>& keys)
{
    if (UsesAny(keys, [](const AcceleratorKey& k) { return k.key >= '1' && k.key <= '6'; }))
        return;
    bool lettersTaken = UsesAny(keys, [](const AcceleratorKey& k) {
        if (k.key == '[' || k.key == ']')
            return true;
        return (k.modifiers & kAccelCtrl) && k.key != 0 && k.key < 128 && std::strchr("PDBAZY", int(k.key)) != nullptr;
    });
    AddDefaultAccelerators(keys, !lettersTaken);
}

void RemapOldCommands(std::vector<AcceleratorKey>& keys)
{
    for (AcceleratorKey& k : keys) {
        if (k.key == '[' && k.command == 20603)
            k.command = 20618;
        else if (k.key == ']' && k.command == 20602)
            k.command = 20619;
        else if (k.key == 'B' && k.command == 21115)
            k.command = 26181;
    }
}

void ReconcileWithFixedKeys(std::vector<AcceleratorKey>& keys, std::vector<AcceleratorKey>& fixedKeys)
{
    std::erase_if(keys, [&](AcceleratorKey& k) {
        k.state = 0;
        for (AcceleratorKey& f : fixedKeys) {
            if (f.key != k.key || f.modifiers != k.modifiers)
                continue;
            if (f.command == k.command)
                return true;
            f.state |= 1;
        }
        return false;
    });
}

} // namespace

std::vector<uint8_t> WriteToolbarFile(const ToolbarSet& set, const std::vector<AcceleratorKey>& keys)
{
    ByteWriter w;
    w.bytes(kToolbarMagic, 4);
    w.u8(kVersion);
    w.u8(kSubVersion);
    w.u16(0);
    w.u16(uint16_t(kPortfolioTargetBlock));
    w.u16(uint16_t(set.toolbars.size()));
    w.u32(uint32_t(kToolbarEntryArea));
    for (uint32_t target : set.portfolioTargets)
        w.u32(target);
    for (const auto& t : set.toolbars) {
        uint32_t buttons = uint32_t(t->Codes().size());
        w.u32(buttons + 1);
        w.fixedText(t->name, kToolbarNameSize);
        w.u8(t->dock);
        w.u8(t->size);
        w.bytes(t->reserved.data(), 2);
        w.u32(t->viewMask);
        for (uint32_t i = 0; i <= buttons; ++i) {
            ToolbarEntry e = t->entries[i];
            if (i == buttons)
                e.code = kEndOfButtons;
            WriteEntry(w, e);
        }
    }
    w.bytes(kKeysMagic, 4);
    w.u8(kVersion);
    w.u8(kSubVersion);
    w.zeros(6);
    w.u32(uint32_t(keys.size() * kKeyRecordSize));
    for (const AcceleratorKey& k : keys) {
        w.u16(k.key);
        w.u8(k.modifiers);
        w.u8(k.state);
        w.u16(k.command);
        w.u16(k.reserved);
    }
    return w.take();
}

ToolbarLoadReport LoadToolbarImage(std::optional<std::span<const uint8_t>> image, bool swapMainBar, ToolbarSet& set,
                                   std::vector<AcceleratorKey>& keys, std::vector<AcceleratorKey>& fixedKeys)
{
    ToolbarLoadReport report;
    keys.clear();
    keys.reserve(20);
    for (AcceleratorKey& f : fixedKeys)
        f.state = 0;
    set.AllocateToolbars(1);
    if (!image) {
        set.SetDefaultToolbars(-1);
        AddDefaultAccelerators(keys, true);
        // As at every later start: a default key the fixed keys already hold is theirs, so the
        // first exit writes the keys the next start keeps.
        ReconcileWithFixedKeys(keys, fixedKeys);
        return report;
    }
    report.fileRead = true;
    ByteReader r(*image);
    if (!ReadToolbarSection(r, set)) {
        report.toolbarsDamaged = true;
        set.SetDefaultToolbars(-1);
    }
    if (swapMainBar)
        set.SwapMainBar();
    uint8_t sub = kSubVersion;
    KeySection keysRead = report.toolbarsDamaged ? KeySection::Missing : ReadKeySection(r, keys, sub);
    if (keysRead == KeySection::Missing) {
        keys.clear();
        AddDefaultAccelerators(keys, true);
    } else if (keysRead == KeySection::Read && sub < kSubVersion) {
        AddOldFileDefaults(keys);
    }
    RemapOldCommands(keys);
    ReconcileWithFixedKeys(keys, fixedKeys);
    return report;
}

void LoadToolbarConfig(bool swapMainBar)
{
    fs::path path = AppPath(kFileName);
    std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path);
    std::optional<std::span<const uint8_t>> image;
    if (bytes)
        image = std::span<const uint8_t>(*bytes);
    ToolbarLoadReport report = LoadToolbarImage(image, swapMainBar, ProgramToolbars(), KeyTable(), MutableFixedKeys());
    if (!report.toolbarsDamaged)
        return;
    // The damaged file goes aside, so the next save cannot write over what it held.
    if (std::optional<fs::path> aside = SetRejectedFileAside(path))
        ShowMessage("Toolbar.cfg is damaged. The default toolbars are used; the damaged file has been kept as " +
                        aside->filename().string() + ".",
                    {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

bool SaveToolbarConfig()
{
    if (ProgramToolbars().toolbars.empty() && KeyTable().empty())
        return true;
    SaveResult result = SaveFileImage(ToolbarSavePlan(), WriteToolbarFile(ProgramToolbars(), KeyTable()));
    if (result == SaveResult::Failed)
        ShowMessage("Unable to save Toolbar.cfg. The previous file has been kept.", {}, MsgButtons::Ok,
                    MsgIcon::Exclamation);
    return result == SaveResult::Saved;
}

} // namespace qv
