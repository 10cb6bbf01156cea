// The demo's directors' dealings: directors and major holders of the demo companies, their sales,
// purchases and holdings over the eight years before the demo's last day, older entries superseded.
#pragma once

#include "devtools/lib/DealingsFileWriter.h"
#include "devtools/lib/DemoDatabase.h"

namespace qv::dev {

// Draws from its own engine, so that the demo's prices stay as they are.
DealingsFileSpec BuildDemoDealings(const DemoDatabase& demo);

} // namespace qv::dev
