// The data-mining control panel docked beside the data-mining view: the current filter's title, note
// and source, one row per criterion, and the commands that change filters and criteria. Every change
// is told to the view and, where others show the same filter, to them.
#pragma once

#include "core/DMFilter.h"
#include "core/RecordCursor.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace qv {

class CViewBase;
class CDM_CriteriaDialog;

// The filter list dialog (another part of the program installs it): preselects a filter, lists only
// writable filters when asked, and offers "<<new>>" when asked. `chosen` is null for "<<new>>";
// false on Cancel. Commands that need it stay greyed until it is installed.
struct FilterListRequest {
    DMFilter* preselected = nullptr;
    bool writableOnly = false;
    bool offerNew = true;
};
using FilterListDialog = std::function<bool(const FilterListRequest& request, DMFilter*& chosen)>;
void SetFilterListDialog(FilterListDialog dialog);
bool FilterListDialogInstalled();

class CDM_Control : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDefaultWidth = 330;

    explicit CDM_Control(CViewBase* view, QWidget* parent = nullptr);
    ~CDM_Control() override;

    // Shows a filter (null: none) from its first criterion on.
    void SetFilter(DMFilter* filter);
    DMFilter* filter() const { return filter_; }
    // The rows of the view's source and their candidate positions, which new and changed criteria
    // take their statistics over; without them, all candidates.
    void SetSourceRows(const RecordCursor* rows, const uint32_t* positions);
    // Attaches the rows to the criteria from the scroll position on and shows them again.
    void RefreshCriteriaRows();

    // A command of the panel, or of the row showing criterion `index`: whether it is offered now.
    bool CommandEnabled(uint32_t command, int index = -1) const;
    bool CommandChecked(uint32_t command, int index = -1) const;
    // Runs it; false when it is not one of the panel's.
    bool RunCommand(uint32_t command, int index = -1);
    // A row's bound was typed (valueEdit) or its range dragged.
    void RangeChanged(bool valueEdit);
    // Menu 583 for a row's criterion, or the panel's own menu 612 (index -1).
    void ShowContextMenu(int index, const QPoint& globalPos);

    const std::vector<CDM_CriteriaDialog*>& rows() const { return rows_; }
    int visibleRows() const;
    QScrollBar* scrollBar() const { return scroll_; }
    QLabel* title() const { return title_; }
    QLabel* note() const { return note_; }
    QGroupBox* blackbox() const { return blackbox_; }
    QWidget* rowArea() const { return area_; }
    QComboBox* sourceList() const { return listKinds_; }

protected:
    // Tells the view, and for a range, list or filter change the other views showing the filter.
    virtual void Notify(uint32_t message, uintptr_t wParam = 1);
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Build();
    void LayRows();
    void ShowRows();
    void ShowSource();
    void SourceChanged();
    void ChooseSourceButton(int id);
    void ChooseListKind(int index);
    bool ChooseUserPortfolio();
    bool SourceRowsFor(const RecordCursor*& rows, const uint32_t*& positions) const;
    void AddCriterion();
    void EditCriterionAt(int index);
    void DeleteCriterionAt(int index);
    void SetMode(int index, uint8_t mode);
    void ToggleAxis(int index, FilterAxis axis);
    void ClearAll();
    void SelectFilter();
    void EditNote();
    void Rename();
    void DeleteFilter();
    void CopyThisFilter();
    void CopyAllTo();
    // A name no other filter has (the renamed one may keep its own); empty when cancelled.
    std::string AskName(const QString& caption, const std::string& start, const DMFilter* renaming = nullptr);

    CViewBase* view_;
    DMFilter* filter_ = nullptr;
    const RecordCursor* sourceRows_ = nullptr;
    const uint32_t* sourcePositions_ = nullptr;
    std::vector<CDM_CriteriaDialog*> rows_;
    QLabel* title_ = nullptr;
    QLabel* note_ = nullptr;
    QButtonGroup* sources_ = nullptr;
    QComboBox* listKinds_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* select_ = nullptr;
    QWidget* rowsPanel_ = nullptr;
    QWidget* area_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    QGroupBox* blackbox_ = nullptr;
    bool showing_ = false;
    bool showAgain_ = false;
};

// Docks the panel at the left of the view inside the view's child window, with a grip between them
// that sets the panel's width. False when the view is not in a child window.
bool DockBesideView(CDM_Control* panel, QWidget* view);

} // namespace qv
