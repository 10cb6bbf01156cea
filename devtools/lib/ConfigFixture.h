// Writes "Quorva.cfg" images in the current layout or any older one, for tests and tools.
#pragma once

#include "core/ConfigState.h"

#include <cstdint>
#include <vector>

namespace qv::dev {

struct ConfigFixtureLayout {
    uint8_t version = 3;
    uint8_t subVersion = 34;
    size_t tickerBytes = 108;      // 76 in older files
    size_t alarmSettingBytes = 156; // 124 in older files
};

// Writes every family present in the layout from the state, with the older length rules of that
// layout. Column chains are written as the state holds them (give narrow records for layouts before
// sub-version 32); sort bytes are written as held.
std::vector<uint8_t> WriteConfigFixture(const ConfigState& state, const ConfigFixtureLayout& layout);

} // namespace qv::dev
