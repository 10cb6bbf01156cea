// Style samples: drawing by mode, the pressed and selected looks, and the click that opens the
// Colour Selector.
#include "shell/ui/StyleButton.h"

#include "core/ui/PenSelect.h"
#include "platform/qt/QtText.h"
#include "shell/ui/ColourSelectorDlg.h"
#include "shell/ui/ModalDialog.h"

#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>

namespace qv {
namespace {

bool RunModal(CColourSelectorDlg& dialog) { return RunModalDialog(dialog) == QDialog::Accepted; }

ColourSelectorRun gRun = RunModal;

// Options 1 bits that pick the marker shape and the font sample's text.
constexpr uint32_t kShapeTriangleUp = 0x80;
constexpr uint32_t kShapeTriangleDown = 0x100;
constexpr uint32_t kShapeSquare = 0x1000;
constexpr uint32_t kShapeCross = 0x800;
constexpr uint32_t kNumberSample = 0x2;
constexpr uint32_t kSignedSample = 0x4;

// The hatch of hatched markers: an 18 x 18 tile of diagonal lines in the colour on the background.
QBrush HatchBrush(const QColor& colour, const QColor& background)
{
    QImage tile(18, 18, QImage::Format_RGB32);
    tile.fill(background);
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 18; ++x)
            if ((x + y) % 3 == 0)
                tile.setPixelColor(x, y, colour);
    return QBrush(tile);
}

} // namespace

ColourSelectorRun SetColourSelectorRun(ColourSelectorRun run)
{
    ColourSelectorRun previous = gRun;
    gRun = run ? run : RunModal;
    return previous;
}

CStyleSampleButton::CStyleSampleButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void CStyleSampleButton::clearForMode(SampleMode mode, bool doubleClickEnds)
{
    mode_ = mode;
    doubleClickEnds_ = doubleClickEnds;
    selected_ = false;
    dotSample_ = mode == SampleMode::Dot;
    applyToAll_ = false;
    update();
}

void CStyleSampleButton::CreateLineSample(int style, int thickness, int bandEdge, uint32_t colour, uint32_t background,
                                          bool doubleClickEnds)
{
    line_ = LineStyleBits{style, thickness, bandEdge};
    colour_ = colour;
    if (IsPlainColour(background))
        background_ = background;
    clearForMode(SampleMode::Line, doubleClickEnds);
}

void CStyleSampleButton::CreateFromPackedStyle(uint32_t word, uint32_t background, bool doubleClickEnds)
{
    CreateLineSample(0, 1, 1, word & 0xFFFFFF, background, doubleClickEnds);
    line_ = ReadLineBits(word);
}

void CStyleSampleButton::CreateLineOrDotSample(int a, int b, int bandEdge, bool doubleClickEnds, bool dot)
{
    if (dot) {
        dot_ = DotStyleBits{a, b};
        clearForMode(SampleMode::Dot, doubleClickEnds);
    } else {
        line_ = LineStyleBits{a, b, bandEdge};
        clearForMode(SampleMode::Line, doubleClickEnds);
    }
    line_.bandEdge = bandEdge;
}

void CStyleSampleButton::CreateDotSample(uint32_t word, uint32_t background, bool doubleClickEnds)
{
    CreateDotSampleEx(ReadDotBits(word).style, ReadDotBits(word).size, word & 0xFFFFFF, background, doubleClickEnds);
}

void CStyleSampleButton::CreateDotSampleEx(int dotStyle, int dotSize, uint32_t colour, uint32_t background, bool doubleClickEnds)
{
    dot_ = DotStyleBits{dotStyle, dotSize};
    colour_ = colour;
    if (IsPlainColour(background))
        background_ = background;
    clearForMode(SampleMode::Dot, doubleClickEnds);
}

void CStyleSampleButton::CreateFontSample(const QString& face, uint32_t flags, int size, uint32_t colour, uint32_t background,
                                          bool doubleClickEnds)
{
    face_ = face;
    fontFlags_ = flags;
    fontSize_ = size;
    colour_ = colour;
    if (IsPlainColour(background))
        background_ = background;
    clearForMode(SampleMode::Font, doubleClickEnds);
}

void CStyleSampleButton::CreateColourBox(uint32_t colour, bool doubleClickEnds)
{
    colour_ = colour;
    clearForMode(SampleMode::ColourBox, doubleClickEnds);
}

void CStyleSampleButton::SetLineColour(uint32_t colour)
{
    colour_ = colour;
    update();
}

void CStyleSampleButton::SetBackColour(uint32_t colour)
{
    if (!IsPlainColour(colour))
        return;
    background_ = colour;
    update();
}

void CStyleSampleButton::SetMode(SampleMode mode)
{
    if (mode == mode_)
        return;
    mode_ = mode;
    update();
}

void CStyleSampleButton::SetDotMode(bool dot)
{
    dotSample_ = dot;
    mode_ = dot ? SampleMode::Dot : SampleMode::Line;
    update();
}

void CStyleSampleButton::SetSelected(bool selected)
{
    if (selected == selected_)
        return;
    selected_ = selected;
    update();
}

void CStyleSampleButton::SetPackedStyle(uint32_t word)
{
    line_ = ReadLineBits(word);
    update();
}

void CStyleSampleButton::SetDotStyle(uint32_t word)
{
    dot_ = ReadDotBits(word);
    update();
}

void CStyleSampleButton::SetFont(const QString& face, uint32_t flags, int size)
{
    face_ = face;
    fontFlags_ = flags;
    fontSize_ = size;
    update();
}

void CStyleSampleButton::SetColour(uint32_t colour, uint32_t background)
{
    colour_ = colour;
    if (IsPlainColour(background))
        background_ = background;
    update();
}

void CStyleSampleButton::SetColourAndStyle(uint32_t word, uint32_t background)
{
    SetColour(word & 0xFFFFFF, background);
    line_ = ReadLineBits(word);
}

void CStyleSampleButton::SetColourAndDot(uint32_t word, uint32_t background)
{
    SetColour(word & 0xFFFFFF, background);
    dot_ = ReadDotBits(word);
}

void CStyleSampleButton::SetSelectorOptions(uint32_t options1, uint32_t options2)
{
    options1_ = options1;
    options2_ = options2;
    update();
}

uint32_t CStyleSampleButton::GetColour(int n) const
{
    if (n == 0)
        return colour_;
    if (n == 1)
        return background_;
    return 0;
}

void CStyleSampleButton::GetFont(QString& face, uint32_t& flags, int& size) const
{
    face = face_;
    flags = fontFlags_;
    size = fontSize_;
}

void CStyleSampleButton::drawLine(QPainter& painter, QRect r, const QColor& colour) const
{
    int thickness = DrawnThickness(line_.thickness);
    int bandEdge = line_.bandEdge < 1 ? 1 : line_.bandEdge;
    int left = r.left() + 5, right = r.right() - 5;
    int bottom = r.bottom() - r.top();
    int y0 = r.top() + (bottom - thickness + bandEdge) / 2;
    auto geometric = [&](const QColor& c, int width) {
        QPen pen(c, width);
        pen.setCapStyle(Qt::FlatCap);
        return pen;
    };
    if (line_.style == 0) {
        painter.setPen(geometric(colour, thickness));
        painter.drawLine(left, r.top() + bottom / 2, right, r.top() + bottom / 2);
        return;
    }
    if (line_.style == 5) {
        int inner = std::max(0, thickness - 2 * bandEdge);
        if (inner > 0) {
            painter.setPen(geometric(ColourFromWord(BandTint(WordFromColour(colour))), inner));
            painter.drawLine(left, y0 + thickness / 2, right, y0 + thickness / 2);
        }
        painter.setPen(geometric(colour, bandEdge));
        int y1 = y0 + (1 - bandEdge % 2);
        painter.drawLine(left, y1, right, y1);
        painter.drawLine(left, y1 + thickness - bandEdge, right, y1 + thickness - bandEdge);
        return;
    }
    static const Qt::PenStyle kStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine};
    painter.setPen(QPen(colour, 1, kStyles[std::clamp(line_.style, 0, 4)]));
    for (int i = 0; i < thickness; ++i)
        painter.drawLine(left, y0 + i, right, y0 + i);
}

void CStyleSampleButton::drawDot(QPainter& painter, QRect r, const QColor& colour, const QColor& background) const
{
    int d = 2 * DrawnDotSize(dot_.size) + 2;
    QRect box(r.center().x() - d / 2, r.center().y() - d / 2, d, d);
    if (dot_.style == 0)
        painter.setBrush(colour);
    else if (dot_.style == 2)
        painter.setBrush(HatchBrush(colour, background));
    else
        painter.setBrush(Qt::NoBrush);
    bool thick = (options1_ & kShapeCross) && dot_.style == 0;
    painter.setPen(QPen(colour, thick ? 3 : 1));
    if (options1_ & kShapeTriangleUp) {
        QPolygon triangle({QPoint(box.center().x(), box.top()), box.bottomRight(), box.bottomLeft()});
        painter.drawPolygon(triangle);
    } else if (options1_ & kShapeTriangleDown) {
        QPolygon triangle({box.topLeft(), box.topRight(), QPoint(box.center().x(), box.bottom())});
        painter.drawPolygon(triangle);
    } else if (options1_ & kShapeSquare) {
        painter.drawRect(box);
    } else if (options1_ & kShapeCross) {
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomLeft());
    } else {
        painter.drawEllipse(box);
    }
}

void CStyleSampleButton::drawFont(QPainter& painter, QRect r, const QColor& colour) const
{
    QFont font(face_);
    font.setPointSize(face_ == QLatin1String("Small Fonts") ? 7 : 9);
    font.setBold(fontFlags_ & 1);
    font.setItalic(fontFlags_ & 2);
    font.setUnderline(fontFlags_ & 4);
    painter.setFont(font);
    painter.setPen(IsPlainColour(background_) ? colour : palette().button().color());
    QString text = !(options1_ & kNumberSample) ? QStringLiteral("Abc")
                 : !(options1_ & kSignedSample) ? QStringLiteral("12")
                                                : QStringLiteral("-12");
    painter.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, text);
}

void CStyleSampleButton::DrawSample(QPainter& painter, QRect rect) const
{
    bool enabled = isEnabled();
    QColor background = enabled && IsPlainColour(background_) ? ColourFromWord(background_) : palette().button().color();
    QColor foreground = !enabled ? palette().color(QPalette::Disabled, QPalette::Text)
                      : IsPlainColour(colour_) ? ColourFromWord(colour_)
                                               : palette().buttonText().color();
    painter.fillRect(rect, background);
    QColor light = palette().light().color(), dark = palette().dark().color();
    painter.setPen(selected_ ? dark : light);
    painter.drawLine(rect.topLeft(), rect.topRight());
    painter.drawLine(rect.topLeft(), rect.bottomLeft());
    painter.setPen(selected_ ? light : dark);
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    painter.drawLine(rect.topRight(), rect.bottomRight());
    QRect inside = rect.adjusted(2, 2, -2, -2);
    if (!enabled)
        return;
    painter.save();
    switch (mode_) {
    case SampleMode::Line: drawLine(painter, inside, foreground); break;
    case SampleMode::Dot: drawDot(painter, inside, foreground, background); break;
    case SampleMode::Font: drawFont(painter, inside, foreground); break;
    case SampleMode::ColourBox:
        painter.fillRect(QRect(QPoint(rect.left() + 2, rect.top() + 2), QPoint(rect.right() - 1, rect.bottom() - 1)),
                         IsPlainColour(colour_) ? ColourFromWord(colour_) : palette().button().color());
        break;
    }
    painter.restore();
}

void CStyleSampleButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawSample(painter, rect());
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void CStyleSampleButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        SetSelected(true);
    }
    QAbstractButton::mousePressEvent(event);
}

void CStyleSampleButton::mouseReleaseEvent(QMouseEvent* event)
{
    bool wasPressed = pressed_;
    QAbstractButton::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = false;
    if (!doubleClickEnds_)
        SetSelected(false);
    if (wasPressed && !doubleClickEnds_)
        onClicked();
}

void CStyleSampleButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (doubleClickEnds_) {
        if (auto* dialog = qobject_cast<QDialog*>(window()))
            dialog->accept();
        return;
    }
    QAbstractButton::mouseDoubleClickEvent(event);
}

CStyleButton::CStyleButton(QWidget* parent) : CStyleSampleButton(parent) { options2_ = 1; }

void CStyleButton::onClicked()
{
    if (!(options2_ & 1))
        return;
    CColourSelectorDlg selector(nullptr, int(mode_), options1_, options2_, QString());
    bool offer = (options1_ & 0x10) != 0;
    if (mode_ == SampleMode::Dot)
        selector.SetDotStyle(dot_.style, dot_.size, offer);
    else if (mode_ == SampleMode::Line)
        selector.SetLineStyle(line_.style, line_.thickness, line_.bandEdge, offer);
    else if (mode_ == SampleMode::Font)
        selector.SetFont(face_, fontFlags_, fontSize_);
    selector.SetColour(colour_, background_);
    if (!gRun(selector))
        return;
    if (mode_ == SampleMode::Dot) {
        selector.GetDotStyle(dot_.style, dot_.size, applyToAll_);
    } else if (mode_ == SampleMode::Line) {
        selector.GetLineStyle(line_.style, line_.thickness, line_.bandEdge, applyToAll_);
    } else if (mode_ == SampleMode::Font) {
        selector.GetFont(face_, fontFlags_, fontSize_);
    }
    colour_ = selector.GetColour(0);
    background_ = selector.GetColour(1);
    update();
    emit styleChosen();
}

} // namespace qv
