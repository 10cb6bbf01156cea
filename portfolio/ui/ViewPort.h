// The portfolio view (view kind 2): the portfolio's shares as a list table under a strip that names
// the portfolio and sums its holdings (or its shares' prices), with the commands that rename and
// empty portfolios, add, delete, copy and move shares, and graph the portfolio.
#pragma once

#include "lists/ui/ViewListTop.h"
#include "views/CommandUpdate.h"

namespace qv {

class CViewPort : public CViewListTop, public CommandTarget {
    Q_OBJECT
public:
    explicit CViewPort(QWidget* parent = nullptr);
    ~CViewPort() override;

    void OnRefresh() override;
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    int GetUpDownState(const uint8_t* column, int row, const CellValue& value) override;
    bool HasUpDownColour(const uint8_t* column) override;

    // The commands answer only while this view is the active one.
    bool UpdateCommand(CommandUi& ui) override;
    bool RunCommand(uint32_t command) override;

    // Whether the strip sums the investments (command 25094) or shows the list line.
    bool investmentInfo() const;
    // Writes the current row, the row count and the first visible row into the portfolio, and the
    // sort into the table of sorts (not while a filter runs).
    void KeepPosition();

    // The program's current portfolio view (the one last active); null when none is open.
    static CViewPort* Current();

protected:
    std::vector<HeaderItem> HeaderItems() override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void AttachPortfolio();
    // The list takes the portfolio's entries again, keeping its current share.
    void ReloadList(Portfolio* p);
    void ReloadList(Portfolio* p, const RecordCursor& current);
    // The row that takes the place of rows first..last once they are gone: the one below them, or
    // the one above when they run to the end.
    RecordCursor RowAfterRemoval(int first, int last) const;
    void AfterRemoval(Portfolio* p, const RecordCursor& current);
    void DeleteSelected(bool move);
    void DeleteRange(uint32_t command);
    void Rename();
    void AddShare();
    void ToggleInvestmentInfo();
    void AdjustGroup();
    void CopyOrMove(bool move);
    void RecordPending(int type);
};

// Registers the portfolio view as the class of view kind 2 and answers the current portfolio view.
void InstallPortfolioViewClass();

} // namespace qv
