// The holdings pass over a portfolio of 1,000 and 10,000 transactions, and one paint of the
// portfolio view over the demo portfolio.
#include "core/Database.h"
#include "core/ShareList.h"
#include "devtools/lib/DemoPortfolios.h"
#include "devtools/lib/PriceDatabase.h"
#include "portfolio/HoldingsPass.h"
#include "portfolio/PortfolioFile.h"
#include "portfolio/Transaction.h"
#include "portfolio/ui/ViewPort.h"

#include "BenchApplication.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace qv;

// `count` transactions over 200 shares: each share's run buys, takes dividends, splits once and
// sells, so that every step of the pass and the first-in-first-out matching are exercised.
void FillPortfolio(Portfolio& p, int count)
{
    for (int i = 0; i < count; ++i) {
        TransactionFields f;
        const int share = i % 200, step = i / 200;
        f.shareId = uint16_t(0x4000 + share);
        f.texts[0] = "Share " + std::to_string(share);
        f.date = uint16_t(0x3000 + step * 8);
        f.type = uint8_t(step % 7 == 3 ? 2 : step % 7 == 5 ? 3 : step == 20 ? 13 : 1);
        f.flags = TransactionFlag::FloatValues;
        f.shares = 100;
        f.price = 1.5f + float(step) * 0.01f;
        f.amount = f.shares * f.price;
        f.splitRatio = 2;
        auto* t = new Transaction;
        t->bytes = *EncodeTransaction(f);
        InsertSortedByName(p.transactions, t);
    }
}

void BM_HoldingsPass(benchmark::State& state)
{
    Portfolio p;
    FillPortfolio(p, int(state.range(0)));
    HoldingsMarket market;
    market.latestDate = 0x4000;
    market.share = [](uint16_t id, uint8_t) -> std::optional<HoldingShare> {
        return HoldingShare{"Share " + std::to_string(id - 0x4000), 250, 3};
    };
    for (auto _ : state)
        BuildHoldingRows(p, market);
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
    FreeTransactions(p.transactions);
}
BENCHMARK(BM_HoldingsPass)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_PortfolioViewPaint(benchmark::State& state)
{
    BenchApplication();
    static const dev::DemoDatabase demo =
        dev::BuildDemoDatabase(std::chrono::sys_days{std::chrono::year{2026} / std::chrono::December / 8});
    LoadDatabaseFromMemory(dev::WriteQuorvaDat(dev::DemoDbFile(demo)), nullptr);
    dev::BuildDemoPortfolios();
    CurrentShareList() = CreateShareList(0, 0, kFamilyShares, nullptr, true);
    {
        CViewPort view;
        view.resize(1600, 1000);
        view.OnRefresh();
        for (auto _ : state)
            benchmark::DoNotOptimize(view.RenderImage(view.size()));
        state.counters["rows"] = double(ShareListCount(view.list));
        state.counters["strip items"] = double(view.headerItems().size());
    }
    FreePortfolioChain();
    FreeDatabase(true);
}
BENCHMARK(BM_PortfolioViewPaint)->Unit(benchmark::kMillisecond);

} // namespace
