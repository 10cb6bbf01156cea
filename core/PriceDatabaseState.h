// Stand-in for the loader's database-wide dates until the database loader lands; replaced by it.
#pragma once

#include <cstdint>

namespace qv {
extern uint16_t LatestDatabaseDate;
} // namespace qv
