// The user's price corrections of a stream, kept in the "EditPrice.cfg" store under the share id and
// the stream number.
#pragma once

#include "core/PriceStream.h"
#include "core/RecordAccess.h"

#include <cstdint>

namespace qv {

// The corrections of stream `streamNumber` of the record with the id; empty when it has none.
CorrectionCursor GetPriceCorrections(uint16_t shareId, uint32_t streamNumber);

// The same for a cursor's record and sub-record; empty for a null cursor or record.
CorrectionCursor GetCursorCorrections(const RecordCursor* cursor);

} // namespace qv
