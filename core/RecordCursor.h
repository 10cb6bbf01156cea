// How every view and every share-list entry addresses a record and one of its sub-records.
#pragma once

#include <cstdint>

namespace qv {

struct RecordCursor {
    uint8_t* record = nullptr; // a database record: u16 length, u16 id, ...
    uint32_t count = 0;        // the sub-record meant (0 = the first)
};

} // namespace qv
