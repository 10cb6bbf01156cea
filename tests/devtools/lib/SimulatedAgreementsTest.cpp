// The feed stand-in reads the agreement block the program packs, and refuses a damaged one whole.
#include "devtools/lib/SimulatedAgreements.h"

#include "realtime/RTFeedSettings.h"

#include <gtest/gtest.h>

namespace qv::dev {
namespace {

std::vector<uint8_t> Packed()
{
    AgreementAnswers a;
    a.account = "QV1";
    a.subscriber[0] = "Name";
    a.subscriber[1] = "Address";
    a.occupations = {2, kOtherOccupation};
    a.otherOccupation = "Other";
    a.entries = {AgreementEntry{{"E1", "T1", "D1"}}, AgreementEntry{{"E2", "", "D2"}}};
    return *PackAgreementAnswers(a);
}

TEST(SimulatedAgreements, ReadsThePackedBlockBack)
{
    const std::optional<ReceivedAgreement> a = ReadAgreementBlock(Packed());
    ASSERT_TRUE(a);
    EXPECT_EQ(a->account, "QV1");
    EXPECT_EQ(a->name, "Name");
    EXPECT_EQ(a->address, "Address");
    EXPECT_EQ(a->occupations, (std::vector<std::string>{"Manager", "Other"}));
    ASSERT_EQ(a->employers.size(), 2u);
    EXPECT_EQ(a->employers[1].texts[1], "");
    EXPECT_EQ(a->employers[1].texts[2], "D2");
}

TEST(SimulatedAgreements, ADamagedBlockIsRefusedAndCompletesNothing)
{
    const std::vector<uint8_t> good = Packed();
    std::vector<uint8_t> extra = good;
    extra.push_back(0);
    std::vector<uint8_t> moreEmployers = good;
    moreEmployers[32] = 3; // the employer count, past the texts there are
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"empty", {}},
        {"last text not ended", std::vector<uint8_t>(good.begin(), good.end() - 1)},
        {"no employer count", std::vector<uint8_t>(good.begin(), good.begin() + 32)},
        {"a count past the end", moreEmployers},
        {"bytes left over", extra},
        {"longer than the block", std::vector<uint8_t>(kAgreementBlockBytes + 1, 'x')},
    };
    for (const auto& [name, bytes] : cases)
        EXPECT_FALSE(ReadAgreementBlock(bytes)) << name;

    SimulatedAgreements agreements(kNasdaqAgreementDone);
    EXPECT_FALSE(agreements.Receive(extra));
    EXPECT_EQ(agreements.completed(), kNasdaqAgreementDone);
    EXPECT_TRUE(agreements.Receive(good));
    EXPECT_EQ(agreements.completed(), kNasdaqAgreementDone | kNyseAgreementDone);
    EXPECT_EQ(agreements.received().size(), 1u);
}

} // namespace
} // namespace qv::dev
