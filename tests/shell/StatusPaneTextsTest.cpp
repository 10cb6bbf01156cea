// Tests of the status-bar texts for a list's current share.
#include "shell/StatusPaneTexts.h"

#include "core/Memory.h"
#include "core/ShareList.h"
#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

TEST(StatusPaneTexts, FieldsOfTheCurrentShare)
{
    ShareList* list = CreateShareList(4, 0, kFamilyShares, nullptr, false);
    uint8_t share[8] = {8, 0, 0x01, 0x40}, index[8] = {8, 0, 0x01, 0xF0};
    EXPECT_EQ(FormatSharePaneText(list, 3, true), "") << "no current share";

    list->entries[0] = {share, 0};
    uint32_t flags = 0;
    SetPaneTextSource(PaneTextSource{
        [](const RecordCursor&, ShareList*, int32_t code) { return code == 5 ? std::string("Main") : code == 62 ? "Oil" : ""; },
        [&](const RecordCursor&) { return flags; },
    });
    EXPECT_EQ(FormatSharePaneText(list, 5, false), "Main");
    EXPECT_EQ(FormatSharePaneText(list, 7, false), "");
    EXPECT_EQ(FormatSharePaneText(list, 7, true), "Index");
    EXPECT_EQ(FormatMarketPaneText(list), "Main, Oil");
    flags = 1u << 14;
    EXPECT_EQ(FormatMarketPaneText(list), "Main, Oil, FTSE30");
    list->entries[0] = {index, 0};
    flags = 0;
    EXPECT_EQ(FormatMarketPaneText(list), "Main") << "class bits 0x3000 take no detail";

    SetPaneTextSource({});
    EXPECT_EQ(FormatMarketPaneText(list), "");
    list->entries[0] = {share, 0};
    EXPECT_EQ(FormatMarketPaneText(list), "") << "empty fields leave no separator";

    // Fields the database does not keep for the share are left out with their separators.
    std::string market, detail;
    SetPaneTextSource(PaneTextSource{
        [&](const RecordCursor&, ShareList*, int32_t code) { return code == 5 ? market : code == 62 ? detail : ""; },
        [&](const RecordCursor&) { return flags; },
    });
    const struct {
        const char* market;
        const char* detail;
        uint32_t flags;
        const char* text;
    } cases[] = {{"", "", 0, ""},          {"", "Oil", 0, "Oil"},   {"Main", "", 0, "Main"},
                 {"", "", 1u << 14, "FTSE30"}, {"", "Oil", 1u << 14, "Oil, FTSE30"}};
    for (const auto& c : cases) {
        market = c.market;
        detail = c.detail;
        flags = c.flags;
        EXPECT_EQ(FormatMarketPaneText(list), c.text) << c.market << "|" << c.detail;
    }
    SetPaneTextSource({});
    ProFree(list->entries);
    ProFree(list);
}

} // namespace
