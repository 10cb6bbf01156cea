// The graph design dialog: six pages over a working copy of a graph setting, a live preview, and
// Preview/OK that copy the working record into the view's private copy.
#pragma once

#include "core/ConfigRecords.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QPainter;
class QRect;
class QSlider;
class QSpinBox;
class QTabWidget;
class QWidget;

namespace qv {

class CStyleButton;
class CViewGraphWnd;

// Runs the graph design dialog over the chart view's private copy of its setting: the view draws from
// the copy while the dialog is open; OK writes it into the setting and tells every view of it.
int OpenGraphDesign(CViewGraphWnd& view, const std::string& settingName);

class CGraphGridDlg : public QDialog {
public:
    // Paints a chart with a style into a rectangle (output kind 2 the preview, 1 the enlarged one).
    using PreviewPainter = std::function<void(QPainter&, const GraphSetting&, QRect, int outputKind, int margin)>;

    CGraphGridDlg(GraphSetting& viewCopy, const std::string& settingName, int settingIndex, QWidget* parent = nullptr);
    ~CGraphGridDlg() override;

    void SetPreviewPainter(PreviewPainter painter) { painter_ = std::move(painter); }
    // Called after Preview and OK have copied the working record into the view's copy.
    void SetRedraw(std::function<void()> redraw) { redraw_ = std::move(redraw); }

    const GraphSetting& Working() const { return working_; }
    void Preview();
    void done(int result) override;

    static int LastPage();

private:
    struct Check {
        QCheckBox* box;
        size_t at;
        int width;
        uint32_t bit;
    };
    struct Radios {
        QButtonGroup* group;
        size_t at;
    };
    struct Colour {
        CStyleButton* button;
        size_t at;
    };

    QWidget* page(const QString& title);
    QCheckBox* check(QWidget* page, int id, const QString& text, size_t at, int width, uint32_t bit);
    QButtonGroup* radios(QWidget* page, int firstId, const QStringList& texts, size_t at);
    CStyleButton* colour(QWidget* page, int id, const QString& label, size_t at, bool line);
    QSlider* slider(QWidget* page, int id, const QString& label, int max);

    void showRecord();
    void readControls();
    void updateEnabling();
    void boxValueLeft();
    void reversalLeft();
    void buttonChosen(CStyleButton* button);
    void applyDefaults(bool dark);
    void showColours();
    void showBoxPens(int display);
    void fontChosen(const CStyleButton& button);
    void paintChart(QPainter& painter, QRect area, int outputKind);

    GraphSetting& viewCopy_;
    GraphSetting working_;
    PreviewPainter painter_;
    std::function<void()> redraw_;
    bool loading_ = false;
    int shownDisplay_ = 0;
    QTabWidget* tabs_ = nullptr;
    QWidget* preview_ = nullptr;
    std::vector<Check> checks_;
    std::vector<Radios> radios_;
    std::vector<Colour> colours_;
    QButtonGroup* display_ = nullptr;
    QButtonGroup* priceType_ = nullptr;
    QButtonGroup* timeScale_ = nullptr;
    QButtonGroup* volumeScheme_ = nullptr;
    QButtonGroup* boxOption_ = nullptr;
    QSlider* gridH_ = nullptr;
    QSlider* gridV_ = nullptr;
    QSlider* whiteSpace_ = nullptr;
    QSpinBox* signalPeriods_ = nullptr;
    QLineEdit* boxValue_ = nullptr;
    QLineEdit* reversal_ = nullptr;
    QCheckBox* watermark_ = nullptr;
    QCheckBox* shaded_ = nullptr;
    QPushButton* schemeButton_ = nullptr;
};

} // namespace qv
