// Filtering and assembly of the capital gains computation lines.
#include "portfolio/CgtReportLines.h"

#include "core/DateText.h"
#include "portfolio/CgtTables.h"

#include <algorithm>
#include <numeric>
#include <tuple>

namespace qv {

void CgtReportLines::AddTitle(std::string text)
{
    lines_.push_back({0, 0, 0, std::move(text)});
}

bool CgtReportLines::Keeps(PackedDate date, uint16_t share) const
{
    if (filter_.allYears || int(share) == filter_.shareId)
        return true;
    return date >= CgtDate::Apr1990 && filter_.taxYear >= 0 && CgtTaxYearIndex(date) == filter_.taxYear;
}

void CgtReportLines::Add(PackedDate date, uint16_t share, uint32_t sequence, std::string text)
{
    if (!Keeps(date, share))
        return;
    lines_.push_back({sequence, date, share, std::move(text)});
    shown_ = true;
}

bool CgtReportLines::IndentsIdentifications() const
{
    return filter_.allYears || filter_.taxYear > 0;
}

std::string CgtReportLines::Assemble() const
{
    // A stable sort gives the order of repeatedly taking the lowest (date, share, sequence).
    std::vector<size_t> order(lines_.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const CgtLine& x = lines_[a];
        const CgtLine& y = lines_[b];
        return std::tie(x.date, x.share, x.sequence) < std::tie(y.date, y.share, y.sequence);
    });
    std::string out;
    bool first = true;
    PackedDate previous = 0;
    for (size_t i : order) {
        const CgtLine& line = lines_[i];
        if (line.date == CgtDate::Valuation && filter_.allYears)
            continue;
        if (first || line.date != previous) {
            if (!first && previous != 0)
                out += '\n';
            if (line.date == CgtDate::Valuation)
                out += "Balance";
            else if (line.date != 0)
                out += FormatDate(line.date);
        }
        first = false;
        previous = line.date;
        if (line.date != 0)
            out += '\t';
        if (line.sequence != 0 && IndentsIdentifications())
            out += "  ";
        out += line.text;
        out += '\n';
    }
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

} // namespace qv
