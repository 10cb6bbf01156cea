// The three picture strips of the toolbar buttons (large, small, wide), drawn in code: one picture
// per image index on the toolbar background, the wide strip's setting, portfolio and layout cells
// drawn as text buttons.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <array>
#include <cstdint>

namespace qv {

class ToolbarSet;

class ToolbarImages {
public:
    // Strip widths 990, 1000 and 940: 22, 40 and 10 cells a row.
    static int StripWidth(uint8_t size);
    // Cell i at x = (i * w) mod W, y = (i * w) div W * h.
    static QRect Cell(uint8_t size, int index);

    // Draws the strip of one size (each is drawn alone) on the background colour (0x00BBGGRR) with
    // the set's names.
    void Build(uint8_t size, const ToolbarSet& set, bool newMail);
    const QImage& Strip(uint8_t size) const;

private:
    std::array<QImage, 3> strips_;
};

// The program's strips, redrawn when names or colours change (MarkToolbarImagesStale). A strip is
// drawn when first asked for: the bars show one size or two, and the start-up draws no other.
void MarkToolbarImagesStale();
// Marks every strip for redrawing when stale or when the active view's kind changed; true when so.
bool RefreshToolbarImages();
// The program's strip of one size, drawn now when it is marked.
const QImage& ProgramToolbarStrip(uint8_t size);

// One picture of our own for an image index, drawn w x h on the colour.
QImage DrawButtonPicture(int index, int w, int h, QRgb background);

} // namespace qv
