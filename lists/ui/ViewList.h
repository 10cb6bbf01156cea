// The share list window (view kind 1): the list table of shares with the commands that put its
// shares into a portfolio, the remembering of its current row and sort, and its up/down colours.
#pragma once

#include "lists/ui/ViewListBase.h"
#include "views/CommandUpdate.h"

namespace qv {

class CViewList : public CViewListBase, public CommandTarget {
    Q_OBJECT
public:
    explicit CViewList(int32_t kind = 1, QWidget* parent = nullptr);
    ~CViewList() override;

    int GetUpDownState(const uint8_t* column, int row, const CellValue& value) override;
    bool HasUpDownColour(const uint8_t* column) override;
    void OnRefresh() override;
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    // The commands answer only while this view is the active one.
    bool UpdateCommand(CommandUi& ui) override;
    bool RunCommand(uint32_t command) override;

    // Losing focus: the current row and the signed sort are remembered for the list.
    void RememberRowAndSort();
    // True when a portfolio window shows the group's list too.
    static bool SharedWithPortfolioView(const ShareList* group);

protected:
    // Takes over the rows of a linked list of the same family, or follows its share.
    void FollowLinkedList();
    void paintEvent(QPaintEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// Makes kind 1 windows share list views, and the shell's field texts come from the cell engine.
void RegisterListViews();

} // namespace qv
