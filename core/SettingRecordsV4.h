// Conversion of setting records kept by stores older than version 5: the share-alarm and note
// sub-records changed their layout.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace qv {

// Converts a whole setting-record block (records ended by their zero word, the block by a zero
// word); a record or sub-record whose length does not fit ends the walk.
std::vector<uint8_t> ConvertSettingBlockV4(std::span<const uint8_t> block);

// Compacts the program's setting records and converts them in place.
void ConvertSettingRecordsV4();

} // namespace qv
