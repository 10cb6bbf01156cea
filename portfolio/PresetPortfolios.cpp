// Filling the New Highs, New Lows and the two alarm portfolios.
#include "portfolio/PresetPortfolios.h"

#include "core/Database.h"
#include "core/PriceStatistics.h"
#include "core/RecordAccess.h"
#include "core/ShareStatistics.h"
#include "platform/ByteOrder.h"
#include "portfolio/AlarmPortfolios.h"

namespace qv {

void FillHighLowPortfolio(Portfolio* p, bool highs)
{
    if (!p)
        return;
    const uint16_t base = HighLowBaseDate();
    const size_t field = highs ? kStatPeriodHighDate : kStatPeriodLowDate;
    for (uint8_t* r = MainRecordBlock; r && RecordLength(r) != 0; r = NextRecord(r)) {
        uint8_t* sub = FirstSubRecord(r);
        for (uint32_t j = 0;; ++j) {
            uint16_t date = LoadU16(sub + field);
            if (date != 0 && date >= base)
                AddPortfolioEntry(*p, RecordCursor{r, j});
            if (SubRecordLength(sub) == 0)
                break;
            sub += SubRecordLength(sub);
        }
    }
}

void FillNewLows(Portfolio* p) { FillHighLowPortfolio(p, false); }
void FillNewHighs(Portfolio* p) { FillHighLowPortfolio(p, true); }

void UpdatePresetPortfolios()
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next) {
        if (p->type == kPresetList && p->number == kAlarmsNumber)
            FillPriceAlarms(p, 0);
        if (p->type == kPresetList && p->number == kGlobalAlarmsNumber)
            FillMoveAlarms(p);
        if (p->type != kPresetList || (p->number != kNewLowsNumber && p->number != kNewHighsNumber))
            continue;
        if (p->entries && p->entryBytes >= sizeof(RecordCursor))
            p->entries[0] = RecordCursor{};
        p->last = p->current = 0;
        FillHighLowPortfolio(p, p->number == kNewHighsNumber);
    }
}

void UpdateShareAlarmPortfolio()
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kPresetList && p->number == kAlarmsNumber)
            FillPriceAlarms(p, 0);
}

void UpdateGlobalAlarmPortfolio()
{
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kPresetList && p->number == kGlobalAlarmsNumber)
            FillMoveAlarms(p);
}

} // namespace qv
