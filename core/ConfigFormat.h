// Reading the image of "Quorva.cfg" into the settings, whole or one slot, and its header test.
#pragma once

#include "core/ConfigState.h"
#include "core/TaggedFile.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace qv {

inline constexpr uint8_t kConfigVersion = 3;
inline constexpr uint8_t kConfigSubVersion = 34;
inline constexpr uint8_t kConfigOldestVersion = 1;

struct ConfigReadResult {
    HeaderVerdict header = HeaderVerdict::Accepted;
    bool failed = false;    // a read failed: the failing family and all later ones got defaults
    bool corrupted = false; // a column chain could not be converted
};

// The combined header test: tag "ZQAA" and version 1-3, else a verdict chosen by the version byte.
HeaderVerdict TestConfigHeader(std::span<const uint8_t> image);

// One part of the image as the reader meets it: a raw block or an item of a family.
struct ConfigPartSeen {
    const char* section;          // "OptionBlockB", "list tables", "trailing items"...
    size_t offset = 0;            // of the block or the item head
    size_t size = 0;              // bytes of the block or the whole item
    int type = -1;                // the item's slot, -1 for a block
    std::optional<std::string> name;
};
using ConfigPartObserver = std::function<void(const ConfigPartSeen&)>;

// Reads an image under the selector (-1 or family mask | slot). A rejected header changes nothing.
// The observer, when given, hears of every block and item read.
ConfigReadResult ReadConfigImage(ConfigState& state, std::span<const uint8_t> image,
                                 int32_t selector, const ConfigPartObserver& observer = {});

} // namespace qv
