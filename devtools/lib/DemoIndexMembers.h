// The demo's index and market memberships: the record flag word of every demo record and the class
// its ordinary shares take, drawn from the records' market values alone so that prices stay as drawn.
#pragma once

#include <cstdint>
#include <map>

namespace qv::dev {

struct DemoDatabase;

struct DemoMembership {
    uint16_t flags = 0;      // the record flag word (core/RecordFlags.h)
    uint8_t ordinaryKind = 0; // the first stream's kind from now on; 0 keeps it
};

// By record id. Companies (ordinary shares that are not investment or split-capital trusts) in order
// of market value: the largest 100 FTSE 100 (class 11; the largest 30 also FT 30), the next 80 FTSE
// 250 (class 11), the next 10 SmallCap, the rest AIM; every seventh company by value a TechMark share,
// every fourteenth also TechMark 100. Index records (class 1) carry the index market.
std::map<uint16_t, DemoMembership> DemoMemberships(const DemoDatabase& demo);

} // namespace qv::dev
