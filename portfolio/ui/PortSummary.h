// CPortSummary, the "Sector Analysis" dialog (664): how the value of a share list spreads over main
// sectors, sectors, subsectors and companies, as a table or a flat or 3-D pie with labels or a
// lettered legend, and printed.
#pragma once

#include "portfolio/SectorAnalysis.h"
#include "shell/SectorListRules.h"

#include <QDialog>

#include <array>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QPainter;
class QPrinter;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace qv {

class CListCtrlEx;
struct ShareList;

class CPortSummary : public QDialog {
    Q_OBJECT
public:
    // The trees are built from `shares`; `name` is the portfolio's or the list's.
    CPortSummary(std::vector<SectorShare> shares, const std::string& name, bool fromPortfolio,
                 QWidget* parent = nullptr);

    const SectorSettings& settings() const { return settings_; }
    void SetSettings(const SectorSettings& s);
    CListCtrlEx* list() const { return list_; }
    QWidget* chart() const { return chart_; }
    int compactionStep() const { return compaction_; }
    const std::vector<uint32_t>& Colours() const;
    void SetSliceColour(int slice, uint32_t colour);

    // Draws the chart into `area` of the painter's device; `printing` starts the first slice at 0.
    void DrawChart(QPainter& painter, const QRect& area, bool printing);
    // The title, the chart on the page, the page and document ended.
    void PrintTo(QPrinter& printer);
    void Print();
    void NextLegendPage();
    // A click in the chart at `pos`: a legend colour box recolours its slice.
    void ClickChart(const QPoint& pos);
    void accept() override;

private:
    double Total() const;
    const SectorTree& Tree() const;
    std::vector<SectorItem> Items() const;
    std::vector<uint32_t>& ColoursOf(int level, int measure);
    void ReadControls();
    void Refresh();
    void FillList();
    void AfterPaint(bool overlapping, int lineHeight);
    void DrawLegend(QPainter& painter, const QRect& area, const PieLayout& pie, const std::vector<SectorItem>& slices,
                    int line, bool printing);

    SectorTrees trees_;
    std::string name_;
    bool fromPortfolio_;
    SectorSettings settings_;
    std::array<std::vector<uint32_t>, 8> colours_;
    uint32_t legendOptional_ = 0xFFFFFFFF;
    int legendPage_ = 0;
    int legendRows_ = 1;
    int compaction_ = 0;
    bool legendPages_ = false;
    std::vector<std::pair<QRect, int>> colourBoxes_;

    QButtonGroup* levels_;
    QButtonGroup* measures_;
    QButtonGroup* labels_;
    QCheckBox* legend_;
    QCheckBox* threeD_;
    QPushButton* toggle_;
    QPushButton* more_;
    QPushButton* print_;
    QStackedWidget* stack_;
    QWidget* chart_;
    CListCtrlEx* list_;
    // The list's rows and the texts they point at, kept while the list shows them.
    std::vector<std::string> listTexts_;
    std::vector<SectorRow> listRows_;
};

// Runs the dialog on a share list (the frame's command 27282) and keeps its settings for the run.
void RunSectorAnalysis(ShareList& list, QWidget* parent);
// Installs command 27282's dialog on the active view's share list.
void InstallSectorAnalysisCommand();

} // namespace qv
