// The main frame's status bar: text panes of fixed widths (the first stretching), and the
// owner-drawn pane with item id 5 that shows the real-time feed's data levels.
#pragma once

#include <QStatusBar>
#include <QVector>

class QLabel;

namespace qv {

struct ShareList;

class CStatusBarEx : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int kLevelPaneId = 5;

    explicit CStatusBarEx(QWidget* parent = nullptr);

    // Panes by item id and width; a pane of id 0 stretches. Replaces any panes set before.
    bool SetPanes(const QVector<int>& ids, const QVector<int>& widths);
    // The text in a pane of its own width.
    void SetPaneText(int index, const QString& text);
    // The text in a pane widened as far as the text needs (never narrower than its own width); the
    // next SetPaneText gives the pane its own width back.
    void FitPaneText(int index, const QString& text);
    QString PaneText(int index) const;
    int PaneCount() const { return int(panes_.size()); }
    QWidget* Pane(int index) const;

private:
    QVector<QWidget*> panes_;
};

// Puts the list's current share's column field into pane 1 and its market into pane 2.
void ShowDetailStatusPanes(ShareList* list, CStatusBarEx& bar, int32_t columnCode, bool indexFlag);

// The feed-level pane, drawn from the feed's level words.
class CFeedLevelPane : public QWidget {
    Q_OBJECT
public:
    explicit CFeedLevelPane(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace qv
