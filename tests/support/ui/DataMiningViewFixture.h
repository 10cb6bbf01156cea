// The demo database with the demo filters, the first current and its candidates built, and a
// data-mining view made on request; everything is freed and the configuration put back afterwards.
#pragma once

#include "core/ConfigState.h"
#include "core/DMFilter.h"
#include "core/RecordLists.h"
#include "core/ShareList.h"
#include "datamining/FilterValues.h"
#include "datamining/ui/ViewDataMining.h"
#include "devtools/lib/DemoFilters.h"
#include "devtools/lib/PriceDatabase.h"
#include "devtools/lib/ShareListChain.h"
#include "support/DatabaseFixture.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <chrono>
#include <memory>

namespace qv::test {

class DataMiningViewFixture : public DatabaseFixture {
protected:
    DataMiningViewFixture() : saved_(Config())
    {
        static const dev::DemoDatabase demo =
            dev::BuildDemoDatabase(std::chrono::sys_days{std::chrono::year{2026} / std::chrono::December / 8});
        static const std::vector<uint8_t> comp = dev::WriteCompDat(dev::DemoCompFile(demo));
        static const std::vector<uint8_t> quorva = dev::WriteQuorvaDat(dev::DemoDbFile(demo));
        Load(quorva, &comp);
        // The demo's filters alone, the first current: not after filters an earlier test left.
        ClearFilterList();
        for (auto& filter : dev::BuildDemoFilters())
            FilterList().push_back(std::move(filter));
        SetCurrentFilter(FilterList().front().get());
        RebuildFilterCandidates();
    }
    ~DataMiningViewFixture() override
    {
        MainFrameState().activeView = nullptr;
        view.reset();
        dev::FreeShareListChain();
        CurrentShareList() = nullptr;
        ClearFilterList();
        FreeItemList();
        FilterCandidates() = {};
        Config() = saved_;
    }
    // A data-mining view of the class the program registers, active and refreshed.
    CViewDataMining& MakeView()
    {
        RegisterDataMiningView();
        view.reset(dynamic_cast<CViewDataMining*>(CreateViewWindowForKind(kViewDataMining)));
        EXPECT_NE(view, nullptr);
        view->setAttribute(Qt::WA_DeleteOnClose, false);
        view->list = CreateListSource(view.get(), 1, kFamilyShares, nullptr);
        view->resize(1000, 700);
        MainFrameState().activeView = view.get();
        view->OnRefresh();
        return *view;
    }

    std::unique_ptr<CViewDataMining> view;

private:
    ConfigState saved_;
};

} // namespace qv::test
