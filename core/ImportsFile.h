// The imports file "data\Imports.dat": the user's imported items as database records, widened from
// the older record layouts on load, and written back through the save protocol.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace qv {

// What loading needs of the price streams: the highest and lowest close decoded from a price
// sub-record's stream (bounded by `end`; nothing when it holds no day), and the statistics of a
// price sub-record worked out again. Empty hooks are skipped.
struct ImportsPriceHooks {
    std::function<std::optional<std::pair<float, float>>(const uint8_t* sub, const uint8_t* end)> closeRange;
    std::function<void(uint8_t* record, uint8_t* sub, const uint8_t* end)> computeStatistics;
};
ImportsPriceHooks& GetImportsPriceHooks();

// Bytes every imported record is allocated with beyond its length, room for the widening steps.
constexpr uint32_t kImportSpareBytes = 32;

// Reads an imports file image into the imported-item list (emptied first). A rejected header
// shows its message and answers false; a damaged record ends the reading and keeps the records
// read before it.
bool LoadImportsImage(std::span<const uint8_t> image);
// Reads "data\Imports.dat" (no file: an empty list). A file whose header is rejected is set aside,
// so that the next save does not write over the items it may hold.
void LoadImports();
// The file image of the imported-item list.
std::vector<uint8_t> BuildImportsImage();
// Writes the list in place of "data\Imports.dat" (the previous file kept as "data\Imports.old");
// with `final` the list is freed afterwards. False when the disk refused.
bool SaveImports(bool final);

} // namespace qv
