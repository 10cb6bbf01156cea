// The company calendar dialog "Calendar": the events of a share list's shares between two dates,
// filtered by kind, sorted by a column head, printed, and a double click showing the event's share.
#pragma once

#include "platform/MessageDispatch.h"
#include "tools/CompanyCalendar.h"

#include <QDialog>
#include <QTreeWidget>

class QCheckBox;
class QPrinter;

namespace qv {

class CDateEdit;

// The event list: date, event and share; even rows white, odd rows light grey; sorted by date, a
// date shows only on the first row of its run, with a grey line inside a run and a darker one where
// the date changes.
class CCompCalendarList : public QTreeWidget {
    Q_OBJECT
public:
    explicit CCompCalendarList(QWidget* parent = nullptr);
    void Show(const std::vector<CalendarEvent>& events, bool byDate);
    bool byDate() const { return byDate_; }

private:
    bool byDate_ = true;
};

class CCompCalendar : public QDialog, public MessageTarget {
    Q_OBJECT
public:
    static constexpr int kList = 4185, kFrom = 4186, kTo = 4187, kPrint = 4173;

    CCompCalendar(ShareList* list, QWidget* parent = nullptr);

    // The events shown, in the list's order.
    const std::vector<CalendarEvent>& shown() const { return shown_; }
    CCompCalendarList* list() const { return list_; }
    CDateEdit* from() const { return from_; }
    CDateEdit* to() const { return to_; }
    QCheckBox* box(size_t i) const { return boxes_[i]; }
    // Sorts by the column; the same column again reverses the order.
    void SortBy(int column);
    // Makes the share of row `row` the list's current share and shows it.
    void OpenRow(int row);
    // The rows printed on the printer's pages; false when it cannot print.
    bool PrintTo(QPrinter& printer) const;

    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

protected:
    void done(int result) override;

private:
    void Refill();
    void Print();

    ShareList* shareList_;
    std::vector<CalendarEvent> events_;
    std::vector<CalendarEvent> shown_;
    CDateEdit* from_;
    CDateEdit* to_;
    CCompCalendarList* list_;
    std::array<QCheckBox*, 7> boxes_{};
    int sortColumn_ = 0;
    bool descending_ = false;
};

// Installs the calendar as command 27287 on the active list (the frame keeps it greyed otherwise).
void InstallCompanyCalendar();

} // namespace qv
