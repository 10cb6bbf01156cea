// The sector list's rules: its rows in groups and levels, the shading tints, the row shading and the
// sort that keeps the groups together.
#pragma once

#include <cstdint>
#include <cstddef>

namespace qv {

// A row as the sector analysis supplies it: three column texts, the values behind columns 1 and 2, a
// group number and a level (2 leads a group, 8 comes last, 4 stands outside the groups, 6 is indented).
struct SectorRow {
    const char* texts[3] = {"", "", ""};
    int32_t values[2] = {0, 0};
    int32_t group = 0;
    int32_t level = 0;
};

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
struct SectorTints {
    Rgb t1, t2, t3;
};
// t1 = (highlight + 6 window) / 7, t2 = (t1 + 5 window) / 6, t3 = (window + 5 t1) / 6, per channel.
SectorTints MixSectorTints(Rgb highlight, Rgb window);

// The shading marker after drawing a row, from the marker the row before left.
int NextShadingMarker(int marker, const SectorRow& row);
bool SectorRowBold(const SectorRow& row);
// The background of an unselected row: 0 the window colour, 1 t1, 2 t2, 3 t3.
int SectorRowShade(int marker, int rowIndex);

// One total order: level-8 rows last; then level-4 rows after the groups; the other rows by group with
// the level-2 row first in its group; rows still equal by the column (texts for column 0, the values
// for 1 and 2), descending when asked. The sort is stable.
bool SectorRowBefore(const SectorRow& a, const SectorRow& b, int column, bool descending);
void SortSectorRows(SectorRow* rows, size_t count, int column, bool descending);

} // namespace qv
