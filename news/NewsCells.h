// What the news database answers for the news list's cells: the headline of an entry, the name of
// its code in the country, industry or subject column, and where the latest stories begin.
#pragma once

#include <cstdint>

namespace qv {

// The headline of the story an entry's position names, from the title cache.
const char* NewsTitleCell(const uint8_t* entry);
// The code's name when the code lies in the column's range: 6 countries, 7 industries, 8 the
// subject lists after them; null otherwise.
const char* NewsCodeNameCell(uint16_t code, int column);

// Fills CurrentCellSources()'s news functions.
void InstallNewsCells();

} // namespace qv
