// The intraday notes the user may turn off: the word of notes turned off, kept in the options.
#pragma once

#include <cstdint>

namespace qv {

// The program-wide word of notes the user turned off: bit 0 the note on intraday line alarms, bit 2
// the note on previous-day options (kept in the options at byte 673).
constexpr uint8_t kNoteLineAlarms = 0x01, kNotePreviousDay = 0x04;
uint8_t IntradayNotesOff();
void SetIntradayNotesOff(uint8_t bits);

} // namespace qv
