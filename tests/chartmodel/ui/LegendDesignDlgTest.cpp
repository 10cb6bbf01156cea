// The legend design dialog by control id: grey ticks survive OK, the defaults, Cancel, the variants,
// and a render of every page.
#include "chartmodel/ui/LegendDesignDlg.h"

#include "support/ui/Render.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace qv;
namespace ld = qv::legenddesign;

namespace {
QCheckBox* Box(QWidget& d, int id) { return d.findChild<QCheckBox*>(QString::number(id)); }
void Click(QWidget& d, int id) { d.findChild<QPushButton*>(QString::number(id))->click(); }
constexpr uint64_t kAll = ~uint64_t(0);
constexpr int kSectorBit = 32 + 4;
} // namespace

TEST(LegendDesignDlg, GreyTickForAnItemThatDoesNotApplySurvivesOk)
{
    LegendItemRecord items{0, 1u << 4};   // "Share's Sector" selected
    ld::LegendStyle style;
    CLegendDesignDlg dialog(items, style, kAll & ~(uint64_t(1) << kSectorBit), false);
    EXPECT_EQ(Box(dialog, 3564)->checkState(), Qt::PartiallyChecked);
    Box(dialog, 3561)->click();
    EXPECT_EQ(Box(dialog, 3561)->checkState(), Qt::Checked);
    EXPECT_EQ(Box(dialog, 3564)->checkState(), Qt::PartiallyChecked);
    dialog.accept();
    EXPECT_EQ(items.word1, 1u | (1u << 4));
}

TEST(LegendDesignDlg, DefaultsAndCancel)
{
    LegendItemRecord items{0x1, 0x2};
    ld::LegendStyle style;
    style.face = "Courier New";
    style.points = 12;
    style.fontFlags = 3;
    int rebuilds = 0;
    {
        CLegendDesignDlg dialog(items, style, kAll, false);
        dialog.SetRebuild([&] { ++rebuilds; });
        Click(dialog, 3558);
        dialog.Preview();
        EXPECT_EQ(items.word0, ld::kValuesDefaultHistoric);
        EXPECT_EQ(items.word1, 0x2u);
        dialog.reject();
    }
    EXPECT_EQ(items.word0, 0x1u);
    EXPECT_EQ(rebuilds, 2);
    {
        CLegendDesignDlg dialog(items, style, kAll, true);
        Click(dialog, 3633);
        dialog.accept();
    }
    EXPECT_EQ(items.word0, ld::kValuesDefaultIntraday);
    EXPECT_EQ(items.word1, ld::kItemsDefault);
    EXPECT_EQ(style.face, "Arial");
    EXPECT_EQ(style.points, 7);
    EXPECT_EQ(style.fontFlags, 0u);
    EXPECT_EQ(style.options, 9u);
    EXPECT_EQ(style.pairs[0].text, 0x000060u);
}

TEST(LegendDesignDlg, VariantsShowTheirBoxesAndEveryPageRenders)
{
    LegendItemRecord items{ld::kValuesDefaultHistoric, ld::kItemsDefault};
    ld::LegendStyle style;
    for (bool intraday : {false, true}) {
        CLegendDesignDlg dialog(items, style, kAll, intraday);
        dialog.resize(620, 520);
        auto* tabs = dialog.findChild<QTabWidget*>("3514");
        ASSERT_EQ(tabs->count(), 3);
        for (int i = 0; i < 3; ++i) {
            tabs->setCurrentIndex(i);
            test::SaveRender(test::RenderWidget(dialog),
                             QStringLiteral("legend_design_%1_page%2").arg(intraday ? "intraday" : "historic").arg(i));
        }
        EXPECT_EQ(!Box(dialog, 3599)->isHidden(), !intraday);
        EXPECT_EQ(!Box(dialog, 3525)->isHidden(), intraday);
        dialog.reject();
    }
}
