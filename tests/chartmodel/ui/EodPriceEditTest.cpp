// Price-edit mode on the daily chart window: hovering over a bar takes hold of a part, a drag moves
// it, and the commands keep, save and reset the share's corrections in the corrections store. Renders
// a bar being dragged.
#include "chartmodel/ui/ViewGraphEODWindow.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/PriceEditHit.h"
#include "chartmodel/TrainingMode.h"
#include "core/ConfigState.h"
#include "core/LinesAndTextFiles.h"
#include "core/RecordLookup.h"
#include "core/ShareList.h"
#include "devtools/lib/ShareListChain.h"
#include "devtools/lib/SyntheticDays.h"
#include "support/FakeMessageBox.h"
#include "support/PriceFixtures.h"
#include "support/ui/Render.h"
#include "views/CommandUpdate.h"
#include "views/ViewKinds.h"

#include <gtest/gtest.h>

#include <memory>

namespace qv {
namespace {

namespace gs = graphsetting;

// The chart's key of the list's share (id 0x4001, first stream): the synthetic days stand as its history.
constexpr uint32_t kShareKey = (0x4001u << 8) + 1;

class PriceEditWindow : public ::testing::Test {
protected:
    PriceEditWindow() : saved_(Config().dailyGraphs.records[0])
    {
        InitGraphSetting(Setting(), false);
        gs::SetU8(Setting(), gs::kPriceDisplay, 1);
        Config().dailyGraphs.names[0] = "Daily";
        record_ = test::Record(0x4001, {test::SubRecord(100, test::Date(2006, 1, 2), {5, 1, 1, 1, ' '})});
        list_ = CreateShareList(8, 0, kFamilyShares, nullptr, true);
        list_->entries[0].record = record_.data();
        list_->current = 0;
        list_->filledMark = list_->word + 1;  // filled: the chart does not refill it from the database
        previousBox_ = SuppressibleInfo();
        SuppressibleInfo() = [this](const std::string& text) {
            infos.push_back(text);
            return false;
        };
        PriceEditInfoSuppressed() = false;
        window = std::make_unique<CViewGraphEODWnd>(kViewDailyChart);
        window->list = list_;
        window->active = 1;
        window->eod.SetHistory(days.data(), int32_t(days.size()), kShareKey);
        window->eod.priceEdit().Load(list_->entries[0]);
        window->RenderToImage(900, 560);
    }
    ~PriceEditWindow() override
    {
        window.reset();
        PriceCorrectionStore().FreeItems();
        SuppressibleInfo() = previousBox_;
        PriceEditInfoSuppressed() = false;
        dev::FreeShareListChain();
        CurrentShareList() = nullptr;
        Config().dailyGraphs.records[0] = saved_;
    }
    GraphSetting& Setting() { return Config().dailyGraphs.records[0]; }
    CommandUi State(uint32_t command)
    {
        CommandUi ui{command, false, std::nullopt, std::nullopt};
        EXPECT_TRUE(window->UpdateCommandUi(ui)) << command;
        return ui;
    }
    void Run(uint32_t command) { window->onProgramMessage(WM_COMMAND, command, 0); }
    // The x and rows of day `i`'s bar (bars map one to one onto the visible days in price-edit mode).
    struct BarPoint {
        int32_t x, high, low, close;
    };
    BarPoint Point(int32_t i)
    {
        const ValueRange* range = window->FindPane(kPanePrice)->firstSeries->range;
        const DayRecord& day = window->eod.days()[size_t(i)];
        return {window->IndexToXScale(&window->timeBands->scale, i - window->eod.firstVisible()),
                window->ValueToY(range, day.high, false), window->ValueToY(range, day.low, false),
                window->ValueToY(range, day.close, false)};
    }
    uint32_t StoredLength() { return BlobLength(PriceCorrectionStore().GetItem(0x4001, 6, 0)); }

    std::vector<DayRecord> days = dev::MakeSyntheticDays(60);
    std::unique_ptr<CViewGraphEODWnd> window;
    std::vector<std::string> infos;
    test::FakeMessageBox boxes;

private:
    GraphSetting saved_;
    std::vector<uint8_t> record_;
    ShareList* list_ = nullptr;
    SuppressibleInfoBox previousBox_;
};

TEST_F(PriceEditWindow, TheModeIsOfferedWithSharesAndShowsDailyBarsUnderItsCaption)
{
    gs::SetU8(Setting(), gs::kBarPeriod, 6);
    window->RenderToImage(900, 560);
    EXPECT_EQ(window->eod.scale().code, 6);
    EXPECT_TRUE(State(27260).enabled);
    EXPECT_EQ(State(27260).checked, false);
    Run(27260);
    EXPECT_EQ(window->priceEditMode, 1);
    EXPECT_EQ(State(27260).checked, true);
    ASSERT_EQ(infos.size(), 1u);
    EXPECT_EQ(infos[0], kPriceEditInfo);
    window->RenderToImage(900, 560);
    EXPECT_EQ(window->eod.scale().code, 1) << "daily bars while editing";
    EXPECT_EQ(window->CaptionLeftText(), "Edit Mode: Daily");
    EXPECT_FALSE(State(26731).enabled) << "the bar commands wait";
    EXPECT_FALSE(State(26452).enabled) << "no training while editing";
    Run(27265);
    EXPECT_EQ(window->priceEditMode, 0) << "Esc leaves the mode";
}

TEST_F(PriceEditWindow, DraggingTheCloseKeepsTheCorrectionUntilItIsSaved)
{
    Run(27260);
    window->RenderToImage(900, 560);
    const int32_t i = 40;
    const DayRecord before = window->eod.days()[size_t(i)];
    const BarPoint p = Point(i);
    window->OnMouseMove(0, p.x + window->barHalfWidth, p.close);
    EXPECT_EQ(window->modeRecord.mode, uint32_t(kModeEditPrice));
    EXPECT_EQ(window->modeRecord.subtype, 4u) << "the close's cursor";
    EXPECT_EQ(window->priceEditField, uint32_t(kEditPartClose));
    EXPECT_EQ(window->drawing.ContextMenu(p.x, p.close).menu, 777u) << "the price-editing menu over a bar";
    EXPECT_NE(window->drawing.ContextMenu(p.x, p.high - 40).menu, 777u) << "not away from the bar";
    window->OnLButtonDown(kMouseKeyLeft, p.x + window->barHalfWidth, p.close);
    EXPECT_EQ(window->modeRecord.stage, 3u);
    const int32_t to = p.high - 80;
    window->OnMouseMove(kMouseKeyLeft, p.x + window->barHalfWidth, to);
    // The rebuild of the drag, with the caption line showing the mode.
    gs::SetU16(Setting(), gs::kDisplayFlags, uint16_t(gs::U16(Setting(), gs::kDisplayFlags) | 1));
    const QImage dragged = window->RenderToImage(900, 560);
    test::SaveRender(dragged, "eod_price_edit_drag");
    EXPECT_EQ(window->modeRecord.mode, uint32_t(kModeEditPrice)) << "still dragging";
    const DayRecord& after = window->eod.days()[size_t(i)];
    EXPECT_GT(after.close, before.high);
    EXPECT_FLOAT_EQ(after.high, after.close) << "the high went up with the close";
    EXPECT_FLOAT_EQ(after.open, before.open);
    EXPECT_FLOAT_EQ(after.low, before.low);
    window->OnLButtonUp(0, p.x + window->barHalfWidth, to);
    EXPECT_EQ(window->priceEditField, 0u);

    const PriceEdit* current = window->eod.priceEdit().current();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->changed, 0u);
    EXPECT_FLOAT_EQ(current->unedited.close, before.close);
    EXPECT_TRUE(State(27284).enabled);
    EXPECT_EQ(State(27284).checked, false);
    EXPECT_TRUE(State(27285).enabled);
    EXPECT_EQ(StoredLength(), 0u) << "nothing saved yet";

    Run(27284);
    EXPECT_EQ(State(27284).checked, true);
    EXPECT_GT(StoredLength(), 0u);
    // The stored correction is laid over the database's day when the share loads again.
    std::vector<DayRecord> again = days;
    window->eod.SetHistory(again.data(), int32_t(again.size()), kShareKey);
    window->eod.priceEdit().Load(*CurrentEntry(window->list));
    EXPECT_FLOAT_EQ(window->eod.days()[size_t(i)].close, after.close);
    EXPECT_EQ(window->eod.priceEdit().corrections().size(), 1u);
}

TEST_F(PriceEditWindow, ResettingPutsTheDatabaseValuesBackAndAsksFirstForAllDays)
{
    Run(27260);
    window->RenderToImage(900, 560);
    for (int32_t i : {20, 30}) {
        const BarPoint p = Point(i);
        window->OnMouseMove(0, p.x, p.low);
        window->OnLButtonDown(kMouseKeyLeft, p.x, p.low);
        window->OnMouseMove(kMouseKeyLeft, p.x, p.low + 20);
        EXPECT_LT(window->eod.days()[size_t(i)].low, days[size_t(i)].low) << i;
        window->OnLButtonUp(0, p.x, p.low + 20);
        // The drag's own rebuild (a hidden window paints only when asked), then the release's paint.
        window->RenderToImage(900, 560);
        window->RenderToImage(900, 560);
    }
    Run(27285);
    EXPECT_GT(StoredLength(), 0u);
    Run(27263);  // the last day held
    EXPECT_FLOAT_EQ(window->eod.days()[30].low, days[30].low);
    EXPECT_EQ(window->eod.priceEdit().current(), nullptr);
    EXPECT_FALSE(State(27263).enabled);
    EXPECT_TRUE(State(27264).enabled);

    boxes.queue(MsgAnswer::Cancel);
    Run(27264);
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_EQ(boxes.texts()[0], kPriceEditResetQuestion);
    EXPECT_LT(window->eod.days()[20].low, days[20].low) << "Cancel keeps the edit";
    boxes.queue(MsgAnswer::Ok);
    Run(27264);
    EXPECT_FLOAT_EQ(window->eod.days()[20].low, days[20].low);
    EXPECT_EQ(StoredLength(), 0u) << "the share's item is gone";
    EXPECT_FALSE(State(27264).enabled);
}

TEST_F(PriceEditWindow, ReviewingSavedValuesOpensTheInstalledListOnTheShare)
{
    EXPECT_FALSE(State(27262).enabled) << "greyed until the list is installed";
    const uint8_t* shown = nullptr;
    SetReviewPriceEditsDialog([&](const RecordCursor& share) { shown = share.record; });
    EXPECT_TRUE(State(27262).enabled);
    Run(27262);
    EXPECT_EQ(shown, window->list->entries[0].record);
    SetReviewPriceEditsDialog(nullptr);
}

TEST_F(PriceEditWindow, EditingADayTakesTheDialogsValuesOrResetsIt)
{
    EXPECT_FALSE(State(27261).enabled) << "greyed until the dialog is installed";
    DayPriceAnswer answer = DayPriceAnswer::Ok;
    DayPriceEdit seen;
    SetEditDayPriceDialog([&](DayPriceEdit& edit) {
        seen = edit;
        edit.edited.close = 7.25f;
        edit.saved = false;
        return answer;
    });
    Run(27260);
    window->RenderToImage(900, 560);
    const BarPoint p = Point(40);
    window->OnMouseMove(0, p.x + window->barHalfWidth, p.close);
    ASSERT_TRUE(State(27261).enabled);
    Run(27261);
    EXPECT_EQ(seen.shareName, std::string(GetRecordName(window->list->entries[0].record)));
    ASSERT_EQ(window->eod.priceEdit().corrections().size(), 1u);
    const PriceEdit& edit = window->eod.priceEdit().corrections().front();
    EXPECT_FLOAT_EQ(edit.record->close, 7.25f);
    EXPECT_EQ(edit.changed, 0u) << "a temporary value is not saved";
    EXPECT_FLOAT_EQ(edit.unedited.close, seen.original.close);
    answer = DayPriceAnswer::Reset;
    Run(27261);
    EXPECT_TRUE(window->eod.priceEdit().corrections().empty());
    SetEditDayPriceDialog(nullptr);
}

TEST_F(PriceEditWindow, AVolumeIsDraggedInTheVolumePane)
{
    Run(27260);
    window->RenderToImage(900, 560);
    const GraphPane* volume = window->FindPane(kPaneVolume);
    ASSERT_NE(volume, nullptr);
    const int32_t x = Point(10).x, y = (volume->top + volume->bottom) / 2;
    window->OnMouseMove(0, x, y);
    EXPECT_EQ(window->priceEditField, uint32_t(kEditPartVolume));
    window->OnLButtonDown(kMouseKeyLeft, x, y);
    window->OnMouseMove(kMouseKeyLeft, x, volume->top + 2);
    EXPECT_GT(window->eod.days()[10].volume, days[10].volume);
    EXPECT_FLOAT_EQ(window->eod.days()[10].close, days[10].close);
}

} // namespace
} // namespace qv
