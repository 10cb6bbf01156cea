// "Data\Timezone.dat": a newer zone table than the built-in one, read at start-up and written
// back at exit while it is in use.
#pragma once

#include "core/TimeZones.h"

#include <optional>
#include <span>
#include <vector>

namespace qv {

class ByteWriter;

// The body is the eight zone records exactly; any other length is refused.
std::optional<TimeZoneRecords> ReadTimeZoneBody(std::span<const uint8_t> body);
void WriteTimeZoneBody(ByteWriter& out, const TimeZoneRecords& zones);

} // namespace qv
