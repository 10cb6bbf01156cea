// The imports file "data\Imports.dat": the user's imported items as database records, widened from
// the older record layouts on load, and written back through the save protocol.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qv {

// Bytes every imported record is allocated with beyond its length, room for the widening steps.
constexpr uint32_t kImportSpareBytes = 32;

// Readies an imported record for use, as every loaded one is: its links cleared, the statistics of
// its price sub-record (from `sub` to `subEnd`) computed with the item's corrections, its in-memory
// marks set.
void FinishImportedRecord(uint8_t* record, size_t sub, size_t subEnd);

enum class ImportsRead { Whole, Rejected, Damaged };
// Reads an imports file image into the imported-item list (emptied first). A rejected header
// shows its message and reads nothing; a damaged or cut record ends the reading and keeps the
// records read before it.
ImportsRead LoadImportsImage(std::span<const uint8_t> image);
// Reads "data\Imports.dat" (no file: an empty list). A file whose header is rejected, or that was
// read only in part, is set aside, so that no save writes over the items it may hold; the user is
// told what was kept.
void LoadImports();
// The file image of the imported-item list.
std::vector<uint8_t> BuildImportsImage();
// Writes the list in place of "data\Imports.dat" (the previous file kept as "data\Imports.old");
// with `final` the list is freed afterwards. False when the disk refused.
bool SaveImports(bool final);

} // namespace qv
