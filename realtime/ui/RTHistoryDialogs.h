// The intraday history's dialogs: the backfill request, its progress, and the purge.
#pragma once

#include "realtime/RTFeedSettings.h"
#include "realtime/feed/FeedServerInfo.h"

#include <QDialog>

#include <array>
#include <optional>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;

namespace qv {

class CDateEdit;

class CRTBackfillDlg : public QDialog {
public:
    static constexpr int kTemplateId = 721;
    static constexpr int kTickMs = 500;
    static constexpr int kWaitTicks = 10;

    explicit CRTBackfillDlg(QWidget* parent = nullptr);
    // One timer tick: takes the server's days once they came, or gives up after the waiting count.
    void Tick();
    // The days known: shows them for the ticked exchanges.
    void ShowDays(const std::vector<BackfillDayInfo>& days);
    BackfillChoice Choice() const;
    void accept() override;
    // The request record of the last OK.
    const std::vector<uint8_t>& request() const { return request_; }
    QListWidget* dayList() const { return days_; }
    QCheckBox* exchangeBox(int index) const { return boxes_[size_t(index)]; }

private:
    void EnableExchanges();
    void ExchangeChanged();
    void Rebuild();
    void UpdateRequest();
    std::array<QCheckBox*, 1 + kLevelGroups> boxes_{}; // London first
    QCheckBox* overwrite_;
    QPushButton *selectAll_, *levels_, *request_button_;
    QLabel *caption1_, *caption2_, *note_;
    QListWidget* days_;
    QTimer* timer_;
    int ticks_ = 0;
    bool known_ = false;
    std::vector<BackfillDayInfo> serverDays_;
    std::vector<uint8_t> request_;
};

class CRTBackfillProgressDlg : public QDialog {
public:
    static constexpr int kTemplateId = 791;

    explicit CRTBackfillProgressDlg(QWidget* parent = nullptr);
    void Refresh();
    bool moreShown() const { return more_; }

private:
    void ToggleMore();
    QLabel *status_, *detail_;
    QProgressBar* overall_;
    QWidget* perExchange_;
    std::array<QProgressBar*, 5> bars_{};
    QPushButton* moreButton_;
    bool more_ = false;
};

class CRTPurgeHistoryDlg : public QDialog {
public:
    static constexpr int kTemplateId = 713;
    static constexpr int kAutomaticCloseMs = 300000;

    CRTPurgeHistoryDlg(bool automatic, QWidget* parent = nullptr);
    // The history measured before, and what the chosen method would leave.
    void Recompute();
    PurgeMethod Method() const;
    QString BeforeText() const;
    QString AfterText() const;
    // "Purge intraday history": stores the settings and purges; "Don't purge": stores and closes.
    void Purge();
    void DontPurge();
    void reject() override;
    QLineEdit* daysField() const { return days_; }
    QLineEdit* mbytesField() const { return mbytes_; }
    CDateEdit* dateField() const { return date_; }
    QButtonGroup* methods() const { return method_; }
    QTimer* autoTimer() const { return autoTimer_; }

private:
    void Enable();
    void Store(bool withDate);
    void ShowStored();
    std::vector<RTHistoryDay> history_;
    QButtonGroup* method_;
    QLineEdit *days_, *mbytes_;
    CDateEdit* date_;
    QLabel *beforeDays_, *beforeMb_, *afterDays_, *afterMb_;
    QTimer* autoTimer_ = nullptr;
};

// Runs the purge dialog unless a backfill runs (then says so); true when it purged. The automatic
// dialog is the purge reminder's: its own caption, closing by itself as "Don't purge" after 5 minutes.
bool RunPurgeDialog(bool automatic, QWidget* parent);
// A new trading day, when the history has passed the limit the Intraday page keeps: "Automatic purge"
// purges down to it (after its question), "Remind me to purge" runs the automatic dialog on that limit.
void RunNewDayPurgeCheck(QWidget* parent);

} // namespace qv
