// Tests of guarded memory.
#include "core/Memory.h"

#include "platform/ProgramExit.h"
#include "support/DebugCapture.h"
#include "support/FakeMessageBox.h"

#include <cstring>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace qv;

namespace {
// Fails the next `count` heap requests.
struct FailNext {
    explicit FailNext(int count)
    {
        SetAllocationFaultHook([this](size_t) { return left-- > 0; });
        left = count;
    }
    ~FailNext() { SetAllocationFaultHook({}); }
    int left = 0;
};

const char* kFailureText = "Serious Error: Invalid memory request Share list\n\nAn invalid memory request was "
                           "made. Close down other applications and retry\n\nCancel exits";
} // namespace

TEST(Memory, BlocksAreZeroedAndGrowKeepingTheirContents)
{
    auto* p = static_cast<uint8_t*>(ProCalloc(10, 4, "test"));
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(p[i], 0);
    std::memset(p, 0x5A, 40);
    p = static_cast<uint8_t*>(ProRealloc(p, 4000));
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(p[i], 0x5A);
    EXPECT_GE(ProBlockSize(p), 4000u);
    p = static_cast<uint8_t*>(ProRealloc(p, 8));
    EXPECT_EQ(p[7], 0x5A);
    ProZeroFree(p);
    ProFree(nullptr);
    EXPECT_EQ(ProBlockSize(nullptr), 0u);
    // A null block grows like a new one; a zero size keeps a block rather than freeing it.
    void* q = ProRealloc(nullptr, 16);
    q = ProRealloc(q, 0);
    EXPECT_NE(q, nullptr);
    ProFree(q);
    void* empty = ProCalloc(0, 16, "empty");
    EXPECT_NE(empty, nullptr);
    ProZeroFree(empty);
}

TEST(Memory, RetryAfterAFailureGivesTheCallerItsBlock)
{
    test::FakeMessageBox box;
    box.queue(MsgAnswer::Retry);
    box.queue(MsgAnswer::Retry);
    FailNext fail(2);
    void* p = ProCalloc(1, 176, "Share list");
    ASSERT_NE(p, nullptr);
    ProFree(p);
    ASSERT_EQ(box.shown().size(), 2u);
    EXPECT_EQ(box.shown()[0].text, kFailureText);
    EXPECT_EQ(box.shown()[0].buttons, MsgButtons::RetryCancel);
    EXPECT_EQ(box.shown()[0].icon, MsgIcon::Exclamation);
}

TEST(Memory, CancelEndsTheProgramWithCodeOne)
{
    test::FakeMessageBox box;
    box.queue(MsgAnswer::Cancel);
    ThrowOnProgramEnd end;
    void* old = ProCalloc(1, 8, nullptr);
    FailNext fail(1);
    try {
        ProRealloc(old, 1 << 20);
        FAIL() << "no end";
    } catch (const ProgramEnded& e) {
        EXPECT_EQ(e.code, 1);
    }
    // The realloc failure box has no context text.
    EXPECT_EQ(box.texts().back().rfind("Serious Error: Invalid memory request \n\n", 0), 0u);
    ProFree(old); // a failed realloc leaves the old block in place
}

TEST(Memory, FaultsInsideTheHeapGoToTheDebuggerNotTheUser)
{
    test::FakeMessageBox box;
    box.queue(MsgAnswer::Retry);
    test::DebugCapture debug;
    int calls = 0;
    SetAllocationFaultHook([&](size_t) -> bool {
        if (calls++ == 0)
            throw std::runtime_error("access violation");
        return false;
    });
    void* p = ProCalloc(4, 4, "x");
    SetAllocationFaultHook({});
    ProFree(p);
    ASSERT_EQ(debug.lines().size(), 1u);
    EXPECT_EQ(debug.lines()[0], "Exception Memory.cpp - ProCalloc");
    EXPECT_EQ(box.shown().size(), 1u); // the fault counts as a failed request
    // The program goes on, but what it holds is no longer trusted: nothing more is saved.
    EXPECT_TRUE(ProgramFaultNoted());
    ClearProgramFault();
}

TEST(Memory, StrlenOfAnUnreadableTextIsZero)
{
    test::DebugCapture debug;
    EXPECT_EQ(ProStrlen("Quorvantis"), 10u);
    EXPECT_EQ(ProStrlen(nullptr), 0u);
    EXPECT_EQ(debug.lines(), (std::vector<std::string>{"Exception with strlen"}));
}
