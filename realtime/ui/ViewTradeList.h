// The trade list (view kind 10): one share's intraday trades, quotes or both for one stored day,
// following the newest day while it shows it, with bid, mid and offer coloured by their moves and a
// rebuild at most once a second as new ticks arrive.
#pragma once

#include "lists/ui/ViewListBase.h"
#include "realtime/TradeListRows.h"
#include "realtime/store/RTActiveShares.h"
#include "views/CommandUpdate.h"

#include <cstdint>
#include <vector>

namespace qv {

class CViewTradeList : public CViewListBase, public CommandTarget {
    Q_OBJECT
public:
    // Day 0 (or a day that cannot be shown) opens on the newest stored day.
    explicit CViewTradeList(PackedDate day = 0, bool followLatest = true, QWidget* parent = nullptr);
    ~CViewTradeList() override;

    void OnRefresh() override;
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool UpdateCommand(CommandUi& ui) override;
    bool RunCommand(uint32_t command) override;
    // The day's trades of the list (in quotes-only mode, of the share's stored day).
    bool GetTradeTotals(TradeTotals& out) override;
    bool OnFindShareKey(uint32_t character) override;
    int GetUpDownState(const uint8_t* column, int row, const CellValue& value) override;
    bool HasUpDownColour(const uint8_t* column) override;
    void ShowStatusTexts() override;
    void AddTitleParts(ListTitleParts& parts) const override;

    // The price update from the intraday engine: a rebuild when a second has passed since the last,
    // else a refresh left pending for the half-second timer. True when it rebuilt.
    bool OnPriceUpdate();
    // The half-second timer: a pending refresh runs once a second has passed.
    void OnFlushTimer();
    // Rebuilds the rows from the store for the shown share and day.
    void BuildRows();

    PackedDate day() const { return day_; }
    bool followLatest() const { return followLatest_; }
    uint16_t share() const { return share_; }
    int32_t mode() const;
    bool refreshPending() const { return pending_; }
    const std::vector<TradeListRow>& rows() const { return rows_; }
    // Shows the share (tests and the typed-key search).
    void ShowShare(uint16_t share);
    // Shows the day; follow-latest is on when it is the newest stored day.
    void ShowDay(PackedDate day);
    void SetMode(int32_t mode);
    // The clock the throttle reads (milliseconds); tests set their own.
    void SetClock(uint32_t (*clock)()) { clock_ = clock; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void PickShare();
    void ChooseDay();
    void ForgetRows();
    void Watch();
    void RebuildAndRepaint();
    PackedDate NewestDay() const;

    PackedDate day_ = 0;
    bool followLatest_ = true;
    uint16_t share_ = 0;
    uint16_t askedShare_ = 0; // the share of the view active when this one was made
    std::vector<TradeListRow> rows_;
    std::vector<uint8_t> records_; // the rows as 32-byte trade records the list cells read
    uint32_t lastBuild_ = 0;
    bool built_ = false;
    bool pending_ = false;
    RTWatchList watch_;
    bool watching_ = false;
    uint32_t (*clock_)() = nullptr;
};

// The trade list's 32-byte record of a row: the trade layout, with the change marks in bytes 28-31.
void WriteTradeRecord(const TradeListRow& row, uint8_t* record);

void InstallTradeListViewClass();

} // namespace qv
