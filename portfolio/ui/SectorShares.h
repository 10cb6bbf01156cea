// The shares a sector analysis measures, read from a share list, its portfolio and the database.
#pragma once

#include "portfolio/SectorAnalysis.h"

#include <vector>

namespace qv {

struct ShareList;

// Every row of the list with its capitalisation, then every 'Latest' row of the list's portfolio
// with its number held and value. Shares the database no longer has are left out.
std::vector<SectorShare> SectorSharesOf(const ShareList& list);

} // namespace qv
