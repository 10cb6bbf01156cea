// Tests of the text listings of the portfolios, their transactions and the cash accounts.
#include "devtools/lib/PortfolioText.h"

#include "core/CashAccountFile.h"
#include "devtools/lib/DatabaseWriter.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "portfolio/CashEntry.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/Transaction.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>
#include <cstring>

using namespace qv;

TEST(PortfolioText, ListsPortfoliosTransactionsAndAccountsWithoutTouchingTheFolder)
{
    dev::TempFolder dir;
    test::FakeMessageBox box;
    dev::DbFile db;
    db.entries.emplace_back().records = {dev::ShareRecord(0x4001, "Alpha Mining", 'O', "ALM")};
    ASSERT_TRUE(dev::WriteDatabaseFolder(dir.path(), db, nullptr));

    Portfolio p;
    p.number = 6;
    p.name = "Pension";
    p.missing = new MissingShare{nullptr, 0x4777, 0};
    TransactionFields f;
    f.texts[0] = "Alpha Mining";
    f.texts[2] = "topped up";
    f.shareId = 0x4001;
    f.type = 1;
    f.flags = TransactionFlag::FloatValues;
    f.shares = 500;
    auto* t = new Transaction;
    t->bytes = *EncodeTransaction(f);
    p.transactions = t;
    WriteFileBytes(dir.path() / "Quorva006.por", BuildPortfolioImage(p));
    FreeTransactions(p.transactions);
    FreeMissingShares(p.missing);
    WriteFileBytes(dir.path() / "Quorva007.por", std::vector<uint8_t>{'Z', 'Q', 'A', 'B', 9});

    CashEntryFields entry;
    entry.amount = 100;
    entry.note = "opening";
    StoredCashAccount account = DefaultCashAccount();
    std::vector<uint8_t> bytes = *EncodeCashEntry(entry);
    std::memcpy(account.data.data(), bytes.data(), bytes.size());
    SetProgramFolder(dir.path());
    WriteFileBytes(AppPath("Data\\Cash.dat", MakeFolders::Yes), WriteCashFile({account}));

    std::string text = dev::DescribePortfolioFolder(dir.path());
    EXPECT_NE(text.find("portfolio 6 \"Pension\" user flags 0: 0 entries"), std::string::npos) << text;
    EXPECT_NE(text.find("missing share 0x4777"), std::string::npos) << text;
    EXPECT_NE(text.find("share 0x4001 line 0 \"Alpha Mining\" shares 500"), std::string::npos) << text;
    EXPECT_NE(text.find("note 2 \"topped up\""), std::string::npos) << text;
    EXPECT_NE(text.find("portfolio 65284 \"Alarms - Global\" pre-set"), std::string::npos) << text;
    EXPECT_NE(text.find("cash account 1 \"Global Account\""), std::string::npos) << text;
    EXPECT_NE(text.find("amount 100 \"\" \"opening\""), std::string::npos) << text;
    EXPECT_EQ(box.texts(), std::vector<std::string>{"Portfolio is badly formatted"});
    EXPECT_TRUE(ReadFileBytes(dir.path() / "Quorva007.por"));
    EXPECT_EQ(ProgramFolder(), dir.path());
}
