// "Quorva.cfg" images in any of the layouts the loader reads.
#include "devtools/lib/ConfigFixture.h"

#include "core/ConfigItem.h"
#include "platform/ByteOrder.h"

#include <span>

namespace qv::dev {

namespace {

class FixtureWriter {
public:
    FixtureWriter(const ConfigState& state, const ConfigFixtureLayout& layout)
        : s_(state), layout_(layout)
    {
    }

    std::vector<uint8_t> run()
    {
        out_.bytes("ZQAA", 4);
        out_.u8(layout_.version);
        out_.u8(layout_.subVersion);
        out_.zeros(2);
        out_.u16(s_.optionsB.databaseWordA());
        out_.u16(s_.optionsB.databaseDate());
        out_.u32(0);
        out_.bytes(s_.optionsB.data(), OptionBlockB::kSize);
        out_.u16(uint16_t(kCurrentSettingTableBytes));
        out_.bytes(s_.currentSettings.data(), kCurrentSettingTableBytes);

        listTables();
        tables(s_.tranTables, false, true);
        graphs(s_.dailyGraphs);
        if (current())
            graphs(s_.intradayGraphs);
        out_.bytes(s_.optionsA.data(), OptionBlockA::kSize);
        if (!(v() == 1 && sub() < 3)) {
            tables(s_.dealTables, true, true);
            tables(s_.cashTables, false, true);
        }
        if (!(v() == 1 && sub() < 9))
            tables(s_.newsTables, true, true);
        if (!(v() == 1 && sub() < 14)) {
            tables(s_.dataMiningTables, true, true);
            for (size_t i = 0; i < kSettingSlots; ++i)
                WriteConfigItem(out_, uint8_t(i), s_.dataMiningGraphs.records[i].bytes,
                                s_.dataMiningGraphs.names[i]);
        }
        if (current())
            newerFamilies();
        out_.patchU32(12, uint32_t(out_.size()));
        return out_.take();
    }

private:
    uint8_t v() const { return layout_.version; }
    uint8_t sub() const { return layout_.subVersion; }
    bool current() const { return v() >= 3; }

    void item(uint8_t type, std::span<const uint8_t> data, const std::optional<std::string>& name,
              const int8_t* sort, long lengthAdjust)
    {
        size_t nameBytes = name ? name->size() + 1 : 0;
        out_.u16(uint16_t(long(nameBytes + data.size()) + lengthAdjust));
        out_.u8(type);
        out_.u8(uint8_t(nameBytes));
        if (name)
            out_.cString(*name);
        if (sort)
            out_.i8(*sort);
        out_.bytes(data.data(), data.size());
    }

    void listTables()
    {
        for (size_t i = 0; i < kSettingSlots; ++i) {
            const auto& slot = s_.listTables.designs[i];
            item(uint8_t(i), slot.chain, slot.name, &slot.sort, sub() < 23 ? 1 : 0);
        }
    }

    void tables(const TableFamily& family, bool hasSort, bool hasStyles)
    {
        for (size_t i = 0; i < kSettingSlots; ++i) {
            const auto& slot = family.designs[i];
            item(uint8_t(i), slot.chain, slot.name, hasSort ? &slot.sort : nullptr, 0);
            if (hasStyles && sub() > 21)
                WriteConfigItem(out_, uint8_t(i), family.styles[i].bytes, std::nullopt);
        }
    }

    void graphs(const NamedRecordFamily<GraphSetting>& family)
    {
        for (size_t i = 0; i < kSettingSlots; ++i) {
            const auto& name = family.names[i];
            long nameBytes = name ? long(name->size() + 1) : 0;
            item(uint8_t(i), family.records[i].bytes, name, nullptr, sub() <= 21 ? 4 - nameBytes : 0);
        }
    }

    void newerFamilies()
    {
        for (size_t i = 0; i < kSettingSlots; ++i)
            WriteConfigItem(out_, uint8_t(i), s_.listTables.styles[i].bytes, std::nullopt);
        for (size_t i = 0; i < s_.tradeTables.size(); ++i) {
            const auto& entry = s_.tradeTables[i];
            auto type = uint8_t(i % kSettingSlots);
            WriteConfigItem(out_, type, entry.record.bytes, entry.name);
            item(type, entry.chain, std::nullopt, nullptr, 0);
        }
        for (size_t i = 0; i < kSettingSlots; ++i) {
            std::span<const uint8_t> data = s_.tickers.records[i].bytes;
            WriteConfigItem(out_, uint8_t(i), data.first(layout_.tickerBytes), s_.tickers.names[i]);
        }
        const auto& alarms = s_.intradayAlarms;
        WriteConfigItem(out_, 0, alarms.actions.bytes, alarms.logFile);
        WriteConfigItem(out_, 0, {}, alarms.soundFile);
        std::span<const uint8_t> settings = alarms.settings.bytes;
        WriteConfigItem(out_, 0, settings.first(layout_.alarmSettingBytes), std::nullopt);
    }

    const ConfigState& s_;
    ConfigFixtureLayout layout_;
    ByteWriter out_;
};

} // namespace

std::vector<uint8_t> WriteConfigFixture(const ConfigState& state, const ConfigFixtureLayout& layout)
{
    return FixtureWriter(state, layout).run();
}

} // namespace qv::dev
