// The demo's portfolios, cash accounts and filters, written into a program folder whose database exists.
#pragma once

#include <filesystem>
#include <string>

namespace qv::dev {

// Appends the demo's three portfolios to the chain, over the loaded demo database; false when it
// holds too few shares.
bool BuildDemoPortfolios();
// The demo cash accounts become the program's list ("Demo Portfolio Cash" attached to portfolio 0).
bool MakeDemoCashAccounts();
// Loads the folder's database, makes "Demo Portfolio", "Income", the group "All Portfolios" and the
// cash accounts, and writes them through the program's savers, with the demo filters ("Filter.cfg").
// False (with the reason) when the database cannot be loaded, holds too few shares or a file cannot be
// written.
bool WriteDemoPortfolios(const std::filesystem::path& folder, std::string* error);

} // namespace qv::dev
