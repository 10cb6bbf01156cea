// Applying a list design to a list's setting: its style, layout and sort, shared by every list of the
// setting; an unchanged layout keeps its buffer.
#include "lists/ui/ListDialogCommands.h"

#include "core/ColumnDef.h"
#include "core/ConfigState.h"
#include "lists/ListDesign.h"
#include "lists/ListFixture.h"
#include "lists/ListSettings.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace qv;
using namespace qv::test;

namespace {

class ListDesignCommand : public ListFixture {
protected:
    void SetUp() override { saved_ = Config(); }
    void TearDown() override
    {
        ShareListChain() = nullptr;
        FreeSettingLayouts();
        Config() = saved_;
    }

    ConfigState saved_;
};

} // namespace

TEST_F(ListDesignCommand, ADesignReplacesStyleLayoutAndSortOfTheSetting)
{
    ShareList* a = NewList(0);
    ShareList* b = NewList(0);
    a->next = b;
    ShareListChain() = a;
    SelectColumnSetting(a, kListKindShares, 2, false, false);
    SelectColumnSetting(b, kListKindShares, 2, false, false);
    const uint8_t* before = a->columnLayout;
    ASSERT_NE(before, nullptr);

    TableDesign design;
    std::memcpy(design.style.data(), SettingStyle(kListKindShares, 2)->data(), design.style.size());
    ApplyDefaultDesign(design.style, true);
    design.layout.assign(before, before + ValidateColumnLayout({before, 4096}));
    design.sort = -2;
    ApplyListDesign(a, kListKindShares, design);
    // The same layout: only the style and sort change, the buffer stays.
    EXPECT_EQ(a->columnLayout, before);
    EXPECT_EQ(std::memcmp(SettingStyle(kListKindShares, 2)->data(), design.style.data(), 200), 0);
    EXPECT_EQ(GetSettingSort(kListKindShares, 2), -2);
    EXPECT_EQ(a->sortColumn, 1);
    EXPECT_EQ(a->sortDirection, -1);

    design.layout.pop_back();
    AppendColumnDef(design.layout, ColumnOf(kColumnField, 17));
    design.layout.push_back(0);
    ApplyListDesign(a, kListKindShares, design);
    ASSERT_NE(a->columnLayout, before);
    EXPECT_EQ(b->columnLayout, a->columnLayout);
    EXPECT_EQ(std::vector<uint8_t>(a->columnLayout, a->columnLayout + design.layout.size()), design.layout);
}
