// "Set box colours": the text, background, border and font of a text box, kept on one background.
#pragma once

#include "core/LogFont.h"

#include <QDialog>

#include <cstdint>

class QCheckBox;

namespace qv {

class CStyleButton;

struct BoxColours {
    uint32_t text = 0;
    uint32_t background = 0xFFFFFF;
    uint32_t border = 0;          // a packed line word
    uint32_t flags = 0;           // bit 2: no background
    uint32_t alternative = 0xFFFFFF; // shown behind the text when the box has no background
    bool setAsDefault = false;
    LogFont font;
    int points = 10;
};

inline constexpr uint32_t kBoxNoBackground = 0x04;

class CBoxColoursDlg : public QDialog {
    Q_OBJECT
public:
    CBoxColoursDlg(const BoxColours& box, int pixelsPerInch, QWidget* parent = nullptr);

    const BoxColours& result() const { return box_; }
    CStyleButton* backgroundBox() const { return background_; }
    CStyleButton* fontSample() const { return fontSample_; }
    CStyleButton* borderSample() const { return border_; }
    QCheckBox* backgroundCheck() const { return hasBackground_; }

    void accept() override;
    // A style button was confirmed: the three samples share one background again.
    void SampleChosen(CStyleButton* from);

private:
    void applyBackgroundState();

    BoxColours box_;
    int dpi_;
    CStyleButton* background_;
    CStyleButton* fontSample_;
    CStyleButton* border_;
    QCheckBox* hasBackground_;
    QCheckBox* setDefault_;
};

} // namespace qv
