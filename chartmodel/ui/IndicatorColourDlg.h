// "Edit Indicator Colour": the colours and styles of up to four lines of a locked record or setting,
// each row a label and a colour/style button bound to one word of the caller's style-word array.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <span>

class QLabel;

namespace qv {

class CStyleButton;

class CIndicatorColourDlg : public QDialog {
    Q_OBJECT
public:
    // The array of style words, the default-scheme key (-1 none), the defaults sub-key (the indicator
    // type, 0x10000 trend lines, 0x20000 moving averages), the background and the redraw of the view.
    CIndicatorColourDlg(std::span<uint32_t> words, int schemeKey, uint32_t defaultsKey, uint32_t background,
                        std::function<void()> redraw, QWidget* parent = nullptr);

    // Adds row `row` (0-3 in order of adding) for word `slot`; mode 4 makes the button colour only.
    void AddColour(int slot, int mode, const QString& label);
    void Preview();

    void showEvent(QShowEvent* event) override;
    void accept() override;
    void reject() override;

private:
    struct Row {
        QLabel* label = nullptr;
        CStyleButton* button = nullptr;
        int slot = -1;
        bool colourOnly = false;
        uint32_t held = 0;
    };
    void WriteButtons();

    std::span<uint32_t> words_;
    int schemeKey_;
    uint32_t defaultsKey_;
    uint32_t background_;
    std::function<void()> redraw_;
    std::array<Row, 4> rows_;
    int used_ = 0;
};

// Moving averages and trend lines store their default colours under these sub-keys.
inline constexpr uint32_t kTrendLineStyles = 0x10000;
inline constexpr uint32_t kMovingAverageStyles = 0x20000;

} // namespace qv
