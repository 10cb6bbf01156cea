// The argument handling that several qvtool verbs share.
#include "devtools/qvtool/Verbs.h"

#include <cstdlib>

#include "core/Database.h"
#include "core/PriceSubRecords.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"

#include <cstdio>

namespace qv::tool {

std::optional<std::vector<uint8_t>> ReadFileArgument(const std::vector<std::string>& args, const char* usage,
                                                     int& exitCode)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: qvtool %s\n", usage);
        exitCode = 2;
        return std::nullopt;
    }
    auto bytes = ReadFileBytes(args[0]);
    if (!bytes) {
        std::fprintf(stderr, "qvtool: cannot read %s\n", args[0].c_str());
        exitCode = 1;
    }
    return bytes;
}

RecordCursor FindByEpic(std::string_view epic)
{
    for (uint8_t* r = MainRecordBlock; r && RecordLength(r) != 0; r = NextRecord(r)) {
        for (uint32_t k = 0; k < SubRecordCount(r); ++k) {
            RecordCursor cursor{r, k};
            const uint8_t* descriptor = nullptr;
            const uint8_t* field = GetFieldDescriptor(128, &descriptor, &cursor, 0);
            if (field && std::string_view(reinterpret_cast<const char*>(field + 1), field[0]) == epic)
                return cursor;
        }
        if (GetRecordTexts(r).epic == epic)
            return {r, 0};
    }
    return {};
}

bool LoadFolderDatabase(const std::string& folder)
{
    SetProgramFolder(folder);
    if (LoadDatabase(AppPath("data\\Quorva.dat")))
        return true;
    std::fprintf(stderr, "qvtool: cannot open %s/data/Quorva.dat\n", folder.c_str());
    return false;
}

std::optional<RecordCursor> LoadFolderShare(const std::vector<std::string>& args, const char* usage, int& exitCode)
{
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: qvtool %s\n", usage);
        exitCode = 2;
        return std::nullopt;
    }
    if (!LoadFolderDatabase(args[0])) {
        exitCode = 1;
        return std::nullopt;
    }
    RecordCursor cursor = FindByEpic(args[1]);
    if (cursor.record == nullptr) {
        std::fprintf(stderr, "qvtool: no share with the EPIC %s\n", args[1].c_str());
        FreeDatabase(true);
        exitCode = 1;
        return std::nullopt;
    }
    return cursor;
}

bool ParseNumber(const std::string& text, int low, int high, int& out)
{
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < low || value > high)
        return false;
    out = int(value);
    return true;
}

} // namespace qv::tool
