// One criterion row of the data-mining control panel: the bounds, the X, Y and Z buttons, the
// criterion's wording, its range strip, the mode button and the delete button.
#pragma once

#include "core/DMFilter.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

namespace qv {

class CCriteriaRangeCtrl;
class CDM_Control;

class CDM_CriteriaDialog : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 74;

    CDM_CriteriaDialog(CDM_Control& panel, QWidget* parent);

    // Shows the criterion at `index` of the filter (a negative index: none).
    void Attach(DMFilter* filter, int index);
    void Detach() { Attach(nullptr, -1); }
    // Shows the attached criterion again: bounds, wording, font, axes, mode and strip.
    void Repaint();

    int index() const { return index_; }
    DMCriterion* criterion() const;
    CCriteriaRangeCtrl* rangeControl() const { return range_; }
    QLineEdit* lowerField() const { return lower_; }
    QLineEdit* upperField() const { return upper_; }
    QLabel* wording() const { return wording_; }
    QToolButton* modeButton() const { return mode_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void BoundEdited(bool lower);
    void ShowBound(bool lower);
    static QString BoundText(const DMCriterion& criterion, bool lower);
    int FieldWidth() const;

    CDM_Control& panel_;
    DMFilter* filter_ = nullptr;
    int index_ = -1;
    QLineEdit* lower_;
    QLineEdit* upper_;
    QToolButton* axes_[3];
    QLabel* wording_;
    CCriteriaRangeCtrl* range_;
    QToolButton* mode_;
    QToolButton* delete_;
};

// The words of a criterion for a row: the short form with "&" doubled.
QString RowWording(const DMCriterion& criterion);

} // namespace qv
