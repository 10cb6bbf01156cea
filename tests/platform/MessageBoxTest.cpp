// Tests of message boxes.
#include "platform/MessageBox.h"

#include "support/FakeMessageBox.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace qv;

TEST(MessageBox, DefaultAnswerFollowsTheDefaultButton)
{
    struct Case { MsgButtons buttons; int def; MsgAnswer answer; };
    const Case cases[] = {
        {MsgButtons::Ok, 0, MsgAnswer::Ok},          {MsgButtons::OkCancel, 1, MsgAnswer::Cancel},
        {MsgButtons::YesNo, 0, MsgAnswer::Yes},      {MsgButtons::YesNo, 1, MsgAnswer::No},
        {MsgButtons::YesNoCancel, 2, MsgAnswer::Cancel}, {MsgButtons::RetryCancel, 0, MsgAnswer::Retry},
        {MsgButtons::RetryCancel, 1, MsgAnswer::Cancel},
    };
    for (const Case& c : cases) {
        MessageRequest r;
        r.buttons = c.buttons;
        r.defaultButton = c.def;
        EXPECT_EQ(DefaultAnswer(r), c.answer);
    }
}

TEST(MessageBox, FakeRecordsTextsAndGivesQueuedAnswers)
{
    test::FakeMessageBox fake;
    fake.queue(MsgAnswer::No);
    EXPECT_EQ(ShowMessage("Save?", "Quorvantis", MsgButtons::YesNo), MsgAnswer::No);
    EXPECT_EQ(ShowMessage("Again?", "", MsgButtons::YesNo), MsgAnswer::Yes);
    EXPECT_EQ(fake.texts(), (std::vector<std::string>{"Save?", "Again?"}));
}

TEST(MessageBox, AutoAnswerTakesTheDefaultWithoutAskingTheHost)
{
    test::FakeMessageBox fake;
    ::setenv("QV_AUTO_ANSWER", "1", 1);
    EXPECT_EQ(ShowMessage("Quit?", "", MsgButtons::YesNo, MsgIcon::Question, 1), MsgAnswer::No);
    ::unsetenv("QV_AUTO_ANSWER");
    EXPECT_TRUE(fake.shown().empty());
}
