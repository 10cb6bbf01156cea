// The list cell tip window.
#include "shell/ui/PopupListTip.h"

#include "platform/qt/QtText.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

namespace qv {
namespace {

constexpr int kTipTimer = 8;
constexpr int kPictureSize = 16;

// The recommendation pictures: buying words green, holding words amber, selling words red.
QColor PictureColour(int bitmap)
{
    switch (bitmap) {
    case 875:
    case 858:
    case 863:
    case 867:
    case 869: return QColor(0, 150, 0);
    case 871:
    case 873:
    case 877: return QColor(220, 150, 0);
    default: return QColor(200, 0, 0);
    }
}

QSize BodySize(const QFont& font, const QString& text)
{
    if (text.isEmpty())
        return {};
    return QFontMetrics(font).boundingRect(QRect(0, 0, 4000, 4000), Qt::TextExpandTabs, text).size();
}

} // namespace

CPopupListTip::CPopupListTip()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus
              | Qt::WindowTransparentForInput)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    bodyFont_ = QApplication::font("QStatusBar");
    subtitleFont_ = bodyFont_;
    subtitleFont_.setWeight(QFont::Black);
    timer_.setSingleShot(true);
    timer_.setObjectName(QString::number(kTipTimer));
    connect(&timer_, &QTimer::timeout, this, [this] { ShowNow(); });
}

bool CPopupListTip::Create(int x, int y, QWidget* parent)
{
    if (parent)
        setParent(parent, windowFlags());
    setGeometry(x, y, 0, 0);
    hide();
    return true;
}

void CPopupListTip::SetCell(int left, int top, const ListTipView* view, int row, const TipColumn& column,
                            int cellWidth, const QFont& cellFont)
{
    left_ = left - 1;
    top_ = top;
    view_ = view;
    row_ = row;
    column_ = column;
    cellWidth_ = cellWidth;
    cellFont_ = cellFont;
}

void CPopupListTip::SetViewColours(const QColor& background, const QColor& text, const QColor& grid)
{
    background_ = background;
    text_ = text;
    grid_ = grid;
}

void CPopupListTip::ShowAfter(int milliseconds)
{
    if (milliseconds == 0) {
        ShowNow();
        return;
    }
    timer_.start(milliseconds);
}

void CPopupListTip::Hide()
{
    timer_.stop();
    hide();
}

TipMeasures CPopupListTip::measure() const
{
    TipMeasures m;
    QSize title = BodySize(cellFont_, FromCp1252(content_.title));
    QSize subtitle = BodySize(subtitleFont_, FromCp1252(content_.subtitle));
    QSize body = BodySize(bodyFont_, FromCp1252(content_.body));
    if (content_.bitmap)
        body = QSize(body.width() + kPictureSize + 4, std::max(body.height(), kPictureSize));
    m.titleWidth = title.width();
    m.titleHeight = title.height();
    m.subtitleWidth = subtitle.width();
    m.subtitleHeight = subtitle.height();
    m.bodyWidth = body.width();
    m.bodyHeight = body.height();
    return m;
}

bool CPopupListTip::ShowNow()
{
    timer_.stop();
    content_ = view_ ? ComposeListTip(*view_, state_, row_, column_, cellWidth_) : TipContent{};
    if (!content_.shown()) {
        hide();
        return false;
    }
    QPoint cursor = parentWidget() ? parentWidget()->mapFromGlobal(QCursor::pos()) : QCursor::pos();
    TipRect rect = PlaceListTip(measure(), !content_.title.empty(), !content_.body.empty(), left_, top_, cursor.x(),
                                cursor.y(), rightLimit_);
    QPoint at(rect.left, rect.top);
    if (parentWidget())
        at = parentWidget()->mapToGlobal(at);
    setGeometry(at.x(), at.y(), rect.width, rect.height);
    show();
    repaint();
    return true;
}

void CPopupListTip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TipMeasures m = measure();
    int y = kTipMargin;
    QPalette palette = QApplication::palette();
    if (!content_.title.empty()) {
        QRect title(0, 0, width(), m.titleHeight + kTipMargin * (content_.body.empty() ? 2 : 1));
        painter.fillRect(title, background_.isValid() ? background_ : palette.base().color());
        painter.setFont(cellFont_);
        painter.setPen(text_.isValid() ? text_ : palette.text().color());
        painter.drawText(QRect(kTipMargin, y, width(), m.titleHeight), Qt::AlignLeft, FromCp1252(content_.title));
        y += m.titleHeight;
        if (!content_.body.empty()) {
            y += kTipMargin;
            painter.setPen(grid_.isValid() ? grid_ : palette.mid().color());
            painter.drawLine(0, y, width(), y);
            y += kTipMargin;
        }
    }
    painter.fillRect(QRect(0, y, width(), height() - y), palette.toolTipBase());
    painter.setPen(palette.toolTipText().color());
    if (!content_.subtitle.empty()) {
        painter.setFont(subtitleFont_);
        painter.drawText(QRect(kTipMargin, y, width(), m.subtitleHeight), Qt::AlignLeft, FromCp1252(content_.subtitle));
        y += m.subtitleHeight;
    }
    int bodyLeft = kTipMargin;
    if (content_.bitmap) {
        painter.setBrush(PictureColour(content_.bitmap));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QRect(kTipMargin, y, kPictureSize, kPictureSize));
        painter.setPen(palette.toolTipText().color());
        bodyLeft += kPictureSize + 4;
    }
    painter.setFont(bodyFont_);
    painter.drawText(QRect(bodyLeft, y, width(), height() - y), Qt::AlignLeft | Qt::TextExpandTabs,
                     FromCp1252(content_.body));
    painter.setPen(palette.dark().color());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace qv
