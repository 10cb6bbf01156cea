// Tests of the bytes the database loader reads.
#include "core/DatabaseSource.h"

#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"

#include <gtest/gtest.h>
#include <random>

using namespace qv;

TEST(DatabaseSource, FileReadsMatchTheBytesWhateverTheirSizeAndOrder)
{
    dev::TempFolder folder;
    std::vector<uint8_t> bytes(300 * 1024);
    std::mt19937 random(5);
    for (uint8_t& b : bytes)
        b = uint8_t(random());
    ASSERT_TRUE(WriteFileBytes(folder / "f", bytes));
    DatabaseFileSource file;
    ASSERT_TRUE(file.open(folder / "f"));
    DatabaseMemorySource memory(bytes);
    ASSERT_EQ(file.size(), bytes.size());

    for (int step = 0; step < 3000; ++step) {
        uint32_t pick = random() % 10;
        size_t n = pick < 6 ? random() % 64 : pick < 9 ? random() % 8000 : random() % 150000;
        if (random() % 7 == 0)
            file.expectSkips(random() % 2 == 0);
        if (random() % 5 == 0) {
            uint64_t at = random() % (bytes.size() + 10);
            ASSERT_EQ(file.seek(at), memory.seek(at));
        } else if (random() % 4 == 0) {
            ASSERT_EQ(file.skip(n), memory.skip(n));
        } else {
            std::vector<uint8_t> a(n, 1), b(n, 2);
            bool readA = file.read(a.data(), n);
            ASSERT_EQ(readA, memory.read(b.data(), n));
            if (readA) {
                ASSERT_EQ(a, b) << step;
            }
        }
        ASSERT_EQ(file.position(), memory.position());
    }
}

TEST(DatabaseSource, AShortReadConsumesNothing)
{
    const uint8_t bytes[] = {1, 2, 3};
    DatabaseMemorySource source(bytes);
    uint8_t out[4] = {};
    EXPECT_FALSE(source.read(out, 4));
    EXPECT_EQ(source.position(), 0u);
    EXPECT_FALSE(source.skip(4));
    EXPECT_TRUE(source.read(out, 3));
    EXPECT_EQ(out[2], 3);
    EXPECT_TRUE(source.read(out, 0));
    DatabaseFileSource missing;
    EXPECT_FALSE(missing.open("/nonexistent/quorva.dat"));
}
