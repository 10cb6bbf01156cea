// The record flag word.
#include "core/RecordFlags.h"

#include "platform/ByteOrder.h"

namespace qv {

uint16_t RecordFlags(const uint8_t* record) { return LoadU16(record + kRecordFlagsOffset); }

} // namespace qv
