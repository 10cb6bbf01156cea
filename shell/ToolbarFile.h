// "Toolbar.cfg": the user toolbars in a first section ("ZQAD") and the accelerator keys in a second
// ("ZQAF"), with the upgrades of older files and the reconciling with the program's fixed keys.
#pragma once

#include "core/DefaultAccelerators.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qv {

class ToolbarSet;

constexpr size_t kToolbarHeaderSize = 16;
constexpr size_t kPortfolioTargetBlock = 36;
constexpr size_t kToolbarBlockSize = 76;
constexpr size_t kToolbarEntrySize = 12;
constexpr size_t kToolbarEntryArea = 768;
constexpr size_t kKeyRecordSize = 8;

std::vector<uint8_t> WriteToolbarFile(const ToolbarSet& set, const std::vector<AcceleratorKey>& keys);

struct ToolbarLoadReport {
    bool fileRead = false;      // a file was given
    bool toolbarsDamaged = false; // section 1 was unreadable: the defaults were made
};
// Loads a file image (nothing: no file) into the set and the key table, steps 1 to 8 of the load:
// a missing file gives the default toolbars and keys; a section 1 the reader cannot take gives the
// default toolbars; old sub-versions are brought up to date and the keys reconciled with the
// fixed ones (whose overridden flags are set in fixedKeys).
ToolbarLoadReport LoadToolbarImage(std::optional<std::span<const uint8_t>> image, bool swapMainBar, ToolbarSet& set,
                                   std::vector<AcceleratorKey>& keys, std::vector<AcceleratorKey>& fixedKeys);

// The program's "Toolbar.cfg" into the program's toolbars and keys; a damaged file is set aside and
// the user told.
void LoadToolbarConfig(bool swapMainBar);
// Writes "Toolbar.cfg" through its save plan; a failed save keeps the old file and says so.
bool SaveToolbarConfig();

} // namespace qv
