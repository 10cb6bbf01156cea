// Drawing lines on the daily chart window through its mouse: placing, the click line, selecting,
// moving and copying, deleting with the present setting's rule, undo, refusals, the keyboard ring and
// the context menu's choice; the objects are checked as the lines-and-text store keeps them.
#include "chartmodel/ui/ViewGraphEODWindow.h"

#include "chartmodel/AddOnZoom.h"
#include "chartmodel/EodChart.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/LineObjects.h"
#include "chartmodel/ModeReadout.h"
#include "chartmodel/StopLossSettings.h"
#include "chartmodel/SwingOverlay.h"
#include "charts/DrawingObjectHits.h"
#include "core/ConfigState.h"
#include "core/ShareList.h"
#include "core/KeyedItemStore.h"
#include "core/LinesAndTextFiles.h"
#include "devtools/lib/SyntheticDays.h"
#include "platform/ByteOrder.h"
#include "resources/MessageIds.h"
#include "shell/ui/ModalDialog.h"
#include "support/FakeMessageBox.h"
#include "support/ui/Render.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFocusEvent>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace qv {
namespace {
namespace gs = graphsetting;

constexpr uint16_t kShareId = 77;
constexpr uint32_t kPriceStudyKey = 1u << 24;

class ShareChart : public CViewGraphEODWnd {
public:
    ShareChart() : CViewGraphEODWnd(kViewDailyChart) {}
    bool hasShare = true;
    uint16_t shareId = kShareId;

protected:
    bool ShownShare(StopShareKey& share) const override
    {
        share = {shareId, 0};
        return hasShare;
    }
};

struct StoredLine {
    int32_t date[2];
    float price[2];
    uint16_t mask, style;
};

class DailyChartDrawingTest : public ::testing::Test {
protected:
    DailyChartDrawingTest() : saved_(Config().dailyGraphs.records[0])
    {
        InitGraphSetting(Config().dailyGraphs.records[0], false);
        LinesAndTextStore().FreeItems();
        days_ = dev::MakeSyntheticDays(300);
        chart.eod.SetHistory(days_.data(), int32_t(days_.size()), 1);
        chart.active = 1;
        chart.resize(900, 640);
        // The first paint measures the axis labels that the second lays the panes out by.
        Grab();
        Grab();
    }
    ~DailyChartDrawingTest() override
    {
        LinesAndTextStore().FreeItems();
        Config().dailyGraphs.records[0] = saved_;
        SetViewUnderMouse(nullptr);
    }

    QImage Grab()
    {
        QImage image(chart.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        chart.render(&painter);
        return image;
    }
    void Send(QEvent::Type type, QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
        QMouseEvent event(type, QPointF(p), QPointF(chart.mapToGlobal(p)), button, buttons, modifiers);
        QApplication::sendEvent(&chart, &event);
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        Send(QEvent::MouseButtonPress, from, modifiers);
        Send(QEvent::MouseMove, (from + to) / 2, modifiers);
        Send(QEvent::MouseMove, to, modifiers);
        Send(QEvent::MouseButtonRelease, to, modifiers);
        Grab(); // the repaint that follows a release
    }
    void Command(uint32_t command) { chart.onProgramMessage(WM_COMMAND, command, 0); }
    CommandUi State(uint32_t command)
    {
        CommandUi ui;
        ui.command = command;
        chart.UpdateCommandUi(ui);
        return ui;
    }
    QPoint InPrice(double fx, double fy)
    {
        const GraphPane* price = chart.FindPane(kPanePrice);
        return {price->left + int(fx * (price->right - price->left)), price->top + int(fy * (price->bottom - price->top))};
    }
    // The price pane's stored lines in store order.
    std::vector<StoredLine> Stored(uint16_t kind = 0)
    {
        std::vector<StoredLine> lines;
        uint8_t* blob = LinesAndTextStore().GetItem(ShareItemKey(kShareId, 0), kind, kPriceStudyKey);
        if (!blob)
            return lines;
        ForEachPackedObject(std::span<uint8_t>(blob, BlobLength(blob)), [&](LineObjectKind k, std::span<uint8_t> o) {
            if (k != LineObjectKind::LineStudy)
                return;
            lines.push_back({{LoadI32(o.data() + 16), LoadI32(o.data() + 24)},
                             {LoadF32(o.data() + 20), LoadF32(o.data() + 28)},
                             LoadU16(o.data() + 4),
                             LoadU16(o.data() + 6)});
        });
        return lines;
    }
    // Another chart of the same share, painted once, as a restart would show it.
    void OpenLike(ShareChart& other)
    {
        other.eod.SetHistory(days_.data(), int32_t(days_.size()), 1);
        other.resize(900, 640);
        QImage image(other.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        other.render(&painter);
    }
    int32_t DateAt(QPoint p) { return chart.drawing.DatePositionAtX(p.x()); }
    float PriceAt(QPoint p)
    {
        return chart.YToValue(chart.FindPane(kPanePrice)->firstSeries->range, p.y());
    }

    ShareChart chart;
    test::FakeMessageBox boxes;

private:
    GraphSetting saved_;
    std::vector<DayRecord> days_;
};

} // namespace

TEST_F(DailyChartDrawingTest, TheLineToolDrawsALineThatIsStoredUnderTheShareAndThePriceSeries)
{
    ASSERT_TRUE(State(26135).enabled);
    Command(26135);
    EXPECT_EQ(chart.modeRecord.mode, kModeLineStudy);
    EXPECT_EQ(chart.modeRecord.stage, 1u);
    EXPECT_EQ(chart.currentCursor, kCursorCross);

    const QPoint a = InPrice(0.2, 0.7), b = InPrice(0.6, 0.3);
    Drag(a, b);
    const std::vector<StoredLine> lines = Stored();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].date[0], DateAt(a));
    EXPECT_EQ(lines[0].date[1], DateAt(b));
    EXPECT_NEAR(lines[0].price[0], PriceAt(a), 1e-3);
    EXPECT_NEAR(lines[0].price[1], PriceAt(b), 1e-3);
    EXPECT_EQ(lines[0].mask, 1u); // setting 0's bit
    EXPECT_EQ(lines[0].style, 0u);
    EXPECT_EQ(chart.drawing.selected(), nullptr);
    EXPECT_FALSE(chart.modeRecord.active && chart.modeRecord.mode != kModeIdle);
    // The first save onto the pane has nothing to undo.
    EXPECT_FALSE(State(27023).enabled);

    // A line drawn right to left is kept in date order.
    Command(26135);
    Drag(InPrice(0.8, 0.5), InPrice(0.5, 0.6));
    ASSERT_EQ(Stored().size(), 2u);
    for (const StoredLine& line : Stored())
        EXPECT_LE(line.date[0], line.date[1]);
}

TEST_F(DailyChartDrawingTest, AClickMakesALevelLineToTheLastBarAndShiftStartsALineWithThePress)
{
    Command(26135);
    const QPoint p = InPrice(0.3, 0.5);
    Send(QEvent::MouseButtonPress, p);
    Send(QEvent::MouseMove, p + QPoint(1, 1));
    Send(QEvent::MouseButtonRelease, p + QPoint(1, 1));
    Grab();
    std::vector<StoredLine> lines = Stored();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].date[1], chart.eod.days().back().date);
    EXPECT_EQ(lines[0].price[1], lines[0].price[0]);
    EXPECT_EQ(lines[0].style, kExtendLeft | kExtendRight);

    // A press with Shift and no tool chosen draws a line at once; two pixels apart is a drag.
    Drag(InPrice(0.1, 0.2), InPrice(0.1, 0.2) + QPoint(2, 0), Qt::ShiftModifier);
    lines = Stored();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].style, 0u); // the newest is stored first

    // A click with the right-hand Shift key makes a level line that extends only to the right.
    chart.drawing.SetRightShift(true);
    Drag(InPrice(0.4, 0.8), InPrice(0.4, 0.8), Qt::ShiftModifier);
    lines = Stored();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].style, kExtendRight);
}

TEST_F(DailyChartDrawingTest, PressingALineMovesItShiftCopiesItAndCtrlConstrainsAnEnd)
{
    Command(26135);
    const QPoint a = InPrice(0.2, 0.7), b = InPrice(0.6, 0.3);
    Drag(a, b);
    const StoredLine before = Stored()[0];

    // A press on the body drags the whole line.
    const QPoint mid = (a + b) / 2;
    Drag(mid, mid + QPoint(0, 40));
    std::vector<StoredLine> lines = Stored();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].date[0], before.date[0]);
    EXPECT_LT(lines[0].price[0], before.price[0]);
    EXPECT_LT(lines[0].price[1], before.price[1]);
    EXPECT_TRUE(State(27023).enabled);

    // Shift at the release leaves the line and adds a copy at the new place.
    const QPoint moved = mid + QPoint(0, 40);
    Drag(moved, moved + QPoint(0, -80), Qt::ShiftModifier);
    lines = Stored();
    ASSERT_EQ(lines.size(), 2u);

    // Undo puts back the store as it was before the last save: one line again.
    Command(27023);
    EXPECT_EQ(Stored().size(), 1u);
    EXPECT_FALSE(State(27023).enabled);

    // Ctrl on an end's drag snaps the line flat or upright by the price-to-date ratio.
    Grab();
    const StoredLine line = Stored()[0];
    const GraphPane* price = chart.FindPane(kPanePrice);
    const QPoint end(chart.drawing.XOfDatePosition(line.date[1]),
                     chart.ValueToY(price->firstSeries->range, line.price[1], false));
    Drag(end, InPrice(0.9, 0.5), Qt::ControlModifier);
    const StoredLine snapped = Stored()[0];
    EXPECT_TRUE(snapped.price[0] == snapped.price[1] || snapped.date[0] == snapped.date[1] ||
                std::fabs(std::fabs(snapped.price[1] - snapped.price[0]) - float(snapped.date[1] - snapped.date[0])) < 1e-3);
}

TEST_F(DailyChartDrawingTest, TheReadoutSaysASelectedLineIsSelectedAndADraggedEndWhereItIs)
{
    Command(26135);
    const QPoint a = InPrice(0.2, 0.7), b = InPrice(0.6, 0.3);
    Drag(a, b);
    Command(26136);
    chart.UpdateStatusTexts();
    EXPECT_EQ(chart.statusTexts[1], "Line selected");
    const std::string description = chart.statusTexts[2];
    EXPECT_EQ(description.rfind("Line ", 0), 0u) << description;
    EXPECT_NE(description.find(" to "), std::string::npos) << description;

    // While the second end is dragged the readout follows it.
    const StoredLine line = Stored()[0];
    const GraphPane* price = chart.FindPane(kPanePrice);
    const QPoint end(chart.drawing.XOfDatePosition(line.date[1]),
                     chart.ValueToY(price->firstSeries->range, line.price[1], false));
    Send(QEvent::MouseButtonPress, end);
    Send(QEvent::MouseMove, end + QPoint(30, 20));
    chart.UpdateStatusTexts();
    const std::string dragged = chart.statusTexts[1];
    EXPECT_NE(dragged, "Line selected");
    EXPECT_NE(dragged, "Line out of range");
    EXPECT_NE(chart.statusTexts[2].find(dragged), std::string::npos) << dragged << " | " << chart.statusTexts[2];
    Send(QEvent::MouseButtonRelease, end + QPoint(30, 20));
}

TEST_F(DailyChartDrawingTest, APrintedOrCopiedChartCarriesItsLines)
{
    Command(26135);
    Drag(InPrice(0.2, 0.7), InPrice(0.6, 0.3));
    auto reddish = [](const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                n += qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80;
            }
        return n;
    };
    ASSERT_GT(reddish(Grab()), 50) << "the line on the screen";
    QImage printed(1800, 1280, QImage::Format_RGB32);
    printed.fill(Qt::white);
    {
        QPainter painter(&printed);
        chart.PrintChart(painter, printed.size());
    }
    test::SaveRender(printed, "chart-printed-line");
    EXPECT_GT(reddish(printed), 50) << "the printed chart";
    QImage copied(900, 640, QImage::Format_RGB32);
    {
        QPainter painter(&copied);
        chart.DrawChartPicture(painter, copied.width(), copied.height());
    }
    EXPECT_GT(reddish(copied), 50) << "the copied chart";
}

TEST_F(DailyChartDrawingTest, DeleteTheSelectionAndDeleteAllOfThePresentSetting)
{
    Command(26135);
    Drag(InPrice(0.2, 0.7), InPrice(0.6, 0.3));
    Command(26135);
    Drag(InPrice(0.2, 0.2), InPrice(0.7, 0.25));
    EXPECT_FALSE(State(26145).enabled);

    // Tab selects the first line; Del removes it.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(&chart, &tab);
    ASSERT_NE(chart.drawing.selected(), nullptr);
    EXPECT_EQ(chart.modeRecord.stage, 2u);
    EXPECT_EQ(chart.BuildTitle(), "Quorvantis - Graph - Line study");
    EXPECT_TRUE(State(26145).enabled);
    EXPECT_TRUE(State(20611).enabled);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(&chart, &del);
    EXPECT_EQ(Stored().size(), 1u);
    EXPECT_EQ(chart.drawing.selected(), nullptr);

    // A line of another setting (mask bit 1 only) survives "delete all"; the question comes first and
    // No keeps everything.
    Grab();
    Command(26136);
    ASSERT_NE(chart.drawing.selected(), nullptr);
    LineObject other = *chart.drawing.selected();
    chart.CancelMode();
    SetObjectSettingsMask(other, 2);
    LineObjectList& list = chart.drawing.PaneObjects(kPanePrice);
    LineObject* added = AddLineObject(list, 0, 0);
    LineObject* keepNext = added->next;
    *added = other;
    added->next = keepNext;
    added->owner = &list;
    EXPECT_TRUE(State(26137).enabled);
    boxes.queue(MsgAnswer::No);
    Command(26137);
    ASSERT_EQ(boxes.texts().back(), "Do you really want to delete all lines?");
    EXPECT_EQ(chart.drawing.PaneObjects(kPanePrice).head->flags & 1, 1);
    boxes.queue(MsgAnswer::Yes);
    Command(20612);
    const std::vector<StoredLine> lines = Stored();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].mask, 2u);
    EXPECT_FALSE(State(26137).enabled);
}

TEST_F(DailyChartDrawingTest, TheRingCommandsNameATextBoxTheyWouldStepTo)
{
    Command(26135);
    Drag(InPrice(0.2, 0.7), InPrice(0.6, 0.3));
    LineObject* line = chart.drawing.PaneObjects(kPanePrice).head;
    ASSERT_NE(line, nullptr);
    EXPECT_FALSE(State(26143).text.has_value());
    LineObject* text = AddTextObject(chart.drawing.PaneObjects(kPanePrice));
    SetObjectSettingsMask(*text, 1);
    // Nothing selected: forward finds the text first, backward the line.
    EXPECT_EQ(State(26143).text.value_or(""), "Next text\tTab");
    EXPECT_FALSE(State(26144).text.has_value());
    Command(26143);
    EXPECT_EQ(chart.drawing.selected(), text);
    EXPECT_EQ(chart.modeRecord.mode, kModeGraphText);
    EXPECT_EQ(State(26145).text.value_or(""), "Delete text\tDel");
    EXPECT_EQ(State(26144).text, std::nullopt);
    Command(26144);
    EXPECT_EQ(chart.drawing.selected(), line);
    EXPECT_EQ(chart.modeRecord.mode, kModeLineStudy);
    EXPECT_EQ(State(26144).text.value_or(""), "Previous text\tShift Tab");
}

TEST_F(DailyChartDrawingTest, TheColourAndStyleDialogSetsTheLinesPenAndWithItsOptionTheSettingsDefault)
{
    Command(26135);
    Drag(InPrice(0.2, 0.7), InPrice(0.6, 0.3));
    GraphSetting& setting = Config().dailyGraphs.records[0];
    graphsetting::SetU32(setting, graphsetting::kNewObjectColour, 0x123456);
    std::vector<QString> opened;
    bool setDefault = false;
    SetModalDialogRunner([&](QDialog& d) {
        opened.push_back(d.objectName());
        d.findChild<QCheckBox*>(QStringLiteral("2168"))->setChecked(setDefault);
        d.accept();
        return d.result();
    });
    auto pen = [this] { return chart.drawing.PaneObjects(kPanePrice).head->penOrTime(); };
    Command(26136);
    ASSERT_TRUE(State(26188).enabled);
    Command(26188);
    EXPECT_EQ(opened, std::vector<QString>{QStringLiteral("366")});
    EXPECT_EQ(graphsetting::U32(setting, graphsetting::kNewObjectColour), 0x123456u);
    EXPECT_EQ(chart.drawing.selected(), nullptr);
    const uint32_t kept = pen();
    EXPECT_EQ(kept & 0xFFFFFF, 0x0000FFu);
    setDefault = true;
    Command(26136);
    Command(26188);
    EXPECT_EQ(graphsetting::U32(setting, graphsetting::kNewObjectColour), pen());
    SetModalDialogRunner(nullptr);
}

TEST_F(DailyChartDrawingTest, TheSettingsAndLineSettingsDialogsChangeTheSelectedLinesMaskAndFlags)
{
    Command(26135);
    Drag(InPrice(0.2, 0.7), InPrice(0.6, 0.3));
    Command(26136);
    EXPECT_TRUE(State(26484).enabled);
    EXPECT_FALSE(State(27051).enabled); // a plain line has no line settings
    std::vector<QString> opened;
    SetModalDialogRunner([&](QDialog& d) {
        opened.push_back(d.objectName());
        EXPECT_TRUE(d.findChild<QRadioButton*>(QStringLiteral("2070"))->isChecked()); // the current setting only
        d.findChild<QRadioButton*>(QStringLiteral("2057"))->click();
        d.findChild<QCheckBox*>(QStringLiteral("2061"))->setChecked(true);
        d.accept();
        return d.result();
    });
    Command(26484);
    ASSERT_EQ(Stored().size(), 1u);
    EXPECT_EQ(Stored()[0].mask, 0x0009); // setting 1 (current) and setting 4
    EXPECT_EQ(opened, std::vector<QString>{QStringLiteral("614")});

    LinesAndTextStore().FreeItems();
    chart.drawing.Reload();
    Command(26362); // a partial trend
    Drag(InPrice(0.2, 0.7), InPrice(0.6, 0.3));
    Command(26136);
    ASSERT_TRUE(State(27051).enabled);
    SetModalDialogRunner([&](QDialog& d) {
        opened.push_back(d.objectName());
        d.findChild<QRadioButton*>(QStringLiteral("3395"))->click();
        d.findChild<QCheckBox*>(QStringLiteral("3392"))->setChecked(true);
        d.accept();
        return d.result();
    });
    Command(27051);
    EXPECT_EQ(opened.back(), QStringLiteral("805"));
    ASSERT_EQ(Stored().size(), 1u);
    EXPECT_EQ(Stored()[0].style & 0x3C, 8 | 32);
    SetModalDialogRunner([](QDialog& d) {
        d.reject();
        return d.result();
    });
    Command(26136);
    Command(27051);
    EXPECT_EQ(Stored()[0].style & 0x3C, 8 | 32); // Cancel keeps the flags
    SetModalDialogRunner(nullptr);
}

TEST_F(DailyChartDrawingTest, AnotherShareShownDropsTheSelectionAndKeepsTheFirstSharesLines)
{
    Command(26135);
    Drag(InPrice(0.2, 0.7), InPrice(0.6, 0.3));
    Command(26136);
    ASSERT_NE(chart.drawing.selected(), nullptr);
    chart.shareId = kShareId + 1;
    Grab();
    EXPECT_EQ(chart.drawing.selected(), nullptr);
    EXPECT_EQ(chart.drawing.PaneObjects(kPanePrice).head, nullptr);
    Command(26145);
    Command(26534);
    EXPECT_EQ(Stored().size(), 1u);
    EXPECT_EQ(LinesAndTextStore().GetItem(ShareItemKey(kShareId + 1, 0), 0, kPriceStudyKey), nullptr);
}

TEST_F(DailyChartDrawingTest, RefusalsWithoutAShareAndOnABoxChart)
{
    chart.hasShare = false;
    EXPECT_FALSE(State(26135).enabled);
    Command(26135);
    EXPECT_EQ(boxes.texts().back(), "Lines can only be added to shares");
    EXPECT_FALSE(chart.modeRecord.active && chart.modeRecord.mode == kModeLineStudy);

    // The partial trend's press on a box chart is refused and the mode ends.
    chart.hasShare = true;
    chart.viewFlags |= 2;
    chart.SetMode(true, kModeLineStudy, 5, 1, 0);
    Send(QEvent::MouseButtonPress, InPrice(0.5, 0.5));
    Send(QEvent::MouseButtonRelease, InPrice(0.5, 0.5));
    EXPECT_EQ(boxes.texts().back(), "Partial trends cannot be drawn on this type of graph.");
    EXPECT_TRUE(Stored(5).empty());
    EXPECT_FALSE(chart.modeRecord.active && chart.modeRecord.mode == kModeLineStudy);
}

TEST_F(DailyChartDrawingTest, ALineOnABoxChartReadsOutItsColumnsAndSlope)
{
    gs::SetU8(Config().dailyGraphs.records[0], gs::kPriceDisplay, 5);
    gs::SetU16(Config().dailyGraphs.records[0], gs::kBoxValue, 100);
    gs::SetU8(Config().dailyGraphs.records[0], gs::kBoxValueOption, 0);
    Grab();
    Grab();
    ASSERT_TRUE(chart.eod.BoxMode());
    Command(26135);
    const QPoint a = InPrice(0.3, 0.7), b = InPrice(0.7, 0.3);
    Drag(a, b);
    ASSERT_EQ(Stored(5).size(), 1u);
    // Selected by a click on it.
    Send(QEvent::MouseButtonPress, (a + b) / 2);
    Send(QEvent::MouseButtonRelease, (a + b) / 2);
    ASSERT_NE(chart.drawing.selected(), nullptr);
    ModeReadoutInput in;
    chart.drawing.FillReadout(in);
    // "d/m/y value v to d/m/y value v  +x.xx p.col": the dates of the ends' columns.
    const int32_t c0 = chart.eod.BoxColumnOfX(a.x()), c1 = chart.eod.BoxColumnOfX(b.x());
    ASSERT_LT(c0, c1);
    EXPECT_NE(in.objectDescription.find(" value "), std::string::npos) << in.objectDescription;
    EXPECT_NE(in.objectDescription.find(" p.col"), std::string::npos) << in.objectDescription;
    EXPECT_EQ(in.objectDescription.rfind(FormatAnchorValueText(chart.eod.boxPoints(), c0, Stored(5)[0].price[0],
                                                               &chart.eod.boxGrid()), 0),
              0u)
        << in.objectDescription;
}

TEST_F(DailyChartDrawingTest, TheContextMenuFollowsWhatLiesUnderThePoint)
{
    Command(26135);
    const QPoint a = InPrice(0.2, 0.7), b = InPrice(0.6, 0.3);
    Drag(a, b);
    Grab();
    struct Case {
        const char* name;
        QPoint at;
        std::function<void()> setUp;
        uint32_t menu, flags;
    };
    const Case cases[] = {
        {"empty chart point", InPrice(0.9, 0.9), [] {}, 301, 1},
        {"on the line", (a + b) / 2, [] {}, 347, 0},
        {"training mode", InPrice(0.9, 0.9), [this] { chart.trainingMode = 1; }, 390, 1},
        {"price editing away from a bar (777 over one)", InPrice(0.9, 0.9), [this] { chart.priceEditMode = 1; }, 301, 0x11},
        {"no share", InPrice(0.9, 0.9), [this] { chart.hasShare = false; }, 767, 1},
    };
    for (const Case& c : cases) {
        chart.CancelMode();
        chart.trainingMode = chart.priceEditMode = 0;
        chart.hasShare = true;
        c.setUp();
        const ChartMenuChoice choice = chart.drawing.ContextMenu(c.at.x(), c.at.y());
        EXPECT_EQ(choice.menu, c.menu) << c.name;
        EXPECT_EQ(choice.flags, c.flags) << c.name;
        chart.drawing.AfterContextMenu();
    }
    // The line chosen by the menu is selected at stage 2 afterwards, with its commands enabled.
    chart.CancelMode();
    chart.hasShare = true;
    chart.drawing.ContextMenu(((a + b) / 2).x(), ((a + b) / 2).y());
    chart.drawing.AfterContextMenu();
    EXPECT_EQ(chart.modeRecord.stage, 2u);
    EXPECT_TRUE(State(26534).enabled);
    Command(26534);
    EXPECT_EQ(Stored()[0].style, kExtendRight);
}

// A line pressed for its context menu and the menu closed with Escape: neither the paints while the menu
// is open, nor the pointer moving afterwards, nor the next click elsewhere may move or save it.
TEST_F(DailyChartDrawingTest, ALineWhoseMenuIsDismissedStaysWhereItWas)
{
    Command(26135);
    const QPoint a = InPrice(0.2, 0.7), b = InPrice(0.6, 0.3);
    Drag(a, b);
    Grab();
    const StoredLine before = Stored()[0];
    const QPoint mid = (a + b) / 2, away = InPrice(0.85, 0.9);
    auto moveWithoutButton = [&](QPoint p) {
        QMouseEvent event(QEvent::MouseMove, QPointF(p), QPointF(chart.mapToGlobal(p)), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&chart, &event);
    };
    SetViewUnderMouse(&chart);
    ASSERT_EQ(chart.drawing.ContextMenu(mid.x(), mid.y()).menu, 347u);
    // While the menu is open the chart repaints with the pointer elsewhere.
    chart.lastMouseX = away.x();
    chart.lastMouseY = away.y();
    Grab();
    chart.drawing.AfterContextMenu(); // Escape
    moveWithoutButton(away);
    Grab();
    const GraphPane* price = chart.FindPane(kPanePrice);
    Drag(QPoint(price->right - 2, price->bottom - 2), QPoint(price->right - 2, price->bottom - 2));
    const std::vector<StoredLine> after = Stored();
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].date[0], before.date[0]);
    EXPECT_EQ(after[0].date[1], before.date[1]);
    EXPECT_EQ(after[0].price[0], before.price[0]);
    EXPECT_EQ(after[0].price[1], before.price[1]);
}

// The press protocol of an idle chart: an add-on window's green mark zooms it and its red mark deletes
// it; Ctrl and a press start a partial trend line on the price pane and are refused on an add-on window;
// a click at the plot's left end shows earlier days.
TEST_F(DailyChartDrawingTest, EndMarksCtrlPressesAndPlotEndClicks)
{
    GraphSetting& setting = Config().dailyGraphs.records[0];
    auto slot = gs::IndicatorSlot(setting, 0, 0);
    slot[gs::kSlotType] = 2;
    StoreU16(slot.data() + gs::kSlotHeightWeight, 150);
    chart.NotifyGraphSettings(0);
    Grab();
    Grab();
    const GraphPane* window = chart.FindPane(kPaneFirstAddOn);
    ASSERT_NE(window, nullptr);
    const int32_t margin = chart.paneMargin, x = window->right - margin - kEndMarkSize / 2;
    auto click = [&](QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Send(QEvent::MouseButtonPress, p, modifiers);
        Send(QEvent::MouseButtonRelease, p, modifiers);
        Grab();
    };
    click({x, window->bottom - margin - kEndMarkSize / 2});
    EXPECT_TRUE(AddOnWindowZoomed(setting, 0));
    click({x, chart.FindPane(kPaneFirstAddOn)->bottom - margin - kEndMarkSize / 2});
    EXPECT_FALSE(AddOnWindowZoomed(setting, 0));

    window = chart.FindPane(kPaneFirstAddOn);
    Drag({window->left + 40, (window->top + window->bottom) / 2}, {window->left + 90, window->top + 5},
         Qt::ControlModifier);
    ASSERT_FALSE(boxes.texts().empty());
    EXPECT_EQ(boxes.texts().back(), "Partial trends cannot be drawn on analytic graphs.");
    EXPECT_TRUE(Stored().empty());
    Drag(InPrice(0.2, 0.6), InPrice(0.5, 0.4), Qt::ControlModifier);
    EXPECT_EQ(Stored().size(), 1u);

    window = chart.FindPane(kPaneFirstAddOn);
    click({x, window->top + margin + kEndMarkSize / 2});
    EXPECT_EQ(gs::IndicatorSlot(setting, 0, 0)[gs::kSlotType], 0);
    EXPECT_EQ(chart.FindPane(kPaneFirstAddOn) && chart.FindPane(kPaneFirstAddOn)->visible, false);

    // The whole history is shown; a range limited to a month can step back by a day from the left end.
    chart.onProgramMessage(WM_COMMAND, 26743, 0);
    Grab();
    const int32_t first = chart.eod.firstVisible();
    const GraphPane* price = chart.FindPane(kPanePrice);
    click({price->left - 3, (price->top + price->bottom) / 2});
    EXPECT_EQ(chart.eod.firstVisible(), first - 1);
}

// A chart opened under the program's mouse view runs the mouse-move logic at its paint before the mouse
// ever moved over it: that point is off the window, not in the previous-share zone at its corner.
TEST_F(DailyChartDrawingTest, APaintBeforeTheMouseCameStepsNoShare)
{
    ShareChart fresh;
    const std::vector<DayRecord> days = dev::MakeSyntheticDays(60);
    fresh.eod.SetHistory(days.data(), int32_t(days.size()), 1);
    fresh.active = 1;
    fresh.resize(600, 400);
    SetViewUnderMouse(&fresh);
    for (int paint = 0; paint < 2; ++paint) {
        QImage image(fresh.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        fresh.render(&painter);
    }
    EXPECT_NE(fresh.modeRecord.mode, kModePreviousShare);
    EXPECT_NE(fresh.statusTexts[0], "Previous share");
    SetViewUnderMouse(nullptr);
}

TEST_F(DailyChartDrawingTest, StoredLinesLoadWithTheChartAndTheSelectedLineShowsItsHandles)
{
    Command(26135);
    Drag(InPrice(0.15, 0.8), InPrice(0.75, 0.25));
    // Another chart of the same share reads the line from the store.
    ShareChart other;
    OpenLike(other);
    ASSERT_NE(other.drawing.PaneObjects(kPanePrice).head, nullptr);

    Command(26136);
    ASSERT_NE(chart.drawing.selected(), nullptr);
    const QImage image = Grab();
    test::SaveRender(image, "chart-selected-line");
    // The line's red pixels (the new-object colour) and the handles' inverted squares.
    const LineObject& line = *chart.drawing.selected();
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            red += (image.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
    EXPECT_GT(red, 300);
    const ScreenPoint first = line.screen[0];
    EXPECT_NE(image.pixel(first.x - 3, first.y - 3) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_NE(image.pixel(first.x + 3, first.y + 3) & 0xFFFFFF, 0xFFFFFFu);
}

// The line menus of the menu bar act on the chart: a menu taking the focus leaves it the frame's view.
TEST_F(DailyChartDrawingTest, AMenuTakingTheFocusKeepsTheChartTheViewCommandsActOn)
{
    MainFrameState().activeView = &chart;
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(&chart, &popup);
    EXPECT_EQ(MainFrameState().activeView, &chart);
    QFocusEvent other(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(&chart, &other);
    EXPECT_EQ(MainFrameState().activeView, nullptr);
}

// Each line-study tool is drawn by the mouse, stored with its own subtype, read back by another chart
// of the share and drawn with its figure.
TEST_F(DailyChartDrawingTest, EveryLineStudyToolDrawsStoresAndReloadsItsStudy)
{
    struct Case {
        uint32_t command;
        uint32_t subtype;
        const char* render;
        bool shapes; // more than the main segment
    };
    const Case cases[] = {
        {26357, 1, "study-fibonacci-arcs", true},  {26358, 2, "study-fibonacci-fans", true},
        {26359, 5, "study-retracements", true},    {26364, 3, "study-gann-angles", true},
        {26362, 4, "study-regression", true},      {26360, 6, "study-speed-lines", true},
        {26361, 7, "study-quadrant-lines", true},  {26367, 8, "study-percentage-change", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.render);
        LinesAndTextStore().FreeItems();
        chart.drawing.Reload();
        ASSERT_TRUE(State(c.command).enabled);
        Command(c.command);
        EXPECT_EQ(chart.modeRecord.mode, kModeLineStudy);
        // The percentage change is a measurement shown while the mouse holds it, never saved.
        if (c.subtype == 8) {
            Send(QEvent::MouseButtonPress, InPrice(0.3, 0.7));
            Send(QEvent::MouseMove, InPrice(0.6, 0.4));
            const std::vector<DrawnLineObject> held = chart.drawing.Figures();
            ASSERT_EQ(held.size(), 1u);
            ASSERT_EQ(held[0].shapes.labels.size(), 1u);
            EXPECT_NE(held[0].shapes.labels[0].text.find('%'), std::string::npos);
            test::SaveRender(Grab(), c.render);
            Send(QEvent::MouseButtonRelease, InPrice(0.6, 0.4));
            EXPECT_TRUE(Stored().empty());
            continue;
        }
        Drag(InPrice(0.3, 0.7), InPrice(0.6, 0.4));
        const LineObject* drawn = chart.drawing.PaneObjects(kPanePrice).head;
        ASSERT_NE(drawn, nullptr);
        EXPECT_EQ(drawn->subtype(), c.subtype);
        // A paint reloads the pane's objects, so the drawn one is read now, before the grab.
        const int32_t drawnTimes[] = {drawn->pointTime(0), drawn->pointTime(1)};
        const std::vector<DrawnLineObject> figures = chart.drawing.Figures();
        ASSERT_EQ(figures.size(), 1u);
        const StudyShapes& shapes = figures[0].shapes;
        EXPECT_EQ(!shapes.segments.empty() || !shapes.arcs.empty() || !shapes.labels.empty(), c.shapes);
        test::SaveRender(Grab(), c.render);
        ShareChart other;
        OpenLike(other);
        const LineObject* loaded = other.drawing.PaneObjects(kPanePrice).head;
        ASSERT_NE(loaded, nullptr);
        EXPECT_EQ(loaded->subtype(), c.subtype);
        EXPECT_EQ(loaded->pointTime(0), drawnTimes[0]);
        EXPECT_EQ(loaded->pointTime(1), drawnTimes[1]);
    }
}

// While the mouse holds a measuring study, upright guides mark its two dates; closer than 10 pixels,
// or once let go, there are none, and other studies never show them.
TEST_F(DailyChartDrawingTest, MeasuringStudiesShowTimeGuidesOnlyWhileTheMouseHoldsThem)
{
    auto guides = [&] {
        std::vector<int32_t> xs;
        for (const DrawnLineObject& figure : chart.drawing.Figures())
            for (const StudySegment& segment : figure.shapes.segments)
                if (segment.inverted)
                    xs.push_back(segment.from.x);
        return xs;
    };
    const QPoint from = InPrice(0.3, 0.7), to = InPrice(0.6, 0.4);
    for (uint32_t command : {26362u, 26361u, 26367u, 26135u, 26359u}) {
        SCOPED_TRACE(command);
        LinesAndTextStore().FreeItems();
        chart.drawing.Reload();
        Command(command);
        Send(QEvent::MouseButtonPress, from);
        Send(QEvent::MouseMove, from + QPoint(4, 0));
        EXPECT_TRUE(guides().empty()) << "under 10 pixels apart";
        Send(QEvent::MouseMove, to);
        const std::vector<int32_t> held = guides();
        Send(QEvent::MouseButtonRelease, to);
        Grab();
        if (command == 26135u || command == 26359u) {
            EXPECT_TRUE(held.empty());
            continue;
        }
        ASSERT_EQ(held.size(), 2u);
        EXPECT_LE(std::abs(held[0] - from.x()), 3);
        EXPECT_LE(std::abs(held[1] - to.x()), 3);
        EXPECT_TRUE(guides().empty()) << "let go";
    }
}

} // namespace qv

namespace qv {

// The pitchfork: a drag places its first two points, a click its third; it is stored with three
// points, drawn as its three lines, read back by another chart and taken hold of by its points.
TEST_F(DailyChartDrawingTest, ThePitchforkIsPlacedByADragAndAClickStoredAndDrawnAsThreeLines)
{
    ASSERT_TRUE(State(26363).enabled);
    Command(26363);
    EXPECT_EQ(chart.modeRecord.mode, kModePitchfork);
    const QPoint a = InPrice(0.1, 0.6), b = InPrice(0.3, 0.2), c = InPrice(0.4, 0.8);
    Send(QEvent::MouseButtonPress, a);
    Send(QEvent::MouseMove, b);
    Send(QEvent::MouseButtonRelease, b);
    EXPECT_EQ(chart.modeRecord.mode, kModePitchfork) << "waiting for the third point";
    ASSERT_NE(chart.drawing.selected(), nullptr);
    EXPECT_EQ(chart.drawing.Figures().back().shapes.segments.size(), 3u) << "the third point follows the mouse";
    Send(QEvent::MouseMove, c);
    Send(QEvent::MouseButtonPress, c);
    Send(QEvent::MouseButtonRelease, c);
    const QImage image = Grab();
    test::SaveRender(image, "pitchfork");
    EXPECT_EQ(chart.drawing.selected(), nullptr);
    int stored = 0;
    uint8_t* blob = LinesAndTextStore().GetItem(ShareItemKey(kShareId, 0), 0, kPriceStudyKey);
    ASSERT_NE(blob, nullptr);
    ForEachPackedObject(std::span<uint8_t>(blob, BlobLength(blob)), [&](LineObjectKind k, std::span<uint8_t> o) {
        if (k != LineObjectKind::Pitchfork)
            return;
        ++stored;
        EXPECT_EQ(int(o[15]), 3);
        EXPECT_EQ(LoadI32(o.data() + 16), DateAt(a));
        EXPECT_EQ(LoadI32(o.data() + 16 + 2 * 8), DateAt(c));
    });
    EXPECT_EQ(stored, 1);

    ShareChart other;
    OpenLike(other);
    const std::vector<DrawnLineObject> figures = other.drawing.Figures();
    ASSERT_EQ(figures.size(), 1u);
    EXPECT_EQ(figures[0].shapes.segments.size(), 3u);
    // Its third point is taken hold of and moved.
    Command(26136);
    ASSERT_NE(chart.drawing.selected(), nullptr);
    EXPECT_EQ(chart.drawing.selected()->kind, LineObjectKind::Pitchfork);
    const ScreenPoint third = chart.drawing.selected()->screen[2];
    Drag(QPoint(third.x, third.y), QPoint(third.x + 30, third.y - 40));
    const LineObject* fork = chart.drawing.PaneObjects(kPanePrice).head;
    ASSERT_NE(fork, nullptr);
    EXPECT_EQ(fork->pointTime(2), DateAt(QPoint(third.x + 30, third.y)));
}

// "Display trends": the setting's trend line and confidence lines are drawn over its range, never
// stored.
TEST_F(DailyChartDrawingTest, TheSettingsTrendIsDrawnOverItsRangeAndNeverStored)
{
    GraphSetting& s = *chart.ActiveSetting();
    gs::SetU32(s, gs::kTrendShown, 1);
    gs::SetU32(s, gs::kConfidenceShown, 1);
    gs::SetU32(s, gs::kTrendRange, 2);
    gs::SetU32(s, gs::kTrendPeriods, 60);
    gs::SetU32(s, gs::kTrendDeviation, 2);
    const QImage image = Grab();
    test::SaveRender(image, "display_trends_lines");
    std::vector<DrawnLineObject> figures = chart.drawing.Figures();
    ASSERT_EQ(figures.size(), 1u);
    EXPECT_EQ(figures[0].shapes.segments.size(), 3u) << "the trend and two confidence lines";
    const int32_t lastX = chart.IndexToXScale(&chart.timeBands->scale, int32_t(chart.eod.bars().size()) - 1);
    const int32_t startDay = int32_t(chart.eod.days().size()) - 60;
    const int32_t startX = chart.IndexToXScale(&chart.timeBands->scale, BarOfDay(chart.eod.bars(), startDay));
    EXPECT_EQ(figures[0].shapes.segments[0].to.x, lastX);
    EXPECT_EQ(figures[0].shapes.segments[0].from.x, startX);
    EXPECT_EQ(LinesAndTextStore().GetItem(ShareItemKey(kShareId, 0), 0, kPriceStudyKey), nullptr);
    gs::SetU32(s, gs::kTrendShown, 0);
    EXPECT_EQ(chart.drawing.Figures()[0].shapes.segments.size(), 2u) << "the confidence lines alone";
    gs::SetU32(s, gs::kConfidenceShown, 0);
    EXPECT_TRUE(chart.drawing.Figures().empty());
}

TEST_F(DailyChartDrawingTest, TheTrendReadoutGivesTheRateOfTheSettingsTrendOrTheSelectedLine)
{
    Grab();
    EXPECT_EQ(chart.eod.LatestTexts().trend, "No trend line");
    // The setting's trend (Graph > Trend Lines) over the last 60 periods.
    GraphSetting& s = *chart.ActiveSetting();
    gs::SetU32(s, gs::kTrendShown, 1);
    gs::SetU32(s, gs::kTrendRange, 2);
    gs::SetU32(s, gs::kTrendPeriods, 60);
    Grab();
    const std::string fitted = chart.eod.LatestTexts().trend;
    EXPECT_TRUE(fitted.rfind("Trend +", 0) == 0 || fitted.rfind("Trend -", 0) == 0) << fitted;
    EXPECT_TRUE(fitted.ends_with(" p.a.")) << fitted;
    std::array<std::string, 3> status;
    chart.eod.FillStatusTexts(status, false, false);
    EXPECT_NE(status[2].find(fitted), std::string::npos) << status[2];
    gs::SetU32(s, gs::kTrendShown, 0);
    Grab();
    EXPECT_EQ(chart.eod.LatestTexts().trend, "No trend line");

    // A drawn line, once selected, reads by its two ends.
    Command(26135);
    Drag(InPrice(0.2, 0.7), InPrice(0.6, 0.3));
    EXPECT_EQ(chart.eod.LatestTexts().trend, "No trend line") << "not selected";
    Command(26136);
    ASSERT_NE(chart.drawing.selected(), nullptr);
    const std::vector<StoredLine> lines = Stored();
    ASSERT_EQ(lines.size(), 1u);
    const std::string rate = GetTrendRateText(PackedDate(lines[0].date[0]), lines[0].price[0],
                                              PackedDate(lines[0].date[1]), lines[0].price[1], false);
    ASSERT_FALSE(rate.empty());
    EXPECT_EQ(chart.eod.LatestTexts().trend, "Trend " + rate);
}

} // namespace qv

namespace qv {

// Text boxes: placed by a click with the editor's text, stored, drawn inside the pane only, moved by
// their offsets, edited, justified and given an arrow through their commands.
TEST_F(DailyChartDrawingTest, ATextBoxIsPlacedWithItsTextDrawnMovedAndGivenAnArrow)
{
    chart.list = nullptr;
    EXPECT_FALSE(State(26138).enabled) << "text boxes need a share list";
    ShareList list{};
    chart.list = &list;
    ASSERT_TRUE(State(26138).enabled);
    int dialogs = 0;
    SetModalDialogRunner([&](QDialog& d) {
        ++dialogs;
        if (d.objectName() == QStringLiteral("361")) {
            d.findChild<QRadioButton*>(QStringLiteral("1399"))->setChecked(true);
        } else if (auto* edit = d.findChild<QLineEdit*>()) {
            chart.NotifyGraphSettings(0); // the chart is built again while the editor is up: its panes are new
            Grab();
            edit->setText(edit->text().isEmpty() ? QStringLiteral("Breakout above the old high") : QStringLiteral("Edited"));
        }
        d.accept();
        return int(QDialog::Accepted);
    });
    Command(26138);
    const QPoint anchor = InPrice(0.5, 0.4);
    Send(QEvent::MouseButtonPress, anchor);
    Send(QEvent::MouseButtonRelease, anchor);
    const QImage placed = Grab();
    EXPECT_EQ(dialogs, 1);
    const LineObject* text = chart.drawing.PaneObjects(kPanePrice).head;
    ASSERT_NE(text, nullptr);
    ASSERT_EQ(text->kind, LineObjectKind::Text);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(text->stored.data() + kTextOffset), text->textLength()),
              "Breakout above the old high");
    EXPECT_EQ(LoadI32(text->stored.data() + 8), DateAt(anchor));
    EXPECT_NE(LinesAndTextStore().GetItem(ShareItemKey(kShareId, 0), 0, kPriceStudyKey), nullptr);
    // The box hangs from the anchor (snapped to its bar): white fill, black frame at its corner.
    const QPoint corner(text->screen[0].x, text->screen[0].y);
    EXPECT_LE(std::abs(corner.x() - anchor.x()), 3);
    EXPECT_EQ(placed.pixel(corner + QPoint(50, 30)) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(placed.pixel(corner) & 0xFFFFFF, 0x000000u);
    test::SaveRender(placed, "text_box");

    // Dragged by its body, the box moves and its anchor stays; then an arrow leaves it to the left.
    Drag(anchor + QPoint(40, 20), anchor + QPoint(120, 60));
    text = chart.drawing.PaneObjects(kPanePrice).head;
    EXPECT_EQ(LoadI32(text->stored.data() + 8), DateAt(anchor));
    EXPECT_EQ(LoadI32(text->stored.data() + 16), -80);
    EXPECT_EQ(LoadI32(text->stored.data() + 20), -40);
    Command(26136);
    ASSERT_NE(chart.drawing.selected(), nullptr);
    EXPECT_TRUE(State(26176).enabled);
    EXPECT_TRUE(State(26180).enabled);
    Command(26176);
    Command(26136);
    Command(20157);
    Command(26136);
    Command(26180);
    text = chart.drawing.PaneObjects(kPanePrice).head;
    EXPECT_EQ(LoadU32(text->stored.data() + 52), 1399u);
    EXPECT_EQ(LoadU32(text->stored.data() + 48), 1u) << "centred";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(text->stored.data() + kTextOffset), text->textLength()), "Edited");
    const QImage arrowed = Grab();
    test::SaveRender(arrowed, "text_box_arrow");
    // The arrow's line runs from the anchor (its price's row, within a pixel) to the head left of the box.
    int dark = 0;
    for (int dy = -1; dy <= 1; ++dy)
        dark += (arrowed.pixel(anchor + QPoint(40, dy)) & 0xFFFFFF) == 0;
    EXPECT_EQ(dark, 1);

    // A box pushed partly out of the pane is not drawn on the screen.
    const GraphPane* pane = chart.FindPane(kPanePrice);
    Drag(anchor + QPoint(120, 60), QPoint(pane->right - 20, anchor.y() + 60));
    Grab();
    ASSERT_NE(chart.drawing.PaneObjects(kPanePrice).head, nullptr);
    EXPECT_FALSE(chart.drawing.PaneObjects(kPanePrice).head->visible);
    SetModalDialogRunner(nullptr);
    chart.list = nullptr;
}

TEST_F(DailyChartDrawingTest, ATextBoxPlacedNearThePanesEdgesIsDrawnThereAtOnceAndWhenLoadedAgain)
{
    ShareList list{};
    chart.list = &list;
    SetModalDialogRunner([](QDialog& d) {
        if (auto* edit = d.findChild<QLineEdit*>())
            edit->setText(QStringLiteral("Near the latest prices"));
        d.accept();
        return int(QDialog::Accepted);
    });
    Grab();
    const GraphPane* pane = chart.FindPane(kPanePrice);
    // Clicks by the right edge, by the bottom right corner and by the bottom.
    const std::vector<QPoint> clicks = {QPoint(pane->right - 10, pane->top + 30), QPoint(pane->right - 5, pane->bottom - 5),
                                        QPoint((pane->left + pane->right) / 2, pane->bottom - 8)};
    for (const QPoint& at : clicks) {
        Command(26138);
        Send(QEvent::MouseButtonPress, at);
        Send(QEvent::MouseButtonRelease, at);
    }
    Grab();
    pane = chart.FindPane(kPanePrice);
    int placed = 0;
    for (const LineObject* o = chart.drawing.PaneObjects(kPanePrice).head; o; o = o->next, ++placed) {
        EXPECT_TRUE(o->visible) << placed;
        // The box still touches the click: it is moved off the edge, not somewhere else.
        const ScreenPoint topLeft = o->screen[0], bottomRight = o->screen[2];
        EXPECT_GE(topLeft.x, pane->left);
        EXPECT_LE(bottomRight.x, pane->right);
        EXPECT_LE(bottomRight.y, pane->bottom);
    }
    EXPECT_EQ(placed, 3);
    test::SaveRender(Grab(), "text_boxes_by_the_edges");
    // Another chart of the share reads them from the store, as after a restart, and draws them.
    ShareChart other;
    other.list = &list;
    OpenLike(other);
    OpenLike(other);
    int reloaded = 0;
    for (const LineObject* o = other.drawing.PaneObjects(kPanePrice).head; o; o = o->next, ++reloaded)
        EXPECT_TRUE(o->visible) << reloaded;
    EXPECT_EQ(reloaded, 3);
    SetModalDialogRunner(nullptr);
    chart.list = nullptr;
}

// A text box on the price pane anchored at the point, shown in every setting.
LineObject* AddTextAt(ShareChart& chart, QPoint anchor)
{
    LineObjectList& list = chart.drawing.PaneObjects(kPanePrice);
    LineObject* text = AddTextObject(list);
    text->owner = &list;
    SetObjectSettingsMask(*text, 1);
    StoreI32(text->stored.data() + 8, chart.drawing.DatePositionAtX(anchor.x()));
    StoreF32(text->stored.data() + 12, chart.YToValue(chart.FindPane(kPanePrice)->firstSeries->range, anchor.y()));
    return text;
}

// Offset 116 of a text object is its point size: the same box at twice the size is twice as large.
TEST_F(DailyChartDrawingTest, ATextBoxWithTwiceThePointSizeIsTwiceAsLarge)
{
    LineObjectList& list = chart.drawing.PaneObjects(kPanePrice);
    LineObject* text = AddTextAt(chart, InPrice(0.3, 0.3));
    StoreI32(text->stored.data() + 56, -16);
    StoreI32(text->stored.data() + 116, 12);
    chart.drawing.Figures();
    const int32_t width = text->screen[1].x - text->screen[0].x;
    StoreI32(text->stored.data() + 116, 24);
    chart.drawing.Figures();
    EXPECT_EQ(text->screen[1].x - text->screen[0].x, 2 * width);
    EXPECT_EQ(width, 100);
    // A transparent box draws no frame.
    StoreU16(text->stored.data() + 6, 4);
    StoreI32(text->stored.data() + 116, 12);
    const std::vector<DrawnLineObject> figures = chart.drawing.Figures();
    ASSERT_EQ(figures.size(), 1u);
    ASSERT_TRUE(figures[0].textBox);
    EXPECT_TRUE(figures[0].textBox->transparent);
    FreeLineObjectList(list);
}

// A selected box's corners and edges resize it; "Set Anchor" makes its next move take the anchor along.
TEST_F(DailyChartDrawingTest, ATextBoxIsResizedByItsHandlesAndSetAnchorMovesItWithItsAnchor)
{
    LineObject* text = AddTextAt(chart, InPrice(0.3, 0.3));
    StoreI32(text->stored.data() + 56, -16);
    StoreI32(text->stored.data() + 116, 12);  // one unit a pixel
    Command(26136);
    EXPECT_EQ(State(26189).checked, false);
    Command(20155);  // stored
    Grab();
    auto box = [&] {
        const LineObject* t = chart.drawing.PaneObjects(kPanePrice).head;
        const uint8_t* s = t->stored.data();
        return std::array<int32_t, 4>{LoadI32(s + 16), LoadI32(s + 20), LoadI32(s + 24), LoadI32(s + 28)};
    };
    auto corner = [&](size_t i) {
        const ScreenPoint p = chart.drawing.PaneObjects(kPanePrice).head->screen[i];
        return QPoint(p.x, p.y);
    };
    ASSERT_EQ(box(), (std::array<int32_t, 4>{0, 0, 100, 50}));
    // Selected, the handle under the pointer is drawn small.
    Command(26136);
    Send(QEvent::MouseMove, corner(2) + QPoint(2, 1));
    bool small = false;
    for (const DrawnLineObject& figure : chart.drawing.Figures())
        if (figure.smallHandle >= 0)
            small = figure.handles[size_t(figure.smallHandle)] == ScreenPoint{corner(2).x(), corner(2).y()};
    EXPECT_TRUE(small);
    Command(26149);
    // The bottom right corner: wider and taller, still hung from the anchor.
    Drag(corner(2), corner(2) + QPoint(40, 20));
    EXPECT_EQ(box(), (std::array<int32_t, 4>{0, 0, 140, 70}));
    // The left edge's middle: the left side moves out, the right stays.
    const QPoint leftEdge = (corner(0) + corner(3)) / 2;
    Drag(leftEdge, leftEdge + QPoint(-30, 25));
    EXPECT_EQ(box(), (std::array<int32_t, 4>{30, 0, 170, 70}));
    // Dragged past the opposite side the box keeps a least size.
    Drag(corner(1), corner(1) + QPoint(-400, 300));
    EXPECT_EQ(box(), (std::array<int32_t, 4>{30, -60, 10, 10}));
    // A handle is the first within 12 pixels: just off this small box's corner, not its top right.
    Drag(corner(2) + QPoint(3, 3), corner(2) + QPoint(163, 63));
    EXPECT_EQ(box(), (std::array<int32_t, 4>{30, -60, 170, 70}));
    test::SaveRender(Grab(), "text_box_resized");

    // "Set Anchor": the box and its anchor move together; the offsets stay.
    const QPoint anchor = corner(0) + QPoint(30, -60);
    const int32_t date = DateAt(anchor);
    Command(26136);
    ASSERT_TRUE(State(26189).enabled);
    Command(26189);
    EXPECT_EQ(State(26189).checked, true);
    const QPoint inside = corner(0) + QPoint(60, 30);
    Drag(inside, inside + QPoint(80, 40));
    const LineObject* moved = chart.drawing.PaneObjects(kPanePrice).head;
    EXPECT_EQ(box(), (std::array<int32_t, 4>{30, -60, 170, 70}));
    EXPECT_EQ(LoadI32(moved->stored.data() + 8), DateAt(anchor + QPoint(80, 0)));
    EXPECT_NE(LoadI32(moved->stored.data() + 8), date);
    EXPECT_FLOAT_EQ(LoadF32(moved->stored.data() + 12), PriceAt(anchor + QPoint(0, 40)));
    // The flag lasts one move: selected again, a body drag moves the box from its anchor.
    Command(26136);
    EXPECT_EQ(State(26189).checked, false);
}

} // namespace qv

namespace qv {

// The box's colours and transparency through "Set box colours", its font through the chooser; the
// font also becomes the default for new boxes.
TEST_F(DailyChartDrawingTest, BoxColoursAndFontChangeTheSelectedBox)
{
    AddTextAt(chart, InPrice(0.3, 0.3));
    Command(26136);
    ASSERT_NE(chart.drawing.selected(), nullptr);
    EXPECT_TRUE(State(26177).enabled);
    EXPECT_TRUE(State(26179).enabled);
    SetModalDialogRunner([](QDialog& d) {
        if (d.objectName() == QStringLiteral("365"))
            d.findChild<QCheckBox*>(QStringLiteral("2055"))->click(); // the box had a background: now none
        if (auto* fonts = qobject_cast<QFontDialog*>(&d)) {
            QFont f(QStringLiteral("DejaVu Sans"));
            f.setPointSize(20);
            fonts->setCurrentFont(f);
        }
        d.accept();
        return int(QDialog::Accepted);
    });
    Command(26177);
    const LineObject* stored = chart.drawing.PaneObjects(kPanePrice).head;
    ASSERT_NE(stored, nullptr);
    const bool transparent = (LoadU16(stored->stored.data() + 6) & 4) != 0;
    Command(26136);
    Command(26179);
    SetModalDialogRunner(nullptr);
    stored = chart.drawing.PaneObjects(kPanePrice).head;
    EXPECT_TRUE(transparent) << "the background box was unticked";
    EXPECT_EQ(LoadI32(stored->stored.data() + 116), 20);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stored->stored.data() + 84)), "DejaVu Sans");
    EXPECT_EQ(DefaultTextBox().pointSize, 20) << "the chosen font is the new default";
    DefaultTextBox() = TextBoxDefaults{};
    // The two line-up rules are toggles that exclude each other.
    Command(26136);
    Command(26190);
    Command(26136);
    EXPECT_EQ(State(26190).checked, true);
    Command(26191);
    Command(26136);
    EXPECT_EQ(State(26191).checked, true);
    EXPECT_EQ(State(26190).checked, false);
    Command(26191);
    Command(26136);
    EXPECT_EQ(State(26191).checked, false);
}

} // namespace qv
