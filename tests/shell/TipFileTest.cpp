// The tips reader: tips in turn across runs, skipped lines, the wrap at the end, a changed file,
// a missing file and a file without any tip.
#include "shell/TipFile.h"

#include "devtools/lib/TempFolder.h"
#include "platform/Registry.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using namespace qv;

namespace {

class TipFileFixture : public ::testing::Test {
protected:
    TipFileFixture()
    {
        previousRegistry_ = Registry::Instance().file();
        Registry::Instance().reopen(folder / "registry.ini");
    }
    ~TipFileFixture() override { Registry::Instance().reopen(previousRegistry_); }

    void WriteTips(const std::string& text)
    {
        std::ofstream out(folder / kTipsFileName, std::ios::binary);
        out << text;
    }

    // The tips that successive runs show first.
    std::vector<std::string> FirstTipsOfRuns(int runs)
    {
        std::vector<std::string> tips;
        for (int i = 0; i < runs; ++i)
            tips.push_back(TipReader(folder.path()).tip());
        return tips;
    }

    dev::TempFolder folder{"qv-tips"};
    test::FakeMessageBox box;

private:
    std::filesystem::path previousRegistry_;
};

} // namespace

TEST_F(TipFileFixture, EachRunShowsTheNextTipSkippingCommentsAndBlankLines)
{
    WriteTips("; comment\nFirst tip\r\n\n  indented\n\tTabbed\nSecond tip\n;x\nThird tip");
    EXPECT_EQ(FirstTipsOfRuns(4), (std::vector<std::string>{"First tip", "Second tip", "Third tip", "First tip"}));

    TipReader reader(folder.path());
    EXPECT_TRUE(reader.hasFile());
    std::vector<std::string> seen{reader.tip()};
    for (int i = 0; i < 3; ++i) {
        reader.next();
        seen.push_back(reader.tip());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"Second tip", "Third tip", "First tip", "Second tip"}));
    EXPECT_TRUE(box.texts().empty());
}

TEST_F(TipFileFixture, AChangedFileStartsFromItsFirstTip)
{
    WriteTips("One\nTwo\nThree\n");
    EXPECT_EQ(FirstTipsOfRuns(2), (std::vector<std::string>{"One", "Two"}));
    Registry::Instance().setString("Settings", "TipTimeStamp", "Mon Jan  1 00:00:00 2001");
    EXPECT_EQ(FirstTipsOfRuns(1), std::vector<std::string>{"One"});
    EXPECT_EQ(Registry::Instance().getString("Settings", "TipTimeStamp"),
              TipFileTimeStamp(folder / kTipsFileName));
    EXPECT_EQ(TipFileTimeStamp(folder / kTipsFileName).size(), 24u);
}

TEST_F(TipFileFixture, AMissingFileWelcomesAndAFileWithoutTipsNeverLoops)
{
    {
        TipReader reader(folder.path());
        EXPECT_FALSE(reader.hasFile());
        EXPECT_EQ(reader.tip(), kWelcomeTip);
        reader.next();
        EXPECT_EQ(reader.tip(), kWelcomeTip);
    }
    for (const char* text : {"", "; only comments\n\n   \n"}) {
        WriteTips(text);
        TipReader reader(folder.path());
        EXPECT_EQ(reader.tip(), kWelcomeTip) << text;
        reader.next();
        EXPECT_EQ(reader.tip(), kWelcomeTip) << text;
    }
}

TEST_F(TipFileFixture, AStoredPositionBeyondAShorterFileStartsAgain)
{
    WriteTips("Alpha\nBeta\n");
    Registry::Instance().setString("Settings", "TipTimeStamp", TipFileTimeStamp(folder / kTipsFileName));
    Registry::Instance().setU32("Settings", "TipFilePos", 5000);
    EXPECT_EQ(FirstTipsOfRuns(1), std::vector<std::string>{"Alpha"});
}

TEST_F(TipFileFixture, ShowAtStartUpIsTheInverseOfTheStoredValue)
{
    WriteTips("Tip\n");
    {
        TipReader reader(folder.path());
        EXPECT_TRUE(reader.showAtStartUp());
        reader.close(false);
    }
    EXPECT_EQ(Registry::Instance().getU32("Settings", "ShowTipOnStartUp"), 1u);
    EXPECT_FALSE(TipReader(folder.path()).showAtStartUp());
    TipReader(folder.path()).close(true);
    EXPECT_EQ(Registry::Instance().getU32("Settings", "ShowTipOnStartUp"), 0u);
}

TEST_F(TipFileFixture, LongLinesAreCutToAThousandCharacters)
{
    WriteTips(std::string(1500, 'a') + "\nNext\n");
    TipReader reader(folder.path());
    EXPECT_EQ(reader.tip(), std::string(1000, 'a'));
    reader.next();
    EXPECT_EQ(reader.tip(), "Next");
}
