// Building the image of "Quorva.cfg" to save, whole or with one slot replaced.
#pragma once

#include "core/ConfigState.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qv {

// Builds the image to save. With a single-slot selector and the image on disk of the current
// version, every other slot is copied from that image and the selected slot comes from memory; an
// older or unreadable image on disk gives a whole image from memory. The data-mining word and the
// graph settings' marker words are brought up to date in memory on the way.
std::vector<uint8_t> WriteConfigImage(ConfigState& state, int32_t selector,
                                      std::span<const uint8_t> imageOnDisk = {});

} // namespace qv
