// Writing one share's price history as text for other programs: the comma-separated, ticker-first,
// name-first and general layouts, and the daily CSV layout that data sites and spreadsheets read.
#pragma once

#include "core/PackedDate.h"
#include "core/RecordAccess.h"

#include <cstdint>
#include <string>

namespace qv {

// The file types of the export dialogs, by their index in the save dialog's list.
enum ExportFormat : int {
    kExportCsv = 1,      // "Excel format (*.csv)"
    kExportPrn = 2,      // "Metastock ASCII format (*.prn)"
    kExportCsq = 3,      // "Quicken format (*.csq)"
    kExportExp = 4,      // "General (*.exp)"
    kExportAllFiles = 5, // "All Files (*.*)": written as the general layout
    kExportDailyCsv = 6, // "Daily prices (*.csv)"
};

// What one share's history is written with.
struct ExportStyle {
    int format = kExportCsv;
    char delimiter = ',';
    int dateStyle = 0x18;      // FormatDateStyled bits 0-4
    char dateSeparator = '/';
    bool ohlcv = false;
    bool pence = false;        // prices as stored rather than in pounds
    bool headerLines = true;   // the ".exp" name line and the ".prn" heading
    bool withHeader = true;    // the ".prn" heading for this file (the first share of a shared file)
    bool severalShares = false;
    bool adjusted = false;     // the user's price corrections applied
    PackedDate fromDate = 0;   // only later days give rows; 0 writes all
};

// The style a chosen file type gets from the export options (`flags` and `flags2` the Export page's
// two flag bytes, `delimiter` and `dateSeparator` its characters; a NUL delimiter means a comma).
ExportStyle ExportStyleFor(int format, uint8_t flags, uint8_t flags2, char delimiter, char dateSeparator);

// The file extension of a format, with its dot (empty for format 0, ".*" for all files).
std::string ExportExtension(int format);

// Appends the share's rows (and heading lines) to `out`; true when at least one day row was written.
bool WriteShareHistory(const RecordCursor& share, const ExportStyle& style, std::string& out);

// A share's own export file: the folder, a separator and the ticker with the extension; empty when
// the folder has 245 characters or more or the ticker 9 or more.
constexpr size_t kExportFolderLimit = 245, kExportTickerLimit = 9;
std::string ShareExportPath(const std::string& folder, const std::string& ticker, const std::string& extension);

// The export of many shares' histories: one file each in `folder`, or all in `shared`.
struct ShareExportRun {
    ExportStyle style;
    std::string folder;
    std::string extension;
    bool singleFile = false;
    std::string shared;     // the one file's text
    PackedDate latest = 1;  // the latest last date written; 0 when the user chose to stop
    int written = 0;        // shares that gave rows
};

// Exports one share: skipped without prices or a file code; a file that cannot be named or written
// asks "Unable to open file for ... OK to continue  Cancel to stop" (Cancel sets `latest` to 0).
// True when nothing was written for the share.
bool ExportShareFile(const RecordCursor& share, ShareExportRun& run);

} // namespace qv
