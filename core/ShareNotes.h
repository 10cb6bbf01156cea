// The user's notes on shares: note n (1-10) of a share line is text kept in the setting-record
// store under (share id, line, 127 + n); a note set is note n of every share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

constexpr int kNoteSets = 10;

// The setting-record id of note n (n outside 1-10 counts as 1).
uint8_t NoteSettingId(int note);
// Some share has note n.
bool NoteSetHasNotes(int note);
// Deletes note n of every share.
void DeleteNoteSet(int note);

// Note n of one share line ("" when it has none).
std::string ShareNote(uint16_t shareId, uint8_t line, int note);
// Stores note n of the line with its terminating NUL; an empty text deletes it. False when the
// store has no room.
bool SetShareNote(uint16_t shareId, uint8_t line, int note, std::string_view text);

} // namespace qv
