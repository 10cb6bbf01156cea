// The member records read with every length checked, and the messaging rules built on them: how a
// sender is named, the reply's "Re: ", Post's three refusals and the nickname clash.
#include "realtime/messaging/MemberRecords.h"

#include "platform/ByteOrder.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

ContactRecord Contact(int32_t member, const char* nickname, uint32_t flags)
{
    ContactRecord c;
    c.member = member;
    c.flags = flags;
    c.nickname() = nickname;
    return c;
}

MemberMessage Message()
{
    MemberMessage m;
    m.sequence = 7;
    m.flags = kMessageQueued;
    m.sender = 1001;
    m.receiver = -2;
    m.date = PackDate(9, 12, 2026);
    m.time = 14 * 3600 + 5 * 60 + 59;
    m.subject = "Dividend dates";
    m.text = "When does Fairhaven go ex?";
    return m;
}

TEST(MemberRecordsTest, RecordsKeepTheirFieldsWhereTheServerReadsThem)
{
    const std::vector<uint8_t> bytes = Message().Write();
    EXPECT_EQ(LoadU32(bytes.data()), bytes.size()) << "the record's own length";
    EXPECT_EQ(LoadU32(bytes.data() + 12), kMessageQueued) << "the header's flags word";
    EXPECT_EQ(LoadI32(bytes.data() + 20), -2);
    auto m = MemberMessage::Read(bytes);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->sender, 1001);
    EXPECT_EQ(m->date, PackDate(9, 12, 2026));
    EXPECT_EQ(m->time, 14u * 3600 + 5 * 60 + 59);
    EXPECT_EQ(m->subject, "Dividend dates");
    EXPECT_EQ(m->text, "When does Fairhaven go ex?");

    ContactRecord c = Contact(2001, "Bullfinch", kChoiceBlocked | kContactAccepts);
    c.texts[8] = "notes";
    const std::vector<uint8_t> contact = c.Write();
    EXPECT_EQ(LoadI32(contact.data() + 8), 2001);
    EXPECT_EQ(LoadU32(contact.data() + 32), kChoiceBlocked | kContactAccepts);
    EXPECT_EQ(LoadU16(contact.data() + 40), 9u) << "the nickname from byte 40";
    EXPECT_EQ(std::string(contact.begin() + 42, contact.begin() + 51), "Bullfinch");
    auto back = ContactRecord::Read(contact);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->choice(), kChoiceBlocked);
    EXPECT_EQ(back->texts[8], "notes");
}

TEST(MemberRecordsTest, ALengthThatRunsPastTheRecordRefusesIt)
{
    const std::vector<uint8_t> message = Message().Write();
    const std::vector<uint8_t> contact = Contact(5, "Wren", 0).Write();
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool isContact;
    };
    std::vector<Case> cases;
    cases.push_back({"shorter than the fixed part", std::vector<uint8_t>(message.begin(), message.begin() + 31), false});
    cases.push_back({"a message cut short", std::vector<uint8_t>(message.begin(), message.end() - 1), false});
    auto longSubject = message;
    StoreU16(longSubject.data() + 32, 0xFFFF);
    cases.push_back({"a subject past the record", longSubject, false});
    auto shortLength = message;
    StoreU32(shortLength.data(), 34); // holds the subject's length word but not the subject
    cases.push_back({"the record's own length cuts the subject", shortLength, false});
    auto tiny = message;
    StoreU32(tiny.data(), 8);
    cases.push_back({"a length below the fixed part", tiny, false});
    cases.push_back({"a contact without its texts", std::vector<uint8_t>(contact.begin(), contact.begin() + 40), true});
    auto longNick = contact;
    StoreU16(longNick.data() + 40, 200);
    cases.push_back({"a nickname past the record", longNick, true});
    for (const Case& c : cases) {
        if (c.isContact)
            EXPECT_FALSE(ContactRecord::Read(c.bytes)) << c.what;
        else
            EXPECT_FALSE(MemberMessage::Read(c.bytes)) << c.what;
    }
    // Bytes past the record's own length (the node's spare four) are not part of it.
    auto padded = message;
    padded.resize(padded.size() + 4, 0xEE);
    EXPECT_TRUE(MemberMessage::Read(padded));
}

TEST(MemberRecordsTest, SendersAreNamedByNicknameFixedNameOrNumber)
{
    const std::vector<ContactRecord> contacts{Contact(2001, "Bullfinch", kContactConnected), Contact(2002, "Magpie", 0),
                                              Contact(1001, "Wren", kContactOwn | kContactConnected)};
    const struct {
        int32_t member;
        const char* name;
    } cases[] = {
        {1001, "Wren"},
        {2001, "Bullfinch (connected)"},
        {2002, "Magpie (not connected)"},
        {-1, "Quorvantis administration"},
        {-2, "Quorvantis support"},
        {-3, "Quorvantis wishlist"},
        {3003, "3003 (not a contact)"},
        {-4, "-4 (not a contact)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MemberName(c.member, contacts), c.name) << c.member;

    MemberMessage m = Message();
    EXPECT_EQ(MessageLine(3, m, true, contacts), "3 sent 09/12/26 14:05 to Quorvantis support");
    m.flags |= kMessageDeleted;
    m.sender = 2001;
    EXPECT_EQ(MessageLine(1, m, false, contacts), "< Message to be deleted > 1 sent 09/12/26 14:05 from Bullfinch (connected)");
}

TEST(MemberRecordsTest, AReplyGainsReOnlyWhenItLacksIt)
{
    const struct {
        const char* subject;
        const char* reply;
    } cases[] = {
        {"Results", "Re: Results"},
        {"Re: Results", "Re: Results"},
        {"Re: Re: Results", "Re: Re: Results"},
        {"Re:Results", "Re: Re:Results"},
        {"RE: Results", "Re: RE: Results"},
        {"", "Re: "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReplySubject(c.subject), c.reply) << c.subject;
}

TEST(MemberRecordsTest, PostRefusesInItsOrder)
{
    ContactRecord open = Contact(1001, "Me", kContactOwn | kContactAccepts);
    ContactRecord closed = Contact(1001, "Me", kContactOwn);
    const std::vector<ContactRecord> contacts{
        Contact(1, "Open", kChoiceSendList | kContactAccepts), Contact(2, "BlockedButOpen", kChoiceBlocked | kContactAccepts),
        Contact(3, "Closed", kChoiceSendList), Contact(4, "BlockedAndClosed", kChoiceBlocked)};
    const struct {
        const ContactRecord* profile;
        int32_t receiver;
        PostRefusal refusal;
    } cases[] = {
        {&open, 1, PostRefusal::None},
        {&open, kAddressSupport, PostRefusal::None},
        {&open, 2, PostRefusal::ReceiverBlocked},
        {&open, 3, PostRefusal::ReceiverClosed},
        {&open, 4, PostRefusal::ReceiverBlocked},
        {&closed, 1, PostRefusal::OwnProfileClosed},
        {&closed, 4, PostRefusal::OwnProfileClosed},
        {&closed, kAddressAdministration, PostRefusal::OwnProfileClosed},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckPost(*c.profile, c.receiver, contacts), c.refusal) << c.receiver;
    EXPECT_EQ(std::string(PostRefusalText(PostRefusal::ReceiverClosed)),
              "This member has elected not to receive messages.\r\nPlease click ok to return.");
}

TEST(MemberRecordsTest, ANicknameClashesWhateverItsCaseButNotWithTheUsersOwnRecord)
{
    const std::vector<ContactRecord> contacts{Contact(2001, "Bullfinch", 0), Contact(1001, "Me", kContactOwn)};
    EXPECT_TRUE(NicknameTaken("Bullfinch", contacts));
    EXPECT_TRUE(NicknameTaken("bullFINCH", contacts));
    EXPECT_FALSE(NicknameTaken("Bullfinches", contacts));
    EXPECT_FALSE(NicknameTaken("me", contacts)) << "the user's own record";
}

TEST(MemberRecordsTest, TheDetailsPaneNamesTheContactOrShowsTheLabelsAlone)
{
    ContactRecord c = Contact(2001, "Bullfinch", kContactConnected);
    c.texts[1] = "Sam Finch";
    c.texts[3] = "47";
    c.texts[8] = "Brewers.";
    EXPECT_EQ(ContactDetails(&c), " Details for Bullfinch ( Connected )\r\nActual name:  Sam Finch\r\nEmail: \r\nAge: 47 yrs"
                                  "\r\nInvestment approach: \r\nInvestment horizon: \r\nYears with Quorvantis: \nYears "
                                  "investing: \r\n\r\nOther notes:\r\nBrewers.");
    EXPECT_EQ(ContactDetails(nullptr).rfind(" No selected contact \r\nActual name:  \r\nEmail: \r\nAge: \r\n", 0), 0u);
}

} // namespace
} // namespace qv
