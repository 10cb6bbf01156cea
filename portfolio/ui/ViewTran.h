// The transactions view (view kind 4): a portfolio's transactions, each share's run closed by its
// 'Latest' row, with the commands that record, edit, delete, copy and move them and edit their notes.
#pragma once

#include "lists/ui/ViewListTop.h"
#include "views/CommandUpdate.h"

namespace qv {

struct Transaction;

// The share and line the portfolio view's buy, sell and dividend commands leave for message 1091.
struct PendingTransaction {
    uint16_t shareId = 0;
    uint8_t line = 0;
};
PendingTransaction& PendingTransactionShare();
constexpr uint32_t kMsgRecordPending = 1091;

class CViewTran : public CViewListTop, public CommandTarget {
    Q_OBJECT
public:
    explicit CViewTran(QWidget* parent = nullptr);
    ~CViewTran() override;

    // The switches every transactions view shares.
    static bool& TotalsOnly();
    static bool& HeldOnly();

    void OnRefresh() override;
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool OnFindShareKey(uint32_t character) override;
    bool UpdateCommand(CommandUi& ui) override;
    bool RunCommand(uint32_t command) override;

    // The record of the current row; null when none.
    Transaction* CurrentRecord() const;
    int CurrentShareId() const override;
    // Opens what a double click on the row and column opens.
    void OpenCell(int row, int column);

protected:
    std::vector<HeaderItem> HeaderItems() override;
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    Portfolio* AttachPortfolio();
    bool CurrentRowEditable() const;
    void Delete();
    void EditNote(int column);
    void CopyOrMove(bool move);
    bool recordingPending_ = false;
};

void InstallTransactionViewClass();

} // namespace qv
