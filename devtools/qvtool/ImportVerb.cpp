// qvtool import FOLDER FILE [options]: imports a price file into FOLDER's imported items in memory
// (nothing is written back) and prints each item it makes: name, id, scale, first date, its stream
// in hex, and every day with its close at full precision (and open, high, low and volume for full
// days).
#include "core/Database.h"
#include "core/DateText.h"
#include "core/ImportsFile.h"
#include "core/Memory.h"
#include "core/PriceImport.h"
#include "core/PriceStream.h"
#include "core/RecordLookup.h"
#include "devtools/qvtool/Verbs.h"
#include "platform/ByteOrder.h"
#include "platform/Paths.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qv::tool {
namespace {

constexpr const char* kUsage =
    "import FOLDER FILE [--format HEX] [--delimiter C|tab] [--separator C] [--level N] [--replace] [--comma-decimal]";

bool ReadOptions(const std::vector<std::string>& args, ImportSettings& s)
{
    for (size_t i = 2; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--replace") {
            s.replace = true;
        } else if (a == "--comma-decimal") {
            s.commaDecimal = true;
        } else if (a == "--format" && hasValue) {
            s.dateFormat = uint8_t(std::strtoul(args[++i].c_str(), nullptr, 16));
        } else if (a == "--delimiter" && hasValue) {
            const std::string& d = args[++i];
            s.delimiter = d == "tab" ? '\t' : d.empty() ? ',' : d[0];
        } else if (a == "--separator" && hasValue && !args[i + 1].empty()) {
            s.dateSeparator = args[++i][0];
        } else if (a == "--level" && hasValue) {
            s.errorLevel = uint8_t(std::atoi(args[++i].c_str()));
        } else {
            return false;
        }
    }
    return true;
}

// The shortest text that reads back as the same float: 412.25, 165.98.
std::string Exact(float v)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, v);
    return std::string(text, result.ptr);
}

void PrintStream(const uint8_t* stream, const uint8_t* end)
{
    std::printf("stream bytes: %u\nstream:", unsigned(end - stream));
    for (const uint8_t* p = stream; p < end; ++p)
        std::printf("%s%02X", (p - stream) % 32 == 0 ? "\n" : " ", *p);
    std::printf("\n");
}

void PrintItem(const uint8_t* record)
{
    const uint8_t* sub = FirstSubRecord(record);
    const uint8_t* end = SubRecordEnd(record, sub);
    std::printf("name: %.*s\nid: %04X\nscale: %d\nfirst date: %s\n", int(GetRecordName(record).size()),
                GetRecordName(record).data(), RecordId(record), int(int16_t(LoadU16(sub + SubRecordLayout::PriceScale))),
                FormatDate(LoadU16(sub + SubRecordLayout::FirstDate)).c_str());
    PrintStream(sub + SubRecordLayout::Stream, end);
    DayRecord* days = nullptr;
    const int32_t count = DecodeSubRecordHistory(sub, end, days, 0, true, CorrectionCursor{});
    int32_t valued = 0;
    for (int32_t i = 0; i < count; ++i)
        valued += days[i].close != 0;
    const bool full = count > 0 && IsFullDataDay(days[0]);
    std::printf("days: %d\n%s\n", valued, full ? "date open high low close volume:" : "closes:");
    for (int32_t i = 0; i < count; ++i) {
        const DayRecord& day = days[i];
        if (day.close == 0)
            continue;
        if (full)
            std::printf("%s %s %s %s %s %s\n", FormatDate(day.date).c_str(), Exact(day.open).c_str(),
                        Exact(day.high).c_str(), Exact(day.low).c_str(), Exact(day.close).c_str(),
                        Exact(day.volume).c_str());
        else
            std::printf("%s %s\n", FormatDate(day.date).c_str(), Exact(day.close).c_str());
    }
    ProFree(days);
}

int RunImport(const std::vector<std::string>& args)
{
    ImportRun run;
    if (args.size() < 2 || !ReadOptions(args, run.settings)) {
        std::fprintf(stderr, "usage: qvtool %s\n", kUsage);
        return 2;
    }
    SetProgramFolder(args[0]);
    if (!LoadDatabase(AppPath("data\\Quorva.dat"))) {
        std::fprintf(stderr, "qvtool: cannot open %s/data/Quorva.dat\n", args[0].c_str());
        return 1;
    }
    LoadImports();
    const bool failed = ImportPriceFile(args[1], run);
    for (const uint16_t id : run.createdIds)
        PrintItem(FindShareRecord(id));
    if (run.skippedLines)
        std::printf("skipped lines: %d\n", run.skippedLines);
    FreeDatabase(true);
    return failed ? 1 : 0;
}

const Verb kImport("import", kUsage, "imports a price file in memory and prints the item it makes", RunImport);

} // namespace
} // namespace qv::tool
