// The Colour Selector: captions by mode, choosing colours from the palette and sliders, the line,
// dot and font panels, and what OK and Cancel keep.
#include "shell/ui/ColourSelectorDlg.h"

#include "core/ConfigState.h"
#include "support/FakeMessageBox.h"
#include "support/ui/Render.h"

#include <QFontDatabase>

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

class ColourSelectorTest : public ::testing::Test {
protected:
    ColourSelectorTest() : saved_(Config().optionsA) {}
    ~ColourSelectorTest() override { Config().optionsA = saved_; }

private:
    OptionBlockA saved_;
};

} // namespace

TEST_F(ColourSelectorTest, CaptionsByMode)
{
    const char* captions[] = {"Line Designer", "Dot Designer", "Arrow Designer", "Text Designer", "Colour Chooser"};
    for (int mode = 0; mode < 5; ++mode) {
        CColourSelectorDlg dialog(nullptr, mode, 0);
        EXPECT_EQ(dialog.windowTitle().toStdString(), captions[mode]);
    }
    CColourSelectorDlg own(nullptr, 0, 0, 0, QStringLiteral("Grid lines"));
    EXPECT_EQ(own.windowTitle(), QStringLiteral("Grid lines"));
}

TEST_F(ColourSelectorTest, PaletteSlidersAndSamplesSetTheColourBeingEdited)
{
    CColourSelectorDlg dialog(nullptr, 4, 0);
    dialog.SetColour(0x123456, 0xFF000000); // a background that is no colour leaves the default
    EXPECT_EQ(dialog.GetColour(1), 0xFFFFFFu);
    dialog.ChooseHoneycombCell(18); // the dark palette's centre
    EXPECT_EQ(dialog.GetColour(0), 0x000000u);
    EXPECT_EQ(dialog.selection(), std::make_pair(1, 18));
    dialog.ChooseGrey(1);
    EXPECT_EQ(dialog.GetColour(0), 0x696969u);
    dialog.ChoosePastel(0);
    EXPECT_EQ(dialog.GetColour(0), 0xB08080u);
    dialog.LightnessMoved(0); // the top of the slider is white; a slider clears the cell selection
    EXPECT_EQ(dialog.GetColour(0), 0xFFFFFFu);
    EXPECT_EQ(dialog.selection().first, 0);
    dialog.SetAdvanced(true);
    dialog.ChannelMoved(0, 255); // red to 0
    EXPECT_EQ(dialog.GetColour(0), 0xFFFF00u);
    // One-colour mode: the background sample does not respond.
    dialog.ChooseSample(1);
    EXPECT_EQ(dialog.editing(), 0);
}

// The first move of the lightness slider works on the colour the dialog opened with: a red stays a
// red, only lighter or darker.
TEST_F(ColourSelectorTest, TheFirstLightnessMoveKeepsTheOpeningHue)
{
    for (int position : {20, 200}) {
        CColourSelectorDlg dialog(nullptr, 4, 0);
        dialog.SetColour(0x0000C0, 0xFFFFFF);
        dialog.LightnessMoved(position);
        const uint32_t colour = dialog.GetColour(0);
        const uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
        EXPECT_GT(red, green) << std::hex << colour << " at " << std::dec << position;
        EXPECT_EQ(green, blue) << std::hex << colour;
    }
}

TEST_F(ColourSelectorTest, CentreCellStaysSelectedAcrossViewsAndPalettes)
{
    CColourSelectorDlg dialog(nullptr, 4, 0);
    dialog.ChooseHoneycombCell(18);
    dialog.SetAdvanced(true);
    EXPECT_EQ(dialog.selection().first, 1);
    EXPECT_EQ(HoneycombCells(6, false)[size_t(dialog.selection().second)].colour, 0u);
    dialog.SetPalette(true); // outlined only in the palette it was made in
    EXPECT_EQ(dialog.selection().first, 0);
    dialog.SetPalette(false);
    EXPECT_EQ(dialog.selection().first, 1);
}

TEST_F(ColourSelectorTest, DashedLinesAreOneThickUnlessAllowed)
{
    CColourSelectorDlg dialog(nullptr, 0, 0);
    dialog.SetLineStyle(0, 5, 1, false);
    dialog.ChooseLineStyle(1);
    int style, thickness, fill;
    bool all;
    dialog.GetLineStyle(style, thickness, fill, all);
    EXPECT_EQ(thickness, 1);
    EXPECT_TRUE(dialog.thicknessButtonShown(1));
    EXPECT_FALSE(dialog.thicknessButtonShown(2));
    EXPECT_FALSE(dialog.thicknessButtonShown(8));

    CColourSelectorDlg thick(nullptr, 0, kSelectorThickDashes | kSelectorFilledLine);
    thick.SetLineStyle(0, 5, 1, false);
    thick.ChooseLineStyle(1);
    thick.GetLineStyle(style, thickness, fill, all);
    EXPECT_EQ(thickness, 5);
    EXPECT_TRUE(thick.thicknessButtonShown(8));
    // A band clamps the thickness to 3..8 and is open below 6.
    thick.SetLineStyle(0, 1, 1, false);
    thick.ChooseLineStyle(5);
    thick.GetLineStyle(style, thickness, fill, all);
    EXPECT_EQ(thickness, 3);
    EXPECT_EQ(fill, 1);
    thick.ChooseThickness(6);
    thick.GetLineStyle(style, thickness, fill, all);
    EXPECT_EQ(thickness, 6);
    EXPECT_EQ(fill, 2);
}

TEST_F(ColourSelectorTest, OkRemembersColoursAndPaletteCancelKeepsThem)
{
    PreviousColours start{};
    for (size_t i = 0; i < start.size(); ++i)
        start[i] = uint32_t(i + 1);
    StorePreviousColours(start);
    StorePaletteByte(0);
    {
        CColourSelectorDlg dialog(nullptr, 0, 0);
        dialog.SetColour(0xABCDEF, 0x000005); // the background is among them already
        dialog.SetPalette(true);
        dialog.SetAdvanced(true);
        dialog.reject();
    }
    EXPECT_EQ(StoredPreviousColours(), start);
    EXPECT_EQ(StoredPaletteByte(), 0);
    {
        CColourSelectorDlg dialog(nullptr, 0, 0);
        dialog.SetColour(0xABCDEF, 0x000005);
        dialog.SetPalette(true);
        dialog.SetAdvanced(true);
        dialog.accept();
    }
    PreviousColours after = StoredPreviousColours();
    EXPECT_EQ(after[0], 0xABCDEFu);
    EXPECT_EQ(after[5], 5u);
    EXPECT_EQ(after[13], 13u);
    EXPECT_EQ(StoredPaletteByte(), kPaletteLight | kPaletteAdvanced);
    CColourSelectorDlg next(nullptr, 4, 0);
    EXPECT_TRUE(next.lightPalette());
    EXPECT_TRUE(next.advancedView());
}

TEST_F(ColourSelectorTest, TextModeChecksFaceAndSize)
{
    ASSERT_TRUE(FontsAvailable());
    FakeMessageBox box;
    CColourSelectorDlg dialog(nullptr, 3, 0);
    dialog.SetFont(QStringLiteral("No Such Font Anywhere"), 0, 10);
    dialog.accept();
    EXPECT_EQ(dialog.result(), 0);
    ASSERT_EQ(box.texts().size(), 1u);
    EXPECT_EQ(box.texts()[0], "There is no font with that name.");
    QString face = QFontDatabase::families().value(0);
    for (int size : {4, 21}) {
        dialog.SetFont(face, 0, size);
        dialog.accept();
        EXPECT_EQ(box.texts().back(), "Size must be between 5 and 20 points.");
    }
    EXPECT_EQ(dialog.result(), 0);
    // The default list font is drawn in its stand-in, so it is a font the user may keep.
    dialog.SetFont(QStringLiteral("MS Sans Serif"), 0, 8);
    dialog.accept();
    EXPECT_EQ(box.texts().size(), 3u);
    EXPECT_EQ(dialog.result(), 1);
}

TEST_F(ColourSelectorTest, Renders)
{
    ASSERT_TRUE(FontsAvailable());
    const char* names[] = {"line", "dot", "arrow", "text", "colour"};
    for (int mode = 0; mode < 5; ++mode) {
        for (bool advanced : {false, true}) {
            CColourSelectorDlg dialog(nullptr, mode, kSelectorApplyToAll | kSelectorFilledLine | kSelectorFilledDot);
            dialog.SetColour(0x2060C0, 0xF0F0F0);
            dialog.SetAdvanced(advanced);
            dialog.SetPalette(mode % 2 == 1);
            dialog.ChooseHoneycombCell(5);
            dialog.adjustSize();
            SaveRender(RenderWidget(dialog), QStringLiteral("colour-selector-%1-%2").arg(names[mode], advanced ? "advanced" : "basic"));
        }
    }
}
