// Company calendars, contact details, previous names and partner views of the demo companies.
#include "devtools/lib/DemoCompanyFields.h"

#include "core/PackedDate.h"
#include "devtools/lib/DemoResults.h"
#include "platform/ByteOrder.h"

#include <cctype>
#include <cstdio>
#include <string>

namespace qv::dev {
namespace {

constexpr uint8_t kFloatDate = 0x60, kTelephone = 0x70, kWebsite = 0x71, kEmail = 0x72, kPreviousName = 0x75;
constexpr uint8_t kPartnerView = 123;
constexpr int kPreviousNameEvery = 9, kPartnerViewEvery = 7;

std::vector<uint8_t> DateValue(PackedDate d) { return {uint8_t(d), uint8_t(d >> 8)}; }

PackedDate AddDays(PackedDate d, int days)
{
    int32_t n = DateToDayNumber(d) + days;
    return DayNumberToDate(n);
}

// The last annual year end of the results table (class 0) and the first priced day of the stream.
PackedDate LastYearEnd(const DemoRecord& r)
{
    PackedDate last = 0;
    for (const DemoResultsEntry& e : r.results)
        if (e.kind == 0)
            last = e.date;
    return last;
}

std::string Slug(const std::string& name)
{
    std::string out;
    for (char c : name)
        if (std::isalnum(static_cast<unsigned char>(c)))
            out += char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::vector<uint8_t> PartnerView(const DemoRecord& r, int n, PackedDate yearEnd)
{
    std::vector<uint8_t> v(11, 0);
    PackedDate when = AddDays(yearEnd, 80 + n % 60);
    StoreU16(v.data(), when);
    v[2] = uint8_t(1 + n % 9);             // volume
    v[3] = uint8_t(1 + (n * 5) % 11);      // recommendation 1-11
    StoreF32(v.data() + 4, float(LastClose(r.streams.front())));
    v[8] = uint8_t(1 + n % 4);             // issue
    StoreU16(v.data() + 9, uint16_t(10 + n % 90)); // page
    return v;
}

} // namespace

std::vector<FieldDescriptor> DemoCompanyFieldDescriptors()
{
    std::vector<FieldDescriptor> d;
    for (uint8_t f = kFloatDate; f <= kFloatDate + 15; ++f)
        d.push_back({f, 0xF0, {}});
    for (uint8_t f : {kTelephone, kWebsite, kEmail, kPreviousName, kPartnerView})
        d.push_back({f, 0x00, {}});
    return d;
}

void AddDemoCompanyFields(const DemoRecord& r, int n, CompanyItem& item)
{
    PackedDate yearEnd = LastYearEnd(r);
    if (yearEnd == 0 || r.streams.empty())
        return;
    auto set = [&](uint8_t field, PackedDate d) { item.values[field] = DateValue(d); };
    const PackedDate nextYearEnd = AddDays(yearEnd, 365);
    const PackedDate interimsEnd = AddDays(yearEnd, -182);
    set(kFloatDate, r.streams.front().history.firstDate);
    set(0x61, AddDays(interimsEnd, 60));                // interims announcement
    set(0x62, AddDays(interimsEnd, 425));               // next interims
    set(0x63, yearEnd);
    set(0x64, nextYearEnd);
    set(0x65, AddDays(yearEnd, 70));                    // preliminary results
    set(0x66, AddDays(nextYearEnd, 70));
    set(0x67, AddDays(yearEnd, 100));                   // annual report
    set(0x68, AddDays(nextYearEnd, 100));
    set(0x69, AddDays(yearEnd, 130));                   // AGM
    set(0x6A, AddDays(nextYearEnd, 130));
    set(0x6B, AddDays(interimsEnd, 120));               // interims payment
    set(0x6C, AddDays(interimsEnd, 90));                // interims ex-dividend
    set(0x6D, interimsEnd);
    set(0x6E, AddDays(yearEnd, 110));                   // final ex-dividend
    set(0x6F, AddDays(yearEnd, 140));                   // final payment
    // Telephone numbers from the range kept for drama (020 7946 0000-0999).
    char phone[24];
    std::snprintf(phone, sizeof phone, "020 7946 %04d", n % 1000);
    item.values[kTelephone] = Text(phone);
    const std::string slug = Slug(r.name);
    item.values[kWebsite] = Text("www." + slug + ".example");
    item.values[kEmail] = Text("investors@" + slug + ".example");
    if (n % kPreviousNameEvery == 0)
        item.values[kPreviousName] = Text(r.name + " Holdings");
    if (n % kPartnerViewEvery == 0)
        item.values[kPartnerView] = PartnerView(r, n, yearEnd);
}

} // namespace qv::dev
