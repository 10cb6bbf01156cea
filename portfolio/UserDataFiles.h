// The user's own data files as the database load and reload see them: imports, portfolios and cash
// accounts.
#pragma once

namespace qv {

// Installs the loads of the imports, portfolios and cash accounts, and the save that a reload makes
// first, as steps of the database load.
void InstallUserDataSteps();
// Writes the imports (keeping the list) and the cash accounts.
void SaveUserDataBeforeReload();

} // namespace qv
