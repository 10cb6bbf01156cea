// Tests of a named lock that a second running copy of the program detects.
#include "platform/SingleInstance.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace qv;

TEST(SingleInstance, ASecondCopyIsDetected)
{
    std::string name = "QuorvantisTest" + std::to_string(::getpid());
    SingleInstanceLock first, second;
    ASSERT_TRUE(first.acquire(name));
    EXPECT_FALSE(second.acquire(name));
    first.release();
    EXPECT_TRUE(second.acquire(name));
}
