// Program-wide current setting numbers and the list scale.
#include "core/ViewSettings.h"

#include <array>
#include <atomic>

namespace qv {
namespace {

struct SettingNumbers {
    std::array<int, kListTableIndexes> listTables{};
    std::array<int, 2> dataMining{}; // table, graph
    std::array<int, 11> single{};    // by view kind, for the kinds that keep one
    bool dataMiningGraph = false;
};

SettingNumbers& Numbers()
{
    static SettingNumbers numbers;
    return numbers;
}

std::atomic<int> g_listScaleDivisor{111};

bool KeepsOne(int kind)
{
    switch (kind) {
    case 0:
    case 2:
    case 4:
    case 5:
    case 7:
    case 8:
    case 9:
    case 10: return true;
    default: return false;
    }
}

int* Slot(int kind, int tableIndex)
{
    SettingNumbers& n = Numbers();
    if (kind == 1)
        return tableIndex >= 0 && tableIndex < kListTableIndexes ? &n.listTables[size_t(tableIndex)] : nullptr;
    if (kind == 6)
        return &n.dataMining[n.dataMiningGraph ? 1 : 0];
    return KeepsOne(kind) ? &n.single[size_t(kind)] : nullptr;
}

} // namespace

void SetViewSettingIndex(int viewKind, int tableIndex, int number)
{
    if (int* slot = Slot(viewKind, tableIndex))
        *slot = number;
}

int GetViewSettingIndex(int viewKind, int tableIndex)
{
    const int* slot = Slot(viewKind, tableIndex);
    if (!slot || *slot < 0 || *slot > 11)
        return 0;
    return *slot;
}

void SetDataMiningGraphMode(bool graph) { Numbers().dataMiningGraph = graph; }
bool DataMiningGraphMode() { return Numbers().dataMiningGraph; }

void ApplyListScaleOption(int chosenButton)
{
    g_listScaleDivisor = chosenButton == kListScale80Button ? 125 : chosenButton == kListScale100Button ? 100 : 111;
}

int ListScaleDivisor() { return g_listScaleDivisor; }

} // namespace qv
