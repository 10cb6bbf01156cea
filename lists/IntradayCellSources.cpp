// The list cells' intraday seams filled from the intraday engine.
#include "lists/IntradayCellSources.h"

#include "lists/CellValue.h"
#include "lists/ColumnHeading.h"
#include "realtime/IntradayCells.h"
#include "realtime/IntradayColumnSpec.h"

namespace qv {

void InstallIntradayCellSources()
{
    CellSources& cells = CurrentCellSources();
    cells.intradayValue = [](const uint8_t* record, uint32_t, int daysBack, int item, uint16_t option, float* value) {
        return IntradayCellValue(record, daysBack, item, option, *value);
    };
    cells.intradayFlash = [](const uint8_t* record, int item) { return IntradayCellFlash(record, item, IntradayNowMs()); };
    cells.intradayDay = IntradayCellDay;
    cells.intradayDirection = IntradayTradeDirection;
    SetIntradayHeadingSource(&CIntradayColumnSpec::Title);
}

} // namespace qv
