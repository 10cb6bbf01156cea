// The ticker view on a small database: the tape composed in each layout, light and dark, with the
// connection texts and the excess look; the tick taking the ring's trades; and the design dialog's
// OK, Cancel after Preview, defaults and vertical layout choice.
#include "realtime/ui/ViewRTTicker.h"

#include "core/ConfigDefaults.h"
#include "core/ConfigState.h"
#include "platform/ByteOrder.h"
#include "realtime/IntradayState.h"
#include "realtime/ui/TickerComposer.h"
#include "realtime/ui/TickerDesignDlg.h"
#include "tests/support/DatabaseFixture.h"
#include "tests/support/ui/Render.h"

#include "shell/ui/ChildWindow.h"
#include "views/ViewKinds.h"

#include <QApplication>
#include <QCheckBox>
#include <QMdiArea>
#include <QRadioButton>
#include <QSlider>

namespace qv {
namespace {

using namespace TickerLayout;

dev::DbRecord Share(uint16_t id, const char* name, const char* epic, uint8_t type)
{
    dev::DbRecord r = dev::ShareRecord(id, name, 'O', epic);
    r.head[0] = type;
    return r;
}

class ViewRTTickerTest : public test::DatabaseFixture {
protected:
    ViewRTTickerTest()
    {
        Load(dev::WriteQuorvaDat(test::OneEntry({Share(0x4001, "FTSE 100 Index", "UKX", 0x18),
                                                  Share(0x4002, "Acme Engineering", "ACME", 0x00),
                                                  Share(0x4003, "Borealis Mining", "BORE", 0x40),
                                                  Share(0x4004, "Cobalt Estates", "COBE", 0x80)})));
        savedConfig_ = Config().tickers;
        savedOptions_ = Config().optionsB;
        savedEngine_ = RTEngineState;
    }
    ~ViewRTTickerTest() override
    {
        Config().tickers = savedConfig_;
        Config().optionsB = savedOptions_;
        RTEngineState = savedEngine_;
    }

    static TickerSetting Setting(int layout, bool dark, uint16_t fields = 0x1BE)
    {
        TickerSetting s;
        SetDefaultTickerSettings(s);
        SetTickerLook(s, dark);
        StoreU16(s.data() + FieldMask, fields);
        s.bytes[Categories] = 0x3F;
        s.bytes[Layout] = uint8_t(layout);
        return s;
    }
    static RecentTrade Trade(uint16_t share, float price, float open)
    {
        RecentTrade t;
        t.share = share;
        t.price = price;
        t.open = open;
        t.time = 10 * 3600 + 15 * 60 + 30;
        t.volume = 25000;
        return t;
    }
    // Four trades, scrolled until the tape is full.
    static void Fill(CViewRTTicker& view)
    {
        std::lock_guard guard(view.tapeLock());
        TickerTape& tape = view.tape();
        tape.Clear();
        tape.FollowEngine(1);
        struct Sample {
            uint16_t share;
            uint16_t type;
            float price;
        } samples[] = {{0x4001, 0x18, 5500}, {0x4002, 0x00, 412}, {0x4003, 0x40, 98.5f}, {0x4004, 0x80, 1250}};
        for (int round = 0; round < 3; ++round)
            for (const Sample& s : samples)
                tape.AddTrade(Trade(s.share, s.price + float(round - 1), s.price), TickerTape::ShareFacts{true, s.type, s.price + 2}, 0);
        // Until the last item is on show.
        for (uint32_t t = 0; t < 2000; ++t) {
            const TickerItem& last = tape.items().back();
            if (last.placed() && last.position < tape.visibleEnd())
                break;
            tape.Scroll(t % 20, -3, 3);
        }
    }

    NamedRecordFamily<TickerSetting> savedConfig_;
    OptionBlockB savedOptions_;
    int32_t savedEngine_ = 0;
};

TEST_F(ViewRTTickerTest, TheTapeInEachLayoutLightAndDark)
{
    for (bool dark : {false, true})
        for (int layout = 0; layout <= 4; ++layout) {
            CViewRTTicker view;
            const bool vertical = layout >= 3;
            view.resize(vertical ? 260 : 700, vertical ? 300 : (layout == 2 ? 110 : 60));
            view.SetSettings(Setting(layout, dark, layout == 3 ? 0x06 : 0x1BE));
            Fill(view);
            const QImage image = view.Compose();
            int onShow = 0;
            for (const TickerItem& item : view.tape().items())
                onShow += item.placed() && item.position < view.tape().visibleEnd() ? 1 : 0;
            EXPECT_GE(onShow, 2) << layout;
            test::SaveRender(image, QStringLiteral("ticker_layout%1_%2").arg(layout).arg(dark ? "dark" : "light"));
        }
}

TEST_F(ViewRTTickerTest, ConnectionTextsAndTheExcessLook)
{
    CViewRTTicker view;
    view.resize(600, 40);
    view.SetSettings(Setting(0, false));
    test::SaveRender(view.Compose(), "ticker_disconnected");
    {
        std::lock_guard guard(view.tapeLock());
        view.tape().FollowEngine(1);
    }
    test::SaveRender(view.Compose(), "ticker_awaiting_data");
    Fill(view);
    {
        std::lock_guard guard(view.tapeLock());
        TickerTape& tape = view.tape();
        // Two more: the first follows the last on show, the second waits 20 s behind it.
        tape.AddTrade(Trade(0x4003, 99, 98.5f), TickerTape::ShareFacts{true, 0x40, 97}, 0);
        tape.AddTrade(Trade(0x4004, 1251, 1250), TickerTape::ShareFacts{true, 0x80, 1240}, 0);
        tape.Scroll(200, -1, 3);
        ASSERT_TRUE(tape.excess());
    }
    const QImage excess = view.Compose();
    const QColor expected(0xFF, 0xFF, 0xEE);
    int excessPixels = 0;
    for (int x = 0; x < excess.width(); x += 7)
        excessPixels += QColor(excess.pixel(x, 1)) == expected ? 1 : 0;
    EXPECT_GT(excessPixels, 10) << "the items take the excess background";
    test::SaveRender(excess, "ticker_excess");
}

TEST_F(ViewRTTickerTest, TheTickTakesTheRingsNewTradesAndFollowsTheEngine)
{
    ClearRTRecentTrades();
    CViewRTTicker view;
    view.resize(600, 40);
    view.SetSettings(Setting(0, false));
    test::RenderWidget(view); // the first paint
    RTEngineState = 1;
    view.Tick(100);
    EXPECT_TRUE(view.tape().awaiting());
    AddRTRecentTrade(Trade(0x4002, 412, 400));
    AddRTRecentTrade(Trade(0x9999, 1, 1)); // no such share
    view.Tick(101);
    EXPECT_EQ(view.tape().items().size(), 1u);
    EXPECT_FALSE(view.tape().awaiting());
    EXPECT_EQ(view.interval(), TickerInterval(0, 3)) << "the first tick replaces the 8 ms interval";
    RTEngineState = 0;
    view.Tick(102);
    EXPECT_EQ(view.tape().state(), kTapeDraining);
    ClearRTRecentTrades();
}

TEST_F(ViewRTTickerTest, DesignOkWithoutAChangeLeavesEverything)
{
    CViewRTTicker view;
    view.SetSettings(Config().tickers.records[2]);
    const TickerSetting before = Config().tickers.records[2];
    CTickerDesignDlg dialog(view.settings(), 2, &view, "Setting 3");
    dialog.accept();
    EXPECT_FALSE(dialog.changed());
    EXPECT_TRUE(Config().tickers.records[2] == before);
    EXPECT_TRUE(view.settings() == before);
}

TEST_F(ViewRTTickerTest, DesignCancelAfterPreviewPutsBackTheLookTheFontAndTheFrame)
{
    QWidget frame;
    frame.setGeometry(10, 20, 500, 80);
    auto* view = new CViewRTTicker(&frame);
    view->SetSettings(Config().tickers.records[0]);
    const TickerSetting before = view->settings();
    const LogFont font = TickerFont();
    CTickerDesignDlg dialog(view->settings(), 0, view, "Setting 1");
    dialog.SetLook(true);
    dialog.fieldBox(0)->setChecked(!dialog.fieldBox(0)->isChecked());
    dialog.Preview();
    EXPECT_FALSE(view->settings() == before) << "the preview is on the view";
    EXPECT_EQ(LoadU32(view->settings().data() + NoDataBackground), 0u);
    LogFont chosen = font;
    chosen.height = -31;
    SetTickerFont(chosen);
    frame.setGeometry(40, 60, 300, 50);
    dialog.reject();
    EXPECT_TRUE(view->settings() == before);
    EXPECT_EQ(TickerFont().height, font.height);
    EXPECT_EQ(frame.geometry(), QRect(10, 20, 500, 80));
    EXPECT_FALSE(dialog.changed());
}

// In a real frame the previewed one-line layout fixes the frame's height; Cancel frees it and the
// re-layout that follows keeps the frame as it was, for a vertical and for a two-line ticker.
TEST_F(ViewRTTickerTest, DesignCancelAfterAOneLinePreviewKeepsTheFramesSize)
{
    for (int layout : {3, 1}) {
        QMdiArea area;
        area.resize(1200, 800);
        area.show();
        auto* child = new CChildWindow;
        auto* view = new CViewRTTicker;
        child->setWidget(view);
        child->Create(&area, QRect(100, 100, 500, 300), kViewTicker, false, true);
        view->SetSettings(Setting(layout, false));
        const auto settle = [&] {
            for (int i = 0; i < 3; ++i) {
                view->repaint();
                QApplication::processEvents();
            }
        };
        settle();
        const QRect opened = child->geometry();
        CTickerDesignDlg dialog(view->settings(), 0, view, "Setting 1");
        dialog.layoutButton(0)->setChecked(true);
        dialog.ReadControls();
        dialog.Preview();
        settle();
        EXPECT_LT(child->height(), layout == 3 ? opened.height() : opened.height() + 1) << layout;
        dialog.reject();
        settle();
        EXPECT_EQ(child->geometry(), opened) << layout;
    }
}

TEST_F(ViewRTTickerTest, DesignDefaultsVerticalChoiceAndTheSpeedSlider)
{
    CViewRTTicker view;
    CTickerDesignDlg dialog(view.settings(), 0, &view, "Setting 1");
    test::SaveRender(test::RenderWidget(dialog), "ticker_design");
    dialog.SetLook(true);
    EXPECT_EQ(LoadU32(dialog.working().data() + UpColour), 0x00FF00u);
    EXPECT_EQ(LoadU32(dialog.working().data() + CategoryText + 4 * 4), 0x00FFFFu);
    dialog.SetLook(false);
    EXPECT_EQ(LoadU32(dialog.working().data() + UpColour), 0x008000u);

    struct Case {
        std::vector<int> bits;
        int layout;
    } cases[] = {{{0, 1, 2}, 4}, {{1, 2}, 3}, {{1, 2, 3, 7}, 3}};
    for (const Case& c : cases) {
        for (int bit = 0; bit < 9; ++bit)
            dialog.fieldBox(bit)->setChecked(std::find(c.bits.begin(), c.bits.end(), bit) != c.bits.end());
        dialog.layoutButton(3)->setChecked(true);
        dialog.ReadControls();
        EXPECT_EQ(dialog.working().bytes[Layout], c.layout) << c.bits.size();
    }
    dialog.variableSpeed()->setChecked(true);
    EXPECT_FALSE(dialog.speedSlider()->isEnabled());
    dialog.constantSpeed()->setChecked(true);
    EXPECT_TRUE(dialog.speedSlider()->isEnabled());
}

// The frame takes the height of the layout's rows in the ticker font, however the font changes, and
// a ticker that was the active window is the active one again after its re-layout (one that was not
// stays behind).
TEST_F(ViewRTTickerTest, TheFrameFitsTheRowsAndKeepsItsActivation)
{
    QMdiArea area;
    area.resize(1200, 800);
    area.show();
    auto* other = new QMdiSubWindow;
    other->setWidget(new QWidget);
    area.addSubWindow(other);
    other->setGeometry(0, 0, 300, 200);
    other->show();
    auto* child = new CChildWindow;
    auto* view = new CViewRTTicker;
    child->setWidget(view);
    child->Create(&area, QRect(100, 400, 500, 300), kViewTicker, false, true);
    auto relayout = [&](int layout, int32_t height) {
        LogFont font = TickerFont();
        font.height = height;
        SetTickerFont(font);
        view->SetSettings(Setting(layout, false));
        for (int i = 0; i < 2; ++i) {
            view->repaint();
            QApplication::processEvents();
        }
    };

    struct Case {
        int layout;
        int32_t fontHeight;
        int rows; // row heights of the tape
        int extra;
    } cases[] = {{0, -27, 1, 0}, {0, -13, 1, 0}, {1, -20, 2, 0}, {2, -13, 4, 5}, {0, -40, 1, 0}, {1, -11, 2, 0}};
    int border = -1;
    for (const Case& c : cases) {
        area.setActiveSubWindow(child);
        relayout(c.layout, c.fontHeight);
        const int row = TickerComposer(view->settings(), TickerFont()).Cell().height;
        const int tape = c.rows * row + c.extra + 2;
        EXPECT_EQ(view->height(), tape) << c.layout << " " << c.fontHeight;
        if (border < 0)
            border = child->height() - view->height();
        EXPECT_GT(border, 0);
        EXPECT_EQ(child->height() - view->height(), border) << "the frame holds the tape whole: " << c.layout << " " << c.fontHeight;
        EXPECT_EQ(area.currentSubWindow(), child) << c.layout;
        EXPECT_TRUE(static_cast<QWidget*>(view)->hasFocus()) << c.layout;
    }

    area.setActiveSubWindow(other);
    relayout(1, -16);
    EXPECT_EQ(area.currentSubWindow(), other) << "an inactive ticker takes no activation";
}

} // namespace
} // namespace qv
