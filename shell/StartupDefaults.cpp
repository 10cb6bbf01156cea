// The start-up steps that set the settings' defaults and the derived lists: the defaults before any
// file is read, the "signal" value, what an older configuration lacks, the emptied portfolio chain
// and the pre-set portfolios refilled after every load.
#include "shell/StartupSteps.h"

#include "core/ConfigFamilies.h"
#include "core/ConfigState.h"
#include "core/Portfolio.h"
#include "core/SystemServices.h"
#include "core/ViewSettings.h"
#include "platform/Registry.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/PresetPortfolios.h"
#include "shell/PortfolioAdd.h"

namespace qv::steps {

void InitDefaultSettings()
{
    // Every table's design and display style, every ticker design, every setting name and every
    // daily and intraday graph setting; the option pages' defaults; and the current portfolio: none,
    // so that a first start's window shows its list's own source rather than whichever pre-set is
    // found first.
    ResetAllConfigFamilies(Config());
    if (const auto& defaults = UpperStartUpSteps().setOptionDefaults)
        defaults();
    StoreCurrentPortfolioNumber(kNoPortfolioNumber);
}

void ApplySignalSetting()
{
    Config().signal = Registry::Instance().getU32("", "signal").value_or(0);
}

void SaveSignalSetting()
{
    WriteSignal(Config().signal);
}

void ApplyOldConfigDefaults()
{
    // The option pages give what an older file lacks and apply the list scale; without them the
    // list scale is the one neither button gives.
    if (const auto& old = UpperStartUpSteps().applyOldOptionDefaults)
        old();
    else
        ApplyListScaleOption(0);
}

void ResetPortfolioChainAndLists()
{
    // The fixed source lists and the list caches wait for the list tables that keep them.
    FreePortfolioChain();
}

void ShareListsAfterLoad()
{
    if (const auto& install = UpperStartUpSteps().installMarketGroupRows)
        install();
    UpdatePresetPortfolios();
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kPresetList)
            RefreshListsOfPortfolio(p);
}

} // namespace qv::steps
