// The special edition's settings swapped in and out of the configuration's slots.
#include "core/VexaEdition.h"

#include "core/ConfigDefaults.h"
#include "core/ConfigFamilies.h"
#include "core/ConfigState.h"
#include "core/DMFilter.h"
#include "core/UpperHooks.h"

#include <array>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace qv {
namespace {

constexpr const char* kTableName = "Ludrin Table";
constexpr const char* kSettingPrefix = "Ludrin Ossery Settings";
constexpr std::array<const char*, 2> kSettingNames{"Ludrin Ossery Settings 1 - Momentum",
                                                   "Ludrin Ossery Settings 2 - Breadth"};
constexpr std::array<int, 2> kSettingVariants{2, 3};
constexpr int8_t kEditionSort = 2;
constexpr size_t kEditionColumnBytes = 600;

struct SavedGraph {
    size_t slot = 0;
    GraphSetting record;
    std::optional<std::string> name;
};

struct SavedTable {
    size_t slot = 0;
    TableSlot design;
};

struct EditionState {
    bool applied = false;
    std::vector<uint8_t> columns;
    int8_t sort = kEditionSort;
    // The user's own settings while the edition's are in their slots; the slots are those used when
    // the edition went in, so that switching out restores the same ones.
    std::array<std::optional<SavedGraph>, 2> graphs;
    std::optional<SavedTable> table;
};

EditionState& State()
{
    static EditionState state;
    return state;
}

// A slot byte that names one of the twelve slots; 255 and anything out of range name none.
std::optional<size_t> SlotOf(size_t offset)
{
    uint8_t slot = Config().optionsA.bytes[offset];
    if (slot >= kSettingSlots)
        return std::nullopt;
    return slot;
}

std::string Numbered(const char* pattern, size_t slot)
{
    char text[32];
    std::snprintf(text, sizeof text, pattern, int(slot + 1));
    return text;
}

void SwitchIn()
{
    EditionState& edition = State();
    ConfigState& config = Config();
    constexpr std::array<size_t, 2> offsets{OptionBlockA::kEditionGraphSlot1, OptionBlockA::kEditionGraphSlot2};
    for (size_t i = 0; i < offsets.size(); ++i) {
        std::optional<size_t> slot = SlotOf(offsets[i]);
        if (!slot)
            continue;
        edition.graphs[i] = SavedGraph{*slot, config.dailyGraphs.records[*slot], config.dailyGraphs.names[*slot]};
        if (const auto& init = CoreUpperHooks().initPresetGraphSetting)
            init(config.dailyGraphs.records[*slot], kSettingVariants[i]);
        config.dailyGraphs.names[*slot] = kSettingNames[i];
    }
    if (std::optional<size_t> slot = SlotOf(OptionBlockA::kEditionTableSlot)) {
        TableSlot& design = config.listTables.designs[*slot];
        edition.table = SavedTable{*slot, design};
        design = TableSlot{std::string(kTableName), edition.sort, edition.columns};
    }
}

void SwitchOut()
{
    EditionState& edition = State();
    ConfigState& config = Config();
    for (std::optional<SavedGraph>& saved : edition.graphs) {
        if (!saved)
            continue;
        config.dailyGraphs.records[saved->slot] = saved->record;
        config.dailyGraphs.names[saved->slot] = saved->name;
        saved.reset();
    }
    if (edition.table) {
        config.listTables.designs[edition.table->slot] = edition.table->design;
        edition.table.reset();
    }
}

} // namespace

void InitVexaTables()
{
    EditionState& edition = State();
    edition = EditionState{};
    edition.columns = DefaultColumnLayout(ColumnLayoutSet::ListTables, 0);
    if (edition.columns.size() > kEditionColumnBytes)
        edition.columns.resize(kEditionColumnBytes);
}

bool CheckVexaTables()
{
    ConfigState& config = Config();
    bool realTime = config.optionsA.bytes[OptionBlockA::kRealTimeOption] != 0;
    bool repaired = false;
    for (size_t i = 0; i < kSettingSlots; ++i) {
        if (config.listTables.designs[i].name == std::string(kTableName)) {
            config.listTables.designs[i] = DefaultListTableDesign(i, realTime);
            repaired = true;
        }
        const std::optional<std::string>& name = config.dailyGraphs.names[i];
        if (name && name->starts_with(kSettingPrefix)) {
            config.dailyGraphs.names[i] = Numbered("Setting %i", i);
            InitGraphSettingDefaults(config.dailyGraphs.records[i], false);
            repaired = true;
        }
    }
    return repaired;
}

void ApplyVexaSettings(bool on)
{
    EditionState& edition = State();
    if (on == edition.applied)
        return;
    if (on) {
        if (!(EditionOptionByte() & kEditionOn))
            return;
        SwitchIn();
    } else {
        SwitchOut();
    }
    edition.applied = on;
}

bool VexaSettingsApplied()
{
    return State().applied;
}

void UpdateVexaEdition()
{
    if (EditionOptionByte() & kEditionOn) {
        LoadEditionFilters();
        ApplyVexaSettings(true);
    } else {
        RemoveEditionFilters();
        ApplyVexaSettings(false);
    }
}

void FreeVexaTables()
{
    State() = EditionState{};
}

const char* VexaTableName() { return kTableName; }
const char* VexaGraphName(int index) { return kSettingNames[size_t(index & 1)]; }

} // namespace qv
