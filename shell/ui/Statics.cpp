// Arrow, flicker-free and hyperlink labels.
#include "shell/ui/Statics.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QUrl>

namespace qv {
namespace {

Qt::Alignment AlignmentOf(uint32_t flags)
{
    Qt::Alignment a = flags & DT_CENTER ? Qt::AlignHCenter : flags & DT_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
    return a | (flags & DT_VCENTER ? Qt::AlignVCenter : Qt::AlignTop);
}

} // namespace

CArrowStatic::CArrowStatic(QWidget* parent) : QWidget(parent) {}

void CArrowStatic::setShow(bool show)
{
    show_ = show;
    update();
}

void CArrowStatic::paintEvent(QPaintEvent*)
{
    if (!show_)
        return;
    int w = width(), h = height();
    const QPoint points[3] = {{w / 4, 3 * h / 4 - 2}, {w / 2, h / 4 + 1}, {3 * w / 4, 3 * h / 4 - 2}};
    QPainter p(this);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(points, 3);
}

CBitmapStatic::CBitmapStatic(QWidget* parent, uint32_t style)
    : QWidget(parent), textColour_(palette().color(QPalette::WindowText)),
      backColour_(palette().color(QPalette::Button)), style_(style)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CBitmapStatic::setText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    repaintNow();
}

void CBitmapStatic::SetTextColour(const QColor& colour)
{
    if (colour == textColour_)
        return;
    textColour_ = colour;
    repaintNow();
}

void CBitmapStatic::SetBackColour(const QColor& colour)
{
    if (colour == backColour_)
        return;
    backColour_ = colour;
    repaintNow();
}

void CBitmapStatic::SetValue(const QFont& font, bool now)
{
    setFont(font);
    if (now)
        repaintNow();
}

void CBitmapStatic::repaintNow()
{
    if (isVisible())
        repaint();
    else
        ++paints_; // counted as painted: a hidden label paints when it is shown
}

void CBitmapStatic::paintEvent(QPaintEvent*)
{
    ++paints_;
    // Drawn off screen first and copied in one go.
    QPixmap bitmap(size());
    bitmap.fill(backColour_);
    {
        QPainter p(&bitmap);
        p.setFont(font());
        p.setPen(textColour_);
        uint32_t flags = StaticTextFlags(style_);
        int qtFlags = int(AlignmentOf(flags));
        if (flags & DT_WORDBREAK)
            qtFlags |= Qt::TextWordWrap;
        QString shown = text_;
        if (!(flags & DT_NOPREFIX))
            shown.remove(QLatin1Char('&'));
        if (flags & DT_WORD_ELLIPSIS) {
            Qt::TextElideMode mode = flags & DT_PATH_ELLIPSIS ? Qt::ElideMiddle : Qt::ElideRight;
            shown = p.fontMetrics().elidedText(shown, mode, width());
        }
        p.drawText(rect(), qtFlags, shown);
    }
    QPainter(this).drawPixmap(0, 0, bitmap);
}

CLinkStatic::CLinkStatic(const QString& text, const QString& target, const QString& tip, QWidget* parent)
    : QLabel(text, parent), target_(target.isEmpty() ? text : target)
{
    setToolTip(tip.isEmpty() ? QStringLiteral("Open ") + target_ : tip);
    setCursor(Qt::PointingHandCursor);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
    setPalette(pal);
}

void CLinkStatic::setCommand(int commandId) { command_ = commandId; }

void CLinkStatic::click()
{
    if (command_) {
        emit commandPosted(command_);
        return;
    }
    emit openRequested(target_);
    QDesktopServices::openUrl(QUrl::fromUserInput(target_));
    setUnderlined(false);
}

void CLinkStatic::setUnderlined(bool on)
{
    QFont f = font();
    f.setUnderline(on);
    setFont(f);
}

void CLinkStatic::enterEvent(QEnterEvent*) { setUnderlined(true); }
void CLinkStatic::leaveEvent(QEvent*) { setUnderlined(false); }

void CLinkStatic::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        click();
}

} // namespace qv
