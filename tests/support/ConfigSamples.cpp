// Filled configurations for tests.
#include "support/ConfigSamples.h"

#include "tools/options/OptionSettings.h"

#include <string>

namespace qv::test {

namespace {

template <size_t N>
void Fill(std::mt19937& rng, SizedRecord<N>& record)
{
    for (auto& b : record.bytes)
        b = uint8_t(rng());
}

std::string Name(const char* stem, size_t i) { return std::string(stem) + " " + std::to_string(i + 1); }

} // namespace

std::vector<uint8_t> SampleChain(std::mt19937& rng, size_t minLength, size_t maxLength)
{
    std::vector<uint8_t> chain;
    size_t records = 1 + rng() % 4;
    for (size_t r = 0; r < records; ++r) {
        size_t length = minLength + rng() % (maxLength - minLength + 1);
        size_t at = chain.size();
        chain.push_back(uint8_t(length));
        for (size_t i = 1; i < length; ++i)
            chain.push_back(uint8_t(rng()));
        // Sound records for the layout check: no title of their own, and not a formula.
        chain[at + 1] = 0;
        if (chain[at + 2] == 4)
            chain[at + 2] = 1;
    }
    chain.push_back(0);
    return chain;
}

ConfigState SampleConfig(uint32_t seed, bool narrowChains)
{
    std::mt19937 rng(seed);
    size_t minLength = narrowChains ? 11 : 27;
    size_t maxLength = narrowChains ? 40 : 56;
    ConfigState s;
    Fill(rng, s.optionsA);
    Fill(rng, s.optionsB);
    for (auto& b : s.currentSettings)
        b = uint8_t(rng());
    s.dataMining.unpack(rng());
    s.optionsA.setDataMiningWord((s.optionsA.dataMiningWord() & ~0x7FFu) | s.dataMining.pack());
    // The option pages' places hold what the holders pack, as every saved file has them.
    ResetOptionHolders();
    StoreOptionHolders(s);

    auto tables = [&](TableFamily& family, const char* stem, bool sorted) {
        for (size_t i = 0; i < kSettingSlots; ++i) {
            family.designs[i].name = Name(stem, i);
            family.designs[i].chain = SampleChain(rng, minLength, maxLength);
            family.designs[i].sort = sorted ? int8_t(rng()) : 0;
            Fill(rng, family.styles[i]);
        }
    };
    tables(s.listTables, "List", true);
    tables(s.tranTables, "Tran", false);
    tables(s.dealTables, "Deal", true);
    tables(s.cashTables, "Cash", false);
    tables(s.newsTables, "News", true);
    tables(s.dataMiningTables, "Mining", true);
    s.cashTables.designs[4].name.reset();

    auto named = [&](auto& family, const char* stem) {
        for (size_t i = 0; i < kSettingSlots; ++i) {
            family.names[i] = Name(stem, i);
            Fill(rng, family.records[i]);
        }
        family.names[7].reset();
    };
    named(s.dailyGraphs, "Daily");
    named(s.intradayGraphs, "Intraday");
    named(s.dataMiningGraphs, "Graph");
    named(s.tickers, "Ticker");
    for (auto* graphs : {&s.dailyGraphs, &s.intradayGraphs})
        for (auto& record : graphs->records)
            for (size_t e = 0; e < GraphSetting::kMarkerEntryCount; ++e)
                record.bytes[GraphSetting::kMarkerEntries + e * GraphSetting::kMarkerEntrySize] = 1;

    for (size_t i = 0; i < s.tradeTables.size(); ++i) {
        auto& entry = s.tradeTables[i];
        entry.name = Name("Trades", i);
        entry.chain = SampleChain(rng, minLength, maxLength);
        Fill(rng, entry.record);
    }
    Fill(rng, s.intradayAlarms.actions);
    Fill(rng, s.intradayAlarms.settings);
    s.intradayAlarms.logFile = "alarms.log";
    s.intradayAlarms.soundFile = "ding.wav";
    return s;
}

} // namespace qv::test
