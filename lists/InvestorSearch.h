// Finding an investor by name among the entries that are rows of a dealings view.
#pragma once

#include "core/RecordCursor.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qv {

class CodingTables;
struct DealingsFileInfo;

constexpr int kMaxInvestorMatches = 101;
constexpr uint8_t kInvestorRowMark = 0x80;

// Clears the mark byte (entry byte 3) of every entry, then marks the entries that are rows.
void MarkInvestorRows(uint8_t* block, std::span<const RecordCursor> rows);

struct InvestorMatch {
    std::string name;
    uint8_t* record = nullptr; // the row record (entry + 1)
};

// The marked entries whose investor's name holds the text anywhere (case-blind), or with
// fromFirstLetter begins with it, after which every later marked entry is listed too; at most 101.
std::vector<InvestorMatch> FindInvestors(uint8_t* block, const DealingsFileInfo& info, const CodingTables& tables,
                                         const std::string& text, bool fromFirstLetter);

} // namespace qv
