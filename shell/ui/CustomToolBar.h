// The bar that shows one stretch of a user toolbar: a QToolBar whose one widget paints its own
// buttons from the picture strips, tracks press and release, shows the buttons' tooltips and the
// toolbar's context menu, and sends a button's command to the frame.
#pragma once

#include <QToolBar>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

namespace qv {

class CUserToolbar;

constexpr uint8_t kButtonChecked = 0x02;
constexpr uint8_t kButtonEnabled = 0x04;
constexpr uint8_t kButtonSpacer = 0x01;

// One button of a bar: the command it sends, its state and kind; the code, portfolio and picture
// it shows.
struct BarButton {
    uint32_t command = 0;
    uint8_t state = 0;
    uint8_t kind = 0;
    uint16_t code = 0;
    uint16_t portfolio = 0;
    int image = 0;
    QString text;
};

class CToolbarButtons : public QWidget {
public:
    explicit CToolbarButtons(QWidget* parent = nullptr);

    // Shows entries first .. first + count - 1 of the toolbar (the toolbar numbered `toolbarIndex`
    // in the program's set).
    void SetButtons(const CUserToolbar& toolbar, size_t toolbarIndex, int first, int count);
    void SetOrientation(bool horizontal, bool floating);

    QSize CalcFixedLayout() const;
    QSize CalcDynamicLayout(int length) const;
    int FitCount(int length) const;
    QRect ButtonRect(int i) const;
    int HitTest(const QPoint& point, int slop = 0) const;

    // Asks the command routing for each button's state (the CToolbarCmdUI step); true when any
    // button changed.
    bool UpdateButtons();
    // The command-update steps on button i.
    bool Enable(int i, bool on);
    bool SetCheck(int i, bool check);
    bool SetRadio(int i, bool on);
    void SetText(int i, const QString& text);

    const std::vector<BarButton>& buttons() const { return buttons_; }
    size_t toolbarIndex() const { return toolbarIndex_; }
    int firstButton() const { return first_; }
    uint8_t buttonSize() const { return size_; }
    int pressed() const { return pressed_; }
    // The tooltip of the button at a point, empty over no button.
    QString TooltipAt(const QPoint& point) const;

    // Where a button's command goes (the frame's WM_COMMAND by default); the context menu asks
    // the toolbar host, which sets it.
    static void SetCommandSink(std::function<void(uint32_t)> sink);
    using ContextMenuHandler = std::function<void(CToolbarButtons& bar, int button, const QPoint& globalPos)>;
    static void SetContextMenuHandler(ContextMenuHandler handler);

    QSize sizeHint() const override { return CalcFixedLayout(); }
    // A floating bar wraps its buttons into rows as its window is resized.
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return floating_; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

private:
    int AlongLength() const;
    void DrawButton(QPainter& p, int i);

    std::vector<BarButton> buttons_;
    size_t toolbarIndex_ = 0;
    int first_ = 0;
    uint8_t size_ = 0;
    int w_ = 45;
    int h_ = 36;
    bool horizontal_ = true;
    bool floating_ = false;
    int pressed_ = -1;
    bool insidePressed_ = true;
};

// The command-update object of one button: the routing's answer for its command lands here.
class CToolbarCmdUI {
public:
    CToolbarCmdUI(CToolbarButtons& bar, int index) : bar_(bar), index_(index) {}
    bool Enable(bool on) { return bar_.Enable(index_, on); }
    bool SetCheck(bool check) { return bar_.SetCheck(index_, check); }
    bool SetRadio(bool on) { return bar_.SetRadio(index_, on); }
    void SetText(const QString& text) { bar_.SetText(index_, text); }

private:
    CToolbarButtons& bar_;
    int index_;
};

// A docked bar of a user toolbar: the QToolBar holding the painted buttons.
class CCustomToolBar : public QToolBar {
public:
    explicit CCustomToolBar(const QString& name, QWidget* parent = nullptr);
    CToolbarButtons* buttons() const { return buttons_; }

private:
    CToolbarButtons* buttons_;
};

} // namespace qv
