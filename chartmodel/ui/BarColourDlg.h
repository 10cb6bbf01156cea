// The bar-colour dialog: the colouring mode of a price colour scheme and its five colours, edited in
// a style record (the graph design's working copy or the swing block's colour record).
#pragma once

#include "core/ConfigRecords.h"

#include <QDialog>

#include <array>
#include <functional>

class QButtonGroup;
class QLabel;

namespace qv {

class CStyleButton;

class CBarColourDlg : public QDialog {
public:
    // The mode byte and the five colour words of the record; the background behind the buttons; the
    // redraw of the caller's preview after Preview, OK and Cancel.
    CBarColourDlg(GraphSetting& record, size_t modeAt, size_t coloursAt, uint32_t background,
                  std::function<void()> redraw, QWidget* parent = nullptr);

    void Preview();
    void done(int result) override;

private:
    void showMode();
    void modeChosen(int mode);
    void write(GraphSetting& to) const;

    GraphSetting& record_;
    GraphSetting opened_;
    size_t modeAt_, coloursAt_;
    uint32_t background_;
    std::function<void()> redraw_;
    int mode_ = 0;
    std::array<uint32_t, 5> words_{};
    QButtonGroup* modes_ = nullptr;
    std::array<CStyleButton*, 5> buttons_{};
    std::array<QLabel*, 5> labels_{};
};

} // namespace qv
