// "Data\Timezone.dat": a newer zone table than the built-in one, read at start-up and written
// back at exit while it is in use.
#include "core/TimeZoneFile.h"

#include "platform/ByteOrder.h"

namespace qv {

std::optional<TimeZoneRecords> ReadTimeZoneBody(std::span<const uint8_t> body)
{
    if (body.size() != kTimeZoneTableSize)
        return std::nullopt;
    ByteReader in(body);
    TimeZoneRecords zones;
    for (TimeZoneRecord& zone : zones)
        ReadTimeZoneRecord(in, zone);
    if (!in.ok())
        return std::nullopt;
    return zones;
}

void WriteTimeZoneBody(ByteWriter& out, const TimeZoneRecords& zones)
{
    for (const TimeZoneRecord& zone : zones)
        WriteTimeZoneRecord(out, zone);
}

} // namespace qv
