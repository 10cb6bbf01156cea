// The price/earnings ratio of each record.
#include "core/ShareStatistics.h"

#include "core/Database.h"
#include "core/PackedDate.h"
#include "core/PriceStatistics.h"
#include "core/RecordAccess.h"
#include "platform/ByteOrder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qv {
namespace {

constexpr size_t kItemType = 2;
constexpr size_t kItemValue = 8;
constexpr size_t kItemTail = 12;

// Converts an amount in a foreign currency to pounds; nothing when the rate is unusable.
bool ToPounds(float& amount, uint32_t currency)
{
    const ExchangeRates& rates = GetExchangeRates();
    float rate = currency == kCurrencyEuro ? rates.euro : currency == kCurrencyUsDollar ? rates.usDollar : 1.0f;
    if (!(rate > 0))
        return false;
    amount /= rate;
    return true;
}

uint16_t Ratio(float close, float value)
{
    if (!(value > 0))
        return 0;
    double ratio = std::floor(double(close) * 100.0 / double(value) + 0.5);
    if (!(ratio > 0))
        return 0;
    return uint16_t(std::min(ratio, double(kHighestRatio)));
}

} // namespace

ExchangeRates& GetExchangeRates()
{
    static ExchangeRates rates;
    return rates;
}

HighLowOption& GetHighLowOption()
{
    static HighLowOption option;
    return option;
}

void UpdateRecordRatio(uint8_t* record, uint32_t stream)
{
    uint8_t textLength = record[RecordLayout::TextLength];
    uint8_t* countByte = record + RecordLayout::Text + textLength;
    uint8_t* items = countByte + 1;
    uint8_t count = *countByte;
    uint8_t* end = FirstSubRecord(record);
    if (count == 0 || items > end)
        return;
    RecordCursor cursor{record, stream};
    const uint8_t* sub = GetSubRecord(cursor, stream);
    float close = LoadF32(sub + kStatLastClose);

    const uint8_t* taken = nullptr;
    bool typeZeroMet = false;
    for (uint8_t i = 0; i < count && items + (i + 1) * RecordLayout::ItemSize <= end; ++i) {
        const uint8_t* item = items + i * RecordLayout::ItemSize;
        uint8_t type = item[kItemType];
        if (type != 0 && type != 2)
            continue;
        if (type == 2 && typeZeroMet)
            continue;
        typeZeroMet = typeZeroMet || type == 0;
        taken = item;
    }
    if (!taken)
        return;
    // The date and tail stored beside the value come from the item the value came from.
    std::memcpy(record + RecordLayout::EarningsItemTail, taken + kItemTail, 4);
    float value = LoadF32(taken + kItemValue);
    StoreF32(record + RecordLayout::EarningsValue, value);
    uint32_t results = GetFieldByte115(&cursor, 0);
    uint32_t prices = GetShareFieldType(&cursor, 0);
    bool usable = true;
    if (value > 0 && results != prices)
        usable = ToPounds(value, results) && ToPounds(close, prices);
    StoreU16(record + RecordLayout::Ratio, usable ? Ratio(close, value) : 0);
}

void UpdateAllRecordRatios()
{
    for (uint8_t* r = MainRecordBlock; r && RecordLength(r) != 0; r = NextRecord(r))
        UpdateRecordRatio(r, 0);
}

uint16_t HighLowBaseDate()
{
    const HighLowOption& option = GetHighLowOption();
    switch (option.mode) {
    case 1:
        return DayNumberToDate(std::max(0, DateToDayNumber(LatestDatabaseDate) - option.days));
    case 2:
        // No update has stored its date yet: the first database this configuration saw stands in,
        // as it does for the alarms' "previous update".
        return option.firstDate ? option.firstDate : FirstLoadDate;
    case 3:
        return option.secondDate;
    default:
        return LatestDatabaseDate;
    }
}

} // namespace qv
