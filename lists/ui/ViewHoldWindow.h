// The directors' dealings view's window: the header strip with its counts, the table of dealings and
// holdings, keys, wheel and the view's commands with their dialogs.
#pragma once

#include "lists/ViewHold.h"
#include "views/CommandUpdate.h"
#include "views/ui/ViewBaseWindow.h"

class QPainter;

namespace qv {

class CViewHoldWnd : public CViewBaseWnd, public CViewHold, public CommandTarget {
public:
    explicit CViewHoldWnd(QWidget* parent = nullptr);
    ~CViewHoldWnd() override;

    void OnRefresh() override;
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool UpdateCommand(CommandUi& ui) override;
    bool RunCommand(uint32_t command) override;

    // The rows that fit below the header strip and the headings.
    int VisibleRows() const;
    void ScrollTo(int first);
    // The investor finder on this view's rows (a typed character seeds it).
    void FindInvestor(const QString& seed);
    // Printing: the pages the rows fill in a page's table rectangle on the painter's device, and page
    // n drawn (the header strip and headings on every page, no current-row mark).
    int CountPrintPages(QPainter& p, const QRect& table);
    void DrawPrintPage(QPainter& p, const QRect& table, int page);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Over the header strip the first pane names the list window's key; below it the status texts.
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    // Losing focus remembers the view's sort for the dealings setting.
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool IsActiveView() const;
    // The column whose heading spans x; -1 right of the last.
    int HeadingColumnAt(int x) const;
    void ShowStatusTexts();
    int lineHeight() const;
    // The header strip, the headings and rows [first, first + count) in the area.
    void DrawTable(QPainter& p, const QRect& area, int first, int count, bool printing);
    int PrintRowsPerPage(QPainter& p, const QRect& table) const;
    int wheelDelta_ = 0;
};

// Registers the dealings view as the class of view kind 5.
void InstallDealingsViewClass();

} // namespace qv
