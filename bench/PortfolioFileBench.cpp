// Reading a portfolio file image: transactions converted, looked up and linked in list order.
#include "portfolio/PortfolioFile.h"
#include "portfolio/Transaction.h"

#include <benchmark/benchmark.h>
#include <string>

// A portfolio of `state.range(0)` transactions spread over 200 shares, stored in reverse order so
// that every insertion walks its share's run.
static void BM_PortfolioLoad(benchmark::State& state)
{
    qv::Portfolio p;
    p.number = 1;
    p.name = "Bench";
    int count = int(state.range(0));
    for (int i = count - 1; i >= 0; --i) {
        qv::TransactionFields f;
        f.shareId = uint16_t(0x4000 + i % 200);
        f.texts[0] = "Share " + std::to_string(i % 200);
        f.date = uint16_t(0x3000 + i);
        f.type = 1;
        f.flags = qv::TransactionFlag::FloatValues;
        auto* t = new qv::Transaction;
        t->bytes = *qv::EncodeTransaction(f);
        t->next = p.transactions;
        p.transactions = t;
    }
    std::vector<uint8_t> image = qv::BuildPortfolioImage(p);
    qv::FreeTransactions(p.transactions);
    for (auto _ : state) {
        benchmark::DoNotOptimize(qv::LoadPortfolioImage(image, 1, 0, 0));
        qv::FreePortfolioChain();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * count);
}
BENCHMARK(BM_PortfolioLoad)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
