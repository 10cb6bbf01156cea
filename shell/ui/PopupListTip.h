// CPopupListTip: the small pop-up over a list-table cell that shows its whole text, and for some
// columns more; it never takes the mouse or the focus.
#pragma once

#include "shell/ListTipRules.h"

#include <QColor>
#include <QFont>
#include <QTimer>
#include <QWidget>

namespace qv {

class CPopupListTip : public QWidget {
    Q_OBJECT
public:
    CPopupListTip();

    // Made hidden as an empty rectangle at (x, y), owned by the parent.
    bool Create(int x, int y, QWidget* parent);
    // The cell under the mouse; the stored left is one less than given.
    void SetCell(int left, int top, const ListTipView* view, int row, const TipColumn& column, int cellWidth,
                 const QFont& cellFont);
    // The view's colours for the title and the separating line.
    void SetViewColours(const QColor& background, const QColor& text, const QColor& grid);
    void SetState(const TipState& state) { state_ = state; }
    void SetRightLimit(int limit) { rightLimit_ = limit; }
    // Timer 8, or at once for 0.
    void ShowAfter(int milliseconds);
    void Hide();
    // Composes, measures, places and shows (without activation); false when there is nothing to show.
    bool ShowNow();

    const TipContent& content() const { return content_; }
    bool timerRunning() const { return timer_.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TipMeasures measure() const;

    QTimer timer_;
    QFont bodyFont_;
    QFont subtitleFont_;
    QFont cellFont_;
    QColor background_;
    QColor text_;
    QColor grid_;
    const ListTipView* view_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    int row_ = 0;
    TipColumn column_;
    int cellWidth_ = 0;
    int rightLimit_ = 1 << 20;
    TipState state_;
    TipContent content_;
};

} // namespace qv
