// The user's data files as steps of the database load.
#include "portfolio/UserDataFiles.h"

#include "core/CashAccountFile.h"
#include "core/DatabaseNeighbours.h"
#include "core/ImportsFile.h"
#include "portfolio/PortfolioFile.h"

namespace qv {

void InstallUserDataSteps()
{
    DatabaseNeighbours& steps = GetDatabaseNeighbours();
    steps.loadImports = LoadImports;
    steps.loadPortfolios = LoadPortfolios;
    steps.loadCashAccounts = LoadCashAccounts;
    steps.saveBeforeReload = SaveUserDataBeforeReload;
}

void SaveUserDataBeforeReload()
{
    SaveImports(false);
    SaveCashAccounts();
}

} // namespace qv
