// The intraday store's files: the instrument table "data\RT.dat" (with "data\RT.old"), the day
// files "data\RT\Hist%02d%02d%02d.dat", the recording "Demo.dat" and the sample dumps.
#pragma once

#include "realtime/store/RTDayRecord.h"
#include "realtime/store/RTShareTable.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace qv {

constexpr uint32_t kRTMinimumBuild = 1010;

// The fields of the index header the store keeps.
struct RTIndexHeader {
    uint8_t major = 0;
    uint8_t minor = 0;
    uint32_t build = 0;
    PackedDate latestDay = 0;
    uint16_t dayCount = 0;
    uint32_t historyBytes = 0;
};

// Parses an index image; nothing when the header refuses it or the tables run short.
std::optional<RTShareTable> ParseRTIndex(std::span<const uint8_t> image, RTIndexHeader* header = nullptr);
// Reads "data\RT.dat", else "data\RT.old", into the store's share table (defaults when neither is
// good), scans the history folder and opens the latest day. True.
bool LoadRTIndex();
// Copies "data\RT.dat" to "data\RT.old" through the save protocol. True.
bool BackupRTIndex();

// "Hist%02d%02d%02d.dat" for a day; the day a file name stands for, or 0 when the name is not one
// of a weekday's history file.
std::string RTHistoryFileName(PackedDate day);
PackedDate RTHistoryFileDay(std::string_view name);
// True when the day has a history file in the folder.
bool RTHistoryFileExists(PackedDate day);
// Rebuilds the day list and the total history size from the history folder.
void ScanRTHistoryFiles();

// Reads a day file's parts through a reader of (offset, bytes, out); the file's length bounds every
// table. Null when the header cannot be read.
using RTFileReader = std::function<bool(uint64_t offset, size_t n, uint8_t* out)>;
std::unique_ptr<RTDayRecord> ParseRTDayFile(const RTFileReader& read, uint64_t fileSize);
std::unique_ptr<RTDayRecord> LoadRTDayFile(PackedDate day);
// Reads an entry's tick words (kind kRTLoadAllTicks) or its summary (any other kind) from the day
// file, through `file` when given; 0, or -1 when the entry has no block or the block does not fit.
int LoadRTShareTicks(const RTDayRecord& day, RTDayShareEntry& entry, std::FILE* file, uint16_t kind);
int LoadRTShareTicks(const RTFileReader& read, uint64_t fileSize, RTDayShareEntry& entry, uint16_t kind);
// Reads the summary of every entry that has none in memory, opening the day file once; the number read.
int LoadRTDaySummaries(RTDayRecord& day);

// Drops a day from memory, disk and the day list.
void DeleteRTDay(PackedDate day);
// The purge dialogs' measure: sizeKB 0 with days 0 the whole history; days < 0 the size of the
// oldest -days files; days a date the size of the days from it on; sizeKB given (as bytes) the
// number of oldest days whose sizes stay below it. sizeKB comes back in KB.
void GetRTHistorySize(int64_t& size, int32_t& days);
// The stored days, oldest first, with their files' sizes (after a scan of the history folder).
std::vector<std::pair<PackedDate, uint64_t>> ListRTHistory();
// Asks, then deletes the oldest days down to daysToKeep; the newest day seen is never deleted.
void PurgeRTHistory(int32_t daysToKeep, bool automatic, int32_t daysShown);

// "Demo.dat": the frames received are kept from StartRecordingRT on; the buffer is written whole when
// recording stops, read whole for playback.
void StartRecordingRT();
bool RTRecording();
bool StopRecordingRT();
bool LoadPlaybackRT();
// "Sample%02d.dat" for every sample buffer that holds words; the buffers are freed.
void DumpRTSamples();

} // namespace qv
