// The share details view's window (view kind 3): the page drawn through an off-screen picture at the
// scroll position, scrolling by keys, bar and wheel, and the view's commands.
#pragma once

#include "lists/DetailPage.h"
#include "views/CommandUpdate.h"
#include "views/ui/ViewBaseWindow.h"

class QPainter;
class QScrollBar;

namespace qv {

struct Portfolio;

// The current portfolio and the portfolio chooser the add commands use, until the portfolio views
// serve them.
struct DetailPortfolioHooks {
    std::function<Portfolio*()> current;
    std::function<Portfolio*()> choose;
};
void SetDetailPortfolioHooks(DetailPortfolioHooks hooks);

class CViewDetailWnd : public CViewBaseWnd, public CommandTarget {
public:
    explicit CViewDetailWnd(QWidget* parent = nullptr);
    ~CViewDetailWnd() override;

    void OnRefresh() override;
    // "Details - source - sector filter - portfolio", shorter for portfolio lists and in the
    // parent-list mode.
    QString Title() const;
    void UpdateTitle() override;
    intptr_t onProgramMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool UpdateCommand(CommandUi& ui) override;
    bool RunCommand(uint32_t command) override;

    int scrollPosition() const { return scroll_; }
    int scrollMaximum() const { return maximum_; }
    void ScrollTo(int position);
    // Draws the page at the scroll position; returns its height in lines.
    int DrawBody(QPainter& p, const QRect& area, bool printing);
    // The printed page: the body from its top, on white, in the painter's device units.
    void PrintPage(QPainter& p, const QRect& area);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    // With the double-click option on, the loop back to the previous view kind.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool IsActiveView() const;
    const RecordCursor* CurrentRow() const;
    int DrawGrowthChart(QPainter& p, const GrowthChart& chart, int top, int width, bool printing);
    void UpdateScrollBar();
    // "Select items" (items) or "Display design" on the program-wide detail settings; on OK they are
    // stored and every details view repaints.
    void EditDetailSettings(bool items);
    // Panes 1 and 2 the current share's EPIC and market, pane 3 the source title.
    void ShowStatusTexts();

    QScrollBar* bar_ = nullptr;
    int scroll_ = 0;
    int maximum_ = 0;
    int page_ = 10;
    int wheel_ = 0;
};

// Registers the details view as the class of view kind 3.
void InstallDetailViewClass();

} // namespace qv
