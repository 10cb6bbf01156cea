// The special edition's tables: two graph settings and a list table that it puts in place of the
// user's own while it is applied, and the repair of tables a broken set-up left behind.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

// The edition's byte in the first option block, after the global alarm rows: bit value 2 (kEditionOn)
// the edition on, bit value 1 (kEditionSetUp) its set-up completed.
inline constexpr size_t kEditionOptionPlace = 707;
inline constexpr uint8_t kEditionOn = 2;
inline constexpr uint8_t kEditionSetUp = 1;
inline constexpr uint8_t kNoEditionSlot = 255;

// Makes the edition's names, column layout and sort setting; nothing is applied.
void InitVexaTables();
// Renames and resets every list table named "Ludrin Table" and every graph setting whose name
// begins "Ludrin Ossery Settings"; true when anything was reset.
bool CheckVexaTables();
// Puts the edition's settings in place of the user's (on) or the user's back (off); nothing when it
// is already so. Switching on needs the edition on in the edition byte.
void ApplyVexaSettings(bool on);
bool VexaSettingsApplied();
// Follows the edition byte: the edition's filters and settings in, or out.
void UpdateVexaEdition();
// Drops the saved copies and the edition's blocks.
void FreeVexaTables();
// The names of the edition's list table and of its two graph settings (0 and 1).
const char* VexaTableName();
const char* VexaGraphName(int index);

} // namespace qv
