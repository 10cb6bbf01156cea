// The chart view base as a window: it shows the chart mode's cursor, paints through the chart's
// redraw, cancels the mode on keys and resizes, and forgets the model's current parts when it loses
// the focus. The chart views derive from it.
#pragma once

#include "chartmodel/ViewGraphBase.h"
#include "views/ui/ViewBaseWindow.h"

class QPainter;

namespace qv {

// The chart model is a virtual base, so that a chart view class (CViewGraph) and this window share it.
class CGraphViewWnd : public CViewBaseWnd, public virtual CViewGraphBase {
    Q_OBJECT
public:
    explicit CGraphViewWnd(int32_t kind, QWidget* parent = nullptr);
    ~CGraphViewWnd() override;

    // The painter of the paint in progress, for the chart's drawing; null outside a paint.
    QPainter* currentPainter() const { return painter_; }

protected:
    void ApplyCursor(uint32_t id) override;
    // Draws the chart when no full redraw is pending; white here.
    virtual void DrawView(QPainter& painter);

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QPainter* painter_ = nullptr;
};

} // namespace qv
