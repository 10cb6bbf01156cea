// The two list choosers of the data-mining view and its panel, on one template: a criterion of the
// current filter (for an axis, or to edit) and a filter of the filter list.
#pragma once

#include "core/DMFilter.h"

#include <QDialog>

#include <vector>

class QLabel;
class QListWidget;

namespace qv {

// A prompt above one list, with OK, Cancel and Help.
class CListChoiceDlg : public QDialog {
public:
    explicit CListChoiceDlg(QWidget* parent = nullptr);
    QListWidget* list() const { return list_; }

protected:
    QLabel* prompt_;
    QListWidget* list_;
};

class CSelectCriterionDlg : public CListChoiceDlg {
public:
    enum class Mode { XAxis, YAxis, ZAxis, Edit };
    CSelectCriterionDlg(const DMFilter& filter, Mode mode, QWidget* parent = nullptr);
    // The chosen criterion by its position (from 0) among all the filter's criteria; -1 for
    // "<<UNSELECTED>>" or no choice.
    int Chosen() const;

private:
    std::vector<int> positions_; // per list line; -1 for "<<UNSELECTED>>"
};

class CSelectFilterDlg : public CListChoiceDlg {
public:
    // writableOnly: only filters that are not read-only; offerNew: "<<new>>" first (never with
    // writableOnly).
    CSelectFilterDlg(const DMFilter* selected, bool writableOnly, bool offerNew, QWidget* parent = nullptr);
    // The chosen filter; null for "<<new>>" or no choice.
    DMFilter* Chosen() const;

private:
    std::vector<DMFilter*> filters_; // per list line; null for "<<new>>"
};

} // namespace qv
