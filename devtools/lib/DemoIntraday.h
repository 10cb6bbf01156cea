// The demo's intraday history: the five trading days that end on the demo database's last day, for
// its shares and a few instruments the database does not hold.
#pragma once

#include "devtools/lib/DemoDatabase.h"

#include <filesystem>
#include <string>

namespace qv::dev {

constexpr int kDemoIntradayDays = 5;

bool WriteDemoIntraday(const std::filesystem::path& folder, const DemoDatabase& demo, std::string* error);

} // namespace qv::dev
