// The records the menu tables are written in, and the helpers that spell them.
#pragma once

#include <cstdint>

namespace qv {

// Menu-append flags as the platform defines them.
constexpr uint32_t kMenuGrayed = 0x0001;
constexpr uint32_t kMenuChecked = 0x0008;
constexpr uint32_t kMenuPopup = 0x0010;
constexpr uint32_t kMenuSeparator = 0x0800;

// Control bits: the conditions in three groups (bits 0-1 real-time, 2-3 windows, 4 always), the
// include of another registered menu, and the end of a popup or menu.
constexpr uint8_t kNoRealTime = 0x01;
constexpr uint8_t kRealTimeOnly = 0x02;
constexpr uint8_t kMultiWindowOnly = 0x04;
constexpr uint8_t kSingleWindowOnly = 0x08;
constexpr uint8_t kMenuIncludeBit = 0x40;
constexpr uint8_t kMenuEndBit = 0x80;
constexpr uint8_t kConditionBits = 0x1F;

// One table record: a command, separator, popup (whose items follow it up to its end record),
// include of the menu `include`, or end record.
struct SoftMenuItem {
    uint32_t flags = 0;
    uint32_t command = 0;
    const char* text = "";
    uint32_t include = 0;
    uint8_t mask = 0;    // mode mask: 0 always, else kept when the caller's mask shares a bit
    uint8_t control = 0;
};

struct SoftMenuRegistryEntry {
    uint32_t menuId;
    const SoftMenuItem* items;
};

constexpr SoftMenuItem Item(const char* text, uint32_t command, uint8_t control = 0, uint8_t mask = 0)
{
    return {0, command, text, 0, mask, control};
}
constexpr SoftMenuItem Separator() { return {kMenuSeparator, 0, "", 0, 0, 0}; }
constexpr SoftMenuItem Popup(const char* text, uint8_t control = 0, uint8_t mask = 0)
{
    return {kMenuPopup, 0, text, 0, mask, control};
}
constexpr SoftMenuItem Include(uint32_t menuId, uint8_t control = 0, uint8_t mask = 0)
{
    return {0, 0, "", menuId, mask, uint8_t(control | kMenuIncludeBit)};
}
constexpr SoftMenuItem End() { return {0, 0, "", 0, 0, kMenuEndBit}; }

} // namespace qv
