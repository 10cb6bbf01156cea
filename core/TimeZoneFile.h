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

// The whole file for a table: header "ZQDT" with the table's version, then the body.
std::vector<uint8_t> BuildTimeZoneFile(const TimeZoneTable& table);

// Start-up: a valid file replaces the built-in table. A file with the wrong tag or a body other
// than the eight records is reported ("Time Zone file is badly formatted"); it and a file of
// version 0 are set aside, and the built-in table stays.
void LoadTimeZones();
// Exit: writes the table in use unless it is the built-in one. False, after telling the user,
// when the file could not be written.
bool SaveTimeZones();

} // namespace qv
