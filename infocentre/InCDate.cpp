// The InfoCentre date from the local clock, with day counts stepped through the calendar.
#include "infocentre/InCDate.h"

#include "platform/Clock.h"

#include <chrono>

namespace qv {

uint16_t MakeInCDate(int year, int month, int day)
{
    return uint16_t((((year + 44) % 128) << 9) | ((month & 0x0F) << 5) | (day & 0x1F));
}

uint16_t InCDate()
{
    LocalDateTime now = NowLocal();
    return MakeInCDate(now.year, now.month, now.day);
}

uint16_t InCDateAfterDays(int days)
{
    using namespace std::chrono;
    LocalDateTime now = NowLocal();
    sys_days start = year_month_day{year{now.year}, month{unsigned(now.month)}, day{unsigned(now.day)}};
    year_month_day later{start + std::chrono::days{days}};
    return MakeInCDate(int(later.year()), int(unsigned(later.month())), int(unsigned(later.day())));
}

} // namespace qv
