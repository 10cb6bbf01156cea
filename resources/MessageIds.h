// Window message numbers and command ids that the program's windows exchange.
#pragma once

#include <cstdint>

namespace qv {

constexpr uint32_t WM_USER = 0x0400;
constexpr uint32_t WM_COMMAND = 0x0111;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_TIMER = 0x0113;

// Messages between shared controls and their dialogs.
constexpr uint32_t MSG_STYLE_CONFIRMED = WM_USER + 20;
constexpr uint32_t MSG_DATE_FIELD_A = WM_USER + 21;
constexpr uint32_t MSG_DATE_FIELD_B = WM_USER + 22;
constexpr uint32_t MSG_VIEW_REQUEST_DEFERRED = WM_USER + 52; // 0x434
constexpr uint32_t MSG_LIST_OPTION_CHANGED = WM_USER + 53;
constexpr uint32_t MSG_FORWARDED_KEY = WM_USER + 54;
constexpr uint32_t MSG_PRICE_EDITOR_A = WM_USER + 60;
constexpr uint32_t MSG_PRICE_EDITOR_B = WM_USER + 61;
constexpr uint32_t MSG_CALCULATOR_FIELD_A = WM_USER + 62;
constexpr uint32_t MSG_CALCULATOR_FIELD_B = WM_USER + 63;
constexpr uint32_t MSG_PROGRESS_A = WM_USER + 64;
constexpr uint32_t MSG_PROGRESS_B = WM_USER + 65;
constexpr uint32_t MSG_TIME_FIELD = WM_USER + 71;
constexpr uint32_t MSG_SETTINGS_CHANGED = WM_USER + 75;

// Internal commands.
constexpr uint32_t ID_REFRESH = 504;
constexpr uint32_t ID_PREVIOUS_VIEW = 505;
constexpr uint32_t ID_NEXT_VIEW = 506;
constexpr uint32_t ID_CAPTION_DOUBLE_CLICK = 507;
constexpr uint32_t ID_INTERNAL_508 = 508;
constexpr uint32_t ID_RELOAD_ALL_DATA = 513;

// The update hint that means "redo everything".
constexpr uint32_t HINT_REDO_EVERYTHING = 0x7FFFFFFD;

} // namespace qv
