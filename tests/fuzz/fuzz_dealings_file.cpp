// Fuzzes the dealings file reader and every reader of the entries it accepts.
#include "core/CodedText.h"
#include "lists/DealingItem.h"
#include "lists/DealingStats.h"
#include "lists/DirectorsDealings.h"
#include "lists/HoldList.h"
#include "lists/InvestorSearch.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> block;
    qv::DealingsFileInfo info;
    qv::CodingTables tables;
    if (qv::ParseDealingsFile(std::span<const uint8_t>(data, size), block, info, tables) != qv::DealingsParse::Ok)
        return 0;
    for (const uint8_t* e = block.data(); e[0] != 0; e += e[0])
        qv::DecodeDealing(e, info, tables);
    auto rows = qv::BuildHoldRows(block.data(), 0x1F, {}, [](uint16_t) { return reinterpret_cast<const uint8_t*>(""); });
    qv::MarkInvestorRows(block.data(), rows);
    qv::FindInvestors(block.data(), info, tables, "a", true);
    qv::BuildWeeklyTables(block.data(), info, tables);
    return 0;
}
