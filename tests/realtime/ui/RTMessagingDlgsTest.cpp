// The messaging dialogs as a user meets them: the inbox and outbox with deletion and reply, Post's
// refusals and the note when not connected, the profile's nickname check, the contact choices, the
// alert and the policy. Every dialog is rendered.
#include "realtime/ui/RTMessagingDlgs.h"

#include "devtools/lib/FeedMembers.h"
#include "platform/MessageDispatch.h"
#include "realtime/FeedStates.h"
#include "realtime/IntradayState.h"
#include "realtime/messaging/MemberMessaging.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"
#include "support/FakeMessageBox.h"
#include "support/ui/Render.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace qv {
namespace {

class RTMessagingDlgsTest : public ::testing::Test {
protected:
    RTMessagingDlgsTest()
    {
        m.Reset();
        TheMemberMessagingHooks().send = [this](std::span<const uint8_t>, uint8_t code) {
            codes.push_back(code);
            return 0;
        };
        MemberMessaging::SetPolicyAccepted(true);
        Give(kFeedMessageContact, Contact(1001, "DemoInvestor", kContactOwn | kContactAccepts | kContactAlerts).Write());
        Give(kFeedMessageContact, Contact(2001, "Bullfinch", kChoiceSendList | kContactAccepts | kContactConnected).Write());
        Give(kFeedMessageContact, Contact(2002, "Magpie", kChoiceLeftOff).Write());
        DeliverPostedMessages();
    }
    ~RTMessagingDlgsTest() override
    {
        SetModalDialogRunner(nullptr);
        m.Reset();
        TheMemberMessagingHooks().send = nullptr;
        RTEngineState = kEngineStopped;
        RTConnectionStep() = kFeedDisconnected;
        MemberMessaging::SetPolicyAccepted(false);
    }
    void Give(uint16_t kind, const std::vector<uint8_t>& record)
    {
        for (const FeedFrame& f : dev::MemberRecordPieces(0, ++sequence, kind, record, kMessageChunkBytes))
            m.HandleFrame(f);
    }
    static ContactRecord Contact(int32_t member, const char* nickname, uint32_t flags)
    {
        ContactRecord c;
        c.member = member;
        c.flags = flags;
        c.nickname() = nickname;
        c.texts[1] = "Sam Finch";
        c.texts[3] = "47";
        return c;
    }
    void GiveMessage(int32_t sender, const char* subject, const char* text)
    {
        MemberMessage msg;
        msg.sender = sender;
        msg.receiver = 1001;
        msg.date = PackDate(9, 12, 2026);
        msg.time = 14 * 3600 + 5 * 60;
        msg.subject = subject;
        msg.text = text;
        Give(kFeedMessageMember, msg.Write());
        DeliverPostedMessages();
    }
    static QPushButton* ButtonOf(QWidget& w, const char* text)
    {
        for (QPushButton* b : w.findChildren<QPushButton*>())
            if (b->text() == QLatin1String(text))
                return b;
        ADD_FAILURE() << "no button " << text;
        return nullptr;
    }
    static QString Line(QTreeWidget* list, int row) { return list->topLevelItem(row)->text(0); }
    static void Render(QWidget& w, const QString& name) { test::SaveRender(test::RenderWidget(w), name); }

    MemberMessaging& m = TheMemberMessaging();
    std::vector<uint8_t> codes;
    uint32_t sequence = 0;
};

TEST_F(RTMessagingDlgsTest, TheMessagesDialogPollsListsMarksDeletionsAndFreesThemOnClose)
{
    GiveMessage(2001, "Fairhaven", "Have you seen the volume today?");
    GiveMessage(kAddressSupport, "Re: Login", "Fixed now.");
    RTEngineState = kEngineRunning;
    {
        CRTMessagesDlg d;
        EXPECT_EQ(d.windowTitle(), "Real time Messages");
        EXPECT_EQ(codes, std::vector<uint8_t>{kRequestMessagePoll}) << "opening polls";
        EXPECT_FALSE(m.MessageWaiting()) << "the open dialog shows them";
        EXPECT_EQ(d.title()->text(), "Real time MESSAGE INBOX (2 messages)");
        EXPECT_EQ(d.list()->headerItem()->text(0), "From");
        EXPECT_EQ(Line(d.list(), 0), "1 sent 09/12/26 14:05 from Bullfinch (connected)");
        EXPECT_EQ(Line(d.list(), 1), "2 sent 09/12/26 14:05 from Quorvantis support");
        EXPECT_TRUE(d.pane()->text().contains("Subject: Fairhaven"));
        Render(d, "RTMessagesDlg_717_inbox");

        d.list()->setCurrentItem(d.list()->topLevelItem(1));
        d.deleteButton()->click();
        EXPECT_EQ(d.deleteButton()->text(), "Undelete");
        EXPECT_TRUE(Line(d.list(), 1).startsWith("< Message to be deleted > 2 sent"));

        // A message arriving meanwhile is listed at once.
        GiveMessage(2001, "Later", "");
        EXPECT_EQ(d.title()->text(), "Real time MESSAGE INBOX (3 messages)");

        // Reply: the sender, and the subject's "Re: " once.
        QString replySubject;
        int32_t replyTo = 0;
        SetModalDialogRunner([&](QDialog& dialog) {
            auto& compose = dynamic_cast<CRTComposeMessageDlg&>(dialog);
            replySubject = compose.subjectEdit()->text();
            replyTo = compose.receiver();
            Render(compose, "RTComposeMessageDlg_26969");
            return int(QDialog::Rejected);
        });
        d.list()->setCurrentItem(d.list()->topLevelItem(1));
        d.replyButton()->click();
        EXPECT_EQ(replyTo, kAddressSupport);
        EXPECT_EQ(replySubject, "Re: Login");

        d.switchButton()->click();
        EXPECT_TRUE(d.showingOutbox());
        EXPECT_EQ(d.switchButton()->text(), "View inbox");
        EXPECT_EQ(d.title()->text(), "Real time MESSAGE OUTBOX (0 messages)");
        EXPECT_EQ(d.list()->headerItem()->text(0), "To");
        EXPECT_EQ(Line(d.list(), 0), "< No messages >");
        EXPECT_FALSE(d.replyButton()->isEnabled());
        EXPECT_FALSE(d.deleteButton()->isEnabled());
        Render(d, "RTMessagesDlg_717_outbox");
        EXPECT_EQ(m.Inbox().size(), 3u) << "marked only, while open";
    }
    ASSERT_EQ(m.Inbox().size(), 2u) << "freed on close";
    EXPECT_EQ(m.Inbox()[1].subject, "Later");
}

TEST_F(RTMessagingDlgsTest, PostRefusesThreeWaysAndOtherwiseQueuesWithOneNoteWhenDisconnected)
{
    test::FakeMessageBox box;
    std::vector<std::string> opened;
    SetModalDialogRunner([&](QDialog& dialog) {
        opened.push_back(dialog.objectName().toStdString());
        if (dialog.objectName() == "764")
            Render(dialog, "RTMessagingPolicyDlg_764");
        return int(dialog.objectName() == "764" ? QDialog::Accepted : QDialog::Rejected);
    });
    // Magpie takes no messages; a blocked Bullfinch may not be written to though he takes them.
    CRTComposeMessageDlg compose(2002, "Hello", nullptr);
    EXPECT_EQ(compose.toList()->count(), 5) << "the three addresses and the two contacts";
    compose.Post();
    m.SetContactChoice(2001, kChoiceBlocked);
    compose.toList()->setCurrentIndex(compose.toList()->findData(2001));
    compose.Post();
    ContactRecord closed = m.Profile();
    closed.flags &= ~kContactAccepts;
    m.SetProfile(closed);
    box.queue(MsgAnswer::Ok);
    compose.Post();
    ASSERT_EQ(box.texts().size(), 3u);
    EXPECT_EQ(box.texts()[0], "This member has elected not to receive messages.\nPlease click ok to return.");
    EXPECT_EQ(box.texts()[1].rfind("You have elected to block this member", 0), 0u);
    EXPECT_EQ(box.texts()[2].rfind("You have elected not to receive messages", 0), 0u);
    EXPECT_EQ(box.shown()[2].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(opened, std::vector<std::string>{"748"}) << "OK opens the profile";
    EXPECT_TRUE(m.Outbox().empty());

    // Allowed again, to a service address, while disconnected: the policy once, then the note once.
    closed.flags |= kContactAccepts;
    m.SetProfile(closed);
    MemberMessaging::SetPolicyAccepted(false);
    compose.toList()->setCurrentIndex(0);
    compose.textEdit()->setPlainText("Please call me.");
    compose.Post();
    EXPECT_EQ(opened, (std::vector<std::string>{"748", "764"}));
    EXPECT_TRUE(MemberMessaging::PolicyAccepted());
    ASSERT_EQ(box.texts().size(), 4u);
    EXPECT_EQ(box.texts()[3], "You are not currently connected to an intraday feed.\nThe message will be sent when you next connect.");
    EXPECT_EQ(compose.result(), QDialog::Accepted);
    ASSERT_EQ(m.Outbox().size(), 1u);
    EXPECT_EQ(m.Outbox()[0].receiver, kAddressAdministration);
    EXPECT_EQ(m.Outbox()[0].sender, 1001);
    EXPECT_TRUE(codes.empty());
}

TEST_F(RTMessagingDlgsTest, TheProfileRefusesAContactsNicknameWhateverItsCase)
{
    test::FakeMessageBox box;
    CRTMessagingProfileDlg d;
    EXPECT_EQ(d.windowTitle(), "My Messaging profile");
    EXPECT_EQ(d.field(0)->text(), "DemoInvestor");
    Render(d, "RTMessagingProfileDlg_748");
    d.field(0)->setText("bullFINCH");
    d.accept();
    EXPECT_EQ(box.texts(), std::vector<std::string>{"The nickname bullFINCH is already in use.  Please choose another."});
    EXPECT_EQ(box.shown()[0].icon, MsgIcon::Exclamation);
    EXPECT_NE(d.result(), QDialog::Accepted);
    EXPECT_EQ(m.Profile().nickname(), "DemoInvestor");

    d.field(0)->setText("Wren");
    d.privacy(2)->setChecked(false);
    d.accept();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(m.Profile().nickname(), "Wren");
    EXPECT_EQ(m.Profile().flags & (kContactAlerts | kContactChanged), kContactChanged) << "to be sent";
}

TEST_F(RTMessagingDlgsTest, TheContactListStoresTheChoiceAndClearsOnlyWhenAsked)
{
    test::FakeMessageBox box;
    CRTContactListDlg d;
    EXPECT_EQ(d.windowTitle(), "Messaging contact list");
    EXPECT_EQ(d.list()->topLevelItem(0)->text(0), "( Connected ) Bullfinch");
    EXPECT_EQ(d.list()->topLevelItem(1)->text(0), "Magpie");
    EXPECT_TRUE(d.details()->text().startsWith(" No selected contact "));
    d.list()->setCurrentItem(d.list()->topLevelItem(0));
    EXPECT_TRUE(d.details()->text().startsWith(" Details for Bullfinch ( Connected )\nActual name:  Sam Finch"));
    EXPECT_TRUE(d.details()->text().contains("Age: 47 yrs"));
    EXPECT_TRUE(d.choices()->button(int(kChoiceSendList))->isChecked());
    Render(d, "RTContactListDlg_747");

    d.choices()->button(int(kChoiceBlocked))->click();
    EXPECT_EQ(m.Contacts()[0].flags & (kContactChoiceMask | kContactChanged), kChoiceBlocked | kContactChanged);
    EXPECT_TRUE(d.choices()->button(int(kChoiceBlocked))->isChecked()) << "the list refilled keeps the selection";

    box.queue(MsgAnswer::No);
    ButtonOf(d, "Clear contacts")->click();
    EXPECT_EQ(m.Contacts().size(), 2u);
    box.queue(MsgAnswer::Yes);
    ButtonOf(d, "Clear contacts")->click();
    EXPECT_EQ(box.texts()[1], "Are you sure you want to clear your contact list?");
    EXPECT_TRUE(m.Contacts().empty());
    EXPECT_EQ(d.list()->topLevelItemCount(), 0);
}

// The inbox, the contact list and the profile carry Help (id 9) with their template's topic.
TEST_F(RTMessagingDlgsTest, HelpShowsTheDialogsTopic)
{
    std::vector<uint32_t> asked;
    DialogHelpHost previous = SetDialogHelpHost([&](uint32_t topic, bool popup) {
        if (!popup)
            asked.push_back(topic);
    });
    CRTMessagesDlg messages;
    CRTContactListDlg contacts;
    CRTMessagingProfileDlg profile;
    QDialog* dialogs[] = {&messages, &contacts, &profile};
    for (QDialog* d : dialogs) {
        auto* help = d->findChild<QPushButton*>(QStringLiteral("9"));
        ASSERT_NE(help, nullptr) << d->windowTitle().toStdString();
        EXPECT_EQ(help->text().remove(QLatin1Char('&')), "Help");
        help->click();
    }
    SetDialogHelpHost(previous);
    EXPECT_EQ(asked, (std::vector<uint32_t>{0x20000 + 717, 0x20000 + 747, 0x20000 + 748}));
}

TEST_F(RTMessagingDlgsTest, TheAlertNamesSenderAndTimeAndCanTurnItselfOff)
{
    GiveMessage(2001, "Fairhaven", "");
    EXPECT_TRUE(m.MessageWaiting());
    std::vector<QString> captions;
    const char* press = "View";
    SetModalDialogRunner([&](QDialog& dialog) {
        captions.push_back(dialog.windowTitle());
        Render(dialog, "RTMessageAlertDlg_756");
        ButtonOf(dialog, press)->click();
        return dialog.result();
    });
    EXPECT_TRUE(RunMessageAlert(nullptr)) << "View";
    EXPECT_FALSE(m.MessageWaiting());
    EXPECT_FALSE(RunMessageAlert(nullptr)) << "nothing new: no alert";

    GiveMessage(kAddressAdministration, "Maintenance", "");
    press = "Do not alert me in future";
    EXPECT_FALSE(RunMessageAlert(nullptr));
    EXPECT_FALSE(m.Profile().flags & kContactAlerts);
    GiveMessage(2001, "Again", "");
    EXPECT_FALSE(RunMessageAlert(nullptr));
    EXPECT_EQ(captions, (std::vector<QString>{"Message alert ( Bullfinch (connected) @ 14:05 )",
                                              "Message alert ( Quorvantis administration @ 14:05 )"}));
}

} // namespace
} // namespace qv
