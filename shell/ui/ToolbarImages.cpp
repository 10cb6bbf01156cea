// Toolbar picture strips drawn in code.
#include "shell/ui/ToolbarImages.h"

#include "platform/EmailLibrary.h"
#include "platform/qt/QtText.h"
#include "shell/ToolbarTexts.h"
#include "shell/UserToolbars.h"
#include "core/ui/PenSelect.h"
#include "views/FrameState.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace qv {
namespace {

constexpr QRgb kMagenta = 0xFFFF00FF;
bool imagesStale = true;

// The code whose picture an image index is (the first code with that index).
std::array<uint16_t, kButtonImageCount> CodesOfImages()
{
    std::array<uint16_t, kButtonImageCount> codes;
    codes.fill(kEmailCode);
    for (int code = kButtonCodeCount - 1; code >= 0; --code)
        if (!KeyOnlyCode(uint16_t(code)))
            codes[size_t(ButtonImageIndex(uint16_t(code)))] = uint16_t(code);
    return codes;
}

uint16_t CodeOfImage(int index)
{
    static const auto codes = CodesOfImages();
    return index >= 0 && index < kButtonImageCount ? codes[size_t(index)] : kEmailCode;
}

// Up to three letters that name the command: the initials of its label's words.
QString Initials(uint16_t code, int most)
{
    // The numbered buttons carry their numbers.
    if (IsSettingCode(code))
        return QStringLiteral("S%1").arg(code - kFirstSettingCode + 1);
    if (IsPortfolioCode(code))
        return QStringLiteral("P%1").arg(code - kFirstPortfolioCode + 1);
    if (IsLayoutCode(code))
        return QStringLiteral("L%1").arg(code - kFirstLayoutCode + 1);
    QString label = FromCp1252(ButtonTooltip(code));
    QString letters;
    for (const QString& word : label.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QChar c = word.at(0);
        if (c.isLetterOrNumber())
            letters += c;
        if (letters.size() == most)
            break;
    }
    return letters.isEmpty() ? QString::number(code) : letters.toUpper();
}

void DrawShape(QPainter& p, int shape, const QRectF& r)
{
    QPointF c = r.center();
    switch (shape) {
    case 0: p.drawEllipse(r); break;
    case 1: p.drawRoundedRect(r, 2, 2); break;
    case 2: p.drawPolygon(QPolygonF({QPointF(c.x(), r.top()), r.bottomRight(), r.bottomLeft()})); break;
    case 3: p.drawPolygon(QPolygonF({QPointF(c.x(), r.top()), QPointF(r.right(), c.y()), QPointF(c.x(), r.bottom()),
                                     QPointF(r.left(), c.y())})); break;
    case 4: {
        qreal w = r.width() / 4;
        for (int i = 0; i < 3; ++i) {
            qreal h = r.height() * (i + 1) / 3;
            p.drawRect(QRectF(r.left() + i * (w + w / 2), r.bottom() - h, w, h));
        }
        break;
    }
    case 5: p.drawPolygon(QPolygonF({r.topLeft(), QPointF(r.right(), c.y()), r.bottomLeft(),
                                     QPointF(r.left() + r.width() / 3, c.y())})); break;
    case 6: {
        QPainterPath page;
        page.moveTo(r.topLeft());
        page.lineTo(r.right() - r.width() / 3, r.top());
        page.lineTo(r.right(), r.top() + r.height() / 3);
        page.lineTo(r.bottomRight());
        page.lineTo(r.bottomLeft());
        page.closeSubpath();
        p.drawPath(page);
        break;
    }
    default: {
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            qreal radius = (i % 2 ? 0.45 : 1.0) * r.width() / 2;
            qreal angle = -M_PI / 2 + i * M_PI / 5;
            star << QPointF(c.x() + radius * std::cos(angle), c.y() + radius * std::sin(angle));
        }
        p.drawPolygon(star);
        break;
    }
    }
}

// A coloured shape (eight shapes, hues stepped so no two indexes share both) with the command's
// initials where there is room; drawn on magenta, then magenta becomes the background.
void PaintPicture(QPainter& p, int index, const QRect& cell, bool withLetters)
{
    QColor colour = QColor::fromHsv((index * 37) % 360, 170, 200);
    int side = std::min(cell.width(), cell.height()) - 4;
    QRectF shape(cell.left() + (cell.width() - side) / 2.0, cell.top() + 2, side, side);
    if (withLetters && cell.width() > 30)
        shape = QRectF(cell.left() + 3, cell.top() + 2, side * 0.6, side * 0.6);
    p.setPen(QPen(colour.darker(160), 1));
    p.setBrush(colour);
    DrawShape(p, index % 8, shape);
    if (!withLetters)
        return;
    QFont font = p.font();
    font.setPixelSize(cell.height() > 30 ? 12 : 8);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(cell.adjusted(1, cell.height() / 3, -1, 0), Qt::AlignCenter, Initials(CodeOfImage(index), 3));
}

void PaintWideCell(QPainter& p, int index, const QRect& cell, const QString& label)
{
    PaintPicture(p, index, QRect(cell.left(), cell.top(), 18, cell.height()), false);
    QFont font = p.font();
    font.setPixelSize(10);
    font.setBold(false);
    font.setStyleStrategy(QFont::NoAntialias);
    p.setFont(font);
    p.setPen(Qt::black);
    QRect room = cell.adjusted(20, 0, -1, 0);
    p.drawText(room, Qt::AlignVCenter | Qt::AlignLeft, p.fontMetrics().elidedText(label, Qt::ElideRight, room.width()));
}

void MapMagenta(QImage& image, const QRect& area, QRgb background)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            if ((line[x] & 0xFFFFFF) == (kMagenta & 0xFFFFFF))
                line[x] = background | 0xFF000000;
    }
}

// Labels of the wide strip: text buttons name settings, portfolios and layouts.
QString WideLabel(const ToolbarSet& set, uint16_t code)
{
    uint32_t portfolio = IsPortfolioCode(code) ? set.portfolioTargets[code - kFirstPortfolioCode] : 0;
    return FromCp1252(WideButtonLabel(code, portfolio));
}

} // namespace

int ToolbarImages::StripWidth(uint8_t size)
{
    switch (size) {
    case kButtonsSmall: return 1000;
    case kButtonsWide: return 940;
    default: return 990;
    }
}

QRect ToolbarImages::Cell(uint8_t size, int index)
{
    ButtonPixels px = ButtonPixelSize(size);
    int w = StripWidth(size);
    return QRect((index * px.w) % w, (index * px.w) / w * px.h, px.w, px.h);
}

void ToolbarImages::Clear(uint8_t size, uint32_t background)
{
    if (size > 2)
        return;
    QRect last = Cell(size, kButtonImageCount - 1);
    strips_[size] = QImage(StripWidth(size), last.bottom() + 1, QImage::Format_RGB32);
    backgrounds_[size] = ColourFromWord(background).rgb();
    // The cells fill whole rows but the last: only the ground behind the last cell is not a cell's,
    // and it becomes what magenta is mapped to. A cell's memory is first touched when it is drawn
    // (only drawn cells are ever shown).
    QPainter p(&strips_[size]);
    p.fillRect(QRect(last.right() + 1, last.top(), strips_[size].width() - last.right() - 1, last.height()),
               QColor::fromRgb(backgrounds_[size] | 0xFF000000));
    p.end();
    drawn_[size].assign(kButtonImageCount, false);
}

void ToolbarImages::DrawCell(uint8_t size, int index, const ToolbarSet& set, bool newMail)
{
    if (size > 2 || index < 0 || index >= kButtonImageCount || strips_[size].isNull() || drawn_[size][size_t(index)])
        return;
    drawn_[size][size_t(index)] = true;
    QImage& strip = strips_[size];
    const QRect cell = Cell(size, index);
    // No antialiasing: an edge blended with the magenta ground would keep a purple fringe.
    QPainter p(&strip);
    p.fillRect(cell, QColor::fromRgb(kMagenta));
    if (size == kButtonsWide)
        PaintWideCell(p, index, cell, index == kNewMailImage ? QStringLiteral("New mail") : WideLabel(set, CodeOfImage(index)));
    else
        PaintPicture(p, index, cell, true);
    if (newMail && size != kButtonsWide && index == kNewMailImage) {
        // The new-mail picture: a yellow envelope over the e-mail cell's place.
        QRect envelope = cell.adjusted(3, 4, -3, -4);
        p.setBrush(QColor(250, 220, 60));
        p.setPen(Qt::black);
        p.drawRect(envelope);
        p.drawLine(envelope.topLeft(), envelope.center());
        p.drawLine(envelope.topRight(), envelope.center());
    }
    p.end();
    MapMagenta(strip, cell, backgrounds_[size]);
}

const QImage& ToolbarImages::Strip(uint8_t size) const { return strips_[size > 2 ? 0 : size]; }

namespace {

ToolbarImages& ProgramToolbarImages()
{
    static ToolbarImages images;
    return images;
}

std::array<bool, 3> stripsMarked{true, true, true};
bool newMailMarked = false;

} // namespace

void MarkToolbarImagesStale() { imagesStale = true; }

bool RefreshToolbarImages()
{
    // The wide Setting buttons name the settings of the active view's kind.
    static int32_t builtForKind = -1;
    const int32_t kind = MainFrameState().activeKind;
    if (!imagesStale && kind == builtForKind)
        return false;
    stripsMarked.fill(true);
    newMailMarked = LoadEmailLibrary().newMailWaiting;
    imagesStale = false;
    builtForKind = kind;
    return true;
}

const QImage& ProgramToolbarStrip(uint8_t size, int index)
{
    size = size > 2 ? 0 : size;
    ToolbarImages& images = ProgramToolbarImages();
    const ToolbarSet& set = ProgramToolbars();
    if (stripsMarked[size]) {
        images.Clear(size, set.background);
        stripsMarked[size] = false;
    }
    if (index >= 0) {
        images.DrawCell(size, index, set, newMailMarked);
    } else {
        for (int i = 0; i < kButtonImageCount; ++i)
            images.DrawCell(size, i, set, newMailMarked);
    }
    return images.Strip(size);
}

QImage DrawButtonPicture(int index, int w, int h, QRgb background)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kMagenta);
    QPainter p(&image);
    PaintPicture(p, index, image.rect(), true);
    p.end();
    MapMagenta(image, image.rect(), background);
    return image;
}

} // namespace qv
