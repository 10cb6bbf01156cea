// "Graph design" of the intraday chart: every control to its field and back, Preview then Cancel
// leaving the setting byte-identical, OK handing the block over, the schemes keeping the time
// options, the trades pen's label and enabling, the previous-day note until it is suppressed, and a
// render of each page; a design kept by OK comes back from the saved configuration at the next start.
#include "realtime/ui/GraphGridRT.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IntradayDesign.h"
#include "core/ConfigFamilies.h"
#include "core/ConfigFile.h"
#include "core/ConfigState.h"
#include "devtools/lib/TempFolder.h"
#include "platform/Paths.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StyleButton.h"
#include "shell/ui/SuppressibleMessage.h"
#include "support/FakeMessageBox.h"
#include "support/ui/Render.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimeEdit>

#include <gtest/gtest.h>

namespace qv {
namespace {

using namespace intradaydesign;
using graphsetting::U16;
using graphsetting::U32;
using graphsetting::U8;

GraphSetting IntradaySetting()
{
    GraphSetting s;
    InitGraphSetting(s, true);
    return s;
}

class GraphGridRTTest : public testing::Test {
protected:
    void TearDown() override
    {
        SetModalDialogRunner(nullptr);
        SetIntradayNotesOff(0);
        CGraphGridRT::LastPage() = 0;
    }
    static void Click(CGraphGridRT& d, int id) { static_cast<QAbstractButton*>(d.findChild<QWidget*>(QString::number(id)))->click(); }
};

// Changing one control changes its own field and nothing else of the record.
TEST_F(GraphGridRTTest, EveryControlToItsFieldAndBack)
{
    for (const Control& c : Controls()) {
        if (c.kind == Kind::Date || c.kind == Kind::Pen)
            continue;
        GraphSetting start = IntradaySetting();
        // "Mid price +/-" ticked, which its four radios need to be enabled.
        SetControlValue(start, *FindControl(3401), 1);
        // Radios start elsewhere in their group, so that clicking one changes the field.
        if (c.kind == Kind::Radio)
            for (const Control& other : Controls())
                if (other.kind == Kind::Radio && other.at == c.at && other.mask == c.mask && other.id != c.id) {
                    SetControlValue(start, other, 1);
                    break;
                }
        GraphSetting preview = start;
        CGraphGridRT d(preview, "Intraday", 0);
        QWidget* w = d.control(c.id);
        ASSERT_NE(w, nullptr) << c.id;
        const int64_t before = ControlValue(d.Working(), c);
        EXPECT_EQ(before, ControlValue(start, c)) << "shown from its field: " << c.id;
        int64_t expected = 0;
        switch (c.kind) {
        case Kind::Check: static_cast<QAbstractButton*>(w)->setChecked(!before); expected = !before; break;
        case Kind::Radio: static_cast<QAbstractButton*>(w)->click(); expected = 1; break;
        case Kind::Slider: {
            auto* s = static_cast<QSlider*>(w);
            expected = before == s->maximum() ? 0 : s->maximum();
            s->setValue(int(expected));
            break;
        }
        case Kind::Number: static_cast<QSpinBox*>(w)->setValue(int(expected = before == 7 ? 8 : 7)); break;
        case Kind::List: {
            auto* list = static_cast<QComboBox*>(w);
            expected = before == 1 ? 2 : 1;
            list->setCurrentIndex(int(expected));
            break;
        }
        case Kind::Time: static_cast<QTimeEdit*>(w)->setTime(QTime(10, 30)); expected = 37800; break;
        default: break;
        }
        const GraphSetting& after = d.Working();
        EXPECT_EQ(ControlValue(after, c), expected) << c.id << " " << c.text;
        for (size_t i = 0; i < start.bytes.size(); ++i) {
            if (i >= c.at && i < c.at + c.width)
                continue;
            // Show size also widens the trade pens; the date's field follows its radios.
            if (c.id == 3285 && ((i >= 1164 && i < 1168) || (i >= 1228 && i < 1236)))
                continue;
            ASSERT_EQ(after.bytes[i], start.bytes[i]) << "control " << c.id << " changed byte " << i;
        }
    }
}

TEST_F(GraphGridRTTest, CancelAfterPreviewLeavesTheSettingAndOkHandsTheBlockOver)
{
    GraphSetting setting = IntradaySetting();
    const GraphSetting original = setting;
    GraphSetting preview;
    int redraws = 0, notices = 0;
    SetModalDialogRunner([](QDialog& d) {
        auto& dialog = static_cast<CGraphGridRT&>(d);
        dialog.ApplyDefaults(true);
        dialog.Preview();
        d.reject();
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(OpenIntradayGraphDesign(setting, preview, "Intraday", 0, nullptr, [&] { ++redraws; }, [&] { ++notices; }),
              QDialog::Rejected);
    EXPECT_EQ(setting.bytes, original.bytes) << "Cancel after Preview: byte-identical";
    EXPECT_NE(preview.bytes, original.bytes) << "the chart drew the preview meanwhile";
    EXPECT_EQ(notices, 0);
    EXPECT_GE(redraws, 2);

    SetModalDialogRunner([](QDialog& d) {
        static_cast<CGraphGridRT&>(d).ApplyDefaults(true);
        d.accept();
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(OpenIntradayGraphDesign(setting, preview, "Intraday", 0, nullptr, nullptr, [&] { ++notices; }), QDialog::Accepted);
    EXPECT_EQ(notices, 1) << "OK tells the views the settings changed";
    EXPECT_EQ(U32(setting, 1120) & 0xFFFFFF, 0u) << "the dark background";
    for (size_t i = 0; i < setting.bytes.size(); ++i)
        if (i < kStyleBlockStart || i >= kStyleBlockEnd) {
            ASSERT_EQ(setting.bytes[i], original.bytes[i]) << "outside the style block: " << i;
        }
}

// The design of the third intraday setting, kept by OK, is written by File > Exit's whole save or by the
// setting's own save, and read back whole by the next start's load; the other settings stay as they were.
TEST_F(GraphGridRTTest, ADesignKeptByOkComesBackAtTheNextStart)
{
    const fs::path previousFolder = ProgramFolder();
    const ConfigState previousConfig = Config();
    test::FakeMessageBox boxes;
    constexpr int kSlot = 2;
    for (const int32_t selector : {kWholeConfig, int32_t(kSlot | config_mask::kIntradayGraphs)}) {
        dev::TempFolder folder;
        SetProgramFolder(folder.path());
        Config() = ConfigState{};
        LoadConfig(kWholeConfig, true);
        ASSERT_EQ(SaveConfig(kWholeConfig), SaveResult::Saved);
        const GraphSetting untouched = Config().intradayGraphs.records[0];

        SetModalDialogRunner([](QDialog& d) {
            auto& dialog = static_cast<CGraphGridRT&>(d);
            dialog.ApplyDefaults(true);
            Click(dialog, 2720); // candlesticks
            d.accept();
            return int(QDialog::Accepted);
        });
        GraphSetting preview;
        GraphSetting& setting = Config().intradayGraphs.records[kSlot];
        ASSERT_EQ(OpenIntradayGraphDesign(setting, preview, "Setting 3", kSlot, nullptr, nullptr, nullptr), QDialog::Accepted);
        const GraphSetting designed = setting;
        ASSERT_EQ(U8(designed, 1192), 4) << "candlesticks";
        ASSERT_EQ(U32(designed, 1120) & 0xFFFFFF, 0u) << "the dark background";
        ASSERT_EQ(SaveConfig(selector), SaveResult::Saved);

        Config() = ConfigState{};
        ASSERT_EQ(LoadConfig(kWholeConfig, false), 0);
        EXPECT_EQ(Config().intradayGraphs.records[kSlot].bytes, designed.bytes) << "selector " << selector;
        EXPECT_EQ(Config().intradayGraphs.records[0].bytes, untouched.bytes) << "selector " << selector;
    }
    EXPECT_TRUE(boxes.shown().empty());
    SetProgramFolder(previousFolder);
    Config() = previousConfig;
}

TEST_F(GraphGridRTTest, SchemesKeepTheTimeOptions)
{
    GraphSetting setting = IntradaySetting();
    graphsetting::SetU8(setting, 1150, 4);       // five days
    graphsetting::SetU32(setting, 1188, 7);      // 10-minute bars
    graphsetting::SetU8(setting, 1149, 2);       // user-defined hours
    graphsetting::SetU8(setting, 1196, 2 << 1);  // user-defined analytic times
    graphsetting::SetU32(setting, 1200, 30000);
    graphsetting::SetU8(setting, 1148, 1 | 3 << 1); // de-spike at strength 3
    CGraphGridRT d(setting, "Intraday", 0);
    for (bool dark : {true, false}) {
        d.ApplyDefaults(dark);
        const GraphSetting& w = d.Working();
        EXPECT_EQ(U8(w, 1150), 4);
        EXPECT_EQ(U32(w, 1188), 7u);
        EXPECT_EQ(U8(w, 1149), 2);
        EXPECT_EQ(U8(w, 1196), 2 << 1);
        EXPECT_EQ(U32(w, 1200), 30000u);
        EXPECT_EQ(U8(w, 1148), 1 | 3 << 1);
        EXPECT_EQ(U32(w, 1120) & 0xFFFFFF, dark ? 0u : 0xFFFFFFu);
        EXPECT_EQ(U8(w, 1192), 1) << "mid line";
        EXPECT_EQ((U32(w, 1164) >> 28) + 1, 2u) << "trade pens two wide";
    }
}

TEST_F(GraphGridRTTest, TradesFromDotsToLineRelabelThePen)
{
    GraphSetting setting = IntradaySetting();
    CGraphGridRT d(setting, "Intraday", 0);
    d.ApplyDefaults(false); // dots with buy/sell
    auto* label = d.findChild<QLabel*>(QString::number(kTradesPen) + "l");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Unknowns");
    EXPECT_TRUE(d.control(3288)->isEnabled());
    static_cast<QAbstractButton*>(d.control(3286))->setChecked(false);
    Click(d, 3283); // Line
    EXPECT_EQ(label->text(), "Trades");
    EXPECT_FALSE(d.control(3288)->isEnabled());
    EXPECT_FALSE(d.control(3289)->isEnabled());
    EXPECT_TRUE(d.control(3286)->isEnabled()) << "Buy/Sell for Line";
    EXPECT_FALSE(d.control(3285)->isEnabled()) << "Show size only for Dots";
}

TEST_F(GraphGridRTTest, PreviousDayNoteUntilSuppressed)
{
    GraphSetting setting = IntradaySetting();
    CGraphGridRT d(setting, "Intraday", 0);
    d.SetPreviousDayHeld([] { return false; });
    int notes = 0;
    bool suppress = false;
    SetModalDialogRunner([&](QDialog& box) {
        auto* message = dynamic_cast<CSuppressibleMessage*>(&box);
        EXPECT_NE(message, nullptr);
        if (message) {
            EXPECT_EQ(message->textLabel()->text().toStdString(), kPreviousDayNote);
            message->setSuppressChecked(suppress);
        }
        ++notes;
        return int(QDialog::Accepted);
    });
    auto* high = static_cast<QAbstractButton*>(d.control(4100));
    high->click();
    high->click(); // unticking asks nothing
    high->click();
    EXPECT_EQ(notes, 2) << "at every tick";
    suppress = true;
    static_cast<QAbstractButton*>(d.control(3309))->click();
    EXPECT_EQ(notes, 3);
    EXPECT_TRUE(IntradayNotesOff() & kNotePreviousDay);
    static_cast<QAbstractButton*>(d.control(4099))->click();
    static_cast<QAbstractButton*>(d.control(3401))->click();
    Click(d, 3403);
    EXPECT_EQ(notes, 3) << "never again once suppressed";
}

TEST_F(GraphGridRTTest, RendersOfTheSixPages)
{
    GraphSetting setting = IntradaySetting();
    CGraphGridRT d(setting, "Intraday", 0);
    d.SetPreviewPainter([](QPainter& p, const GraphSetting& style, QRect area) {
        p.fillRect(area, QColor::fromRgb(QRgb(U32(style, 1120) & 0xFFFFFF)));
    });
    d.ApplyDefaults(false);
    const char* names[] = {"price", "trades", "time", "lines_text", "style", "analytics"};
    auto* tabs = d.findChild<QTabWidget*>("2584");
    ASSERT_NE(tabs, nullptr);
    for (int page = 0; page < kPages; ++page) {
        tabs->setCurrentIndex(page);
        test::SaveRender(test::RenderWidget(d), QString("intraday_graph_design_") + names[page]);
    }
    EXPECT_EQ(CGraphGridRT::LastPage(), kPages - 1) << "the page is remembered";
}

} // namespace
} // namespace qv
