// The database's coding-table block.
#include "core/DatabaseCodingTables.h"

#include "core/CodedText.h"
#include "core/Database.h"

namespace qv {

bool LoadDatabaseCodingTables()
{
    CodingTables& tables = ActiveCodingTables();
    tables.clear();
    for (int entry = 1; entry < DatabaseBlockCount(); ++entry) {
        const DatabaseBlock& block = GetDatabaseBlock(entry);
        if (!block.extra)
            continue;
        CodingTables read;
        if (read.parseDatabaseBlock(std::span<const uint8_t>(block.extra, block.extraSize))) {
            tables = read;
            return true;
        }
    }
    return false;
}

} // namespace qv
