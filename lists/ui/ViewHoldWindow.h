// The directors' dealings view's window: a list table of the dealings family under the header strip
// with its counts, and the view's commands with their dialogs.
#pragma once

#include "lists/ViewHold.h"
#include "lists/ui/ViewListTop.h"
#include "views/CommandUpdate.h"

namespace qv {

class CViewHoldWnd : public CViewListTop, public CViewHold, public CommandTarget {
    Q_OBJECT
public:
    explicit CViewHoldWnd(QWidget* parent = nullptr);
    ~CViewHoldWnd() override;

    void OnRefresh() override;
    void OnSetFocus() override;
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool UpdateCommand(CommandUi& ui) override;
    bool RunCommand(uint32_t command) override;

    // The investor finder on this view's rows (a typed character seeds it).
    void FindInvestor(const QString& seed);
    // The view's filter, dialog and list commands (also when another view is active: the caller asks).
    bool UpdateHoldCommand(CommandUi& ui);
    // The dealings of one share alone (its id), or of every share again (0).
    void ShowShareOnly(uint16_t shareId);
    // The view's own status panes: the limit, the current portfolio and the categories.
    void ShowStatusTexts() override;

protected:
    std::vector<HeaderItem> HeaderItems() override { return HeaderCounts(); }
    void paintEvent(QPaintEvent* event) override;
    // Over the header strip the first pane names the list window's key; below it the status texts.
    void mouseMoveEvent(QMouseEvent* event) override;
    // Losing focus remembers the view's sort for the dealings setting.
    void focusOutEvent(QFocusEvent* event) override;
};

// Registers the dealings view as the class of view kind 5.
void InstallDealingsViewClass();

} // namespace qv
