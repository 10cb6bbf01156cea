// "Select the background colour for the toolbar": a palette of 7 x 6 pale colours, the chosen one
// sunken, and an example button drawn on it.
#pragma once

#include <QDialog>
#include <cstdint>

namespace qv {

class CToolbarPalette;

class CToolbarColour : public QDialog {
public:
    CToolbarColour(uint32_t colour, QWidget* parent = nullptr);
    // 0x00BBGGRR.
    uint32_t colour() const { return colour_; }
    void Choose(int column, int row);

private:
    friend class CToolbarPalette;
    CToolbarPalette* palette_;
    QWidget* example_;
    uint32_t colour_;
};

} // namespace qv
