// Tests of the exchange agreement's send block.
#include "realtime/AgreementBlock.h"

#include <gtest/gtest.h>
#include <string>

using namespace qv;

TEST(AgreementBlock, TextsAreZeroTerminatedAfterTheirCountsAndOtherUsesTheTypedText)
{
    AgreementAnswers a;
    a.account = "A1";
    a.subscriber[0] = "Ann";
    a.subscriber[1] = "";
    a.occupations = {2, kOtherOccupation};
    a.otherOccupation = "Pilot";
    a.entries = {AgreementEntry{{"x", "y", "z"}}};
    std::optional<std::vector<uint8_t>> block = PackAgreementAnswers(a);
    ASSERT_TRUE(block);
    std::string expected("A1\0Ann\0\0\x02Manager\0Pilot\0\x01x\0y\0z\0", 30);
    EXPECT_EQ(std::string(block->begin(), block->end()), expected);
}

TEST(AgreementBlock, AnswersThatWouldOverrunTheBlockAreRefused)
{
    AgreementAnswers a;
    // Account, two empty texts and two count bytes take len + 5 bytes: fill the block exactly.
    a.account = std::string(kAgreementBlockBytes - 5, 'a');
    ASSERT_TRUE(PackAgreementAnswers(a));
    EXPECT_EQ(PackAgreementAnswers(a)->size(), kAgreementBlockBytes);
    a.account += 'a';
    EXPECT_FALSE(PackAgreementAnswers(a)) << "one byte over";

    AgreementAnswers many;
    many.entries.resize(256);
    EXPECT_FALSE(PackAgreementAnswers(many)) << "a count byte holds at most 255";
    many.entries.resize(255);
    EXPECT_TRUE(PackAgreementAnswers(many));
}
