// The frame with the Main layout showing real list tables: every share-list window of the layout is
// a list view that paints its rows.
#include "lists/ui/ViewList.h"

#include "../ListFixture.h"
#include "core/Database.h"
#include "lists/ListOptions.h"
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

class ListFrame : public FactoryFrame {
protected:
    ListFrame() : FactoryFrame(1400, 900)
    {
        std::vector<dev::DbRecord> records;
        const char* names[] = {"Alpha Mining", "Bravo Foods", "Charlie Holdings", "Delta Power", "Echo Retail"};
        uint16_t id = 0x4001;
        for (const char* name : names)
            records.push_back(FixtureRecord({id++, name, {11}, MakeRecordFlags(kMarketMain, kIndexFtse100)}));
        dev::DbFile file = OneEntry(std::move(records));
        file.entries[0].extra = dev::DemoShareFieldTable();
        LoadDatabaseFromMemory(dev::WriteQuorvaDat(file), nullptr);
        previous_ = RegisterViewClass(1, [](int32_t kind) -> CViewBaseWnd* { return new CViewList(kind); });
    }
    ~ListFrame() override
    {
        factory->CloseAllWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        RegisterViewClass(1, previous_);
        ForgetListRows();
        FreeSettingLayouts();
        FreeDatabase(true);
    }

    ViewClassFactory previous_;
};

} // namespace

TEST_F(ListFrame, TheMainLayoutsListWindowsShowRows)
{
    factory->CreateLayoutWindows();
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        DeliverPostedMessages();
    }
    int lists = 0;
    for (CChildWindow* child : factory->Children()) {
        auto* view = qobject_cast<CViewList*>(child->widget());
        if (!view)
            continue;
        ++lists;
        view->RenderImage(view->size());
        bool named = false;
        for (const PaintOp& op : view->lastOps())
            named = named || op.text == "Alpha Mining";
        EXPECT_TRUE(named) << view->GetListTitle();
    }
    EXPECT_GE(lists, 1);
    SaveRender(RenderWidget(*frame), QStringLiteral("frame-main-layout-lists"));
}
