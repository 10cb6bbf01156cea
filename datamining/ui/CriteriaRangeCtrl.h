// The strip inside a criterion row on which the user drags the lower and upper bound of the
// criterion's selected range over its data range.
#pragma once

#include "datamining/CriteriaRange.h"

#include <QWidget>

namespace qv {

class CCriteriaRangeCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CCriteriaRangeCtrl(QWidget* parent = nullptr);

    // Attaches a criterion (null: none); a reversed range first becomes the whole data range.
    void SetData(DMCriterion* criterion);
    // Enabled when the value is 1; the row gives 1 for a criterion whose mode is not 0.
    void SetLocked(int value);

    DMCriterion* criterion() const { return criterion_; }
    const CriteriaRangeGeometry& geometry() const { return geometry_; }
    bool enabledForDrag() const { return enabled_; }
    bool dragging() const { return dragging_; }

signals:
    // A handle moved: the row shows the new bound.
    void boundMoved(RangeHandle handle);
    // The drag ended: the panel tells the views.
    void rangeChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool Draggable() const;
    void MoveTo(int x);

    DMCriterion* criterion_ = nullptr;
    CriteriaRangeGeometry geometry_;
    bool enabled_ = false;
    bool dragging_ = false;
    RangeHandle handle_ = RangeHandle::Upper;
};

} // namespace qv
