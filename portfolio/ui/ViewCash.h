// The cash account view (view kind 7): one account's statement, its own entries merged in date
// order with the transactions that name it, each row with the running balance, and the commands
// that add, edit and delete entries, rename the account and change its attachment.
#pragma once

#include "portfolio/CashStatement.h"
#include "lists/ui/ViewListTop.h"
#include "views/CommandUpdate.h"

namespace qv {

struct CashAccount;
struct CashEntryAnswer;

class CViewCash : public CViewListTop, public CommandTarget {
    Q_OBJECT
public:
    explicit CViewCash(QWidget* parent = nullptr);
    ~CViewCash() override;

    void OnRefresh() override;
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool UpdateCommand(CommandUi& ui) override;
    bool RunCommand(uint32_t command) override;
    // A window layout keeps the shown account's number; a number no account has shows the first.
    uint32_t LayoutAccount() const;
    void ApplyLayoutAccount(uint32_t number);

    // The account shown; null when there is none.
    CashAccount* account() const { return account_; }
    double balance() const { return statement_.balance; }
    const CashStatement& statement() const { return statement_; }

    void AddEntry(uint8_t type);
    void EditCurrentEntry();
    void DeleteCurrentEntry();
    void ChangeAttachment();

protected:
    std::vector<HeaderItem> HeaderItems() override;
    void ShowStatusTexts() override;
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void PickAccount();
    int64_t CurrentEntryOffset() const;
    bool StoreEntry(const CashEntryAnswer& answer);
    void AfterEntryChange();
    void Rename();
    CashAccount* account_ = nullptr;
    CashStatement statement_;
};

// The account the last cash view showed (program-wide).
CashAccount*& LastShownCashAccount();

void InstallCashViewClass();

} // namespace qv
