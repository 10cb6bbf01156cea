// The child window that holds each data view: a program-wide id, the view kind, tickers kept at a
// fixed width or height, the caption double-click that re-lays or saves the layouts, and the note
// to the main frame when it closes.
#pragma once

#include <QMdiSubWindow>
#include <cstdint>

class QMdiArea;

namespace qv {

// Sent to the main frame with the closing window's id.
constexpr uint32_t MSG_CHILD_WINDOW_CLOSED = 0x0400 + 72;

class CChildWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    // Takes the next id of the program-wide counter.
    CChildWindow();
    ~CChildWindow() override;

    // Places the window in the area: with multiple windows a captioned frame (a thick frame only for
    // tickers), maximised when asked; without them a bare window over the whole area.
    void Create(QMdiArea* area, const QRect& rect, int32_t kind, bool maximised, bool multipleWindows);
    void FitToClient();
    void SetFixedSize(int width, int height);

    uint32_t id() const { return id_; }
    int32_t kind() const { return kind_; }
    bool createdMaximised() const { return createdMaximised_; }
    // Shows a window made by a layout's maximised record maximised, as the one window of its layout:
    // un-maximised, it lays the layout out again.
    void ShowCreatedMaximised();
    void setClosingSilently(bool silent) { closingSilently_ = silent; }
    int fixedWidth() const { return fixedWidth_; }
    int fixedHeight() const { return fixedHeight_; }

    // The caption double-click as the user does it.
    void CaptionDoubleClicked();

    static constexpr int kMinTrackWidth = 60;
    static constexpr int kMinTrackHeight = 100;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Follows the area's size: the bare single window always covers it.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void ApplyTrackLimits();
    void RestoredFromMaximised(Qt::WindowStates before, Qt::WindowStates now);

    uint32_t id_;
    int32_t kind_ = 0;
    bool createdMaximised_ = false;
    bool closingSilently_ = false;
    bool multipleWindows_ = true;
    int fixedWidth_ = 0;
    int fixedHeight_ = 0;
    QMetaObject::Connection stateWatch_;
};

} // namespace qv
