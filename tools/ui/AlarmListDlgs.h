// The two lists of end-of-day alarms: "Triggered alarms" (the alarms that hold, one line each) and
// "Review individual share alarms" (every alarm that is set), with their edit and delete commands.
#pragma once

#include "tools/alarms/AlarmLines.h"

#include <QDialog>

#include <functional>

class QMenu;
class QPushButton;
class QTreeWidget;

namespace qv {

class CAlarmListDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr uint32_t kCommandDelete = 26403, kCommandEdit = 26404, kCommandDeleteAll = 26405;
    static constexpr uint32_t kMenuEdit = 2158, kContextMenu = 563;
    static constexpr int kEdit = 18112;

    QTreeWidget* list() const { return list_; }
    // The lines as the list box holds them: " name\talarm\tnote" (or "\tother").
    QStringList Lines() const;
    // The selected line's share key (share id + exchange << 16); 0 with none.
    uint32_t SelectedKey() const;
    void OnCommand(uint32_t command);
    QMenu* CreateContextMenu();
    // Refills the list from the alarm records.
    void Fill();

    // What the commands call: the share editor (true on OK). Tests may replace it.
    std::function<bool(uint16_t shareId, uint8_t stream)> editShare;

protected:
    CAlarmListDlg(const char* id, const QString& title, const QStringList& heads, uint32_t helpTopic, QWidget* parent);
    virtual std::vector<AlarmListLine> Collect() const = 0;
    virtual void Delete(bool all) = 0;
    void AddButtons(const std::vector<QPushButton*>& buttons);
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QTreeWidget* list_;
    QString empty_;
    uint32_t helpTopic_;
};

class CTriggeredAlarmsDlg : public CAlarmListDlg {
    Q_OBJECT
public:
    static constexpr int kList = 1834, kOptions = 18115, kViewPortfolio = 1843;
    explicit CTriggeredAlarmsDlg(QWidget* parent = nullptr);
    // "Options": the "Pre-set Portfolios" page alone; the list is refilled after OK. Tests may replace it.
    std::function<bool()> runOptions;
    // "View portfolio": the "Alarms" portfolio becomes the current window's list and the frame shows it.
    void ViewPortfolio();

protected:
    std::vector<AlarmListLine> Collect() const override;
    void Delete(bool all) override;
};

class CReviewAlarmsDlg : public CAlarmListDlg {
    Q_OBJECT
public:
    static constexpr int kList = 1844, kDelete = 18114;
    explicit CReviewAlarmsDlg(QWidget* parent = nullptr);

protected:
    std::vector<AlarmListLine> Collect() const override { return ListSetAlarms(); }
    void Delete(bool all) override;
};

} // namespace qv
