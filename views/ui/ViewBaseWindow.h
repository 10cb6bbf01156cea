// The view base as a window: it attaches to its share list, titles its child window from the list,
// paints "No Data" until a subsystem's own view takes its kind, and passes keys and focus to the
// frame.
#pragma once

#include "views/ViewBase.h"

#include <QWidget>

class QMdiSubWindow;

namespace qv {

class CViewBaseWnd : public QWidget, public virtual CViewBase {
    Q_OBJECT
public:
    explicit CViewBaseWnd(int32_t kind, QWidget* parent = nullptr);
    ~CViewBaseWnd() override;

    bool WindowExists() const override { return !closing_; }
    bool WindowVisible() const override;
    void InvalidateWindow() override;
    void OnRefresh() override;
    void SetResyncCode(uint32_t code) override;

    // The title the view's window carries.
    virtual QString Title() const;
    // Views that title themselves (the charts) give their own.
    virtual void UpdateTitle();

    int refreshes() const { return refreshes_; }
    int resyncs() const { return resyncs_; }
    bool ctrlTimerRunning() const;

    // Paints the text ("No Data" when empty) horizontally centred at the given top.
    static void DrawNoData(QPainter& painter, const QRect& client, int top, const QString& text = {});

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    bool closing_ = false;
    int refreshes_ = 0;
    int resyncs_ = 0;
};

// Re-titles the windows of a group after a view joined or left it.
void RetitleGroup(ShareList* group);

// Opens a view-base view of the kind on the list (a new list of the kind's family when null) in a
// new child window of the frame, shown and active.

} // namespace qv
