// Fuzzes the date and number texts: typed dates, six-digit dates and decimals from arbitrary text,
// and every formatter over arbitrary packed dates, values and options.
#include "core/DateText.h"
#include "core/FormatNumber.h"
#include "core/FormatValue.h"
#include "core/PackedDate.h"
#include "core/TradingCalendar.h"

#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

template <typename T>
T Take(const uint8_t*& data, size_t& size)
{
    T value{};
    size_t n = size < sizeof(T) ? size : sizeof(T);
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace qv;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    ParseDate(text);
    ParseYYMMDD(text, size > 0 ? data[0] % 8 : 0);
    double parsed = 0;
    ParseDecimal(parsed, text);

    PackedDate date = Take<uint16_t>(data, size);
    uint8_t style = Take<uint8_t>(data, size);
    FormatDate(date);
    FormatDateWithDay(date);
    FormatDateWithWeek(date);
    FormatLongDate(date);
    FormatMonthShortYear(date);
    FormatTaxYear(date);
    FormatDateStyled(date, style, '-');
    NextWeekdayCursor({date, uint8_t(style % 8)});
    PreviousWeekdayCursor({date, uint8_t(style % 8)});
    PreviousWeekday(date, true);
    CountTradingDays(date, PackedDate(date + style * 8));
    DayNumberToDate(DateToDayNumber(date));

    double d = Take<double>(data, size);
    int32_t digits = Take<int8_t>(data, size);
    int32_t reserve = Take<int8_t>(data, size);
    FormatAmount(d);
    FormatMoney(d, style & 1, style & 2);
    FormatSignificantDigits(d, digits, Take<double>(data, size), reserve);
    int exponent = 0;
    FindMagnitude(d, exponent);
    FormatClockTime(Take<uint32_t>(data, size), style & 4);

    ValueTextRequest r;
    r.value = Take<float>(data, size);
    r.style = style;
    r.digitLimit = Take<uint8_t>(data, size);
    r.autoDecimals = Take<uint8_t>(data, size) & 1;
    r.zeroMode = Take<uint8_t>(data, size);
    r.noSeparators = Take<uint8_t>(data, size) & 1;
    ValueTextRequest price = r;
    FormatValueText(r);
    uint8_t how = Take<uint8_t>(data, size);
    FormatPriceText(price, GetCurrencyUnitSymbols(how % 9), how / 9 % 3, how & 0x40, how & 0x80);
    return 0;
}
