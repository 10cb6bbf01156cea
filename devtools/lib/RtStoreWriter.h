// Writes the intraday store's files as the feed service leaves them: "data\RT.dat" in index formats
// 0-3 and day files "data\RT\Hist%02d%02d%02d.dat" in versions 0-5, byte for byte.
#pragma once

#include "realtime/store/RTDayRecord.h"
#include "realtime/store/RTShareTable.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qv::dev {

struct RtIndexFormat {
    uint8_t major = 1;
    uint8_t minor = 3;
    uint32_t build = 1210;
};

std::vector<uint8_t> RtIndexImage(const RTShareTable& table, PackedDate latestDay, uint16_t dayCount,
                                  uint32_t historyBytes, const RtIndexFormat& format = {});
// The day file; each entry's tick words (count words in use, one spare) follow the fixed parts.
std::vector<uint8_t> RtDayFileImage(const RTDayRecord& day, uint8_t version = 5);

// Writes FOLDER/data/RT.dat and a day file per day below FOLDER/data/RT.
bool WriteRtStore(const std::filesystem::path& folder, const RTShareTable& table,
                  const std::vector<const RTDayRecord*>& days, std::string* error = nullptr);

} // namespace qv::dev
