// Reading the intraday index and day files, the history folder's bookkeeping, the purge, and the
// recording and sample files.
#include "realtime/store/RTStoreFiles.h"

#include "core/ReadersWriterLock.h"
#include "core/SaveProtocol.h"
#include "core/StringPrintf.h"
#include "platform/ByteOrder.h"
#include "platform/DebugOutput.h"
#include "platform/FileOps.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "realtime/IntradayState.h"
#include "realtime/TimerQueue.h"
#include "realtime/store/RTStore.h"

#include <algorithm>
#include <atomic>
#include <array>
#include <numeric>

namespace qv {
namespace {

constexpr const char* kIndexName = "data\\RT.dat";
constexpr const char* kIndexBackup = "data\\RT.old";
constexpr const char* kHistoryFolder = "data\\RT";
constexpr uint32_t kNameSlack = 1u << 20; // name capacity kept beyond the bytes in use, at most

// Keys of shares priced in pounds in day files older than version 4 (exchange << 16 | share).
constexpr std::array<uint32_t, 38> kPoundKeys = {
    0x0000077B, 0x00000781, 0x00000790, 0x000007A2, 0x000007B5, 0x000007C3, 0x000007D0, 0x000007E4,
    0x000007F1, 0x00000802, 0x00000815, 0x00000829, 0x00000833, 0x00000847, 0x00000852, 0x00000866,
    0x00000871, 0x00000885, 0x00000893, 0x0001064B, 0x00010650, 0x00010662, 0x00010675, 0x00010681,
    0x00010694, 0x000106A8, 0x000106B3, 0x000106C7, 0x000106D2, 0x000106E6, 0x000106F1, 0x00010705,
    0x00010713, 0x00010728, 0x00010736, 0x00010741, 0x00010755, 0x00010769,
};

// The instrument record field by field (offsets in docs/DATA.md).
static_assert(2 + 6 * 1 + 5 * 4 + 2 + 1 + 1 + 2 + sizeof(RTInstrument::rest) == kRTInstrumentBytes);

RTInstrument ReadInstrument(ByteReader& r)
{
    RTInstrument x;
    r.u16(x.share);
    r.u8(x.exchange);
    r.u8(x.marketType);
    r.u8(x.definitionByte);
    r.u8(x.spare5);
    r.u8(x.zoneCode);
    r.u8(x.registeredExtra);
    r.u32(x.definitionValue);
    r.u32(x.shortName);
    r.u32(x.longName);
    r.u32(x.spare20);
    r.f32(x.previousClose);
    r.u16(x.closeDate);
    r.u8(x.priceScale);
    r.u8(x.spare31);
    r.u16(x.sequence);
    r.bytes(x.rest, sizeof x.rest);
    return x;
}

// The slot index must list every entry once in ascending key order; otherwise it is rebuilt.
void CheckSlotIndex(RTShareTable& t)
{
    uint32_t n = t.keyCount;
    std::vector<uint8_t> seen(n, 0);
    bool good = true;
    for (uint32_t i = 0; i < n && good; ++i) {
        uint32_t e = t.slotIndex[i];
        good = e < n && !seen[e] && (i == 0 || t.keys[t.slotIndex[i - 1]].key < t.keys[e].key);
        if (good)
            seen[e] = 1;
    }
    if (good)
        return;
    OutputDebugText("Intraday index: slot index rebuilt");
    std::iota(t.slotIndex.begin(), t.slotIndex.begin() + n, 0u);
    std::stable_sort(t.slotIndex.begin(), t.slotIndex.begin() + n,
                     [&](uint32_t a, uint32_t b) { return t.keys[a].key < t.keys[b].key; });
}

std::FILE* OpenRead(const fs::path& path) { return std::fopen(path.string().c_str(), "rb"); }

uint64_t FileLength(std::FILE* f)
{
    if (std::fseek(f, 0, SEEK_END) != 0)
        return 0;
    long n = std::ftell(f);
    return n < 0 ? 0 : uint64_t(n);
}

RTFileReader FileReader(std::FILE* f)
{
    return [f](uint64_t offset, size_t n, uint8_t* out) {
        return std::fseek(f, long(offset), SEEK_SET) == 0 && std::fread(out, 1, n, f) == n;
    };
}

fs::path HistoryPath(PackedDate day) { return AppPath(std::string(kHistoryFolder) + "\\" + RTHistoryFileName(day)); }

std::optional<uint64_t> HistoryFileLength(PackedDate day)
{
    std::error_code ec;
    uint64_t n = fs::file_size(HistoryPath(day), ec);
    return ec ? std::nullopt : std::optional<uint64_t>(n);
}

} // namespace

std::optional<RTShareTable> ParseRTIndex(std::span<const uint8_t> image, RTIndexHeader* header)
{
    if (image.size() < 20)
        return std::nullopt;
    RTIndexHeader h;
    h.major = image[4];
    h.minor = image[5];
    h.build = LoadU32(image.data() + 8);
    if (h.major > 1 || h.build < kRTMinimumBuild)
        return std::nullopt;
    size_t headerSize = h.minor < 2 ? 20 : 56;
    if (image.size() < headerSize)
        return std::nullopt;
    h.latestDay = LoadU16(image.data() + 12);
    h.dayCount = LoadU16(image.data() + 14);
    h.historyBytes = h.minor < 2 ? 0 : LoadU32(image.data() + 20);

    ByteReader r(image);
    r.seek(headerSize);
    RTShareTable t;
    uint16_t nameUsed16 = 0;
    if (h.minor >= 3) {
        r.u16(t.keyCount);
        r.u16(t.keyCapacity);
        r.skip(8);
        r.u16(t.instrumentCount);
        r.u16(t.instrumentCapacity);
        r.skip(4);
        r.u32(t.nameBytesUsed);
        r.u32(t.nameCapacity);
        r.skip(36);
    } else {
        r.u16(t.keyCount);
        r.u16(t.keyCapacity);
        r.skip(8);
        r.u16(t.instrumentCount);
        r.skip(6);
        r.u16(nameUsed16);
        r.skip(6);
        t.instrumentCapacity = t.instrumentCount;
        t.nameBytesUsed = t.nameCapacity = nameUsed16;
    }
    if (!r.ok())
        return std::nullopt;
    // Counts are bounded by the file; capacities are never below their counts.
    uint64_t need = uint64_t(t.keyCount) * 12 + t.nameBytesUsed + uint64_t(t.instrumentCount) * kRTInstrumentBytes;
    if (need > r.remaining())
        return std::nullopt;
    t.keyCapacity = std::max(t.keyCapacity, t.keyCount);
    t.instrumentCapacity = std::max<uint16_t>({t.instrumentCapacity, t.instrumentCount, 1});
    t.nameCapacity = std::clamp(t.nameCapacity, std::max<uint32_t>(t.nameBytesUsed, 1), t.nameBytesUsed + kNameSlack);
    t.keys.resize(std::max<uint16_t>(t.keyCapacity, 1));
    t.slotIndex.resize(t.keys.size());
    t.names.resize(t.nameCapacity);
    t.instruments.resize(t.instrumentCapacity);
    for (uint32_t i = 0; i < t.keyCount; ++i) {
        r.u32(t.keys[i].key);
        r.u16(t.keys[i].instrument);
        r.u16(t.keys[i].spare);
    }
    for (uint32_t i = 0; i < t.keyCount; ++i)
        r.u32(t.slotIndex[i]);
    r.bytes(t.names.data(), t.nameBytesUsed);
    for (uint32_t i = 0; i < t.instrumentCount; ++i)
        t.instruments[i] = ReadInstrument(r);
    if (!r.ok())
        return std::nullopt;
    for (uint32_t i = 0; i < t.keyCount; ++i) {
        uint16_t& n = t.keys[i].instrument;
        if (n != kRTNoInstrument && (n == 0 || n >= t.instrumentCount))
            n = kRTNoInstrument;
    }
    CheckSlotIndex(t);
    if (header)
        *header = h;
    return t;
}

bool LoadRTIndex()
{
    RTStore& s = TheRTStore();
    std::optional<RTShareTable> table;
    RTIndexHeader header;
    for (const char* name : {kIndexName, kIndexBackup}) {
        auto bytes = ReadFileBytes(AppPath(name));
        if (!bytes)
            continue;
        table = ParseRTIndex(*bytes, &header);
        if (table)
            break;
        OutputDebugText(std::string("Intraday index refused: ") + name);
    }
    s.table = table ? std::move(*table) : DefaultRTShareTable();
    s.minorFormat = table ? header.minor : 0;
    ScanRTHistoryFiles();
    if (!s.days.empty()) {
        PackedDate latest = s.days.back();
        GetRTDay(latest, true);
        s.newestDaySeen = latest;
    }
    return true;
}

bool BackupRTIndex()
{
    // A refused index is not copied: the backup is what a damaged index falls back to.
    auto bytes = ReadFileBytes(AppPath(kIndexName));
    if (bytes && ParseRTIndex(*bytes))
        SaveFileImage(PlainSavePlan(kIndexBackup, "data\\RT.tem"), *bytes);
    return true;
}

std::string RTHistoryFileName(PackedDate day)
{
    return StringPrintf("Hist%02d%02d%02d.dat", YearField(day) - 100, MonthField(day) + 1, DayField(day) + 1);
}

PackedDate RTHistoryFileDay(std::string_view name)
{
    if (name.size() != 14 || (name[0] != 'H' && name[0] != 'h') || !EqualsNoCase(name.substr(10), ".dat"))
        return 0;
    int digits[6];
    for (int i = 0; i < 6; ++i) {
        char c = name[4 + i];
        if (c < '0' || c > '9')
            return 0;
        digits[i] = c - '0';
    }
    int yy = digits[0] * 10 + digits[1], mm = digits[2] * 10 + digits[3], dd = digits[4] * 10 + digits[5];
    int year0 = 100 + yy;
    if (year0 > 127 || mm < 1 || mm > 12 || dd < 1 || dd > DaysInMonth(mm - 1, year0))
        return 0;
    PackedDate day = MakePackedDate(dd - 1, mm - 1, year0);
    return WeekdayOf(day) < 5 ? day : 0;
}

bool RTHistoryFileExists(PackedDate day) { return HistoryFileLength(day).has_value(); }

void ScanRTHistoryFiles()
{
    RTStore& s = TheRTStore();
    s.latestDay = 0;
    s.historyBytes = 0;
    std::vector<PackedDate> days;
    days.reserve(s.days.size() + 1);
    fs::path folder = AppPath(kHistoryFolder);
    for (const std::string& name : FindFiles(folder, "Hist*.dat")) {
        PackedDate day = RTHistoryFileDay(name);
        if (!day)
            continue;
        std::error_code ec;
        uint64_t size = fs::file_size(folder / name, ec);
        if (ec)
            continue;
        auto at = std::lower_bound(days.begin(), days.end(), day);
        if (at != days.end() && *at == day)
            continue;
        days.insert(at, day);
        s.historyBytes = uint32_t(std::min<uint64_t>(0xFFFFFFFFu, s.historyBytes + size));
        s.latestDay = std::max(s.latestDay, day);
    }
    // Days held in memory (today, a backfilled day) have no file of their own but stay listed.
    {
        std::lock_guard chain(RTDayChainMutex());
        for (const auto& record : s.dayChain) {
            auto at = std::lower_bound(days.begin(), days.end(), record->day);
            if (record->day && (at == days.end() || *at != record->day))
                days.insert(at, record->day);
            s.latestDay = std::max(s.latestDay, record->day);
        }
    }
    s.days = std::move(days);
}

std::unique_ptr<RTDayRecord> ParseRTDayFile(const RTFileReader& read, uint64_t fileSize)
{
    auto d = std::make_unique<RTDayRecord>();
    uint8_t* h = d->header.data();
    if (fileSize < kRTOldDayHeaderBytes || !read(0, kRTOldDayHeaderBytes, h))
        return nullptr;
    d->version = h[5];
    if (d->version > 5)
        return nullptr;
    size_t headerSize = kRTOldDayHeaderBytes;
    if (d->version >= 2) {
        if (fileSize < kRTDayHeaderBytes || !read(kRTOldDayHeaderBytes, kRTDayHeaderBytes - kRTOldDayHeaderBytes, h + 192))
            return nullptr;
        headerSize = kRTDayHeaderBytes;
    } else {
        std::copy(h + 136, h + 144, h + 196);
        std::fill(h + 136, h + 196, 0);
    }
    d->day = LoadU16(h + 8);
    uint32_t count = LoadU16(h + 10);
    uint64_t slotLength = LoadU32(h + 20);
    size_t entryBytes = RTEntryBytesForVersion(d->version);
    uint64_t entriesEnd = headerSize + uint64_t(count) * entryBytes;
    if (entriesEnd > fileSize)
        return nullptr;
    slotLength = std::min<uint64_t>(slotLength, (fileSize - entriesEnd) / 2);
    std::vector<uint8_t> body(size_t(count) * entryBytes + size_t(slotLength) * 2);
    if (!body.empty() && !read(headerSize, body.size(), body.data()))
        return nullptr;

    d->entries.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        RTDayShareEntry e = ReadRTDayShareEntry(std::span(body).subspan(size_t(i) * entryBytes, entryBytes), d->version);
        if (d->version <= 3) {
            bool pounds = std::find(kPoundKeys.begin(), kPoundKeys.end(), e.key) != kPoundKeys.end();
            e.loadFlags = uint16_t(pounds ? e.loadFlags | kRTLoadPounds : e.loadFlags & ~kRTLoadPounds);
            e.flags &= uint8_t(~0x12);
        }
        e.loadFlags &= uint16_t(~(kRTLoadWritten | kRTLoadSummary | kRTLoadAllTicks));
        if (e.tickCount <= kRTSummaryWords + 1 && e.keptMarker == 0) {
            e.timeClass = 0;
            e.streamOffset = 0;
            e.tickCount = e.tickCapacity = e.fileOffset = 0;
        } else {
            e.tickCapacity = e.tickCount + 1;
        }
        if (d->version == 0)
            e.loadFlags |= kRTLoadRebuildSummary;
        d->entries.push_back(std::move(e));
    }
    d->work.assign(count, {});
    d->slotMap.resize(size_t(slotLength));
    const uint8_t* map = body.data() + size_t(count) * entryBytes;
    for (size_t i = 0; i < d->slotMap.size(); ++i) {
        uint16_t v = LoadU16(map + 2 * i);
        d->slotMap[i] = v <= count ? v : 0; // a reference past the entries is dropped
    }
    if (d->version >= 2) {
        d->trailingOffset = LoadU32(h + 216);
        uint32_t coverage = LoadU32(h + 224);
        uint32_t extra = LoadU32(h + 232);
        uint64_t at = d->trailingOffset;
        if (extra && at + extra <= fileSize) {
            d->extra.resize(extra);
            if (!read(at, extra, d->extra.data()))
                d->extra.clear();
        }
        at += extra;
        if (coverage == kRTCoverageBytes && at + coverage <= fileSize) {
            d->coverage.resize(coverage);
            if (!read(at, coverage, d->coverage.data()))
                d->coverage.clear();
        }
    }
    d->flags &= ~0x10u;
    return d;
}

std::unique_ptr<RTDayRecord> LoadRTDayFile(PackedDate day)
{
    std::FILE* f = OpenRead(HistoryPath(day));
    if (!f)
        return nullptr;
    uint64_t size = FileLength(f);
    auto record = ParseRTDayFile(FileReader(f), size);
    std::fclose(f);
    if (!record) {
        OutputDebugText("Intraday day file refused: " + RTHistoryFileName(day));
        return nullptr;
    }
    if (record->day != day)
        record->day = day; // the file's name decides which day it holds
    return record;
}

int LoadRTShareTicks(const RTFileReader& read, uint64_t fileSize, RTDayShareEntry& entry, uint16_t kind)
{
    if (entry.fileOffset == 0)
        return -1;
    uint64_t capacity = uint64_t(entry.tickCount) + 1;
    bool all = kind == kRTLoadAllTicks;
    if (uint64_t(entry.fileOffset) + capacity * 4 > fileSize)
        return -1;
    if (!all && capacity < kRTSummaryWords)
        return -1; // a block too short to hold a summary
    uint64_t words = all ? capacity : kRTSummaryWords;
    std::vector<uint8_t> bytes(size_t(words) * 4);
    if (!read(entry.fileOffset, bytes.size(), bytes.data()))
        return -1;
    entry.tickCapacity = uint32_t(capacity);
    // Room for the whole block whatever is read, so that reading the rest later never moves words a
    // reader of the summary still holds.
    size_t room = std::max<size_t>(size_t(capacity), kRTSummaryWords);
    if (entry.ticks.size() != room)
        entry.ticks.assign(room, 0);
    for (size_t i = 0; i < words; ++i)
        entry.ticks[i] = LoadU32(bytes.data() + 4 * i);
    entry.loadFlags = uint16_t((entry.loadFlags & ~(kRTLoadSummary | kRTLoadAllTicks)) | kind);
    return 0;
}

int LoadRTShareTicks(const RTDayRecord& day, RTDayShareEntry& entry, std::FILE* file, uint16_t kind)
{
    if (entry.fileOffset == 0)
        return -1;
    std::FILE* f = file ? file : OpenRead(HistoryPath(day.day));
    if (!f)
        return -1;
    int result = LoadRTShareTicks(FileReader(f), FileLength(f), entry, kind);
    if (!file)
        std::fclose(f);
    return result;
}

int LoadRTDaySummaries(RTDayRecord& day)
{
    std::FILE* f = OpenRead(HistoryPath(day.day));
    if (!f)
        return 0;
    uint64_t size = FileLength(f);
    RTFileReader read = FileReader(f);
    int loaded = 0;
    for (RTDayShareEntry& e : day.entries)
        if (!e.HasSummary() && e.fileOffset && LoadRTShareTicks(read, size, e, kRTLoadSummary) == 0)
            ++loaded;
    std::fclose(f);
    return loaded;
}

void DeleteRTDay(PackedDate day)
{
    RTStore& s = TheRTStore();
    {
        std::lock_guard chain(RTDayChainMutex());
        std::erase_if(s.dayChain, [&](const auto& r) { return r->day == day; });
    }
    ForceDelete(HistoryPath(day));
    std::erase(s.days, day);
    s.latestDay = s.days.empty() ? 0 : s.days.back();
}

void GetRTHistorySize(int64_t& size, int32_t& days)
{
    ExclusiveLockGuard lock(IntradayStoreLock());
    ScanRTHistoryFiles();
    const RTStore& s = TheRTStore();
    uint64_t total = 0;
    if (size == 0 && days == 0) {
        total = s.historyBytes;
        days = int32_t(s.days.size());
    } else if (size == 0 && days < 0) {
        int32_t counted = 0;
        for (PackedDate d : s.days) {
            if (counted >= -days)
                break;
            total += HistoryFileLength(d).value_or(0);
            ++counted;
        }
    } else if (size == 0) {
        for (PackedDate d : s.days)
            if (d >= PackedDate(days))
                total += HistoryFileLength(d).value_or(0);
    } else {
        int32_t added = 0;
        for (PackedDate d : s.days) {
            uint64_t next = total + HistoryFileLength(d).value_or(0);
            if (next >= uint64_t(size))
                break;
            total = next;
            ++added;
        }
        days = added;
    }
    size = int64_t(total / 1024);
}

std::vector<std::pair<PackedDate, uint64_t>> ListRTHistory()
{
    ExclusiveLockGuard lock(IntradayStoreLock());
    ScanRTHistoryFiles();
    std::vector<std::pair<PackedDate, uint64_t>> out;
    for (PackedDate d : TheRTStore().days)
        out.emplace_back(d, HistoryFileLength(d).value_or(0));
    return out;
}

void PurgeRTHistory(int32_t daysToKeep, bool automatic, int32_t daysShown)
{
    // Not while a backfill fills the days (step 8 and above).
    if (RTConnectionStep() >= 8)
        return;
    std::string text = StringPrintf("%sDo you wish to purge the share history down to %d days?",
                                    automatic ? "Intraday auto purge - " : "", daysShown);
    if (ShowMessage(text, {}, MsgButtons::YesNo, MsgIcon::Question, 1) != MsgAnswer::Yes)
        return;
    ExclusiveLockGuard lock(IntradayStoreLock());
    RTStore& s = TheRTStore();
    int64_t excess = int64_t(s.days.size()) - std::max(daysToKeep, 0);
    for (int64_t i = 0; i < excess && !s.days.empty(); ++i) {
        PackedDate oldest = s.days.front();
        if (oldest == s.newestDaySeen)
            break; // the day being filled stays, whatever the count asked
        DeleteRTDay(oldest);
    }
    for (auto& a : s.activeShares)
        a->days.clear();
    ScanRTHistoryFiles();
}

namespace {
// Mirrors the store's flag for the command rules, which read it without taking the store's lock.
std::atomic<bool> g_recording{false};
} // namespace

void StartRecordingRT()
{
    ExclusiveLockGuard lock(IntradayStoreLock());
    RTStore& s = TheRTStore();
    s.recordingBuffer.clear();
    s.recording = true;
    g_recording = true;
}

bool RTRecording() { return g_recording; }

bool StopRecordingRT()
{
    ExclusiveLockGuard lock(IntradayStoreLock());
    RTStore& s = TheRTStore();
    bool saved = SaveFileImage(PlainSavePlan("Demo.dat", "Demo.tem"), s.recordingBuffer) == SaveResult::Saved;
    s.recordingBuffer = {};
    s.recording = false;
    g_recording = false;
    return saved;
}

bool LoadPlaybackRT()
{
    RTStore& s = TheRTStore();
    s.playbackPace = 32;
    s.playback = true;
    auto bytes = ReadFileBytes(AppPath("Demo.dat"));
    if (!bytes) {
        RTEngineState = 0;
        s.playback = false;
        return false;
    }
    s.playbackBuffer = std::move(*bytes);
    s.playbackBuffer.reserve(s.playbackBuffer.size() + 1024);
    s.playbackStartTick = SteadyTickCount();
    return true;
}

void DumpRTSamples()
{
    RTStore& s = TheRTStore();
    for (size_t i = 0; i < s.samples.size(); ++i) {
        auto& words = s.samples[i];
        if (words.empty())
            continue;
        ByteWriter w;
        for (uint32_t v : words)
            w.u32(v);
        SaveFileImage(PlainSavePlan(StringPrintf("Sample%02d.dat", int(i)), StringPrintf("Sample%02d.tem", int(i))), w.data());
        words = {};
    }
}

} // namespace qv
