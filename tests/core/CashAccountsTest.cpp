// Cash accounts: numbering, the limit of 1000, the naming dialog, copying and removal.
#include "core/CashAccounts.h"

#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

class CashAccountsTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        FreeCashAccounts();
        SetNewCashAccountDialog({});
    }
    test::FakeMessageBox boxes_;
};

std::vector<uint32_t> Numbers()
{
    std::vector<uint32_t> out;
    for (CashAccount* a = CashAccounts().head; a; a = a->next)
        out.push_back(a->number);
    return out;
}

} // namespace

TEST_F(CashAccountsTest, LowestFreeNumbersAndRemoval)
{
    CashAccount* a = NewCashAccount("Global Account");
    CashAccount* b = NewCashAccount("Second");
    CashAccount* c = NewCashAccount("Third");
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->kind, -1);
    EXPECT_EQ(a->dataSize, kCashBlockBytes);
    EXPECT_EQ(a->data[0], 0);
    EXPECT_EQ(a->data[kCashBlockBytes - 1], 0);
    CashAccounts().current = a;

    RemoveCashAccount(a); // the head moves
    EXPECT_EQ(Numbers(), (std::vector<uint32_t>{2, 3}));
    EXPECT_EQ(CashAccounts().current, b);
    CashAccount* d = NewCashAccount("Fourth");
    EXPECT_EQ(d->number, 1u) << "the lowest free number";
    EXPECT_EQ(Numbers(), (std::vector<uint32_t>{2, 3, 1})) << "appended at the end";
    CashAccount stranger;
    RemoveCashAccount(&stranger);
    RemoveCashAccount(nullptr);
    EXPECT_EQ(Numbers().size(), 3u);
}

TEST_F(CashAccountsTest, TheThousandthAccountIsAllowedAndTheNextRefused)
{
    for (int i = 0; i < 999; ++i)
        ASSERT_NE(NewCashAccount("a"), nullptr);
    CashAccount* last = NewCashAccount("last");
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->number, 1000u);
    EXPECT_EQ(NewCashAccount("one too many"), nullptr);
    ASSERT_EQ(boxes_.shown().size(), 1u);
    EXPECT_EQ(boxes_.shown()[0].text, "Only 1000 cash accounts allowed");
    EXPECT_EQ(boxes_.shown()[0].icon, MsgIcon::Information);
}

TEST_F(CashAccountsTest, AnUnnamedAccountAsksTheDialog)
{
    EXPECT_EQ(NewCashAccount(""), nullptr) << "no dialog: cancelled";
    SetNewCashAccountDialog([] { return std::optional<NewCashAccountAnswer>(); });
    EXPECT_EQ(NewCashAccount(""), nullptr);
    EXPECT_EQ(CashAccounts().head, nullptr);
    SetNewCashAccountDialog([] { return std::optional<NewCashAccountAnswer>({"Savings", 3}); });
    CashAccount* named = NewCashAccount("");
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->name, "Savings");
    EXPECT_EQ(named->kind, 3);
    EXPECT_EQ(named->number, 1u);
}

TEST_F(CashAccountsTest, CopiesDuplicateTheBlock)
{
    CashAccount* a = NewCashAccount("From");
    CashAccount* b = NewCashAccount("To");
    a->kind = 4;
    a->data[0] = 9;
    CopyCashAccount(*b, *a, true);
    EXPECT_EQ(b->name, "From");
    EXPECT_EQ(b->number, 2u);
    EXPECT_EQ(b->kind, -1);
    EXPECT_NE(b->data, a->data);
    EXPECT_EQ(b->data[0], 9);
    CopyCashAccount(*b, *a, false);
    EXPECT_EQ(b->number, 1u);
    EXPECT_EQ(b->kind, 4);
    EXPECT_EQ(a->next, b);
}
