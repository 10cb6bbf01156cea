// The "Portfolio" layout on the demo data, for the portfolio-type views' tests.
#include "support/ui/PortfolioLayoutFrame.h"

#include "core/CashAccounts.h"
#include "core/Database.h"
#include "core/WindowLayouts.h"
#include "devtools/lib/DemoPortfolios.h"
#include "devtools/lib/PriceDatabase.h"
#include "lists/ListSettings.h"
#include "lists/ListOptions.h"
#include "lists/ui/ViewList.h"
#include "platform/MessageDispatch.h"
#include "platform/Paths.h"
#include "portfolio/ui/PortfolioWindows.h"
#include "shell/ui/ChildWindow.h"
#include "shell/ui/ModalDialog.h"
#include "views/FrameState.h"

#include <QApplication>

namespace qv::test {

namespace {

constexpr int kPortfolioLayout = 3;

} // namespace

PortfolioLayoutFrame::PortfolioLayoutFrame() : FactoryFrame(1400, 900), previousFolder_(ProgramFolder())
{
    std::filesystem::create_directories(folder_ / "data");
    SetProgramFolder(folder_.path());
    static const dev::DemoDatabase demo =
        dev::BuildDemoDatabase(std::chrono::sys_days{std::chrono::year{2026} / std::chrono::December / 8});
    LoadDatabaseFromMemory(dev::WriteQuorvaDat(dev::DemoDbFile(demo)), nullptr);
    PortfolioChain() = nullptr;
    EXPECT_TRUE(dev::BuildDemoPortfolios());
    EXPECT_TRUE(dev::MakeDemoCashAccounts());
    previousList_ = RegisterViewClass(1, [](int32_t kind) -> CViewBaseWnd* { return new CViewList(kind); });
    InstallPortfolioWindows();
    WindowLayouts().current = kPortfolioLayout;
    factory->CreateLayoutWindows();
    Settle();
}

PortfolioLayoutFrame::~PortfolioLayoutFrame()
{
    MainFrameState().activeView = nullptr;
    factory->CloseAllWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    RemovePortfolioWindows();
    RegisterViewClass(1, previousList_);
    SetModalDialogRunner(nullptr);
    FreeCashAccounts();
    PortfolioChain() = nullptr;
    ForgetListRows();
    FreeSettingLayouts();
    FreeDatabase(true);
    SetProgramFolder(previousFolder_);
}

void PortfolioLayoutFrame::Settle()
{
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        DeliverPostedMessages();
    }
}

} // namespace qv::test
