// Building the image of "Quorva.cfg" to save: whole from memory, or one slot from memory with every
// other item copied from the file on disk.
#include "core/ConfigWriter.h"

#include "core/ConfigFormat.h"

#include "core/ConfigFamilies.h"
#include "core/ConfigItem.h"

namespace qv {

namespace {

constexpr uint16_t kClearedMarker = 0xFFFF;
constexpr uint32_t kDataMiningWordBits = 0x7FF;
constexpr uint8_t kEmptyChainBytes[1] = {0};
constexpr std::span<const uint8_t> kEmptyChain(kEmptyChainBytes);

class ConfigWriter {
public:
    ConfigWriter(ConfigState& state, int32_t selector, std::span<const uint8_t> imageOnDisk)
        : state_(state), selector_(selector), old_(imageOnDisk)
    {
    }

    // False when the image on disk could not be copied from.
    bool run();
    std::vector<uint8_t> take() { return std::move(image_); }

private:
    bool copying() const { return selector_ != kWholeConfig; }
    bool familySelected(ConfigFamily family) const
    {
        return (uint32_t(selector_) & kSelectorFamilyBits) == FamilyMask(family);
    }
    int selectedSlot() const { return int(uint32_t(selector_) & kSelectorSlotBits); }

    void writeHeader();
    bool writeFamily(ConfigFamily family);
    void writeSlot(ConfigFamily family, size_t slot);
    void writeTrailingItems();

    ConfigState& state_;
    int32_t selector_;
    ByteReader old_;
    ByteWriter out_;
    TaggedFileHeader header_;
    std::vector<uint8_t> image_;
};

bool ConfigWriter::run()
{
    writeHeader();
    out_.bytes(state_.optionsB.data(), OptionBlockB::kSize);
    out_.u16(uint16_t(kCurrentSettingTableBytes));
    out_.bytes(state_.currentSettings.data(), kCurrentSettingTableBytes);
    if (copying()) {
        uint16_t n = 0;
        old_.seek(TaggedFileHeader::kSize + OptionBlockB::kSize);
        old_.u16(n);
        old_.skip(n);
    }
    for (auto family : kConfigFileOrder) {
        if (!writeFamily(family))
            return false;
        if (family == ConfigFamily::IntradayGraphs) {
            out_.bytes(state_.optionsA.data(), OptionBlockA::kSize);
            if (copying() && !old_.skip(OptionBlockA::kSize))
                return false;
        }
    }
    writeTrailingItems();
    header_.version = kConfigVersion;
    header_.subVersion = kConfigSubVersion;
    header_.word12 = uint32_t(out_.size());
    auto image = out_.take();
    header_.writeOver(image);
    image_ = std::move(image);
    return true;
}

// A single-slot save keeps the header of the file on disk, with its identity words.
void ConfigWriter::writeHeader()
{
    if (copying()) {
        header_.read(old_);
    } else {
        header_.tag = file_tag::kConfiguration;
        header_.setWords8(state_.optionsB.databaseWordA(), state_.optionsB.databaseDate());
    }
    header_.write(out_);
}

bool ConfigWriter::writeFamily(ConfigFamily family)
{
    if (!copying()) {
        for (size_t slot = 0; slot < kSettingSlots; ++slot)
            writeSlot(family, slot);
        return true;
    }
    bool selected = familySelected(family);
    int skip = selected ? selectedSlot() : -1;
    bool sortA = FamilyHasSortByte(family);
    int perSlot = FamilyItemsPerSlot(family);
    for (size_t i = 0; i < kSettingSlots; ++i) {
        for (int part = 0; part < perSlot; ++part) {
            if (!CopyConfigItem(old_, out_, skip, false, part == 0 && sortA))
                return false;
        }
    }
    if (selected && size_t(selectedSlot()) < kSettingSlots)
        writeSlot(family, size_t(selectedSlot()));
    return true;
}

void ClearMarkerWords(GraphSetting& setting)
{
    for (size_t i = 0; i < GraphSetting::kMarkerEntryCount; ++i) {
        uint8_t* word = setting.data() + GraphSetting::kMarkerEntries + i * GraphSetting::kMarkerEntrySize;
        if (LoadU16(word) == kClearedMarker)
            StoreU16(word, 0);
    }
}

void ConfigWriter::writeSlot(ConfigFamily family, size_t slot)
{
    auto type = uint8_t(slot);
    if (auto* tables = TableFamilyOf(state_, family)) {
        const auto& table = tables->designs[slot];
        // Every slot keeps its item, so that the families after it stay in step, and a family that
        // needs names gets at least an empty one.
        auto chain = ChainLength(table.chain) ? std::span<const uint8_t>(table.chain) : kEmptyChain;
        auto name = table.name || !FamilyNeedsNames(family) ? table.name : std::optional<std::string>("");
        if (FamilyHasSortByte(family))
            WriteChainItemWithSort(out_, type, chain, name, table.sort);
        else
            WriteChainItem(out_, type, chain, name);
        if (FamilyHasStyleItems(family))
            WriteConfigItem(out_, type, tables->styles[slot].bytes, std::nullopt);
        return;
    }
    switch (family) {
    case ConfigFamily::DailyGraphs:
    case ConfigFamily::IntradayGraphs: {
        auto& graphs = family == ConfigFamily::DailyGraphs ? state_.dailyGraphs : state_.intradayGraphs;
        ClearMarkerWords(graphs.records[slot]);
        WriteConfigItem(out_, type, graphs.records[slot].bytes, graphs.names[slot]);
        return;
    }
    case ConfigFamily::DataMiningGraphs:
        WriteConfigItem(out_, type, state_.dataMiningGraphs.records[slot].bytes,
                        state_.dataMiningGraphs.names[slot]);
        return;
    case ConfigFamily::ListStyles:
        WriteConfigItem(out_, type, state_.listTables.styles[slot].bytes, std::nullopt);
        return;
    case ConfigFamily::Tickers:
        WriteConfigItem(out_, type, state_.tickers.records[slot].bytes, state_.tickers.names[slot]);
        return;
    default: {
        const auto& entry = state_.tradeTables[size_t(TradeKindOf(family)) * kSettingSlots + slot];
        WriteConfigItem(out_, type, entry.record.bytes, entry.name);
        WriteChainItem(out_, type, ChainLength(entry.chain) ? std::span<const uint8_t>(entry.chain) : kEmptyChain,
                       std::nullopt);
        return;
    }
    }
}

void ConfigWriter::writeTrailingItems()
{
    const auto& alarms = state_.intradayAlarms;
    WriteConfigItem(out_, 0, alarms.actions.bytes, alarms.logFile);
    WriteConfigItem(out_, 0, {}, alarms.soundFile);
    WriteConfigItem(out_, 0, alarms.settings.bytes, std::nullopt);
}

// Only an image of the current version can lend its items to a single-slot save; anything older
// would be copied raw under a current header.
bool CanCopyFrom(std::span<const uint8_t> image)
{
    ByteReader in(image);
    TaggedFileHeader header;
    return header.read(in) && TestConfigHeader(image) == HeaderVerdict::Accepted &&
           header.version == kConfigVersion && header.subVersion == kConfigSubVersion;
}

} // namespace

std::vector<uint8_t> WriteConfigImage(ConfigState& state, int32_t selector,
                                      std::span<const uint8_t> imageOnDisk)
{
    uint32_t otherBits = state.optionsA.dataMiningWord() & ~kDataMiningWordBits;
    state.optionsA.setDataMiningWord(otherBits | state.dataMining.pack());
    if (selector != kWholeConfig && CanCopyFrom(imageOnDisk)) {
        ConfigWriter copier(state, selector, imageOnDisk);
        if (copier.run())
            return copier.take();
    }
    ConfigWriter writer(state, kWholeConfig, {});
    writer.run();
    return writer.take();
}

} // namespace qv
