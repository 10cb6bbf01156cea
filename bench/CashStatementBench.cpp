// A cash account's statement: reloading 5,000 rows (4,000 entries of the account and 1,000
// transactions of two portfolios that name it), merged by date with running balances.
#include "core/CashAccounts.h"
#include "core/Memory.h"
#include "core/PackedDate.h"
#include "core/Portfolio.h"
#include "portfolio/CashEntry.h"
#include "portfolio/CashStatement.h"
#include "portfolio/Transaction.h"

#include <benchmark/benchmark.h>

namespace {

struct Fixture {
    qv::CashAccount account;
    qv::Portfolio first, second;

    Fixture()
    {
        account.number = 3;
        account.dataSize = qv::kCashBlockBytes;
        account.data = static_cast<uint8_t*>(qv::ProCalloc(1, account.dataSize, "Cash account"));
        for (int i = 0; i < 4000; ++i) {
            qv::CashEntryFields f;
            f.type = uint8_t(i % 4);
            f.date = qv::PackDate(1 + i % 28, 1 + i % 12, 2000 + i % 25);
            f.amount = float(10 + i % 90);
            f.note = "Entry";
            qv::AddCashEntry(account.data, account.dataSize, *qv::EncodeCashEntry(f));
        }
        first.next = &second;
        for (int i = 0; i < 1000; ++i) {
            qv::TransactionFields t;
            t.type = uint8_t(1 + i % 3);
            t.date = qv::PackDate(1 + i % 28, 1 + i % 12, 2000 + i % 25);
            t.shareId = uint16_t(0x4000 + i % 50);
            t.amount = float(100 + i);
            t.cashAccount = 3;
            t.texts[0] = "Share " + std::to_string(i % 50);
            qv::Portfolio& p = i % 2 ? first : second;
            qv::InsertSortedByName(p.transactions, new qv::Transaction{nullptr, *qv::EncodeTransaction(t)});
        }
    }
    ~Fixture()
    {
        first.next = nullptr;
        qv::FreeTransactions(first.transactions);
        qv::FreeTransactions(second.transactions);
        qv::ProFree(account.data);
    }
};

void BM_ReloadCashStatement(benchmark::State& state)
{
    Fixture fixture;
    for (auto _ : state) {
        qv::CashStatement s = qv::BuildCashStatement(fixture.account, &fixture.first);
        benchmark::DoNotOptimize(s.balance);
        if (s.rows.size() != 5000)
            state.SkipWithError("the statement should hold 5,000 rows");
    }
}
BENCHMARK(BM_ReloadCashStatement)->Unit(benchmark::kMillisecond);

} // namespace
