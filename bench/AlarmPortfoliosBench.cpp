// The two alarm portfolios over the full-size database (3,000 shares, 25 years) with five days of
// check-back: "Alarms" from 300 share alarm records (a level, a rise, a fall and a stop-loss each) and
// "Alarms - Global" from all six global rows switched on, as a load rebuilds them.
#include "core/Database.h"
#include "core/Memory.h"
#include "core/Portfolio.h"
#include "core/RecordLookup.h"
#include "core/SettingRecordStore.h"
#include "portfolio/AlarmPortfolios.h"
#include "tools/alarms/ShareAlarmRecord.h"

#include "FullDatabase.h"

#include <benchmark/benchmark.h>

namespace {

using namespace qv;

void StoreBenchAlarms()
{
    DeleteSettingAll(kShareAlarmSettingId);
    int n = 0;
    for (uint8_t* r = MainRecordBlock; r && RecordLength(r) != 0 && n < 300; r = NextRecord(r), ++n) {
        ShareAlarmRecord a = ShareAlarmRecord::Defaults(DatabaseDate);
        a.increaseOn = a.decreaseOn = 1;
        a.increaseLevel = 1000;
        a.decreaseLevel = 1;
        a.riseOn[2] = a.fallOn[2] = 1;
        a.stopOn = 1;
        const std::vector<uint8_t> bytes = a.Write();
        SetSettingRecord(RecordId(r), 0, kShareAlarmSettingId, bytes.data(), uint32_t(bytes.size()));
    }
}

void BothAlarmPortfolios(benchmark::State& state)
{
    LoadFullDatabaseOnce();
    StoreBenchAlarms();
    AlarmPortfolioHooks& hooks = GetAlarmPortfolioHooks();
    const AlarmPortfolioHooks kept = hooks;
    hooks.range = {1, 5};
    hooks.globalCriteria = DefaultGlobalAlarmRows();
    for (MoveCriterion& row : hooks.globalCriteria)
        row.enabled = 1;
    Portfolio alarms, global;
    ResetPortfolioEntries(alarms);
    ResetPortfolioEntries(global);
    for (auto _ : state) {
        FillPriceAlarms(&alarms, 0);
        FillMoveAlarms(&global);
    }
    state.counters["alarms"] = double(CountPortfolioEntries(alarms));
    state.counters["global"] = double(CountPortfolioEntries(global));
    ProFree(alarms.entries);
    ProFree(global.entries);
    hooks = kept;
    DeleteSettingAll(kShareAlarmSettingId);
}
BENCHMARK(BothAlarmPortfolios)->Unit(benchmark::kMillisecond);

} // namespace
