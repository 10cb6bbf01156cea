// Tests of ending the program with an exit code from anywhere, and the hook tests catch it with.
#include "platform/ProgramExit.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(ProgramExit, TestsCatchTheEndWithItsCode)
{
    ThrowOnProgramEnd guard;
    try {
        EndProgram(3);
        FAIL() << "EndProgram returned";
    } catch (const ProgramEnded& e) {
        EXPECT_EQ(e.code, 3);
    }
}

TEST(ProgramExit, TheRealEndLeavesTheProcessWithTheCode)
{
    EXPECT_EXIT(EndProgram(4), testing::ExitedWithCode(4), "");
}
