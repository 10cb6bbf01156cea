// Test program entry for the core tests.
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qv::test::PrepareTestEnvironment();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
