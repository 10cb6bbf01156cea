// The floating graph legend: one tool window for the whole program, bound to the active chart view,
// listing the legend model's lines with a sample of each pen; and DrawLegendBox, which draws the same
// lines into any painter for printing and export.
#pragma once

#include "chartmodel/LegendModel.h"

#include <QWidget>

#include <functional>

class QPainter;
class QScrollBar;

namespace qv {

class CViewGraphBase;

// Draws a sample whose value selects one of the chart's markers (swing marks, signals); the chart
// views install theirs. Without one a small square in the pen's colour stands for it.
using LegendMarkerDrawer = std::function<void(QPainter&, const QRect& cell, uint32_t pen, int32_t value)>;
void SetLegendMarkerDrawer(LegendMarkerDrawer drawer);

// The legend box: a framed white box titled "Graph Legend" with the lines of sections 0-3, in an
// "Arial" font of the height in pixels, its top-left corner at (x, y). Nothing for an empty legend.
void DrawLegendBox(QPainter& painter, const LegendModel& legend, int fontHeight, int x, int y);

class CGraphLegend : public QWidget {
    Q_OBJECT
public:
    explicit CGraphLegend(QWidget* parent = nullptr);
    ~CGraphLegend() override;

    // Binds the legend to a chart view and what it shows; the source stays the view's.
    void Bind(CViewGraphBase* view, const LegendSource* source);
    CViewGraphBase* view() const { return view_; }
    // Rebuilds every line and repaints.
    void UpdateLegend(bool omitTopLines);
    // Forgets the view and hides the window.
    void Hide();

    // Takes up the program's legend settings (font, spacing, fixed height) after they changed.
    void ApplySettings();
    const LegendModel& model() const { return model_; }
    int firstVisibleLine() const { return firstVisible_; }
    int visibleLines() const { return visibleLines_; }
    QScrollBar* scrollBar() const { return scrollBar_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Opens the legend design dialog for the bound chart (GraphLegendDesign.cpp).
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Layout();
    int LineHeight() const;
    void ApplyHeightLimits();
    void ForwardKey(QKeyEvent* event);
    void StorePlace();
    QFont LegendFont() const;

    CViewGraphBase* view_ = nullptr;
    const LegendSource* source_ = nullptr;
    LegendModel model_;
    QScrollBar* scrollBar_ = nullptr;
    int firstVisible_ = 0;
    int visibleLines_ = 0;
    QPoint dragOffset_;
    bool dragging_ = false;
};

// The program's one legend window, made on first use.
CGraphLegend& GraphLegendWindow();

} // namespace qv
