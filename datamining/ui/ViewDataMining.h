// The data-mining view (view kind 6): the table of the shares that pass the current filter above a
// graph area of histograms, the scatter graph and statistic lines, with the divider, zoom, pick and
// read-out of the mouse.
#pragma once

#include "datamining/ui/DataMiningGraphPainter.h"
#include "lists/ui/ViewList.h"

#include <QPoint>
#include <QPointer>

namespace qv {

class CDM_Control;

class CViewDataMining : public CViewList {
    Q_OBJECT
public:
    explicit CViewDataMining(int32_t kind = 6, QWidget* parent = nullptr);
    ~CViewDataMining() override;

    const void* GetDataMiningFilter() const override { return filter_; }
    std::string GetDataMiningFilterName() const override;
    void OnFilterChanged() override;
    void OnRefresh() override;
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool UpdateCommand(CommandUi& ui) override;
    bool RunCommand(uint32_t command) override;
    // The list views' new highs and lows do not apply here: greyed wherever they are offered.
    bool UpdateCommandUi(CommandUi& ui) const override;

    // For tests and renders: the split in thousandths, the axis ranges, the last paint of the graphs,
    // the graph area and the input the graphs are painted from.
    int split() const { return split_; }
    AxisRange xRange() const { return x_; }
    AxisRange yRange() const { return y_; }
    const GraphPaintResult& lastGraph() const { return last_; }
    QRect GraphArea() const;
    GraphPaintInput GraphInput() const;
    // How much larger a printed page draws than the screen: the device's resolution over the screen's.
    double PrintScale(const QPaintDevice& device) const;
    // The graphs painted into an image of the given size.
    QImage RenderGraphs(const QSize& size);
    // The read-out of a point of the graph area, as status pane 2 shows it.
    std::string ReadoutText(QPoint point) const;
    // What pane 2 shows off the graph: "Curr. Port: " and the current portfolio's name, or nothing.
    static std::string CurrentPortfolioText();
    // The control panel, made on the first refresh.
    CDM_Control* panel() const;

protected:
    int TableHeight() const override;
    void PaintBelowTable(QPainter& painter, const QRect& area) override;
    bool HasOwnPrintPage() const override { return true; }
    void DrawOwnPrintPage(QPainter& painter, const QRect& page) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Tab and Shift+Tab move the focus mark between the table and the graph while both are shown.
    bool focusNextPrevChild(bool next) override;

private:
    enum class Drag { None, Divider, Rectangle };

    void Evaluate();
    void ComputeGraphValues();
    void ResetRanges();
    void ApplyAgain();
    bool InGraphArea(QPoint point) const;
    void ShowReadout(QPoint point);
    void ShowCurrentPortfolio();
    void Zoom(const QRect& rectangle);
    void Pick(QPoint point);
    DataMiningGraph& CurrentRecord() const;
    void ToggleHistogramBit(uint32_t bit);
    void ToggleScatterBit(uint32_t bit);
    bool HistogramSettingsAvailable(const DataMiningGraphSettings& s) const;
    void SelectAxisCriterion(FilterAxis axis);
    void ExportCurrentFilter();
    void ImportFilters();
    void ShowInPanel();
    void ToggleShown(size_t optionByte);

    DMFilter* filter_ = nullptr;
    QPointer<CDM_Control> panel_;
    bool docked_ = false;
    // The source's rows and their candidate positions, which the panel's new criteria take their
    // statistics over.
    std::vector<RecordCursor> sourceCopy_;
    std::vector<uint32_t> sourcePositions_;
    int split_ = 500;
    AxisRange x_, y_;
    bool rangesSet_ = false;
    std::vector<GraphRowValues> values_;
    int sourceRows_ = 0;
    bool graphFocus_ = false;
    GraphPaintResult last_;
    Drag drag_ = Drag::None;
    QPoint pressAt_, dragAt_;
};

// Makes kind 6 windows data-mining views.
void RegisterDataMiningView();

} // namespace qv
