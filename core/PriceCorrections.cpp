// Lookup of the user's price corrections in the corrections store.
#include "core/PriceCorrections.h"

#include "core/LinesAndTextFiles.h"
#include "core/RecordAccess.h"

namespace qv {

CorrectionCursor GetPriceCorrections(uint16_t shareId, uint32_t streamNumber)
{
    const uint8_t* blob =
        PriceCorrectionStore().GetItem(ShareItemKey(shareId, uint16_t(streamNumber)), kPriceCorrectionKind, 0);
    uint32_t length = BlobLength(blob);
    if (length <= kPriceCorrectionHeadBytes)
        return {};
    CorrectionCursor cursor{blob + kPriceCorrectionHeadBytes, blob + length};
    return cursor.empty() ? CorrectionCursor{} : cursor;
}

CorrectionCursor GetCursorCorrections(const RecordCursor* cursor)
{
    if (cursor == nullptr || cursor->record == nullptr)
        return {};
    return GetPriceCorrections(RecordId(cursor->record), cursor->count);
}

} // namespace qv
