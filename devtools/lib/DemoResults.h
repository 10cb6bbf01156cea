// The demo's company data: results tables (annual results, interims and one to three forecast years),
// five detailed results blocks a company, the analysts' consensus and the sector word of every record.
#pragma once

#include "devtools/lib/DemoDatabase.h"

#include <cstdint>

namespace qv::dev {

// Fills the results, detailed blocks and sector words of the companies (records with a description)
// from an engine of its own, so that the prices stay as they were. Some figures are left out, and one
// company has a block shorter than 60 bytes (which does not count).
void AddDemoCompanyData(DemoDatabase& db, uint32_t seed);

// The last close of a stream in pence (0 for none).
double LastClose(const DemoStream& stream);
// The close of the stream on `date`, or on the last priced day before it (0 before its first).
double CloseOn(const DemoStream& stream, uint16_t date);

} // namespace qv::dev
