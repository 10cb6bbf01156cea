// CColourSelectorDlg, the "Colour Selector": the one dialog through which every colour is chosen,
// with a line, dot or font panel by its mode, a honeycomb palette, grey and pastel rows, fourteen
// previous colours, a lightness slider and, in the advanced view, red, green and blue sliders.
#pragma once

#include "shell/ColourHoneycomb.h"

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qv {

class CDrawSlider;
class CStyleSampleButton;
class CPaletteArea;

enum class SelectorMode : int { Line = 0, Dot = 1, Arrow = 2, Text = 3, Colour = 4 };

// Option bits.
inline constexpr uint32_t kSelectorFilledDot = 1;
inline constexpr uint32_t kSelectorOneColour = 8;
inline constexpr uint32_t kSelectorApplyToAll = 16;
inline constexpr uint32_t kSelectorFilledLine = 32;
inline constexpr uint32_t kSelectorThickDashes = 64;

class CColourSelectorDlg : public QDialog {
    Q_OBJECT
public:
    CColourSelectorDlg(QWidget* parent, int mode, uint32_t options, uint32_t options2 = 0, const QString& caption = {});
    ~CColourSelectorDlg() override;

    void SetLineStyle(int style, int thickness, int fillMode, bool offerApplyAll);
    void GetLineStyle(int& style, int& thickness, int& fillMode, bool& applyAll) const;
    void SetDotStyle(int style, int sizeIndex, bool offerApplyAll);
    void GetDotStyle(int& style, int& sizeIndex, bool& applyAll) const;
    void SetColour(uint32_t colour, uint32_t background);
    uint32_t GetColour(int n) const;
    void SetFont(const QString& face, uint32_t flags, int size);
    void GetFont(QString& face, uint32_t& flags, int& size) const;

    int mode() const { return int(mode_); }
    uint32_t currentColour() const { return current_; }
    int editing() const { return editing_; }
    bool lightPalette() const { return light_; }
    bool advancedView() const { return advanced_; }
    const PreviousColours& previousColours() const { return previous_; }

    // What a click on the palette does: a honeycomb cell (index in cell order), a grey (-1 - n) or a
    // pastel (-100 - n); a previous colour; one of the two samples.
    void ChooseHoneycombCell(int index);
    void ChooseGrey(int n);
    void ChoosePastel(int n);
    void ChoosePrevious(int n);
    void ChooseSample(int n);
    void ChooseLineStyle(int style);
    void ChooseThickness(int thickness);
    void ChooseDotStyle(int style);
    void ChooseDotSize(int sizeIndex);
    void SetPalette(bool light);
    void SetAdvanced(bool advanced);
    // The slider moves, as their notices report them.
    void LightnessMoved(int position);
    void ChannelMoved(int channel, int position);

    bool thicknessButtonShown(int thickness) const;
    // The selected palette cell as (kind, index): 0 none, 1 honeycomb, 2 grey, 3 pastel.
    std::pair<int, int> selection() const;

    void accept() override;

    static QString Caption(int mode);

private:
    void buildLayout(const QString& caption);
    QWidget* buildLinePanel();
    QWidget* buildDotPanel();
    QWidget* buildFontPanel();
    void setCurrent(uint32_t colour, bool fromSlider);
    void refreshSamples();
    void refreshLinePanel();
    void refreshFontSample();
    void fillSizes();
    bool oneColour() const;

    SelectorMode mode_;
    uint32_t options_;
    uint32_t options2_;
    uint32_t colours_[2] = {0, 0xFFFFFF};
    int editing_ = 0;
    uint32_t current_ = 0;
    int lineStyle_ = 0;
    int thickness_ = 1;
    int fillMode_ = 1;
    int dotStyle_ = 0;
    int dotSize_ = 0;
    bool offerApplyAll_ = false;
    QString face_ = QStringLiteral("Arial");
    uint32_t fontFlags_ = 0;
    int fontSize_ = 10;
    bool light_ = false;
    bool advanced_ = false;
    int selectionKind_ = 0;
    int selectionIndex_ = -1;
    bool selectionLight_ = false;
    PreviousColours previous_{};

    CPaletteArea* palette_ = nullptr;
    CDrawSlider* lightness_ = nullptr;
    CDrawSlider* channels_[3] = {nullptr, nullptr, nullptr};
    QLabel* lightnessLabel_ = nullptr;
    QPushButton* advancedButton_ = nullptr;
    QPushButton* darkButton_ = nullptr;
    QPushButton* lightButton_ = nullptr;
    CStyleSampleButton* samples_[2] = {nullptr, nullptr};
    QLabel* currentBox_ = nullptr;
    QCheckBox* applyAll_ = nullptr;
    std::vector<QPushButton*> styleButtons_;
    std::vector<CStyleSampleButton*> thicknessSamples_;
    std::vector<QPushButton*> thicknessButtons_;
    std::vector<CStyleSampleButton*> dotSamples_;
    QComboBox* faceList_ = nullptr;
    QComboBox* sizeList_ = nullptr;
    QCheckBox* bold_ = nullptr;
    QCheckBox* italic_ = nullptr;
    QCheckBox* underline_ = nullptr;
    QLabel* fontSample_ = nullptr;
};

} // namespace qv
