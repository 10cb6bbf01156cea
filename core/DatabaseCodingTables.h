// Taking the coding tables of coded texts from a loaded database.
#pragma once

namespace qv {

// Installs the tables of the first extra block after the first directory entry's that carries
// them ("ZQCT"); without one the program has no coding tables and coded texts decode empty.
// Returns true when tables were found.
bool LoadDatabaseCodingTables();

} // namespace qv
