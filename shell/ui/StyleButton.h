// CStyleSampleButton shows a colour, line style, marker or font as a small drawn sample; CStyleButton
// is the sample a click opens in the Colour Selector, telling its dialog after the user confirms.
#pragma once

#include "shell/StyleWord.h"

#include <QAbstractButton>
#include <QString>

#include <cstdint>

class QPainter;

namespace qv {

enum class SampleMode : int { Line = 0, Dot = 1, Font = 3, ColourBox = 4 };

inline constexpr uint32_t kNoColour = 0xFF000000;

class CStyleSampleButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CStyleSampleButton(QWidget* parent = nullptr);

    void CreateLineSample(int style, int thickness, int bandEdge, uint32_t colour, uint32_t background, bool doubleClickEnds);
    void CreateFromPackedStyle(uint32_t word, uint32_t background, bool doubleClickEnds);
    void CreateLineOrDotSample(int a, int b, int bandEdge, bool doubleClickEnds, bool dot);
    void CreateDotSample(uint32_t word, uint32_t background, bool doubleClickEnds);
    void CreateDotSampleEx(int dotStyle, int dotSize, uint32_t colour, uint32_t background, bool doubleClickEnds);
    void CreateFontSample(const QString& face, uint32_t flags, int size, uint32_t colour, uint32_t background, bool doubleClickEnds);
    void CreateColourBox(uint32_t colour, bool doubleClickEnds);

    void SetLineColour(uint32_t colour);
    void SetBackColour(uint32_t colour);
    void SetMode(SampleMode mode);
    void SetDotMode(bool dot);
    void SetSelected(bool selected);
    void SetPackedStyle(uint32_t word);
    void SetDotStyle(uint32_t word);
    void SetFont(const QString& face, uint32_t flags, int size);
    void SetColour(uint32_t colour, uint32_t background);
    void SetColourAndStyle(uint32_t word, uint32_t background);
    void SetColourAndDot(uint32_t word, uint32_t background);
    void SetFillMode(int bandEdge) { line_.bandEdge = bandEdge; }
    void SetSelectorOptions(uint32_t options1, uint32_t options2);

    uint32_t GetColour(int n) const;
    int GetLineStyle() const { return line_.style; }
    int GetDotShape() const { return dot_.style; }
    uint32_t GetPackedStyle() const { return PackLineBits(line_); }
    uint32_t GetDotStyle() const { return PackDotBits(dot_); }
    void GetFont(QString& face, uint32_t& flags, int& size) const;

    SampleMode mode() const { return mode_; }
    LineStyleBits lineBits() const { return line_; }
    DotStyleBits dotBits() const { return dot_; }
    bool selected() const { return selected_; }
    bool applyToAll() const { return applyToAll_; }
    uint32_t options1() const { return options1_; }
    uint32_t options2() const { return options2_; }

    // Draws a sample of this button's state into a rectangle, as the button paints itself.
    void DrawSample(QPainter& painter, QRect rect) const;

signals:
    // After the Colour Selector was confirmed: the dialog's notice 1044 with the control's id.
    void styleChosen();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

    // The click of a style button; a plain sample does nothing.
    virtual void onClicked() {}

    void clearForMode(SampleMode mode, bool doubleClickEnds);

    LineStyleBits line_;
    DotStyleBits dot_;
    bool doubleClickEnds_ = false;
    bool selected_ = false;
    bool dotSample_ = false;
    bool applyToAll_ = false;
    uint32_t colour_ = kNoColour;
    uint32_t background_ = kNoColour;
    QString face_ = QStringLiteral("Arial");
    uint32_t fontFlags_ = 0;
    int fontSize_ = 10;
    SampleMode mode_ = SampleMode::ColourBox;
    uint32_t options1_ = 0;
    uint32_t options2_ = 0;
    bool pressed_ = false;

private:
    void drawLine(QPainter& painter, QRect r, const QColor& colour) const;
    void drawDot(QPainter& painter, QRect r, const QColor& colour, const QColor& background) const;
    void drawFont(QPainter& painter, QRect r, const QColor& colour) const;
};

class CStyleButton : public CStyleSampleButton {
    Q_OBJECT
public:
    explicit CStyleButton(QWidget* parent = nullptr);

protected:
    void onClicked() override;
};

// Which Colour Selector a style button opens: a test can run its own instead of a modal dialog.
class CColourSelectorDlg;
using ColourSelectorRun = bool (*)(CColourSelectorDlg& dialog);
ColourSelectorRun SetColourSelectorRun(ColourSelectorRun run);

} // namespace qv
