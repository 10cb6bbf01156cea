// qvtool rt FOLDER [--day DD/MM/YYYY] [--share ID] [--ticks]: the intraday store of a program
// folder: its days with sizes, the share table, a share's summary and its ticks with their classes.
#include "core/StringPrintf.h"
#include "devtools/qvtool/Verbs.h"
#include "platform/Paths.h"
#include "realtime/store/RTDaySummary.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTStoreFiles.h"
#include "realtime/store/RTTickExpansion.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace qv::tool {
namespace {

constexpr const char* kUsage = "rt FOLDER [--day DD/MM/YYYY] [--share ID] [--ticks]";

std::string DayText(PackedDate d) { return StringPrintf("%02d/%02d/%04d", DayOfMonth(d), MonthOfYear(d), FullYear(d)); }

std::string TimeText(uint32_t s) { return StringPrintf("%02u:%02u:%02u", s / 3600, s / 60 % 60, s % 60); }

struct Options {
    std::string folder;
    PackedDate day = 0;
    uint32_t share = 0;
    bool ticks = false;
};

bool ParseOptions(const std::vector<std::string>& args, Options& o)
{
    if (args.empty())
        return false;
    o.folder = args[0];
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--ticks") {
            o.ticks = true;
        } else if (a == "--day" && i + 1 < args.size()) {
            int d = 0, m = 0, y = 0;
            if (std::sscanf(args[++i].c_str(), "%d/%d/%d", &d, &m, &y) != 3 || y < 1900 || y > 2027 || m < 1 || m > 12 ||
                d < 1 || d > DaysInMonth(m - 1, y - 1900))
                return false;
            o.day = PackDate(d, m, y);
        } else if (a == "--share" && i + 1 < args.size()) {
            o.share = uint32_t(std::strtoul(args[++i].c_str(), nullptr, 0));
            if (o.share == 0)
                return false;
        } else {
            return false;
        }
    }
    return true;
}

void PrintDays()
{
    const RTStore& s = TheRTStore();
    int64_t size = 0;
    int32_t count = 0;
    GetRTHistorySize(size, count);
    std::printf("days: %d, %lld KB\n", count, (long long)size);
    for (PackedDate d : s.days) {
        std::error_code ec;
        uint64_t bytes = std::filesystem::file_size(AppPath("data\\RT\\" + RTHistoryFileName(d)), ec);
        RTDayRecord* r = GetRTDay(d, false);
        std::printf("  %s  %s  %6llu KB  %zu shares\n", DayText(d).c_str(), RTHistoryFileName(d).c_str(),
                    (unsigned long long)(ec ? 0 : bytes / 1024), r ? r->entries.size() : 0);
    }
}

void PrintTable()
{
    const RTShareTable& t = TheRTStore().table;
    std::printf("shares: %u keys, %u instruments\n", t.keyCount, t.instrumentCount ? t.instrumentCount - 1u : 0u);
    // The database's shares ten to a line, then the instruments one to a line.
    int onLine = 0, lines = 0;
    for (uint32_t slot = 0; slot < t.keyCount; ++slot) {
        const RTKeyEntry& k = t.keys[t.slotIndex[slot]];
        if (t.Instrument(k.instrument))
            continue;
        if (onLine == 0)
            std::printf(lines++ ? "                  " : "  database shares:");
        std::printf(" 0x%05X", k.key);
        if (++onLine == 10) {
            std::printf("\n");
            onLine = 0;
        }
    }
    if (onLine)
        std::printf("\n");
    for (uint32_t slot = 0; slot < t.keyCount; ++slot) {
        const RTKeyEntry& k = t.keys[t.slotIndex[slot]];
        const RTInstrument* x = t.Instrument(k.instrument);
        if (!x)
            continue;
        std::printf("  0x%04X exchange %u  instrument %u  %s  %s  close %.2f\n", RTKeyShare(k.key), k.key >> 16,
                    k.instrument, std::string(t.NameAt(x->shortName)).c_str(), std::string(t.NameAt(x->longName)).c_str(),
                    x->previousClose);
    }
}

int PrintShare(RTDayRecord& day, uint32_t key, bool ticks)
{
    int32_t slot = -1;
    RTDayShareEntry* entry = GetRTDayShare(key, day, slot, false);
    std::array<uint32_t, kRTSummaryWords> words{};
    if (GetRTSummaryBlock(entry, words, day) != 0) {
        std::fprintf(stderr, "qvtool: share 0x%X has no data on %s\n", key, DayText(day.day).c_str());
        return 1;
    }
    RTDaySummary s = ReadRTDaySummary(words);
    std::printf("share 0x%04X exchange %u on %s: %u tick words\n", RTKeyShare(key), key >> 16, DayText(day.day).c_str(),
                entry->tickCount);
    std::printf("  previous close %.2f  open %.2f at %s  last %.2f at %s\n", s.previousClose, s.open,
                TimeText(s.times[kRTSlotOpen]).c_str(), s.lastTrade, TimeText(s.times[kRTSlotLatestTrade]).c_str());
    std::printf("  high %.2f at %s  low %.2f at %s  offer %.2f  bid %.2f\n", s.tradeHigh,
                TimeText(s.times[kRTSlotTradeHigh]).c_str(), s.tradeLow, TimeText(s.times[kRTSlotTradeLow]).c_str(),
                s.offer, s.bid);
    const char* names[3] = {"buys", "sells", "unknown"};
    for (int c = 0; c < 3; ++c)
        std::printf("  %-7s %5u trades  volume %.0f  value %.0f\n", names[c], s.tradeCounts[c], s.volumes[c], s.values[c]);
    if (!ticks)
        return 0;
    RTActiveShare* active = CreateRTActiveShare(ShareRef{nullptr, uint8_t(key >> 16), RTKeyShare(key)});
    if (!active || !LoadRTActiveShareDay(&day, active, 0)) {
        std::fprintf(stderr, "qvtool: the day's ticks could not be expanded\n");
        return 1;
    }
    RTShareDayBlock* block = FindRTShareDay(*active, day.day);
    uint32_t buys = 0, sells = 0;
    ClassifyRTTrades(*block, buys, sells);
    std::printf("ticks: %u records, %u quotes, %u trades (%u buys, %u sells)\n", block->count, block->quotes,
                block->trades, buys, sells);
    const char* classes[3] = {"buy", "sell", "-"};
    for (uint32_t i = 0; i < block->count; ++i) {
        const IntradayTick& t = block->ticks[i];
        switch (t.Kind()) {
        case kTickTime: std::printf("%s\n", TimeText(t.value1).c_str()); break;
        case kTickQuote: std::printf("  quote  %10.2f %10.2f\n", t.F1(), t.F2()); break;
        case kTickOther: std::printf("  other  %10.2f %10.2f\n", t.F1(), t.F2()); break;
        case kTickTrade:
            std::printf("  trade  %10.2f %10.0f  %s\n", t.F1(), t.F2(), classes[std::min<uint8_t>(t.tradeClass, 2)]);
            break;
        default: break;
        }
    }
    return 0;
}

int RunRt(const std::vector<std::string>& args)
{
    Options o;
    if (!ParseOptions(args, o)) {
        std::fprintf(stderr, "usage: qvtool %s\n", kUsage);
        return 2;
    }
    if (!std::filesystem::is_directory(o.folder)) {
        std::fprintf(stderr, "qvtool: %s is not a folder\n", o.folder.c_str());
        return 1;
    }
    SetProgramFolder(std::filesystem::absolute(o.folder));
    InitRTStore();
    int result = 0;
    PrintDays();
    PrintTable();
    if (o.share) {
        RTDayRecord* day = o.day ? GetRTDay(o.day, false) : GetRTDay(0, false);
        if (!day) {
            std::fprintf(stderr, "qvtool: no intraday day %s\n", o.day ? DayText(o.day).c_str() : "stored");
            result = 1;
        } else {
            result = PrintShare(*day, o.share > 0xFFFF ? o.share : MakeRTKey(0, uint16_t(o.share)), o.ticks);
        }
    }
    CloseRTStore();
    return result;
}

const Verb kRt("rt", kUsage, "prints a folder's intraday days, shares, a share's summary and its ticks", RunRt);

} // namespace
} // namespace qv::tool
