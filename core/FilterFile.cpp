// "Filter.cfg": the user's data-mining filters with their criteria, and the data-mining tables and
// graph settings that files of sub-version below 4 also carried.
#include "core/FilterFile.h"

#include "core/ConfigState.h"
#include "core/SaveProtocol.h"
#include "core/TaggedFile.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"

#include <algorithm>

namespace qv {

namespace {

constexpr uint8_t kFilterMark = 'F';
constexpr uint8_t kCriterionMark = 'C';
constexpr uint32_t kCriterionLengthWord = 28;
constexpr size_t kMaxStoredText = 255;
// A filter loaded from the file keeps only the flags that describe it; whether it is read-only or
// the edition's is never stored (such filters are not saved).
constexpr uint8_t kStoredFlags = kFilterOutOfDate | kFilterPortfolioSource;
constexpr float kUnsetDataMax = -9e-37f;
constexpr uint8_t kLowestFormatLevel = 99;
constexpr uint8_t kHighestVersionRead = 5;
constexpr const char* kFilterFileName = "Filter.cfg";
constexpr const char* kOlderFilterFileName = "Filter.old";

std::string_view Stored(const std::string& text)
{
    return std::string_view(text).substr(0, std::min(text.size(), kMaxStoredText));
}

// A one-byte length and the text.
bool ReadShortText(ByteReader& in, std::string& text)
{
    uint8_t length = 0;
    if (!in.u8(length))
        return false;
    std::span<const uint8_t> bytes = in.take(length);
    if (!in.ok())
        return false;
    text.assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return true;
}

void WriteShortText(ByteWriter& out, std::string_view text)
{
    out.u8(uint8_t(text.size()));
    out.bytes(text.data(), text.size());
}

// The head of a configuration-style item: u16 length, u8 slot, u8 name length (0: no name), then
// the name with its terminating zero. The name bytes counted are left in nameLength.
bool ReadItemHead(ByteReader& in, uint16_t& length, uint8_t& slot, std::optional<std::string>& name,
                  uint8_t& nameLength)
{
    if (!in.u16(length) || !in.u8(slot) || !in.u8(nameLength) || slot >= kDataMiningSlotCount)
        return false;
    std::span<const uint8_t> bytes = in.take(nameLength);
    if (!in.ok() || length < nameLength)
        return false;
    name.reset();
    if (nameLength > 0) {
        auto end = std::find(bytes.begin(), bytes.end(), uint8_t(0));
        name.emplace(bytes.begin(), end);
    }
    return true;
}

// Older files: the length word counts the sort byte, so the columns are length - name - 1 bytes.
bool ReadLegacyTable(ByteReader& in, LegacyDataMiningTable& table)
{
    uint16_t length = 0;
    uint8_t nameLength = 0;
    if (!ReadItemHead(in, length, table.slot, table.name, nameLength))
        return false;
    if (length < nameLength + 1 || !in.i8(table.sortByte))
        return false;
    std::span<const uint8_t> columns = in.take(length - nameLength - 1);
    table.columns.assign(columns.begin(), columns.end());
    return in.ok();
}

bool ReadLegacyGraphName(ByteReader& in, LegacyDataMiningSettings& legacy)
{
    uint16_t length = 0;
    uint8_t slot = 0;
    uint8_t nameLength = 0;
    std::optional<std::string> name;
    if (!ReadItemHead(in, length, slot, name, nameLength))
        return false;
    if (name)
        legacy.graphNames[slot] = std::move(name);
    return in.skip(length - nameLength);
}

bool ReadLegacySettings(ByteReader& in, LegacyDataMiningSettings& legacy)
{
    std::span<const uint8_t> block = in.take(kLegacyDataMiningBlockSize);
    if (!in.ok())
        return false;
    std::copy_n(block.begin(), legacy.optionBytes.size(), legacy.optionBytes.begin());
    for (size_t i = 0; i < kDataMiningSlotCount; ++i)
        std::copy_n(block.begin() + 60 + i * kDataMiningGraphRecordSize, kDataMiningGraphRecordSize,
                    legacy.graphs[i].begin());
    legacy.tables.resize(kDataMiningSlotCount);
    for (LegacyDataMiningTable& table : legacy.tables)
        if (!ReadLegacyTable(in, table))
            return false;
    for (size_t i = 0; i < kDataMiningSlotCount; ++i)
        if (!ReadLegacyGraphName(in, legacy))
            return false;
    return true;
}

bool ReadCriterion(ByteReader& in, uint8_t level, DMCriterion& c)
{
    uint32_t lengthWord = 0;
    uint8_t mark = 0;
    uint8_t unused = 0;
    in.u32(lengthWord);
    in.u8(mark);
    in.u8(c.kind);
    in.u8(c.parameter);
    in.u8(c.mode);
    in.u32(c.setting);
    in.u16(c.secondSetting);
    in.u8(unused);
    in.u8(c.inverted);
    in.f32(c.upper);
    in.f32(c.lower);
    in.u32(c.firstDate);
    in.u32(c.secondDate);
    if (!in.ok())
        return false;
    if (level < kFilterFormatLevel)
        c.upper = c.lower = 0;
    if (c.upper < c.lower)
        std::swap(c.upper, c.lower); // a damaged range is repaired, not refused
    c.status = 0;
    c.dataMax = kUnsetDataMax;
    c.dataMin = 0;
    return true;
}

bool ReadFilter(ByteReader& in, uint8_t level, DMFilter& filter)
{
    uint32_t recordLength = 0;
    uint8_t mark = 0;
    uint16_t criteriaCount = 0;
    uint32_t notMeaningful = 0;
    in.u32(recordLength);
    in.u8(mark);
    in.u8(filter.flags);
    in.u16(criteriaCount);
    in.u16(filter.sourceKind);
    in.u16(filter.portfolioNumber);
    in.u32(notMeaningful);
    for (uint32_t& axis : filter.axes)
        in.u32(axis);
    if (!in.ok() || mark != kFilterMark)
        return false;
    filter.flags &= kStoredFlags;
    if (!ReadShortText(in, filter.name) || !ReadShortText(in, filter.note))
        return false;
    if (recordLength != 30 + filter.name.size() + filter.note.size())
        return false;
    if (size_t(criteriaCount) * kCriterionRecordSize > in.remaining())
        return false;
    filter.criteria.resize(criteriaCount);
    for (DMCriterion& c : filter.criteria)
        if (!ReadCriterion(in, level, c))
            return false;
    return true;
}

// Selector tables of format levels below 101, indexed by the stored selector; a selector beyond a
// table is left as it is.
template <size_t N> void MapSelector(uint8_t& selector, const uint8_t (&table)[N])
{
    if (selector < N)
        selector = table[selector];
}

void ConvertBelowLevel101(DMCriterion& c)
{
    static constexpr uint8_t kPriceSelectors[] = {0, 1, 8, 9, 10, 11, 0, 3, 4, 5, 6};
    static constexpr uint8_t kAverageSelectors[] = {3, 6, 7};
    static constexpr uint8_t kKind12Selectors[] = {9, 10, 11, 0, 3, 4, 5, 6};
    uint8_t k = c.kind;
    if (k == 0)
        MapSelector(c.parameter, kPriceSelectors);
    else if (k == 1)
        MapSelector(c.parameter, kAverageSelectors);
    else if (k == 12) {
        int32_t v = int32_t(c.setting);
        c.setting = uint32_t((v & 0xF) + (v >> 12));
        MapSelector(c.parameter, kKind12Selectors);
    } else if (k == 3)
        c.secondSetting = uint16_t(c.secondSetting + 3);
    if (k > 0)
        c.kind = uint8_t(k - 1);
}

void RenumberKindBelowSubVersion5(DMCriterion& c)
{
    static constexpr uint8_t kNewKind[] = {0, 11, 13, 3, 4, 5, 6, 7, 8, 9, 10, 1, 12, 2, 14};
    if (c.kind < std::size(kNewKind))
        c.kind = kNewKind[c.kind];
}

void ConvertOlderFilter(DMFilter& filter, const FilterFileFormat& format)
{
    if (format.subVersion == 0 && filter.axes == std::array<uint32_t, 3>{0, 0, 0})
        filter.axes = {1, 2, 0};
    for (uint32_t& axis : filter.axes)
        if (int32_t(axis) < 0 || axis > filter.criteria.size())
            axis = 0;
    for (DMCriterion& c : filter.criteria) {
        if (format.level < 101)
            ConvertBelowLevel101(c);
        if (format.subVersion < 3) {
            c.inverted = 0;
            if (c.mode != 0)
                c.mode = 2;
        }
        if (format.subVersion < 5)
            RenumberKindBelowSubVersion5(c);
    }
}

void WriteCriterion(ByteWriter& out, const DMCriterion& c)
{
    out.u32(kCriterionLengthWord);
    out.u8(kCriterionMark);
    out.u8(c.kind);
    out.u8(c.parameter);
    out.u8(c.mode);
    out.u32(c.setting);
    out.u16(c.secondSetting);
    out.u8(0);
    out.u8(c.inverted);
    out.f32(c.upper);
    out.f32(c.lower);
    out.u32(c.firstDate);
    out.u32(c.secondDate);
}

size_t StoredCriteriaCount(const DMFilter& filter) { return std::min<size_t>(filter.criteria.size(), 0xFFFF); }

void WriteFilter(ByteWriter& out, const DMFilter& filter)
{
    std::string_view name = Stored(filter.name);
    std::string_view note = Stored(filter.note);
    size_t count = StoredCriteriaCount(filter);
    out.u32(uint32_t(30 + name.size() + note.size()));
    out.u8(kFilterMark);
    out.u8(filter.flags);
    out.u16(uint16_t(count));
    out.u16(filter.sourceKind);
    out.u16(filter.portfolioNumber);
    out.u32(0);
    for (uint32_t axis : filter.axes)
        out.u32(axis <= count ? axis : 0);
    WriteShortText(out, name);
    WriteShortText(out, note);
    for (size_t i = 0; i < count; ++i)
        WriteCriterion(out, filter.criteria[i]);
}

// The filters a save writes: all but the read-only ones, as many as the header's count can hold.
std::vector<const DMFilter*> SavedFilters(const std::vector<std::unique_ptr<DMFilter>>& filters)
{
    std::vector<const DMFilter*> saved;
    for (const auto& filter : filters)
        if (!filter->readOnly() && saved.size() < 0xFFFF)
            saved.push_back(filter.get());
    return saved;
}

} // namespace

std::optional<FilterFileContents> ReadFilterBody(ByteReader& in, const FilterFileFormat& format)
{
    FilterFileContents contents;
    contents.currentPosition = format.currentPosition;
    if (format.subVersion < 4) {
        contents.legacy.emplace();
        if (!ReadLegacySettings(in, *contents.legacy))
            return std::nullopt;
    }
    for (uint16_t i = 0; i < format.filterCount; ++i) {
        auto filter = std::make_unique<DMFilter>();
        if (!ReadFilter(in, format.level, *filter))
            return std::nullopt;
        contents.filters.push_back(std::move(filter));
    }
    for (auto& filter : contents.filters)
        ConvertOlderFilter(*filter, format);
    return contents;
}

void WriteFilterBody(ByteWriter& out, const std::vector<std::unique_ptr<DMFilter>>& filters)
{
    for (const DMFilter* filter : SavedFilters(filters))
        WriteFilter(out, *filter);
}

uint32_t FilterFileLength(const std::vector<std::unique_ptr<DMFilter>>& filters)
{
    size_t length = 16;
    for (const DMFilter* filter : SavedFilters(filters))
        length += kFilterRecordHeadSize + 2 + Stored(filter->name).size() + Stored(filter->note).size() +
                  kCriterionRecordSize * StoredCriteriaCount(*filter);
    return uint32_t(length);
}

uint16_t SavedFilterCount(const std::vector<std::unique_ptr<DMFilter>>& filters)
{
    return uint16_t(SavedFilters(filters).size());
}

void InstallLoadedFilters(std::optional<FilterFileContents> contents)
{
    ClearFilterList();
    uint16_t position = 0;
    if (contents) {
        for (auto& filter : contents->filters)
            FilterList().push_back(std::move(filter));
        position = contents->currentPosition;
        if (contents->legacy)
            ApplyLegacyDataMiningSettings(*contents->legacy, Config());
    }
    LoadEditionFilters();
    auto& filters = FilterList();
    if (position < filters.size())
        SetCurrentFilter(filters[position].get());
    else
        SetCurrentFilter(filters.empty() ? nullptr : filters.front().get());
}

void ApplyLegacyDataMiningSettings(const LegacyDataMiningSettings& legacy, ConfigState& config)
{
    config.dataMining.bytes = legacy.optionBytes;
    config.optionsA.setDataMiningWord(config.dataMining.pack());
    for (size_t slot = 0; slot < kDataMiningSlotCount; ++slot) {
        std::copy(legacy.graphs[slot].begin(), legacy.graphs[slot].end(), config.dataMiningGraphs.records[slot].bytes.begin());
        if (legacy.graphNames[slot])
            config.dataMiningGraphs.names[slot] = legacy.graphNames[slot];
    }
    for (const LegacyDataMiningTable& table : legacy.tables) {
        TableSlot& design = config.dataMiningTables.designs[table.slot];
        design.name = table.name;
        design.sort = table.sortByte;
        design.chain = table.columns;
    }
}

std::optional<FilterFileContents> ReadFilterFile(std::span<const uint8_t> image)
{
    ByteReader in(image);
    TaggedFileHeader header;
    if (!header.read(in) || header.byte6 < kLowestFormatLevel || header.version > kHighestVersionRead)
        return std::nullopt;
    FilterFileFormat format;
    format.version = header.version;
    format.subVersion = header.subVersion;
    format.level = header.byte6;
    format.filterCount = header.low8();
    format.currentPosition = header.high8();
    return ReadFilterBody(in, format);
}

std::vector<uint8_t> BuildFilterFile(const std::vector<std::unique_ptr<DMFilter>>& filters, const DMFilter* current)
{
    int position = 0;
    for (size_t i = 0; i < filters.size(); ++i)
        if (filters[i].get() == current)
            position = int(std::min<size_t>(i, 0xFFFF));
    TaggedFileHeader header;
    header.tag = file_tag::kFilter;
    header.version = kFilterFileVersion;
    header.subVersion = kFilterFileSubVersion;
    header.byte6 = kFilterFormatLevel;
    header.setWords8(SavedFilterCount(filters), uint16_t(position));
    header.word12 = FilterFileLength(filters);
    ByteWriter out;
    header.write(out);
    WriteFilterBody(out, filters);
    return out.take();
}

bool LoadFilters(std::string_view name)
{
    std::optional<std::vector<uint8_t>> image = ReadFileBytes(AppPath(name));
    std::optional<FilterFileContents> contents = image ? ReadFilterFile(*image) : std::nullopt;
    bool loaded = contents.has_value();
    InstallLoadedFilters(std::move(contents));
    return loaded;
}

bool LoadFiltersAtStartUp()
{
    if (LoadFilters(kFilterFileName))
        return true;
    fs::path current = AppPath(kFilterFileName);
    std::error_code error;
    if (fs::exists(current, error))
        SetRejectedFileAside(current);
    return LoadFilters(kOlderFilterFileName);
}

bool SaveFilters(bool final)
{
    SaveResult result = SaveFileImage(FilterSavePlan(), BuildFilterFile(FilterList(), CurrentFilter()));
    if (final)
        ClearFilterList();
    return result == SaveResult::Saved;
}

} // namespace qv
