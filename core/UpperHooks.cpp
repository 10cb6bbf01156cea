// The core's hooks into the folders above it.
#include "core/UpperHooks.h"

namespace qv {

UpperHooks& CoreUpperHooks()
{
    static UpperHooks hooks;
    return hooks;
}

void InitGraphSettingDefaults(GraphSetting& record, bool intraday)
{
    if (const auto& init = CoreUpperHooks().initGraphSetting)
        init(record, intraday);
}

void InitDataMiningGraphDefaults(DataMiningGraph& record)
{
    if (const auto& init = CoreUpperHooks().initDataMiningGraph)
        init(record);
}

} // namespace qv
