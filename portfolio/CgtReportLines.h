// The computation lines of a capital gains pass: the filter that keeps the lines of the report asked
// for, and their assembly into the dated report text.
#pragma once

#include "core/PackedDate.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

constexpr uint16_t kCgtCarryShare = 65534; // share of the "Carry %s loss forward" lines

struct CgtLine {
    uint32_t sequence = 0;
    PackedDate date = 0; // 0 for the title lines, 65534 for valuation lines
    uint16_t share = 0;
    std::string text;
};

// What the report is for: shareId 0 every share, -1 none (silent), else one share; taxYear an index
// or -1 for every year; allYears keeps every line (the portfolio history).
struct CgtReportFilter {
    int shareId = -1;
    int taxYear = -1;
    bool allYears = false;
};

class CgtReportLines {
public:
    explicit CgtReportLines(CgtReportFilter filter) : filter_(filter) {}

    // A title line: always kept, dated 0.
    void AddTitle(std::string text);
    // Keeps the line when the filter asks for it.
    void Add(PackedDate date, uint16_t share, uint32_t sequence, std::string text);
    // True once a line other than the titles was kept.
    bool ShownAnything() const { return shown_; }
    const std::vector<CgtLine>& Lines() const { return lines_; }

    // The report: lines by date, share and sequence (buffer order on ties), one block per date.
    std::string Assemble() const;

private:
    bool Keeps(PackedDate date, uint16_t share) const;
    bool IndentsIdentifications() const;

    CgtReportFilter filter_;
    std::vector<CgtLine> lines_;
    bool shown_ = false;
};

} // namespace qv
