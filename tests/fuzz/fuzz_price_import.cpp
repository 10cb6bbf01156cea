// Fuzzes the price import reader on any text under settings drawn from the first bytes: the days it
// gives run in date order with values, and the record built from them decodes to those closes.
#include "core/ImportsFile.h"
#include "core/Memory.h"
#include "core/PriceImport.h"
#include "core/PriceStream.h"
#include "core/RecordAccess.h"
#include "platform/ByteOrder.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    qv::ImportSettings settings;
    settings.dateFormat = data[0];
    settings.delimiter = char(data[1]);
    settings.dateSeparator = char(data[2]);
    settings.commaDecimal = (data[3] & 1) != 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 4), size - 4);
    qv::ImportSeries series;
    const auto answer = [&](const std::string&) { return (data[3] & 2) == 0; };
    if (qv::ReadImportText(text, settings, "fuzz.exp", answer, series) != qv::ImportTextResult::Read)
        return 0;
    for (size_t i = 0; i < series.days.size(); ++i)
        if (series.days[i].value == 0 || !std::isfinite(series.days[i].value) || series.days[i].date == 0 ||
            (i > 0 && series.days[i].date <= series.days[i - 1].date) || series.name.size() > 50)
            std::abort();
    const std::optional<int16_t> scale = qv::ChooseImportScale(series.days);
    if (!scale || series.days.empty())
        return 0;
    const std::optional<std::vector<uint8_t>> stream = qv::EncodeImportStream(series.days, *scale);
    if (!stream)
        return 0;
    std::vector<uint8_t> record = qv::BuildImportedRecord(series.name, series.keywords, *scale, series.days.front().date,
                                                          series.days.back().value, *stream);
    if (record.size() > qv::kImportRecordLimit)
        return 0;
    qv::FinishImportedRecord(record.data(), qv::LoadU16(&record[qv::RecordLayout::FirstSubRecord]), record.size());
    const uint8_t* sub = qv::FirstSubRecord(record.data());
    qv::DayRecord* days = nullptr;
    const int32_t count = qv::DecodeSubRecordHistory(sub, qv::SubRecordEnd(record.data(), sub), days,
                                                     qv::kKeepNonPositivePrices, true, qv::CorrectionCursor{});
    // Each valued day decodes within one stored unit of what the file said.
    const double unit = *scale > 0 ? 1.0 / *scale : double(-*scale);
    size_t next = 0;
    for (int32_t i = 0; i < count && next < series.days.size(); ++i) {
        if (days[i].date != series.days[next].date)
            continue;
        if (std::fabs(double(days[i].close) - series.days[next].value) > unit + std::fabs(series.days[next].value) * 1e-6)
            std::abort();
        ++next;
    }
    qv::ProFree(days);
    if (next != series.days.size())
        std::abort();
    return 0;
}
