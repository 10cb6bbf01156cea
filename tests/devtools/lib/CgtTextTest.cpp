// The capital gains report of a portfolio in a folder: a share's history, the portfolio's and one tax
// year's, each against a golden text read by hand.
#include "devtools/lib/CgtText.h"

#include "core/DateText.h"
#include "devtools/lib/DatabaseWriter.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/Transaction.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

using namespace qv;

namespace {

struct Deal {
    uint16_t share;
    const char* name;
    const char* date;
    uint8_t type;
    float shares, price, charges;
};

// Two shares: one bought in 1993 and 1999 and sold across the April 1998 line, one sold at a loss.
void WriteFixtureFolder(const std::filesystem::path& dir)
{
    dev::DbFile db;
    db.entries.emplace_back().records = {dev::ShareRecord(0x4001, "Alpha Mining", 'O', "ALM"),
                                         dev::ShareRecord(0x4002, "Beta Stores", 'O', "BST")};
    ASSERT_TRUE(dev::WriteDatabaseFolder(dir, db, nullptr));
    const Deal deals[] = {
        {0x4001, "Alpha Mining", "1/5/1993", 1, 1000, 1.0f, 10},
        {0x4001, "Alpha Mining", "1/6/1995", 2, 400, 2.0f, 10},
        {0x4001, "Alpha Mining", "1/6/1999", 1, 500, 3.0f, 10},
        {0x4001, "Alpha Mining", "1/5/2001", 2, 800, 4.0f, 10},
        {0x4001, "Alpha Mining", "20/5/2001", 1, 200, 3.5f, 10},
        {0x4002, "Beta Stores", "1/6/1999", 1, 1000, 2.0f, 10},
        {0x4002, "Beta Stores", "1/7/2000", 2, 1000, 1.5f, 10},
    };
    Portfolio p;
    p.number = 1;
    p.name = "Tax Test";
    std::memset(p.settings, 0xFF, sizeof p.settings);
    Transaction* head = nullptr;
    Transaction** tail = &head;
    for (const Deal& d : deals) {
        TransactionFields f;
        f.texts[0] = d.name;
        f.shareId = d.share;
        f.type = d.type;
        f.date = ParseDate(d.date);
        f.flags = TransactionFlag::FloatValues;
        f.shares = d.shares;
        f.price = d.price;
        f.brokerCharge = d.charges;
        f.charges = d.charges;
        auto* t = new Transaction;
        t->bytes = *EncodeTransaction(f);
        *tail = t;
        tail = &t->next;
    }
    p.transactions = head;
    WriteFileBytes(dir / "Quorva001.por", BuildPortfolioImage(p));
    FreeTransactions(p.transactions);
}

std::string Golden(const char* name)
{
    std::ifstream in(std::string(QV_SOURCE_DIR "/tests/devtools/lib/golden/") + name);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(CgtText, ShareHistoryPortfolioHistoryAndTaxYearMatchTheirGoldenTexts)
{
    dev::TempFolder dir;
    test::FakeMessageBox box;
    WriteFixtureFolder(dir.path());
    struct {
        dev::CgtTextRequest request;
        const char* golden;
    } const cases[] = {
        {{"Tax Test", "ALM", -1}, "cgt-share-history.txt"},
        {{"Tax Test", "", -1}, "cgt-portfolio-history.txt"},
        {{"Tax Test", "", 11}, "cgt-tax-year-2001.txt"},
    };
    for (const auto& c : cases) {
        std::string error;
        // The 2000/01 loss is carried through every later year up to this date's, 2026/27.
        dev::CgtTextRequest request = c.request;
        request.today = ParseDate("10/12/2026");
        auto text = dev::DescribeCapitalGains(dir.path(), request, error);
        ASSERT_TRUE(text) << error;
        EXPECT_EQ(*text, Golden(c.golden)) << c.golden << ":\n" << *text;
    }
}

TEST(CgtText, UnknownPortfolioOrShareIsAnError)
{
    dev::TempFolder dir;
    test::FakeMessageBox box;
    WriteFixtureFolder(dir.path());
    std::string error;
    EXPECT_FALSE(dev::DescribeCapitalGains(dir.path(), {"Nothing", "", -1}, error));
    EXPECT_EQ(error, "no portfolio Nothing");
    EXPECT_FALSE(dev::DescribeCapitalGains(dir.path(), {"Tax Test", "ZZZ", -1}, error));
    EXPECT_EQ(error, "no share ZZZ in the portfolio");
}
