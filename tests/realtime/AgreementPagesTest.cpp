// Tests of the agreement pages' enabling rules and of Finish filling the outbox.
#include "realtime/AgreementPages.h"

#include <gtest/gtest.h>
#include <string>

using namespace qv;

namespace {

class AgreementOutboxTest : public ::testing::Test {
protected:
    ~AgreementOutboxTest() override { TheAgreementOutbox() = AgreementOutbox{}; }
};

AgreementAnswers Personal(const char* name, const char* address, std::vector<int> occupations, const char* other)
{
    AgreementAnswers a;
    a.subscriber[0] = name;
    a.subscriber[1] = address;
    a.occupations = std::move(occupations);
    a.otherOccupation = other;
    return a;
}

} // namespace

TEST(AgreementPages, PersonalPageNeedsNameAddressAnOccupationAndTheTypedOtherWhenChosen)
{
    struct Case {
        AgreementAnswers answers;
        bool complete;
    } cases[] = {
        {Personal("Ann", "1 Lane", {2}, ""), true},
        {Personal("", "1 Lane", {2}, ""), false},
        {Personal("Ann", "", {2}, ""), false},
        {Personal("Ann", "1 Lane", {}, ""), false},
        {Personal("Ann", "1 Lane", {kOtherOccupation}, ""), false},
        {Personal("Ann", "1 Lane", {0, kOtherOccupation}, ""), false},
        {Personal("Ann", "1 Lane", {kOtherOccupation}, "Pilot"), true},
        // Text typed for "other" while it is not chosen neither helps nor hinders.
        {Personal("Ann", "1 Lane", {}, "Pilot"), false},
        {Personal("Ann", "1 Lane", {3}, "Pilot"), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PersonalPageComplete(c.answers), c.complete)
            << c.answers.subscriber[0] << "/" << c.answers.subscriber[1] << "/" << c.answers.occupations.size() << "/"
            << c.answers.otherOccupation;
}

TEST(AgreementPages, NextEmployerWantsAllThreeFieldsAndRoomAndNextWaitsOnPartlyTypedFields)
{
    struct Case {
        AgreementEntry typed;
        size_t added;
        bool add, next;
    } cases[] = {
        {{{"", "", ""}}, 0, false, true},
        {{{"Firm, 1 Lane", "Clerk", "Filing"}}, 0, true, true},
        {{{"Firm, 1 Lane", "Clerk", "Filing"}}, 7, true, true},
        {{{"Firm, 1 Lane", "Clerk", "Filing"}}, 8, false, true},
        {{{"Firm, 1 Lane", "", ""}}, 0, false, false},
        {{{"", "Clerk", "Filing"}}, 3, false, false},
        {{{"Firm", "Clerk", ""}}, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.typed.texts[0] << "|" << c.typed.texts[1] << "|" << c.typed.texts[2]);
        EXPECT_EQ(EmployerAddEnabled(c.typed, c.added), c.add) << "after " << c.added;
        EXPECT_EQ(EmployerPageComplete(c.typed), c.next);
    }
}

TEST_F(AgreementOutboxTest, FinishPacksATypedEmployerLastUnlessEightAreAddedAndSetsTheFlag)
{
    AgreementAnswers a = Personal("Ann", "1 Lane", {0}, "");
    a.account = std::string(1, '7');
    a.entries = {AgreementEntry{{"A", "B", "C"}}};
    ASSERT_TRUE(FinishAgreement(a, AgreementEntry{{"D", "E", "F"}}));
    const AgreementOutbox& outbox = TheAgreementOutbox();
    EXPECT_TRUE(outbox.toSend);
    const std::string expected("7\0Ann\0" "1 Lane\0\x01" "Director/Owner\0\x02" "A\0B\0C\0D\0E\0F\0", 42);
    EXPECT_EQ(std::string(outbox.block.begin(), outbox.block.end()), expected);

    // Partly typed fields are not an employer; neither is a ninth.
    for (const AgreementEntry& typed : {AgreementEntry{{"D", "", "F"}}, AgreementEntry{{"I", "J", "K"}}}) {
        a.entries.assign(typed.texts[1].empty() ? 1 : kMaxAgreementEmployers, AgreementEntry{{"A", "B", "C"}});
        ASSERT_TRUE(FinishAgreement(a, typed));
        EXPECT_EQ(outbox.block[29], a.entries.size()) << typed.texts[0];
    }
}

TEST_F(AgreementOutboxTest, AnswersTooLongForTheBlockLeaveTheOutboxAndFlagAsTheyWere)
{
    AgreementAnswers a = Personal("Ann", "1 Lane", {0}, "");
    a.entries.assign(kMaxAgreementEmployers, AgreementEntry{{std::string(200, 'n'), std::string(100, 't'), std::string(100, 'd')}});
    a.account = std::string(kAgreementBlockBytes - 8 * 403, 'a');
    EXPECT_FALSE(FinishAgreement(a, AgreementEntry{}));
    EXPECT_FALSE(TheAgreementOutbox().toSend);
    EXPECT_TRUE(TheAgreementOutbox().block.empty());
}
