// The image of "Quorva.cfg": reading a whole or single slot into the settings, and building the
// image to be saved, whole or with one slot replaced.
#pragma once

#include "core/ConfigState.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv {

inline constexpr uint8_t kConfigVersion = 3;
inline constexpr uint8_t kConfigSubVersion = 34;
inline constexpr size_t kConfigHeaderSize = 16;

enum class ConfigHeaderVerdict { Accepted, TooOld, ProgramTooOld, BadlyFormatted };

struct ConfigReadResult {
    ConfigHeaderVerdict header = ConfigHeaderVerdict::Accepted;
    bool failed = false;    // a read failed: the failing family and all later ones got defaults
    bool corrupted = false; // a column chain could not be converted
};

// The combined header test: tag "ZQAA" and version 1-3, else a verdict chosen by the version byte.
ConfigHeaderVerdict TestConfigHeader(std::span<const uint8_t> image);

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

// Builds the image to save. With a single-slot selector and the image on disk of the current
// version, every other slot is copied from that image and the selected slot comes from memory; an
// older or unreadable image on disk gives a whole image from memory. The data-mining word and the
// graph settings' marker words are brought up to date in memory on the way.
std::vector<uint8_t> WriteConfigImage(ConfigState& state, int32_t selector,
                                      std::span<const uint8_t> imageOnDisk = {});

} // namespace qv
