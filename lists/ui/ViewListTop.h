// The list view under the portfolio-type views (portfolio, transactions, cash) and the news view: a
// header strip of labelled figures above the table, and the commands that graph the portfolio's
// value and profit.
#pragma once

#include "lists/ui/ViewListBase.h"
#include "portfolio/HeaderStrip.h"

#include <string>
#include <vector>

namespace qv {

struct CommandUi;
struct Portfolio;

class CViewListTop;

// The capital gains tax, dividend and valuation commands live with the portfolio views above this
// folder, which install their handlers here; each returns true for a command it answers.
using TopCommandUpdate = bool (*)(const CViewListTop& view, CommandUi& ui);
using TopCommandRun = bool (*)(CViewListTop& view, uint32_t command);
void SetTopCommandHandlers(TopCommandUpdate update, TopCommandRun run);

class CViewListTop : public CViewListBase {
    Q_OBJECT
public:
    explicit CViewListTop(int32_t kind, QWidget* parent = nullptr);

    // The portfolio the view's share list shows; null when none.
    Portfolio* portfolio() const;
    // The items the strip drew last, and where.
    const std::vector<HeaderItem>& headerItems() const { return headerItems_; }
    const std::vector<HeaderPlacement>& headerPlaces() const { return headerPlaces_; }

    // 25095 and 25096 (graph the value, the profit or loss), enabled for a portfolio with
    // transactions, and the commands the installed top-command handlers answer. False for other
    // commands.
    bool UpdateTopCommand(CommandUi& ui);
    bool RunTopCommand(uint32_t command);

    // The share of the current row (0 when none) and the face of the list's font, for the reports.
    virtual int CurrentShareId() const;
    QString listFontFace() const;

    // Whether a refresh waits for a filter run to end.
    bool refreshPending() const { return refreshPending_; }

protected:
    // The strip's items; a derived view gives its own (none by default).
    virtual std::vector<HeaderItem> HeaderItems() { return {}; }
    void PaintHeaderStrip(QPainter& painter, const QSize& size, bool onScreen) override;
    void PrintHeaderStrip(QPainter& painter, const QRect& strip, const QFont& listFont) override;
    // Fills the strip and selects the bold font and white text; the strip's rectangle.
    QRect BeginHeaderPaint(QPainter& painter, const QSize& size, bool onScreen);
    // Draws the items from the left with the strip's rules.
    void DrawHeaderItems(QPainter& painter, const QRect& strip, const std::vector<HeaderItem>& items);
    void GraphPortfolio(bool profit);
    // A filter run owns the portfolios until it ends: the refresh is posted again and true answered.
    bool PutOffRefresh();
    // The view's commands answer only while it is the active one.
    bool IsActiveView() const;
    bool refreshPending_ = false;

private:
    // The items drawn in the painter's font from the strip's left, a gap apart; on screen with their
    // light boxes and white labels, on paper all in black. Where each was drawn.
    static std::vector<HeaderPlacement> DrawStripItems(QPainter& painter, const QRect& strip,
                                                       const std::vector<HeaderItem>& items, int gap, bool onScreen);
    std::vector<HeaderItem> headerItems_;
    std::vector<HeaderPlacement> headerPlaces_;
};

} // namespace qv
