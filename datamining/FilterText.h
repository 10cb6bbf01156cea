// The ".flt" filter file that users pass filters between them in: its writer, its reader and the
// token scanning the reader is built on.
#pragma once

#include "core/DMFilter.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

inline constexpr int kFilterTextVersion = 360;
inline constexpr size_t kFilterTextMaxName = 255;  // names, notes and heading tokens
inline constexpr size_t kFilterTextMaxNumber = 63; // number tokens

// A reading position in a zero-ended text.
struct TextPosition {
    const char* at = nullptr;
};

// Moves to the first CR or LF, then past every CR and LF that follow; false at the end of the text.
bool SkipToNextLine(TextPosition& pos);
// Skips blanks, commas and line ends, then takes at most `maxLength` characters up to a NUL, blank,
// comma, semicolon or line end. True when the stopping character is none of NUL, CR, LF or ';'.
bool ReadToken(TextPosition& pos, std::string& token, size_t maxLength);
// The next token as a decimal number (0 when there is none); out-of-range values are clamped.
int32_t ReadIntToken(TextPosition& pos);
float ReadFloatToken(TextPosition& pos);

// Appends the filter to the file, writing the heading first when the file is new. False for no
// filter, a read-only one, or a file that cannot be written. The filter itself is not changed.
bool ExportFilterText(const std::filesystem::path& path, const DMFilter* filter);

// The filters of a ".flt" text, renamed where `nameTaken` (or an earlier filter of the same text)
// holds the name; their data ranges are left empty. `valid` is false for a wrong heading or a newer
// version. Criteria whose kind or parameter is outside the kind table are skipped.
struct FilterTextContents {
    bool valid = false;
    int version = 0;
    std::vector<std::unique_ptr<DMFilter>> filters;
};
FilterTextContents ParseFilterText(std::string_view text, const std::function<bool(std::string_view)>& nameTaken);

// Reads every filter of the file into the filter list, with the statistics of its criteria over
// the candidate rows; the number of filters made (0 on any failure).
int ImportFilterText(const std::filesystem::path& path);

} // namespace qv
