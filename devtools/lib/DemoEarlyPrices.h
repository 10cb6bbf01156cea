// Daily closes from January 1998 for a set of demo companies, so that the returns simulation, whose
// periods lie in 1998-2001, has shares to draw in every list it offers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv::dev {

struct DemoDatabase;

// Companies whose prices begin on the demo's first day, first by name in each list (FTSE 100 and FTSE
// 250: 20 each; SmallCap and AIM: all of them), the default layouts' shares left out, get closes from
// 2 January 1998 to the day before their first 2009 price, drawn from an engine of their own so that
// every other figure of the demo stays as it was. Returns the names of the companies given them.
std::vector<std::string> AddEarlyPrices(DemoDatabase& db, uint32_t seed);

} // namespace qv::dev
