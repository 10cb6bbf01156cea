// Style samples and buttons: drawing by mode, the Colour Selector round trip, and the two small
// dialogs built on them.
#include "shell/ui/StyleButton.h"

#include "core/ConfigState.h"
#include "shell/ui/BoxColoursDlg.h"
#include "shell/ui/ColourSelectorDlg.h"
#include "shell/ui/LineStyleDlg.h"
#include "support/ui/Render.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

// Stands in for the modal selector: sets what a user would pick, then answers OK or Cancel.
struct ScriptedSelector {
    static inline bool answer = true;
    static inline uint32_t colour = 0x0000FF;
    static inline int style = 5, thickness = 6;
    static inline int runs = 0;
    static bool Run(CColourSelectorDlg& dialog)
    {
        ++runs;
        dialog.SetColour(colour, 0x00FFFF);
        if (dialog.mode() == 0) {
            dialog.ChooseLineStyle(style);
            dialog.ChooseThickness(thickness);
        }
        return answer;
    }
};

class SelectorScript {
public:
    SelectorScript() : previous_(SetColourSelectorRun(&ScriptedSelector::Run)), options_(Config().optionsA)
    {
        ScriptedSelector::answer = true;
        ScriptedSelector::colour = 0x0000FF;
        ScriptedSelector::style = 5;
        ScriptedSelector::thickness = 6;
        ScriptedSelector::runs = 0;
    }
    ~SelectorScript()
    {
        SetColourSelectorRun(previous_);
        Config().optionsA = options_;
    }

private:
    ColourSelectorRun previous_;
    OptionBlockA options_;
};

} // namespace

TEST(StyleButtonTest, SettersKeepTheOldBackgroundForNoColour)
{
    CStyleSampleButton sample;
    sample.CreateLineSample(0, 2, 1, 0x0000FF, 0x00FF00, false);
    sample.SetBackColour(0xFF000000);
    EXPECT_EQ(sample.GetColour(1), 0x00FF00u);
    sample.SetColour(0x123456, 0x1000000);
    EXPECT_EQ(sample.GetColour(0), 0x123456u);
    EXPECT_EQ(sample.GetColour(1), 0x00FF00u);
    sample.SetPackedStyle(0x23000000);
    EXPECT_EQ(sample.GetLineStyle(), 3);
    EXPECT_EQ(sample.lineBits().thickness, 3);
    EXPECT_EQ(sample.GetPackedStyle(), 0x23000000u);
    EXPECT_EQ(sample.GetColour(7), 0u);
}

TEST(StyleButtonTest, ConfirmedSelectorTakesItsValuesAndTellsTheDialog)
{
    SelectorScript script;
    CStyleButton button;
    button.resize(100, 30);
    button.CreateLineSample(0, 1, 1, 0, 0xFFFFFF, false);
    QSignalSpy chosen(&button, &CStyleButton::styleChosen);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(ScriptedSelector::runs, 1);
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(button.GetColour(0), 0x0000FFu);
    EXPECT_EQ(button.GetColour(1), 0x00FFFFu);
    EXPECT_EQ(button.GetPackedStyle(), 0x5D000000u); // band 6 thick, filled
    EXPECT_FALSE(button.selected());

    ScriptedSelector::answer = false; // Cancel changes nothing and tells nobody
    ScriptedSelector::colour = 0x00FF00;
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(button.GetColour(0), 0x0000FFu);

    button.SetSelectorOptions(0, 0); // options 2 without bit 0 never opens the selector
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(ScriptedSelector::runs, 2);

    CStyleSampleButton plain; // a plain sample is never a way into the selector
    plain.resize(40, 20);
    QTest::mouseClick(&plain, Qt::LeftButton);
    EXPECT_EQ(ScriptedSelector::runs, 2);
}

TEST(StyleButtonTest, ChooserRowsKeepTheirSelectedLook)
{
    CStyleSampleButton row;
    row.resize(60, 20);
    row.CreateColourBox(0x00FF00, true);
    QTest::mouseClick(&row, Qt::LeftButton);
    EXPECT_TRUE(row.selected());
}

TEST(StyleButtonTest, SamplesDrawTheirMode)
{
    ASSERT_TRUE(FontsAvailable());
    QWidget sheet;
    sheet.resize(440, 120);
    struct {
        int x, y;
        std::function<void(CStyleSampleButton&)> make;
    } samples[] = {
        {0, 0, [](CStyleSampleButton& s) { s.CreateLineSample(0, 3, 1, 0x0000FF, 0xFFFFFF, false); }},
        {110, 0, [](CStyleSampleButton& s) { s.CreateLineSample(1, 2, 1, 0x008000, 0xFFFFFF, false); }},
        {220, 0, [](CStyleSampleButton& s) { s.CreateLineSample(5, 8, 2, 0xFF0000, 0xFFFFFF, false); }},
        {330, 0, [](CStyleSampleButton& s) { s.CreateFontSample("Arial", 1, 10, 0x000080, 0xE0FFFF, false); }},
        {0, 40, [](CStyleSampleButton& s) { s.CreateDotSampleEx(0, 4, 0x0000FF, 0xFFFFFF, false); }},
        {110, 40, [](CStyleSampleButton& s) { s.CreateDotSampleEx(2, 5, 0x800000, 0xFFFFFF, false); s.SetSelectorOptions(0x80, 0); }},
        {220, 40, [](CStyleSampleButton& s) { s.CreateDotSampleEx(1, 5, 0x008080, 0xFFFFFF, false); s.SetSelectorOptions(0x1000, 0); }},
        {330, 40, [](CStyleSampleButton& s) { s.CreateDotSampleEx(0, 5, 0x000000, 0xFFFFFF, false); s.SetSelectorOptions(0x800, 0); }},
        {0, 80, [](CStyleSampleButton& s) { s.CreateColourBox(0x00A5FF, false); }},
        {110, 80, [](CStyleSampleButton& s) { s.CreateFontSample("Arial", 2, 10, 0x000000, 0xFFFFFF, false); s.SetSelectorOptions(0x6, 0); }},
        {220, 80, [](CStyleSampleButton& s) { s.CreateColourBox(0xFF000000, false); s.SetSelected(true); }},
    };
    std::vector<CStyleSampleButton*> buttons;
    for (auto& s : samples) {
        auto* button = new CStyleSampleButton(&sheet);
        button->setGeometry(s.x + 4, s.y + 4, 100, 32);
        s.make(*button);
        buttons.push_back(button);
    }
    QImage image = RenderWidget(sheet);
    SaveRender(image, "style-samples");
    EXPECT_EQ(image.pixelColor(4 + 50, 4 + 16), QColor(255, 0, 0));      // the solid red line across the middle
    EXPECT_EQ(image.pixelColor(4 + 50, 4 + 80 + 16), QColor(255, 165, 0)); // the colour box
    EXPECT_EQ(image.pixelColor(4 + 50, 4 + 40 + 16), QColor(255, 0, 0));   // the filled dot's centre
}

TEST(StyleButtonTest, LineStyleDialogGivesColourAndStyleTogether)
{
    SelectorScript script;
    ScriptedSelector::colour = 0x00FF00;
    ScriptedSelector::style = 2;
    ScriptedSelector::thickness = 1;
    CLineStyleDlg dialog(0x10FF0000, 0xFFFFFF);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select the line type and colour"));
    EXPECT_EQ(dialog.sample()->lineBits().thickness, 2);
    EXPECT_EQ(dialog.sample()->options1(), 8u);
    SaveRender(RenderWidget(dialog), "line-style-dialog");
    QTest::mouseClick(dialog.sample(), Qt::LeftButton);
    dialog.accept();
    EXPECT_EQ(dialog.word(), 0x0200FF00u);
    EXPECT_FALSE(dialog.setAsDefault());
}

TEST(StyleButtonTest, BoxColoursKeepOneBackground)
{
    SelectorScript script;
    BoxColours box;
    box.text = 0x000000;
    box.background = 0xFFFFFF;
    box.border = 0x200000FF;
    box.font.setFaceName("Arial");
    box.font.weight = 700;
    box.font.italic = 1;
    box.font.height = -13;
    box.alternative = 0xC0C0C0;
    CBoxColoursDlg dialog(box, 96);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Set box colours"));
    QString face;
    uint32_t flags = 0;
    int points = 0;
    dialog.fontSample()->GetFont(face, flags, points);
    EXPECT_EQ(flags, 3u);
    EXPECT_EQ(points, 10);
    EXPECT_EQ(dialog.borderSample()->lineBits().thickness, 3);
    SaveRender(RenderWidget(dialog), "box-colours-dialog");

    // A new background on the colour box carries to the font sample and the border.
    ScriptedSelector::colour = 0x80FFFF;
    dialog.backgroundBox()->resize(100, 30);
    QTest::mouseClick(dialog.backgroundBox(), Qt::LeftButton);
    EXPECT_EQ(dialog.fontSample()->GetColour(1), 0x80FFFFu);
    EXPECT_EQ(dialog.borderSample()->GetColour(1), 0x80FFFFu);

    // Without a background the font sample shows the alternative one and the others are disabled.
    dialog.backgroundCheck()->click();
    EXPECT_FALSE(dialog.backgroundBox()->isEnabled());
    EXPECT_EQ(dialog.fontSample()->GetColour(1), 0xC0C0C0u);
    dialog.accept();
    EXPECT_EQ(dialog.result().flags & kBoxNoBackground, kBoxNoBackground);
    EXPECT_EQ(dialog.result().background, 0x80FFFFu);
    EXPECT_EQ(dialog.result().font.weight, 700);
    EXPECT_EQ(dialog.result().font.height, -13);
    EXPECT_EQ(dialog.result().border, 0x200000FFu);
}
