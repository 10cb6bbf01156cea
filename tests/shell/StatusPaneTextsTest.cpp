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
        [](ShareList*, int32_t code) { return code == 5 ? std::string("Main") : code == 62 ? "Oil" : ""; },
        [&](ShareList*) { return flags; },
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
    EXPECT_EQ(FormatMarketPaneText(list), ", ") << "without the formatter the fields are empty";
    ProFree(list->entries);
    ProFree(list);
}

} // namespace
