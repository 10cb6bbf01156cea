// User toolbar bars painting their own buttons.
#include "shell/ui/CustomToolBar.h"

#include "core/ui/PenSelect.h"
#include "platform/EmailLibrary.h"
#include "platform/MessageDispatch.h"
#include "platform/qt/QtText.h"
#include "resources/MessageIds.h"
#include "shell/ToolbarTexts.h"
#include "shell/UserToolbars.h"
#include "shell/ui/DrawHelpers.h"
#include "shell/ui/ToolbarImages.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <climits>

namespace qv {
namespace {

constexpr int kMargin = BarGeometry::kMargin;
constexpr int kRowGap = 12;
constexpr int kFirstRow = 6;

std::function<void(uint32_t)>& CommandSink()
{
    static std::function<void(uint32_t)> sink = [](uint32_t command) {
        if (MessageTarget* frame = MainFrameTarget())
            SendProgramMessage(*frame, WM_COMMAND, command);
    };
    return sink;
}

CToolbarButtons::ContextMenuHandler& MenuHandler()
{
    static CToolbarButtons::ContextMenuHandler handler;
    return handler;
}

// The picture drawn embossed: white offset by one pixel, then 0x808080, where it is not background.
void DrawEmbossed(QPainter& p, const QImage& picture, const QPoint& at, QRgb background)
{
    QImage mask(picture.size(), QImage::Format_ARGB32);
    mask.fill(Qt::transparent);
    QImage white = mask;
    QImage grey = mask;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((picture.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF)) {
                white.setPixel(x, y, 0xFFFFFFFF);
                grey.setPixel(x, y, 0xFF808080);
            }
    p.drawImage(at + QPoint(1, 1), white);
    p.drawImage(at, grey);
}

} // namespace

CToolbarButtons::CToolbarButtons(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CToolbarButtons::SetCommandSink(std::function<void(uint32_t)> sink) { CommandSink() = std::move(sink); }
void CToolbarButtons::SetContextMenuHandler(ContextMenuHandler handler) { MenuHandler() = std::move(handler); }

void CToolbarButtons::SetButtons(const CUserToolbar& toolbar, size_t toolbarIndex, int first, int count)
{
    toolbarIndex_ = toolbarIndex;
    first_ = first;
    size_ = toolbar.size > kButtonsWide ? uint8_t(kButtonsLarge) : toolbar.size;
    ButtonPixels px = ButtonPixelSize(size_);
    w_ = px.w;
    h_ = px.h;
    buttons_.clear();
    std::vector<uint16_t> codes = toolbar.Codes();
    int last = std::min<int>(int(codes.size()), first + count);
    for (int i = first; i < last; ++i) {
        BarButton b;
        b.code = codes[size_t(i)];
        b.portfolio = toolbar.entries[size_t(i)].portfolio;
        if (b.code == kSpacerCode) {
            b.kind = kButtonSpacer;
        } else {
            b.command = ButtonCommand(b.code);
            b.state = kButtonEnabled;
            b.image = ButtonImageIndex(b.code, LoadEmailLibrary().newMailWaiting);
        }
        buttons_.push_back(b);
    }
    pressed_ = -1;
    updateGeometry();
    update();
}

void CToolbarButtons::SetOrientation(bool horizontal, bool floating)
{
    horizontal_ = horizontal;
    floating_ = floating;
    updateGeometry();
    update();
}

QSize CToolbarButtons::CalcFixedLayout() const
{
    std::vector<uint16_t> codes;
    for (const BarButton& b : buttons_)
        codes.push_back(b.code);
    ButtonPixels fixed = qv::CalcFixedLayout(BarGeometry{{w_, h_}, horizontal_, floating_}, codes);
    return horizontal_ ? QSize(fixed.w, fixed.h) : QSize(fixed.h, fixed.w);
}

QSize CToolbarButtons::CalcDynamicLayout(int length) const
{
    std::vector<uint16_t> codes;
    for (const BarButton& b : buttons_)
        codes.push_back(b.code);
    ButtonPixels wrapped = qv::CalcDynamicLayout(BarGeometry{{w_, h_}, true, floating_}, codes, length);
    return QSize(wrapped.w, wrapped.h);
}

QSize CToolbarButtons::minimumSizeHint() const
{
    if (!floating_)
        return CalcFixedLayout();
    int narrowest = 2 * kMargin + std::max(w_, 10) + 7;
    return QSize(narrowest, heightForWidth(narrowest));
}

int CToolbarButtons::heightForWidth(int width) const { return kFirstRow + CalcDynamicLayout(width).height(); }

int CToolbarButtons::FitCount(int length) const
{
    std::vector<uint16_t> codes;
    for (const BarButton& b : buttons_)
        codes.push_back(b.code);
    return qv::FitCount(BarGeometry{{w_, h_}, horizontal_, floating_}, codes, length);
}

int CToolbarButtons::AlongLength() const { return horizontal_ ? width() : height(); }

QRect CToolbarButtons::ButtonRect(int i) const
{
    BarGeometry g{{w_, h_}, horizontal_, floating_};
    int rowPitch = g.PitchAcross() + (floating_ ? 0 : kRowGap);
    int along = kMargin;
    int row = 0;
    // Before the bar has its size the buttons stay in one line.
    int limit = AlongLength() > 2 * kMargin ? AlongLength() : INT_MAX / 2;
    for (int k = 0; k <= i && k < int(buttons_.size()); ++k) {
        int step = buttons_[size_t(k)].kind & kButtonSpacer ? g.SpacerLength() : g.PitchAlong();
        if (along + step + kMargin > limit && along > kMargin) {
            along = kMargin;
            ++row;
        }
        if (k == i) {
            int cross = kFirstRow + row * rowPitch;
            int lengthAlong = step - 1;
            int lengthAcross = g.PitchAcross() - 1;
            return horizontal_ ? QRect(along, cross, lengthAlong, lengthAcross) : QRect(cross, along, lengthAcross, lengthAlong);
        }
        along += step;
    }
    return {};
}

int CToolbarButtons::HitTest(const QPoint& point, int slop) const
{
    for (int i = 0; i < int(buttons_.size()); ++i) {
        if (buttons_[size_t(i)].kind & kButtonSpacer)
            continue;
        if (ButtonRect(i).adjusted(-slop, -slop, slop, slop).contains(point))
            return i;
    }
    return -1;
}

bool CToolbarButtons::Enable(int i, bool on)
{
    BarButton& b = buttons_[size_t(i)];
    uint8_t state = uint8_t(on ? b.state | kButtonEnabled : b.state & ~kButtonEnabled);
    if (state == b.state)
        return false;
    b.state = state;
    return true;
}

bool CToolbarButtons::SetCheck(int i, bool check)
{
    // A button held down stays drawn checked.
    if (!check && i == pressed_ && insidePressed_)
        return false;
    return SetRadio(i, check);
}

bool CToolbarButtons::SetRadio(int i, bool on)
{
    BarButton& b = buttons_[size_t(i)];
    bool checked = b.state & kButtonChecked;
    if (checked == on)
        return false;
    b.state = uint8_t(on ? b.state | kButtonChecked : b.state & ~kButtonChecked);
    return true;
}

void CToolbarButtons::SetText(int i, const QString& text)
{
    QString doubled = text;
    doubled.replace(QStringLiteral("&"), QStringLiteral("&&"));
    BarButton& b = buttons_[size_t(i)];
    if (b.text == doubled)
        return;
    b.text = doubled;
    if (size_ == kButtonsWide && (IsSettingCode(b.code) || IsLayoutCode(b.code)))
        MarkToolbarImagesStale();
    update();
}

bool CToolbarButtons::UpdateButtons()
{
    bool changed = false;
    for (int i = 0; i < int(buttons_.size()); ++i) {
        BarButton& b = buttons_[size_t(i)];
        if (b.kind & kButtonSpacer)
            continue;
        CommandUi ui = QueryCommandUi(b.command);
        CToolbarCmdUI cmdUi(*this, i);
        changed |= cmdUi.Enable(ui.enabled);
        changed |= cmdUi.SetCheck(ui.checked.value_or(false));
    }
    if (changed)
        update();
    return changed;
}

void CToolbarButtons::DrawButton(QPainter& p, int i)
{
    const BarButton& b = buttons_[size_t(i)];
    QRect r = ButtonRect(i);
    bool down = (b.state & kButtonChecked) || (i == pressed_ && insidePressed_);
    if (down)
        DrawSunkenFrame(p, r.left(), r.top(), r.right(), r.bottom());
    else
        Draw3DFrame(p, r.left(), r.top(), r.right(), r.bottom(), true);
    const QImage& strip = ProgramToolbarStrip(size_, b.image);
    QRect cell = ToolbarImages::Cell(size_, b.image);
    QPoint at(r.left() + (r.width() - cell.width()) / 2, r.top() + (r.height() - cell.height()) / 2);
    if (down)
        at += QPoint(1, 1);
    if (b.state & kButtonEnabled)
        p.drawImage(at, strip, cell);
    else
        DrawEmbossed(p, strip.copy(cell), at, ColourFromWord(ProgramToolbars().background).rgb());
}

void CToolbarButtons::paintEvent(QPaintEvent*)
{
    RefreshToolbarImages();
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    if (!floating_) {
        QRect r = rect().adjusted(0, 0, -1, -1);
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(Qt::white);
        p.drawRect(r.adjusted(1, 1, 0, 0));
    }
    for (int i = 0; i < int(buttons_.size()); ++i)
        if (!(buttons_[size_t(i)].kind & kButtonSpacer))
            DrawButton(p, i);
}

void CToolbarButtons::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    int i = HitTest(event->position().toPoint());
    if (i < 0 || !(buttons_[size_t(i)].state & kButtonEnabled)) {
        event->ignore(); // the bar itself is dragged
        return;
    }
    pressed_ = i;
    insidePressed_ = true;
    repaint();
}

void CToolbarButtons::mouseMoveEvent(QMouseEvent* event)
{
    if (pressed_ < 0 || !(event->buttons() & Qt::LeftButton)) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    bool inside = HitTest(event->position().toPoint()) == pressed_;
    if (inside != insidePressed_) {
        insidePressed_ = inside;
        repaint();
    }
}

void CToolbarButtons::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || pressed_ < 0) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    int i = pressed_;
    pressed_ = -1;
    repaint();
    if (HitTest(event->position().toPoint()) != i || !(buttons_[size_t(i)].state & kButtonEnabled))
        return;
    uint32_t command = buttons_[size_t(i)].command;
    if (CommandSink())
        CommandSink()(command);
    UpdateButtons();
}

void CToolbarButtons::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (HitTest(event->position().toPoint()) >= 0)
        return;
    QWidget::mouseDoubleClickEvent(event);
}

void CToolbarButtons::contextMenuEvent(QContextMenuEvent* event)
{
    if (MenuHandler())
        MenuHandler()(*this, HitTest(event->pos()), event->globalPos());
}

QString CToolbarButtons::TooltipAt(const QPoint& point) const
{
    int i = HitTest(point);
    if (i < 0)
        return {};
    const BarButton& b = buttons_[size_t(i)];
    uint32_t portfolio = IsPortfolioCode(b.code) ? b.portfolio : 0;
    return FromCp1252(ButtonTooltipText(b.code, portfolio));
}

bool CToolbarButtons::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        QString text = TooltipAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

CCustomToolBar::CCustomToolBar(const QString& name, QWidget* parent) : QToolBar(name, parent), buttons_(new CToolbarButtons(this))
{
    setObjectName(name);
    setWindowTitle(name);
    setFloatable(false);
    setContentsMargins(0, 0, 0, 0);
    addWidget(buttons_);
}

} // namespace qv
