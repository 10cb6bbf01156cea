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

    // Draws the three strips on the background colour (0x00BBGGRR) with the set's names.
    void Build(const ToolbarSet& set, bool newMail);
    const QImage& Strip(uint8_t size) const;
    QImage Picture(uint8_t size, int index) const;
    bool built() const { return !strips_[0].isNull(); }

private:
    std::array<QImage, 3> strips_;
};

// The program's strips, rebuilt when names or colours change (MarkToolbarImagesStale).
ToolbarImages& ProgramToolbarImages();
void MarkToolbarImagesStale();
// Rebuilds the strips when stale; true when they were rebuilt.
bool RefreshToolbarImages();

// One picture of our own for an image index, drawn w x h on the colour.
QImage DrawButtonPicture(int index, int w, int h, QRgb background);

} // namespace qv
