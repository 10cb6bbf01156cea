// The index listing names each entry, the withdrawn numbers and the category tree.
#include "devtools/lib/InCIndexText.h"

#include "devtools/lib/TempFolder.h"
#include "infocentre/InCIndex.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(InCIndexText, ListsEntriesWithdrawnNumbersAndCategories)
{
    dev::TempFolder folder{"incindex"};
    {
        CInCIndex index = CInCIndex::Create(folder / "index.tem");
        const std::array<uint8_t, 16> header{'Z', 'Q', 'I', 'D', 1, 1};
        index.WriteHeader(header);
        InCEntryHead head;
        head.number = 12;
        head.flags = 0xA0;
        index.AppendEntry(head, {"Market review", "Reviews", ""});
        CInCIndex::SetTableBit(index.GetTable(), 40, true);
        index.WriteTable();
        ASSERT_TRUE(index.CommitAs(folder / "index.dat"));
    }
    std::string text = dev::DescribeInCIndex(folder / "index.dat");
    EXPECT_NE(text.find("   12 flags 0x00A0 time 0 category \"Reviews\""), std::string::npos) << text;
    EXPECT_NE(text.find("1 entries"), std::string::npos) << text;
    EXPECT_NE(text.find("withdrawn: 40"), std::string::npos) << text;
    EXPECT_NE(text.find("category \"Reviews\" (1 done)\n     12 Market review (done)"), std::string::npos) << text;
    EXPECT_EQ(dev::DescribeInCIndex(folder / "none.dat"), "cannot read the index: status 3\n");
}
