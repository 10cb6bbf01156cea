// The demo's news: a month of invented daily update files about the demo shares, left in the data
// folder for the program to merge at its first start.
#pragma once

#include "devtools/lib/DemoDatabase.h"

#include <filesystem>

namespace qv::dev {

constexpr int kDemoNewsDays = 30;

bool WriteDemoNews(const std::filesystem::path& folder, const DemoDatabase& demo);

} // namespace qv::dev
