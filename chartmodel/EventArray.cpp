// The daily chart's event array and the events it gathers.
#include "chartmodel/EventArray.h"

#include "chartmodel/GraphSettingLayout.h"
#include "core/CompanyData.h"
#include "core/Memory.h"
#include "core/Portfolio.h"
#include "core/RecordAccess.h"
#include "core/RecordCursor.h"
#include "platform/ByteOrder.h"
#include "portfolio/Transaction.h"

#include <algorithm>
#include <cstring>

namespace qv {
namespace gs = graphsetting;
namespace {

constexpr int32_t kFirstRoom = 10;

// The dated fields of a share record and the marker each one shows with.
struct DatedField {
    uint32_t field;
    int marker;
};
constexpr DatedField kDatedFields[15] = {{99, 4},  {100, 4}, {111, 4}, {107, 4}, {103, 4}, {104, 4}, {109, 4}, {105, 2},
                                         {106, 2}, {101, 3}, {102, 3}, {97, 3},  {98, 3},  {110, 1}, {108, 1}};
constexpr int kScaleChangeMarker = 8;

bool MarkerShown(const GraphSetting& setting, int k) { return gs::U8(setting, gs::EventEntry(k) + gs::kEventShown) != 0; }

// The close of the day, or of the last day before it; false before the first day.
bool CloseOn(const DayRecord* days, int32_t count, uint32_t date, float& close)
{
    const DayRecord* end = days + count;
    const DayRecord* after = std::upper_bound(days, end, date, [](uint32_t d, const DayRecord& r) { return d < r.date; });
    if (after == days)
        return false;
    close = (after - 1)->close;
    return true;
}

} // namespace

EventArray::EventArray() { InitDataArray(array_, kArrayKeyedTriples, kFirstRoom, 0, 0); }

EventArray::~EventArray() { FreeDataArray(array_); }

ChartEventEntry EventArray::At(int32_t i) const
{
    const auto* p = static_cast<const uint8_t*>(array_.data) + size_t(i) * kEventEntryBytes;
    return {LoadU32(p), LoadF32(p + 4), LoadU32(p + 8)};
}

std::vector<ChartEventEntry> EventArray::Entries() const
{
    std::vector<ChartEventEntry> out;
    for (int32_t i = 0; i < count_; ++i)
        out.push_back(At(i));
    return out;
}

bool EventArray::AddEvent(uint32_t date, float price, uint32_t marker)
{
    int32_t at = count_;
    for (int32_t i = 0; i < count_; ++i) {
        const ChartEventEntry e = At(i);
        if (e.date == date && e.marker == marker)
            return false;
        if (e.date > date && at == count_)
            at = i;
    }
    if (count_ == array_.count) {
        DataArray grown;
        auto* data = static_cast<uint8_t*>(InitDataArray(grown, kArrayKeyedTriples, array_.count * 2, 0, 0));
        std::memcpy(data, array_.data, size_t(count_) * kEventEntryBytes);
        FreeDataArray(array_);
        array_ = grown;
    }
    auto* base = static_cast<uint8_t*>(array_.data);
    std::memmove(base + size_t(at + 1) * kEventEntryBytes, base + size_t(at) * kEventEntryBytes,
                 size_t(count_ - at) * kEventEntryBytes);
    uint8_t* p = base + size_t(at) * kEventEntryBytes;
    StoreU32(p, date);
    StoreF32(p + 4, price);
    StoreU32(p + 8, marker);
    ++count_;
    return true;
}

namespace {

constexpr uint8_t kPurchase = 1;
constexpr uint8_t kSale = 2;
constexpr uint8_t kLatestRow = 15;

int TransactionMarker(uint8_t type) { return type == kPurchase ? 5 : type == kSale ? 6 : 7; }

void AddTransactions(EventArray& events, const GraphSetting& setting, const DayRecord* days, int32_t count,
                     const RecordCursor& share, const Portfolio& portfolio)
{
    const uint16_t id = RecordId(share.record);
    float close = 0;
    for (const Transaction* t = portfolio.transactions.get(); t; t = t->next) {
        if (t->type() == kLatestRow || t->shareId() != id)
            continue;
        const int marker = TransactionMarker(t->type());
        if (MarkerShown(setting, marker) && CloseOn(days, count, t->date(), close))
            events.AddEvent(t->date(), close, EventMarkerOffset(marker));
    }
}

} // namespace

void GatherChartEvents(EventArray& events, const GraphSetting& setting, const DayRecord* days, int32_t count,
                       const RecordCursor* share, const Portfolio* portfolio)
{
    if (!days || count <= 0)
        return;
    float close = 0;
    if (share && share->record) {
        for (const DatedField& f : kDatedFields) {
            if (!MarkerShown(setting, f.marker))
                continue;
            const uint8_t* descriptor = nullptr;
            const uint8_t* data = GetFieldDescriptor(f.field, &descriptor, share, 0);
            // Only a field of two bytes or more holds a date.
            const bool dated = data && descriptor && FixedFieldWidth(descriptor[1]) >= 2;
            const uint16_t date = dated ? LoadU16(data) : 0;
            if (date != 0 && date != 0xFFFF && CloseOn(days, count, date, close))
                events.AddEvent(date, close, EventMarkerOffset(f.marker));
        }
    }
    if (share && share->record && portfolio)
        AddTransactions(events, setting, days, count, *share, *portfolio);
    if (!MarkerShown(setting, kScaleChangeMarker))
        return;
    for (int32_t i = 1; i < count; ++i)
        if (days[i].unit != days[i - 1].unit)
            events.AddEvent(days[i].date, days[i].close, EventMarkerOffset(kScaleChangeMarker));
}

} // namespace qv
