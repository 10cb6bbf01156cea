// Reading, widening and writing the imported items.
#include "core/ImportsFile.h"

#include "core/Memory.h"
#include "core/PriceCorrections.h"
#include "core/PriceStatistics.h"
#include "core/RecordAccess.h"
#include "core/RecordLists.h"
#include "core/SaveProtocol.h"
#include "core/TaggedFile.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"

#include <cstring>
#include <string>

namespace qv {
namespace {

constexpr uint8_t kImportsVersion = 2;
constexpr uint8_t kImportsSubVersion = 3;
// A record head reaches its first-sub-record offset and company-data link.
constexpr size_t kRecordFixedPart = RecordLayout::CompanyData + 4;
// The older sub-record layouts widen from these offsets.
constexpr size_t kVersion1Insert = 76;
constexpr size_t kOlderStatisticsInsert = 72;
constexpr size_t kStatisticsInsert = 60;
constexpr size_t kPeriodHigh = 32, kPeriodLow = 36, kStreamHigh = 52, kStreamLow = 56;

// A record being widened: its bytes, and where its price sub-record starts and ends.
struct ImportRecord {
    std::vector<uint8_t> bytes;
    size_t sub = 0;
    size_t subEnd = 0;

    // Puts n zero bytes at `at` within the price sub-record; false when `at` lies beyond it.
    bool insertInSub(size_t at, size_t n)
    {
        if (sub + at > subEnd)
            return false;
        bytes.insert(bytes.begin() + ptrdiff_t(sub + at), n, 0);
        subEnd += n;
        if (uint16_t subLength = LoadU16(&bytes[sub]))
            StoreU16(&bytes[sub], uint16_t(subLength + n));
        return true;
    }
};

bool Locate(ImportRecord& r)
{
    size_t first = LoadU16(&r.bytes[RecordLayout::FirstSubRecord]);
    if (first < kRecordFixedPart || first + SubRecordLayout::HeadSize > r.bytes.size())
        return false;
    r.sub = first;
    uint16_t subLength = LoadU16(&r.bytes[first]);
    r.subEnd = subLength ? first + subLength : r.bytes.size();
    return r.subEnd <= r.bytes.size() && r.subEnd >= first + SubRecordLayout::HeadSize;
}

// Whether the closes of the stream from offset 80 to the sub-record's end reach exactly these
// extremes. The stream is decoded in a scratch copy, never past the sub-record.
bool StreamMatches(const uint8_t* sub, const uint8_t* end, float high, float low)
{
    if (end - sub < ptrdiff_t(kSubRecordStream))
        return false;
    std::vector<uint8_t> scratch(sub, end);
    ComputeStreamStatisticsFrom(scratch.data(), scratch.data() + scratch.size(), CorrectionCursor{}, 0);
    StreamStatistics decoded = ReadStreamStatistics(scratch.data());
    bool anyDay = decoded.allTimeHigh != 0 || decoded.lastClose != 0;
    return anyDay && decoded.allTimeHigh == high && decoded.allTimeLow == low;
}

// A version 2.0 or 2.1 sub-record may already be in today's layout: its whole-stream extremes
// bracket its period extremes and match the closes of its stream.
bool StatisticsAlreadyCurrent(const ImportRecord& r)
{
    if (r.subEnd - r.sub < kStreamLow + 4)
        return false;
    const uint8_t* p = &r.bytes[r.sub];
    float high = LoadF32(p + kStreamHigh), low = LoadF32(p + kStreamLow);
    if (high < LoadF32(p + kPeriodHigh) || low > LoadF32(p + kPeriodLow))
        return false;
    return StreamMatches(p, r.bytes.data() + r.subEnd, high, low);
}

// Brings a record of an older file to today's layout; false when it does not fit.
bool Widen(ImportRecord& r, uint8_t version, uint8_t subVersion)
{
    size_t before = r.bytes.size();
    if (version == 1 && !r.insertInSub(kVersion1Insert, 4))
        return false;
    if (version == 2 && subVersion <= 1 && !StatisticsAlreadyCurrent(r) && !r.insertInSub(kOlderStatisticsInsert, 8))
        return false;
    if (version == 1 || subVersion < kImportsSubVersion) {
        if (!r.insertInSub(kStatisticsInsert, 20))
            return false;
        r.bytes.insert(r.bytes.begin() + RecordLayout::CompanyData, 4, 0);
        r.sub += 4;
        r.subEnd += 4;
        StoreU16(&r.bytes[RecordLayout::FirstSubRecord], uint16_t(r.sub));
    }
    // Today's price sub-record holds its statistics and links before its stream.
    if (r.bytes.size() - before > kImportSpareBytes || r.bytes.size() > 0xFFFF ||
        r.subEnd - r.sub < SubRecordLayout::Stream)
        return false;
    StoreU16(&r.bytes[RecordLayout::Length], uint16_t(r.bytes.size()));
    return true;
}

void Finish(ImportRecord& r)
{
    FinishImportedRecord(r.bytes.data(), r.sub, r.subEnd);
}

void Append(const ImportRecord& r)
{
    auto* block = static_cast<uint8_t*>(ProCalloc(uint32_t(r.bytes.size()) + kImportSpareBytes, 1, "Imported item"));
    std::memcpy(block, r.bytes.data(), r.bytes.size());
    RecordListNode** link = &ImportedItemList;
    while (*link)
        link = &(*link)->next;
    *link = NewListNode(block, 0);
    ++ImportedItemCount;
}

} // namespace

void FinishImportedRecord(uint8_t* record, size_t sub, size_t subEnd)
{
    uint8_t* price = record + sub;
    StoreU32(price + SubRecordLayout::CompanyData, 0);
    RecordCursor cursor{record, 0};
    ComputeStreamStatistics(price, record + subEnd, GetCursorCorrections(&cursor));
    price[3] = 0xFF;
    record[5] |= 0x30;
    record[7] = 0xFF;
    StoreU32(record + RecordLayout::CompanyData, 0);
}

ImportsRead LoadImportsImage(std::span<const uint8_t> image)
{
    FreeRecordList(&ImportedItemList, &ImportedItemCount);
    ByteReader in(image);
    TaggedFileHeader header;
    HeaderVerdict verdict = header.read(in) ? TestHeaderCombined(header, file_tag::kImports, 1, kImportsVersion)
                                            : HeaderVerdict::BadlyFormatted;
    if (verdict != HeaderVerdict::Accepted) {
        ShowHeaderMessage(TaggedFileKind::Imports, verdict);
        return ImportsRead::Rejected;
    }
    for (;;) {
        uint16_t length = 0;
        if (!in.u16(length))
            return ImportsRead::Damaged;
        if (length == 0)
            return ImportsRead::Whole;
        std::span<const uint8_t> stored = in.take(length);
        ImportRecord r;
        r.bytes.assign(stored.begin(), stored.end());
        bool sound = in.ok() && length >= kRecordFixedPart && LoadU16(stored.data()) == length && Locate(r) &&
                     Widen(r, header.version, header.subVersion);
        if (!sound)
            return ImportsRead::Damaged;
        Finish(r);
        Append(r);
    }
}

void LoadImports()
{
    std::filesystem::path file = AppPath(ImportsSavePlan().name);
    std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(file);
    if (!bytes) {
        FreeRecordList(&ImportedItemList, &ImportedItemCount);
        return;
    }
    switch (LoadImportsImage(*bytes)) {
    case ImportsRead::Whole: return;
    case ImportsRead::Rejected: SetRejectedFileAside(file); return;
    case ImportsRead::Damaged:
        SetDamagedFileAside(file, KeptItemsText(size_t(ImportedItemCount), "imported item", "imported items"));
        return;
    }
}

std::vector<uint8_t> BuildImportsImage()
{
    ByteWriter out;
    TaggedFileHeader header;
    header.tag = file_tag::kImports;
    header.version = kImportsVersion;
    header.subVersion = kImportsSubVersion;
    header.write(out);
    uint32_t count = 0;
    for (RecordListNode* node = ImportedItemList; node; node = node->next) {
        uint16_t length = RecordLength(node->record);
        out.u16(length);
        out.bytes(node->record, length);
        ++count;
    }
    out.u16(0);
    out.patchU32(8, count);
    out.patchU32(12, uint32_t(out.size()));
    return out.take();
}

bool SaveImports(bool final)
{
    bool saved = SaveFileImage(ImportsSavePlan(), BuildImportsImage()) == SaveResult::Saved;
    if (final)
        FreeRecordList(&ImportedItemList, &ImportedItemCount);
    return saved;
}

} // namespace qv
