// Tests of readable listings of "Quorva.cfg" and of keyed item stores, for qvtool and tests.
#include "devtools/lib/SettingsFileText.h"

#include "core/ConfigFormat.h"
#include "core/ConfigWriter.h"
#include "core/KeyedItemStore.h"
#include "support/ConfigSamples.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(SettingsFileText, ConfigListingNamesSectionsAndItems)
{
    auto state = std::make_unique<ConfigState>(test::SampleConfig(40));
    auto image = WriteConfigImage(*state, -1);
    auto text = dev::DescribeConfigImage(image);
    EXPECT_NE(text.find("header ZQAA version 3.34"), std::string::npos) << text;
    EXPECT_NE(text.find("accepted"), std::string::npos);
    EXPECT_NE(text.find("list tables\n  @"), std::string::npos);
    EXPECT_NE(text.find("\"Deal 3\""), std::string::npos);
    EXPECT_NE(text.find("OptionBlockA"), std::string::npos);
    EXPECT_NE(text.find("T & Q tables"), std::string::npos);
    EXPECT_NE(text.find("read complete"), std::string::npos);

    image.resize(image.size() - 10);
    EXPECT_NE(dev::DescribeConfigImage(image).find("read failed after trailing items"), std::string::npos);
    image[4] = 0;
    EXPECT_NE(dev::DescribeConfigImage(image).find("file too old"), std::string::npos);
}

TEST(SettingsFileText, StoreListingShowsKeysInFileOrder)
{
    KeyedItemStore store;
    store.SetItem(0x4001, 6, 0, MakeBlob(12));
    store.SetItem(0, 2, 0, MakeBlob(20));
    auto text = dev::DescribeKeyedStoreImage(store.WriteImage());
    EXPECT_EQ(text, "header ZQAN version 9.0\n"
                    "share 00004001 kind 6   sub-key 00000000  12 bytes\n"
                    "share 00000000 kind 2   sub-key 00000000  20 bytes\n"
                    "2 items\n");
}
