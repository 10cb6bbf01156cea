// The dialogs around a share's intraday trades: the summary of trades, the trade price history and
// the trade list's date chooser.
#pragma once

#include "core/PackedDate.h"
#include "realtime/TradeSummary.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QListWidget;

namespace qv {

class CViewBase;
class CDateEdit;
class TradeSummaryPanel;

class CTradeSummaryDlg : public QDialog {
public:
    static constexpr int kTemplateId = 811;
    static constexpr int kSignificantBox = 3001, kPercentBox = 3002;

    // The view's totals; `flags` sets the options (bit 0 three significant figures, bit 1 percentages).
    CTradeSummaryDlg(CViewBase& view, uint32_t flags, QWidget* parent = nullptr);
    // Opens the summary for the view while the live-price views are on; never for the cash view.
    static bool Open(CViewBase* view, QWidget* parent);

    const TradeSummaryTable& table() const { return table_; }
    const TradeTotals& totals() const { return totals_; }
    const TradeSummaryPanel& panel() const { return *panel_; }
    uint32_t options() const;

private:
    void Show();

    TradeTotals totals_;
    TradeSummaryContext context_;
    TradeSummaryTable table_;
    QCheckBox *significant_, *percentages_;
    QLabel *time_, *date_;
    TradeSummaryPanel* panel_;
};

class CTradePriceHistoryDlg : public QDialog {
public:
    static constexpr int kTemplateId = 695;

    explicit CTradePriceHistoryDlg(uint16_t share, QWidget* parent = nullptr);
    QListWidget* lines() const { return list_; }

private:
    QListWidget* list_;
};

class CTradeListDateDlg : public QDialog {
public:
    static constexpr int kTemplateId = 27244;
    static constexpr int kDateControl = 3003;

    // `newest`: the newest stored intraday day, the last that can be chosen.
    CTradeListDateDlg(PackedDate day, PackedDate newest, QWidget* parent = nullptr);
    PackedDate day() const { return day_; }
    CDateEdit* dateEdit() const { return date_; }
    // A day after the newest is refused with a message and the control reset to the newest.
    void accept() override;

private:
    PackedDate day_;
    PackedDate newest_;
    CDateEdit* date_;
};

// The refusal's text.
inline constexpr const char* kTradeDateOutOfRange =
    "This date is outside the range of dates for which Quorvantis has data.\nIt may be a date in the future for "
    "which no data is yet available, or\nyou may need to reconnect to the intraday feed.";

// The summary (27200) and the trade price history (26807) on their frame commands.
void InstallTradeDialogs();

} // namespace qv
