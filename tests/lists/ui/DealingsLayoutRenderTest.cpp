// The frame with the "One Share" layout on the demo data: its dealings window is a dealings view that
// takes the layout's filter byte (the linked share's dealings only) and shows them.
#include "lists/ui/ViewHoldWindow.h"

#include "core/Database.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "devtools/lib/DemoDealings.h"
#include "devtools/lib/PriceDatabase.h"
#include "lists/DealingItem.h"
#include "lists/DirectorsDealings.h"
#include "lists/HoldList.h"
#include "lists/ListOptions.h"
#include "lists/ListSettings.h"
#include "lists/ui/ViewList.h"
#include "platform/MessageDispatch.h"
#include "shell/ui/ChildWindow.h"
#include "support/ui/FactoryFrame.h"
#include "support/ui/Render.h"
#include "views/ui/ViewClassRegistry.h"

#include <QApplication>
#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

constexpr int kOneShareLayout = 2;

class DealingsLayout : public FactoryFrame {
protected:
    DealingsLayout() : FactoryFrame(1400, 900)
    {
        static const dev::DemoDatabase demo =
            dev::BuildDemoDatabase(std::chrono::sys_days{std::chrono::year{2026} / std::chrono::December / 8});
        LoadDatabaseFromMemory(dev::WriteQuorvaDat(dev::DemoDbFile(demo)), nullptr);
        std::vector<uint8_t> block;
        DealingsFileInfo info;
        EXPECT_EQ(ParseDealingsFile(dev::WriteDealingsFile(dev::BuildDemoDealings(demo)).bytes, block, info,
                                    DealingsCodingTables()),
                  DealingsParse::Ok);
        InstallDealingsBlock(std::move(block), info);
        previousList_ = RegisterViewClass(1, [](int32_t kind) -> CViewBaseWnd* { return new CViewList(kind); });
        previousHold_ = RegisterViewClass(5, [](int32_t) -> CViewBaseWnd* { return new CViewHoldWnd; });
    }
    ~DealingsLayout() override
    {
        factory->CloseAllWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        RegisterViewClass(1, previousList_);
        RegisterViewClass(5, previousHold_);
        FreeDirDealBlocks();
        ForgetListRows();
        FreeSettingLayouts();
        FreeDatabase(true);
    }

    ViewClassFactory previousList_, previousHold_;
};

} // namespace

TEST_F(DealingsLayout, TheOneShareLayoutsDealingsWindowShowsItsShare)
{
    WindowLayouts().current = kOneShareLayout;
    factory->CreateLayoutWindows();
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        DeliverPostedMessages();
    }
    CViewHoldWnd* hold = nullptr;
    for (CChildWindow* child : factory->Children())
        if (auto* view = dynamic_cast<CViewHoldWnd*>(child->widget()))
            hold = view;
    ASSERT_NE(hold, nullptr);
    ASSERT_TRUE(hold->IsLinked());
    // The layout limits the window to the linked window's share: with a demo share that has dealings
    // there, the window shows that share's dealings and holdings alone.
    CViewHold all;
    all.BuildHoldList();
    ASSERT_FALSE(all.rows.empty());
    const uint16_t id = DecodeDealing(all.rows[0].record - 1, DealingsInfo(), DealingsCodingTables()).shareId;
    ShareList* parent = hold->secondList;
    parent->entries[0] = {const_cast<uint8_t*>(FindDealingShare(id)), 0};
    parent->entries[1] = {nullptr, 0};
    parent->current = 0;
    parent->currentId = id; // the linked window's share, as its view group gives it
    hold->OnRefresh();
    EXPECT_EQ(HoldLimit(hold->filter), kHoldLimitShare) << int(hold->filter);
    EXPECT_EQ(hold->selectedShareId, id);
    ASSERT_FALSE(hold->rows.empty());
    EXPECT_LT(hold->rows.size(), all.rows.size());
    for (const RecordCursor& row : hold->rows)
        EXPECT_EQ(DecodeDealing(row.record - 1, DealingsInfo(), DealingsCodingTables()).shareId, id);
    SaveRender(RenderWidget(*frame), QStringLiteral("frame-one-share-layout"));
    SaveRender(RenderWidget(*hold), QStringLiteral("one-share-dealings-window"));
}
