// The small demo folder: a handful of invented shares.
#include "devtools/lib/SmallDemo.h"

#include "devtools/lib/DatabaseWriter.h"

#include <system_error>

namespace qv::dev {

bool WriteSmallDemoFolder(const std::filesystem::path& folder, const std::filesystem::path& tipsFile)
{
    DbFile db;
    DbEntry& main = db.entries.emplace_back();
    main.records.push_back(ShareRecord(0x4001, "Alder Mining", 'O', "ALM"));
    main.records.push_back(ShareRecord(0x4002, "Brackwater Holdings", 'O', "BKW"));
    main.records.push_back(ShareRecord(0x4003, "Corvel Pharmaceuticals", 'O', "CVP"));
    main.records.push_back(ShareRecord(0x4004, "Dunmore Retail", 'O', "DNR"));
    if (!WriteDatabaseFolder(folder, db, nullptr))
        return false;
    if (tipsFile.empty())
        return true;
    std::error_code ec;
    std::filesystem::copy_file(tipsFile, folder / tipsFile.filename(),
                               std::filesystem::copy_options::overwrite_existing, ec);
    return !ec;
}

} // namespace qv::dev
