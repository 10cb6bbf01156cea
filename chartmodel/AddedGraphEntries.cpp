// The added-graph entries of a graph setting and the records built for them.
#include "chartmodel/AddedGraphEntries.h"

#include "chartmodel/ChartRoutines.h"
#include "chartmodel/GraphSettingLayout.h"
#include "core/Memory.h"

#include <map>
#include <mutex>

namespace qv {
namespace gs = graphsetting;
namespace {

constexpr size_t kExtra = 0;
constexpr size_t kPen = 8;

size_t At(int entry) { return gs::kAddedGraphs + size_t(entry) * gs::kAddedGraphSize; }

struct OwnRecords {
    std::mutex lock;
    std::map<uint32_t, uint8_t*> records;
    uint32_t next = 1;
};
OwnRecords& Owned()
{
    static OwnRecords owned;
    return owned;
}

// Clears the entry, freeing a record built for it.
void ClearEntry(GraphSetting& setting, int entry)
{
    const AddedGraphEntry old = ReadAddedGraph(setting, entry);
    if (old.id == kAddedOwnRecord)
        FreeOwnRecord(old.extra);
    WriteAddedGraph(setting, entry, {});
}

} // namespace

AddedGraphEntry ReadAddedGraph(const GraphSetting& setting, int entry)
{
    const size_t at = At(entry);
    return {gs::U32(setting, at + kExtra), gs::U32(setting, at + kPen), gs::U16(setting, at + gs::kAddedGraphInUse)};
}

void WriteAddedGraph(GraphSetting& setting, int entry, const AddedGraphEntry& value)
{
    const size_t at = At(entry);
    gs::SetU32(setting, at + kExtra, value.extra);
    gs::SetU32(setting, at + kPen, value.pen);
    gs::SetU16(setting, at + gs::kAddedGraphInUse, value.id);
}

AddedGraphDialogs& AddedGraphDialogSeams()
{
    static AddedGraphDialogs seams;
    return seams;
}

bool SetAddedGraphEntry(GraphSetting& setting, uint16_t id, uint32_t extra, int entry, uint32_t background)
{
    const auto& choose = AddedGraphDialogSeams().chooseColour;
    std::optional<uint32_t> pen = choose ? choose(background, PickLineColour(background)) : std::nullopt;
    // A cancelled choice keeps what the entry held.
    if (!pen)
        return false;
    ClearEntry(setting, entry);
    WriteAddedGraph(setting, entry, {extra, *pen, id});
    return true;
}

bool RemoveAddedGraph(GraphSetting& setting, int entry)
{
    if (ReadAddedGraph(setting, entry).id == 0)
        return false;
    ClearEntry(setting, entry);
    return true;
}

int FirstFreeAddedGraph(const GraphSetting& setting)
{
    for (int k = 0; k < kAddedGraphEntries; ++k)
        if (ReadAddedGraph(setting, k).id == 0)
            return k;
    return -1;
}

int AddedGraphTarget(const GraphSetting& setting)
{
    const int free = FirstFreeAddedGraph(setting);
    return free >= 0 ? free : kAddedGraphEntries - 1;
}

int FindAddedGraph(const GraphSetting& setting, uint16_t id)
{
    for (int k = 0; k < kAddedGraphEntries; ++k)
        if (ReadAddedGraph(setting, k).id == id)
            return k;
    return -1;
}

bool ToggleAddedGraph(GraphSetting& setting, uint16_t id, uint32_t background)
{
    if (const int present = FindAddedGraph(setting, id); present >= 0)
        return RemoveAddedGraph(setting, present);
    const int free = FirstFreeAddedGraph(setting);
    return free >= 0 && SetAddedGraphEntry(setting, id, 0, free, background);
}

bool ToggleRelativeGraph(GraphSetting& setting, uint16_t id, uint32_t background)
{
    // Filing replaces what the entry held, and a cancelled choice keeps it.
    if (ReadAddedGraph(setting, kRelativeEntry).id == id)
        return RemoveAddedGraph(setting, kRelativeEntry);
    return SetAddedGraphEntry(setting, id, 0, kRelativeEntry, background);
}

uint32_t KeepOwnRecord(uint8_t* record)
{
    OwnRecords& owned = Owned();
    std::lock_guard guard(owned.lock);
    const uint32_t handle = owned.next++;
    owned.records[handle] = record;
    return handle;
}

const uint8_t* FindOwnRecord(uint32_t handle)
{
    OwnRecords& owned = Owned();
    std::lock_guard guard(owned.lock);
    auto it = owned.records.find(handle);
    return it == owned.records.end() ? nullptr : it->second;
}

void FreeOwnRecord(uint32_t handle)
{
    OwnRecords& owned = Owned();
    std::lock_guard guard(owned.lock);
    auto it = owned.records.find(handle);
    if (it == owned.records.end())
        return;
    ProFree(it->second);
    owned.records.erase(it);
}

} // namespace qv
