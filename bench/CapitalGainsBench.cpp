// The capital gains pass over a portfolio of 10,000 transactions: the silent pass the holdings pass
// runs, and the portfolio history with its text.
#include "core/PackedDate.h"
#include "portfolio/CapitalGains.h"
#include "portfolio/Transaction.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace qv {
namespace {

// 100 shares of 100 rows each: buys and sells from 1988 on, every third row a sale, each run closed
// by its 'Latest' row.
class TenThousandTransactions {
public:
    TenThousandTransactions()
    {
        Transaction** tail = &head_;
        for (uint16_t share = 1; share <= 100; ++share) {
            int day = DateToDayNumber(PackDate(1, 1, 1988)) + share;
            for (int k = 0; k < 99; ++k, day += 127) {
                bool sale = k % 3 == 2;
                Add(tail, share, DayNumberToDate(day), sale ? 2 : 1, sale ? 120 : 100, 1.0f + 0.05f * float(k % 17));
            }
            Add(tail, share, PackDate(8, 12, 2026), kLatestRowType, 1300, 2.0f);
        }
    }
    Transaction* head() const { return head_; }

private:
    void Add(Transaction**& tail, uint16_t share, PackedDate date, uint8_t type, float shares, float price)
    {
        TransactionFields f;
        f.date = date;
        f.type = type;
        f.shareId = share;
        f.shares = shares;
        f.price = price;
        f.charges = 12.5f;
        f.consideration = shares * price;
        f.texts[0] = "SHARE";
        auto t = std::make_unique<Transaction>();
        t->bytes = *EncodeTransaction(f);
        *tail = t.get();
        tail = &t->next;
        rows_.push_back(std::move(t));
    }

    Transaction* head_ = nullptr;
    std::vector<std::unique_ptr<Transaction>> rows_;
};

CgtInputs Inputs(const TenThousandTransactions& list)
{
    CgtInputs in;
    in.transactions = list.head();
    in.manualLosses.fill(-1);
    return in;
}

void BM_CgtSilentPass(benchmark::State& state)
{
    TenThousandTransactions list;
    CgtInputs in = Inputs(list);
    for (auto _ : state)
        benchmark::DoNotOptimize(CapitalGainsReport(in, {}, false));
}
BENCHMARK(BM_CgtSilentPass)->Unit(benchmark::kMillisecond);

void BM_CgtPortfolioHistory(benchmark::State& state)
{
    TenThousandTransactions list;
    CgtInputs in = Inputs(list);
    for (auto _ : state)
        benchmark::DoNotOptimize(CapitalGainsReport(in, {0, -1, true}, true));
}
BENCHMARK(BM_CgtPortfolioHistory)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace qv
