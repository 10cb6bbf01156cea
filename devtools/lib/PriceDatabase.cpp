// Database files with encoded price histories.
#include "devtools/lib/PriceDatabase.h"


#include "core/RecordAccess.h"
#include "core/RecordFlags.h"
#include "devtools/lib/DemoCompanyFields.h"
#include "devtools/lib/DemoCompanyTexts.h"
#include "devtools/lib/DemoAlarms.h"
#include "devtools/lib/DemoDealings.h"
#include "devtools/lib/DemoIndexMembers.h"
#include "devtools/lib/DemoImportFiles.h"
#include "devtools/lib/DemoIntraday.h"
#include "devtools/lib/DemoNews.h"
#include "devtools/lib/InfoCentreWriter.h"
#include "devtools/lib/ShareFieldTable.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"

#include <cstdio>
#include <map>
#include <stdexcept>

namespace qv::dev {

namespace {

constexpr uint8_t kCurrencyField = 129;
constexpr uint8_t kEpicField = 128;
constexpr uint8_t kResultsCurrencyField = 115;
constexpr uint8_t kFirstBlockField = 118;
constexpr uint8_t kBlockFields = 5;

// A results-table entry as a record item.
DbItem ResultsItem(const DemoResultsEntry& e)
{
    DbItem item;
    uint8_t* b = item.bytes.data();
    StoreU16(b, e.date);
    b[2] = e.kind;
    StoreF32(b + 4, e.profit);
    StoreF32(b + 8, e.eps);
    StoreF32(b + 12, e.dividend);
    StoreF32(b + 16, e.turnover);
    return item;
}

} // namespace

DbSubRecord PriceSubRecord(uint8_t kind, float issueFigure, const PriceHistory& history)
{
    DbSubRecord sub;
    sub.kind = kind;
    sub.issueFigure = issueFigure;
    sub.priceScale = history.scale;
    sub.firstDate = history.firstDate;
    std::string error;
    if (!EncodePriceStream(history, sub.body, &error))
        throw std::invalid_argument(error);
    return sub;
}

CodedCompanyTexts DemoCodedTexts(const DemoDatabase& demo)
{
    std::map<uint16_t, std::string> texts;
    for (const DemoRecord& r : demo.records) {
        if (!r.description.empty())
            texts[r.id] = r.description;
    }
    if (texts.empty())
        return {};
    auto coded = CodeCompanyTexts(texts, DemoTextPhrases(), DemoTextWords());
    if (!coded)
        throw std::invalid_argument("the company descriptions have no coding");
    return *coded;
}

DbFile DemoDbFile(const DemoDatabase& demo)
{
    DbFile file;
    file.formatVersion = 1;
    file.databaseVersion = 1;
    file.wordA = 1;
    file.date = demo.databaseDate;
    DbEntry& entry = file.entries.emplace_back();
    std::map<uint16_t, DemoMembership> members = DemoMemberships(demo);
    for (const DemoRecord& r : demo.records) {
        DbRecord record = ShareRecord(r.id, r.name, r.classByte, r.streams.front().epic);
        record.head[0] = r.streams.front().currency & 7;
        record.head[kSectorWordOffset - 4] = uint8_t(r.sectorWord);
        record.head[kSectorWordOffset - 3] = uint8_t(r.sectorWord >> 8);
        const DemoMembership& member = members[r.id];
        record.head[kRecordFlagsOffset - 4] = uint8_t(member.flags);
        record.head[kRecordFlagsOffset - 3] = uint8_t(member.flags >> 8);
        for (const DemoResultsEntry& e : r.results)
            record.items.push_back(ResultsItem(e));
        record.subRecords.clear();
        for (const DemoStream& s : r.streams) {
            bool first = &s == &r.streams.front();
            uint8_t kind = first && member.ordinaryKind ? member.ordinaryKind : s.kind;
            record.subRecords.push_back(PriceSubRecord(kind, s.issueFigure, s.history));
        }
        entry.records.push_back(std::move(record));
    }
    entry.extra = DemoShareFieldTable();
    // The first entry's extra block is the list tables' field table, so the coding tables go in a later
    // entry. The entry's stream is one zero-length record head, so that its stated size is bytes the file holds.
    std::vector<uint8_t> tables = DemoCodedTexts(demo).tablesBlock;
    if (!tables.empty()) {
        DbEntry& coding = file.entries.emplace_back();
        coding.extra = std::move(tables);
        coding.zeroRecordAfter = true;
    }
    return file;
}

CompFile DemoCompFile(const DemoDatabase& demo)
{
    CodedCompanyTexts texts = DemoCodedTexts(demo);
    CompFile comp;
    comp.records.descriptors = {{kResultsCurrencyField, 0xE0, {}}};
    if (!texts.coded.empty())
        comp.records.descriptors.push_back({kCodedDescriptionField, 0x00, {}});
    for (uint8_t field = kFirstBlockField; field < kFirstBlockField + kBlockFields; ++field)
        comp.records.descriptors.push_back({field, 0x00, {}});
    for (const FieldDescriptor& d : DemoCompanyFieldDescriptors())
        comp.records.descriptors.push_back(d);
    comp.records.descriptors.push_back({kConsensusField, 0xF0, {}});
    comp.records.descriptors.push_back({kAnalystsField, 0xE0, {}});
    comp.records.descriptors.push_back({kPreviousConsensusField, 0xF0, {}});
    comp.streams.descriptors = {{kEpicField, 0x00, {}}, {kCurrencyField, 0xE0, {}}};
    int company = 0;
    for (const DemoRecord& r : demo.records) {
        CompanyItem& item =
            comp.records.items.emplace_back(CompanyItem{r.id, 0, {{kResultsCurrencyField, {r.resultsCurrency}}}});
        if (auto coded = texts.coded.find(r.id); coded != texts.coded.end())
            item.values[kCodedDescriptionField] = coded->second;
        if (!r.description.empty())
            AddDemoCompanyFields(r, company++, item);
        if (r.analysts > 0) {
            item.values[kConsensusField] = {r.consensus, 0};
            item.values[kAnalystsField] = {r.analysts};
            item.values[kPreviousConsensusField] = {r.previousConsensus, 0};
        }
        // A block's length byte is the count byte of its field.
        for (size_t b = 0; b < r.detailedBlocks.size() && b < kBlockFields; ++b)
            item.values[uint8_t(kFirstBlockField + b)].assign(r.detailedBlocks[b].begin() + 1, r.detailedBlocks[b].end());
        for (size_t i = 0; i < r.streams.size(); ++i) {
            const DemoStream& s = r.streams[i];
            comp.streams.items.push_back({r.id, uint8_t(i), {{kEpicField, Text(s.epic)}, {kCurrencyField, {s.currency}}}});
        }
    }
    return comp;
}

bool WriteDemoVersionStamp(const std::filesystem::path& folder)
{
    std::string stamp = std::to_string(kDemoGeneratorVersion) + "\n";
    return WriteFileBytes(folder / kDemoVersionFile, std::vector<uint8_t>(stamp.begin(), stamp.end()));
}

bool WriteDemoFolder(const std::filesystem::path& folder, std::chrono::sys_days lastDay, std::string* error)
{
    try {
        DemoDatabase demo = BuildDemoDatabase(lastDay);
        DbFile file = DemoDbFile(demo);
        CompFile comp = DemoCompFile(demo);
        const DealingsFileSpec dealings = BuildDemoDealings(demo);
        if (WriteDatabaseFolder(folder, file, &comp) &&
            WriteFileBytes(folder / "data" / "DirDeal.dat", WriteDealingsFile(dealings).bytes) &&
            WriteFileBytes(folder / "Graph.cfg", DemoGraphConfig(BuildDemoAlarms(demo, dealings, demo.databaseDate))) &&
            WriteDemoIntraday(folder, demo, error) && WriteDemoInfoCentre(folder / "data" / "Content") &&
            WriteDemoNews(folder, demo) && WriteDemoImportFiles(folder / "Import", lastDay) &&
            WriteDemoVersionStamp(folder))
            return true;
        if (error)
            *error = "cannot write the data files";
    } catch (const std::exception& e) {
        if (error)
            *error = e.what();
    }
    return false;
}

DemoDatabase RandomDatabase(int shares, int years, std::chrono::sys_days lastDay, uint32_t seed)
{
    using namespace std::chrono;
    DemoDatabase db;
    db.databaseDate = ToPackedDate(lastDay);
    std::mt19937 rng(seed);
    sys_days first = lastDay - days{years * 365 + years / 4};
    auto draw = [&](double lo, double hi) { return lo + (hi - lo) * (double(rng()) / 4294967296.0); };
    DemoRecord calendar;
    calendar.id = kMarketCalendarId;
    calendar.name = "Market Calendar Index";
    WalkParameters index;
    index.startPrice = 300;
    index.dailyVolatility = 0.01;
    index.meanVolume = 1e8;
    calendar.streams.push_back({SubRecordKind::Index, 0, "MKT", 0, RandomWalkHistory(rng, first, lastDay, index)});
    db.records.push_back(std::move(calendar));
    for (int i = 0; i < shares; ++i) {
        WalkParameters w;
        // Prices that move by a few pence a day keep 25 years of full days inside one record.
        w.startPrice = draw(60, 300);
        w.annualDrift = draw(-0.03, 0.08);
        w.dailyVolatility = draw(0.006, 0.014);
        w.meanVolume = draw(1e4, 1e7);
        DemoRecord r;
        r.id = uint16_t(0x4000 + i);
        char name[32];
        std::snprintf(name, sizeof name, "Share %05d", i);
        r.name = name;
        char epic[16];
        std::snprintf(epic, sizeof epic, "S%04d", i);
        r.streams.push_back({SubRecordKind::Ordinary, float(draw(10, 500)), epic, 0,
                             RandomWalkHistory(rng, first, lastDay, w)});
        db.records.push_back(std::move(r));
    }
    return db;
}

} // namespace qv::dev
