// Whole-file transfers in pieces of at most 100,000 bytes.
#include "core/ChunkedFile.h"

#include "devtools/lib/TempFolder.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qv;

TEST(ChunkedFileTest, WritesAndReadsAcrossSeveralPieces)
{
    dev::TempFolder folder;
    std::vector<uint8_t> data(250001);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = uint8_t(i * 7);
    {
        ExclusiveFile out;
        ASSERT_TRUE(out.open(folder / "big.dat", ExclusiveFile::Mode::Create));
        uint32_t done = 0;
        ASSERT_TRUE(WriteFileChunked(out, data.data(), uint32_t(data.size()), done));
        EXPECT_EQ(done, data.size());
    }
    ExclusiveFile in;
    ASSERT_TRUE(OpenFileForRead(folder / "big.dat", in));
    ExclusiveFile second;
    EXPECT_FALSE(OpenFileForRead(folder / "big.dat", second)) << "no sharing";
    std::vector<uint8_t> back(data.size() + 50);
    uint32_t done = 0;
    ASSERT_TRUE(ReadFileChunked(in, back.data(), uint32_t(back.size()), done));
    EXPECT_EQ(done, data.size()) << "a short file stops early and says how far it got";
    back.resize(done);
    EXPECT_EQ(back, data);
}

TEST(ChunkedFileTest, FailuresOfTheSystemCall)
{
    dev::TempFolder folder;
    ExclusiveFile missing;
    EXPECT_FALSE(OpenFileForRead(folder / "none.dat", missing));
    uint8_t buffer[4];
    uint32_t done = 99;
    EXPECT_FALSE(ReadFileChunked(missing, buffer, sizeof buffer, done));
    EXPECT_EQ(done, 0u);
    EXPECT_FALSE(WriteFileChunked(missing, buffer, sizeof buffer, done));
}
