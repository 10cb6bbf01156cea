// The cell texts of the dealings list columns, which the list tables' cell engine asks for by field
// code: 1 investor, 2 role, 3 deal date, 4 deal type, 5 deal size, 6 deal size %, 7 deal value,
// 8 beneficial, 9 latest, 10 share description, 11 company name, 12 hold size, 13 hold size %.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

// dealing: a row record (byte 1 of an entry of the program's dealings block). Writes the text (with
// its NUL, cut to capacity), sets the value and returns the text's length.
size_t DealingCellText(const uint8_t* dealing, int code, char* text, size_t capacity, float* value);
// Installs it as the cell engine's dealing source.
void InstallDealingCells();

} // namespace qv
