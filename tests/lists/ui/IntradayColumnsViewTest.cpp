// A share list with intraday columns during simulated trading: the values, the small graphs and a
// flash through the view's own paint, the live redraw repainting only what a tick changed, the
// columns 26809 adds at the cursor, and a render of the table.
#include "lists/ui/ViewList.h"

#include "../ListFixture.h"
#include "core/ColumnDef.h"
#include "core/ConfigState.h"
#include "core/ReadersWriterLock.h"
#include "core/RecordAccess.h"
#include "lists/CellValue.h"
#include "lists/ColumnCatalogues.h"
#include "lists/IntradayCellSources.h"
#include "lists/ListColumnCommands.h"
#include "lists/ListMicrograph.h"
#include "lists/ListOptions.h"
#include "lists/ListRows.h"
#include "lists/ListSettings.h"
#include "lists/ListStyle.h"
#include "lists/ListViewOptions.h"
#include "lists/ui/ListViewSeams.h"
#include "lists/ui/ViewListBase.h"
#include "platform/MessageDispatch.h"
#include "realtime/IntradayCells.h"
#include "realtime/IntradayColumnSpec.h"
#include "realtime/feed/RTEngine.h"
#include "realtime/store/RTStore.h"
#include "realtime/store/RTTickCoding.h"
#include "views/CommandUpdate.h"
#include "support/ui/Render.h"

#include <gtest/gtest.h>
#include <algorithm>

using namespace qv;
using namespace qv::test;

namespace {

using C = IntradayChoice;

std::vector<uint8_t> ColumnOf(std::initializer_list<C> run)
{
    CIntradayColumnSpec spec = CIntradayColumnSpec::Initial();
    for (C c : run)
        spec.Choose(c);
    return PreparedIntradayColumn(spec.BuildColumn(CatalogueTemplate(Catalogue::Shares, spec.letter)));
}

class IntradayColumnsView : public ListFixture {
protected:
    void SetUp() override
    {
        saved_ = Config();
        installed_ = ColumnDialogs().intraday;
        LoadShares(FourListShares());
        ResetRTStore();
        CreateRTStoreObjects();
        TheRTStore().workAreaReady = true;
        list_ = NewList(0, 16);
        list_->windowSlot = -1;
        SelectColumnSetting(list_, kListKindShares, 0, false, false);
        RefreshListRows(list_, true, true);
        // Name, mid, mid % from close, volume, graph, thermograph, buy/sell bar, tick changes.
        AppendColumnDef(layout_, qv::ColumnOf(kColumnField, 15).withWidth(140));
        for (std::initializer_list<C> run : {std::initializer_list<C>{}, {C::PercentFromClose}, {C::Volume}, {C::Graph},
                                             {C::Thermograph}, {C::BuySellBar}, {C::TickChanges}}) {
            const std::vector<uint8_t> column = ColumnOf(run);
            layout_.insert(layout_.end(), column.begin(), column.end());
        }
        layout_.push_back(0);
        list_->columnLayout = layout_.data();
        Trade();
        TheRTEngineHooks().previousClose = [](uint16_t) { return 100.0f; };
        InstallIntradayCellSources();
        view_ = std::make_unique<CViewList>(1);
        view_->list = list_;
        view_->SetFixedFontPixels(12);
        view_->resize(900, 200);
    }
    void TearDown() override
    {
        view_.reset();
        CurrentCellSources() = CellSources{};
        TheRTEngineHooks() = {};
        ColumnDialogs().intraday = installed_;
        ResetRTStore();
        DestroyRTStoreObjects();
        ForgetListRows();
        FreeSettingLayouts();
        Config() = saved_;
    }
    // A simulated morning for every share of the list: quotes and trades every minute from 08:00.
    void Trade()
    {
        RTDayRecord* day = GetRTDay(PackDate(7, 12, 2026), true);
        for (int i = 0; i < ShareListCount(list_); ++i) {
            const uint16_t id = RecordId(list_->entries[i].record);
            int32_t slot = -1;
            RTDayShareEntry& e = *GetRTDayShare(MakeRTKey(0, id), *day, slot, true);
            RTTickWriter w(e);
            float mid = 100.0f + float(i * 7);
            for (int t = 0; t < 90; ++t) {
                mid += float((t * 5 + i * 3) % 7) - 3.0f;
                w.Time(uint32_t(28800 + 60 * t));
                const float price = (t + i) % 3 == 0 ? mid + 1 : (t + i) % 3 == 1 ? mid - 1 : mid;
                w.PriceItem(0, mid + 1, 0, mid - 1, t % 2 ? std::optional(RTStoredTrade{price, uint32_t(100 + 10 * t), 0}) : std::nullopt);
            }
            RebuildRTSummary(e, *day);
        }
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> out;
        for (const PaintOp& op : view_->lastOps())
            if (op.step == PaintStep::Text)
                out.push_back(op.text);
        return out;
    }
    ConfigState saved_;
    decltype(ListColumnDialogs::intraday) installed_;
    ShareList* list_ = nullptr;
    std::vector<uint8_t> layout_;
    std::unique_ptr<CViewList> view_;
};

} // namespace

TEST_F(IntradayColumnsView, ValuesGraphsAndAFlashDuringTrading)
{
    // The first share is watched, as the view's own list watches its rows, and its quote just rose.
    const uint32_t key = MakeRTKey(0, RecordId(list_->entries[0].record));
    RTWatchList watch;
    InitRTWatchList(this, 0, watch);
    BeginRTWatchListUpdate(watch, true);
    RTActiveShare* share = AddRTWatchShare(ShareRef{list_->entries[0].record, 0, 0}, watch);
    EndRTWatchListUpdate(watch);
    ASSERT_NE(share, nullptr);
    MarkRTTickChange(*share, IntradayNowMs(), 2, 200, 198, 199, 197);
    QImage image = view_->RenderImage(view_->size());
    SaveRender(image, "intraday_list_columns");
    const std::vector<std::string> texts = Texts();
    for (const char* heading : {"Mid", "Graph", "Thermograph", "Buy/sell bar", "Tick changes"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), heading), texts.end()) << heading;
    // Mid of the first share's last quote, through the route.
    double mid = 0;
    GetRTColumnValue(0, mid, ShareRef{list_->entries[0].record, 0, 0}, 'K', 0);
    ASSERT_GT(mid, 0);
    EXPECT_NE(std::find(texts.begin(), texts.end(), std::to_string(int(mid))), texts.end()) << mid;

    const ListStyle style = ReadListStyle(*SettingStyle(1, 0, 0));
    int flashes = 0, graphSteps = 0;
    for (const PaintOp& op : view_->lastOps()) {
        flashes += op.step == PaintStep::Fill && (op.colour == style.flash[0] || op.colour == style.currentFlash[0]);
        graphSteps += op.step == PaintStep::Line && op.pen == style.graphPen;
    }
    EXPECT_GE(flashes, 1) << "the risen mid flashes up";
    EXPECT_GT(graphSteps, 4) << "the mid line of each row";
    EXPECT_EQ(FindRTActiveShare(key), share);

    // A live redraw paints only what changed: after one pass that takes in the screen, nothing until
    // a tick, then the ticked share's cells. The flash above ends with time, so it is ended here: the
    // passes below count only what the data change.
    share->changeFlags = 0;
    view_->LiveRedraw(image);
    EXPECT_EQ(view_->LiveRedraw(image), 0);
    {
        RTDayRecord* day = CurrentRTDay();
        int32_t slot = -1;
        RTDayShareEntry& e = *GetRTDayShare(key, *day, slot, false);
        RTTickWriter w(e);
        w.Time(28800 + 60 * 95);
        w.PriceItem(0, 301, 0, 299, RTStoredTrade{300, 5000, 0});
        RebuildRTSummary(e, *day);
        share->needsReload = 1;
    }
    EXPECT_GT(view_->LiveRedraw(image), 0);
    EXPECT_EQ(view_->LiveRedraw(image), 0);
    FreeRTWatchList(watch);
}

TEST_F(IntradayColumnsView, LiveTicksResortByALiveSortColumnKeepingTheCurrentShare)
{
    // Sorted by mid, highest first, with the rows still in name order and the third share current.
    list_->sortColumn = 1;
    list_->sortDirection = -1;
    list_->sorted = 0;
    list_->current = 2;
    const uint16_t current = RecordId(list_->entries[2].record);
    auto ids = [&] {
        std::vector<uint16_t> out;
        for (int i = 0; i < ShareListCount(list_); ++i)
            out.push_back(RecordId(list_->entries[i].record));
        return out;
    };
    const std::vector<uint16_t> before = ids();
    {
        LiveResortClock probe;
        int column = 0;
        for (int i = 0; i < 16; ++i)
            column = LiveResortColumn(probe, *list_, 1000);
        ASSERT_EQ(column, -2) << "the mid column is a live sort column";
    }
    auto sixteenTicks = [&] {
        for (int i = 0; i < 16; ++i)
            view_->onProgramMessage(kMsgLiveTick, 0, 0);
        DeliverPostedMessages();
    };
    CurrentListViewOptions().livePrices = false;
    sixteenTicks();
    EXPECT_EQ(ids(), before) << "no re-sort without live prices";
    EXPECT_EQ(list_->sorted, 0);
    CurrentListViewOptions().livePrices = true;
    sixteenTicks();
    CurrentListViewOptions().livePrices = false;
    EXPECT_EQ(list_->sortColumn, 1) << "the re-sort ran by the live column";
    EXPECT_EQ(list_->sortDirection, -1);
    EXPECT_EQ(list_->sorted, 1) << "the rows were sorted";
    EXPECT_EQ(RecordId(list_->entries[list_->current].record), current) << "the current share stays current";
}

TEST_F(IntradayColumnsView, Command26809AddsAtTheCursorWhenItsDialogIsThere)
{
    (void)view_->RenderImage(view_->size());
    ColumnDialogs().intraday = nullptr;
    CommandUi ui;
    ui.command = 26809;
    ASSERT_TRUE(view_->UpdateListCommand(ui));
    EXPECT_FALSE(ui.enabled) << "no dialogs, no command";
    ColumnDialogs().intraday = [](QWidget*, const std::function<bool(std::span<const uint8_t>)>& insert) {
        CIntradayColumnSpec spec = CIntradayColumnSpec::Initial();
        spec.Choose(C::PercentFromOpen);
        insert(spec.BuildColumn(CatalogueTemplate(Catalogue::Shares, spec.letter)));
    };
    ASSERT_TRUE(view_->UpdateListCommand(ui));
    EXPECT_TRUE(ui.enabled);
    // The intraday column goes in front of the cursor column and is set up as a table takes it.
    SelectColumnSetting(list_, kListKindShares, 0, false, false);
    const int before = CountColumnDefs(list_->columnLayout);
    view_->SetCursorColumn(1);
    ASSERT_TRUE(view_->RunListCommand(26809));
    EXPECT_EQ(CountColumnDefs(list_->columnLayout), before + 1);
    const uint8_t* added = GetColumnDef(list_->columnLayout, 1);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(ColumnDefKind(added), kColumnIntraday);
    EXPECT_EQ(added[ColumnDefLayout::FormatA], 1) << "a percentage shows its zero";
    EXPECT_TRUE(added[ColumnDefLayout::Align] & 0x10) << "a change of the mid gets the arrow";
    EXPECT_EQ(CIntradayColumnSpec::Title(added), "Mid % from open");
}
