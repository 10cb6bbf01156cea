// "Graph Value" from the portfolio view and from the transactions view of the "Portfolio" layout on
// the demo data, run through the frame as the menu runs it: both open the portfolio's value chart.
#include "chartmodel/ui/ViewGraphEODWindow.h"
#include "core/ShareList.h"
#include "lists/GraphSource.h"
#include "platform/MessageDispatch.h"
#include "portfolio/ui/ViewPort.h"
#include "portfolio/ui/ViewTran.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ViewRequests.h"
#include "shell/ui/WindowCommands.h"
#include "shell/ui/WindowFactory.h"
#include "support/ui/PortfolioLayoutFrame.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"
#include "views/ui/ViewClassRegistry.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qv;
using namespace qv::test;

namespace {

constexpr uint32_t kGraphValue = 25095;

class PortfolioGraphValue : public PortfolioLayoutFrame {
protected:
    PortfolioGraphValue()
    {
        previousChart_ =
            RegisterViewClass(kViewDailyChart, [](int32_t k) -> CViewBaseWnd* { return new CViewGraphEODWnd(k); });
        requests_ = std::make_unique<CViewRequests>(*frame, *factory);
        commands_ = std::make_unique<CWindowCommands>(*frame, *factory, *requests_);
    }
    ~PortfolioGraphValue() override
    {
        MainFrameState().activeView = nullptr;
        factory->CloseAllWindows();
        commands_.reset();
        requests_.reset();
        RegisterViewClass(kViewDailyChart, previousChart_);
        HandOverGraphSource(nullptr, 0, nullptr);
    }
    // Runs the command from the view as the menu does, and returns the chart it made active.
    CViewGraphEODWnd* GraphFrom(CViewBase* view)
    {
        MainFrameState().activeView = view;
        if (!QueryCommandUi(kGraphValue).enabled)
            return nullptr;
        frame->OnCommand(kGraphValue);
        Settle();
        return dynamic_cast<CViewGraphEODWnd*>(MainFrameState().activeView);
    }

    ViewClassFactory previousChart_;
    std::unique_ptr<CViewRequests> requests_;
    std::unique_ptr<CWindowCommands> commands_;
};

TEST_F(PortfolioGraphValue, TheTransactionsViewChartsTheValueAsThePortfolioViewDoes)
{
    auto* port = FindView<CViewPort>();
    auto* tran = FindView<CViewTran>();
    ASSERT_NE(port, nullptr);
    ASSERT_NE(tran, nullptr);
    ASSERT_EQ(tran->list->family, kFamilyTransactions);
    ASSERT_EQ(port->list->source, tran->list->source) << "both show the demo portfolio";

    CViewGraphEODWnd* fromPort = GraphFrom(port);
    ASSERT_NE(fromPort, nullptr) << "a chart from the portfolio view";
    ASSERT_GT(fromPort->eod.days().size(), 100u);
    const float portLast = fromPort->eod.days().back().close;
    const size_t portDays = fromPort->eod.days().size();

    CViewGraphEODWnd* fromTran = GraphFrom(tran);
    ASSERT_NE(fromTran, nullptr) << "a chart from the transactions view";
    EXPECT_NE(fromTran, fromPort);
    EXPECT_EQ(fromTran->graphSourceKind, kSourcePortfolioValue);
    EXPECT_TRUE(fromTran->noDataText.empty()) << fromTran->noDataText;
    const std::string title = fromTran->eod.ChartTitle();
    EXPECT_NE(title.find("Demo Portfolio"), std::string::npos) << title;
    ASSERT_EQ(fromTran->eod.days().size(), portDays) << "the same portfolio's history";
    EXPECT_EQ(fromTran->eod.days().back().close, portLast);
    EXPECT_EQ(TakeGraphSource(fromTran->list, kSourcePortfolioValue), nullptr) << "the chart took the handed record";
}

} // namespace
