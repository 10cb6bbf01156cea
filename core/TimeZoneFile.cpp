// "Data\Timezone.dat": a newer zone table than the built-in one, read at start-up and written
// back at exit while it is in use.
#include "core/TimeZoneFile.h"

#include "core/SaveProtocol.h"
#include "core/TaggedFile.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"

namespace qv {

namespace {

constexpr const char* kTimeZoneFileName = "Data\\Timezone.dat";

std::optional<TimeZoneTable> ReadTimeZoneFile(std::span<const uint8_t> image)
{
    ByteReader in(image);
    TaggedFileHeader header;
    if (!header.read(in) || header.tag != file_tag::kTimeZones || header.word12 != kTimeZoneTableSize)
        return std::nullopt;
    std::optional<TimeZoneRecords> zones = ReadTimeZoneBody(in.take(in.remaining()));
    if (!zones)
        return std::nullopt;
    return TimeZoneTable{header.version, *zones};
}

} // namespace

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

std::vector<uint8_t> BuildTimeZoneFile(const TimeZoneTable& table)
{
    TaggedFileHeader header;
    header.tag = file_tag::kTimeZones;
    header.version = table.version;
    header.word12 = kTimeZoneTableSize;
    ByteWriter out;
    header.write(out);
    WriteTimeZoneBody(out, table.zones);
    return out.take();
}

void LoadTimeZones()
{
    fs::path path = AppPath(kTimeZoneFileName);
    std::optional<std::vector<uint8_t>> image = ReadFileBytes(path);
    if (!image)
        return;
    std::optional<TimeZoneTable> table = ReadTimeZoneFile(*image);
    if (!table) {
        ShowHeaderMessage(TaggedFileKind::TimeZones, HeaderVerdict::BadlyFormatted);
        SetRejectedFileAside(path);
        return;
    }
    if (table->version == 0) {
        // Version 0 names the built-in table, which the program already holds.
        SetRejectedFileAside(path);
        return;
    }
    SetActiveTimeZoneTable(*table);
}

bool SaveTimeZones()
{
    const TimeZoneTable& table = ActiveTimeZoneTable();
    if (table.version == 0)
        return true;
    if (SaveFileImage(TimeZoneSavePlan(), BuildTimeZoneFile(table)) == SaveResult::Saved)
        return true;
    ShowMessage("Unable to save Time Zones update");
    return false;
}

} // namespace qv
