// The three picture strips of the toolbar buttons (large, small, wide), drawn in code: one picture
// per image index on the toolbar background, the wide strip's setting, portfolio and layout cells
// drawn as text buttons.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <array>
#include <vector>
#include <cstdint>

namespace qv {

class ToolbarSet;

class ToolbarImages {
public:
    // Strip widths 990, 1000 and 940: 22, 40 and 10 cells a row.
    static int StripWidth(uint8_t size);
    // Cell i at x = (i * w) mod W, y = (i * w) div W * h.
    static QRect Cell(uint8_t size, int index);

    // Starts the strip of one size afresh on the background colour (0x00BBGGRR), no cell drawn.
    void Clear(uint8_t size, uint32_t background);
    // Draws one cell of a strip with the set's names, when not drawn since Clear (on Clear's colour). Each cell is drawn
    // alone, inside its own rectangle: the cells come out the same in any order.
    void DrawCell(uint8_t size, int index, const ToolbarSet& set, bool newMail);
    const QImage& Strip(uint8_t size) const;

private:
    std::array<QImage, 3> strips_;
    std::array<std::vector<bool>, 3> drawn_;
    std::array<QRgb, 3> backgrounds_{};
};

// The program's strips, redrawn when names or colours change (MarkToolbarImagesStale). A picture is
// drawn when first asked for: the bars show a few dozen of the 174 pictures, in one size or two.
void MarkToolbarImagesStale();
// Marks every strip for redrawing when stale or when the active view's kind changed; true when so.
bool RefreshToolbarImages();
// The program's strip of one size with the picture of an image index drawn, or every picture when
// the index is negative.
const QImage& ProgramToolbarStrip(uint8_t size, int index = -1);

// One picture of our own for an image index, drawn w x h on the colour.
QImage DrawButtonPicture(int index, int w, int h, QRgb background);

} // namespace qv
