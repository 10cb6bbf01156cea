// The story window: painting, runs with found words, and scrolling.
#include "news/ui/NewsStoryWindow.h"

#include "news/NewsLock.h"
#include "platform/qt/QtText.h"

#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace qv {
namespace {

const QColor kDateColour(255, 0, 0), kTitleColour(0, 0, 128), kBodyColour(0, 0, 0), kCreditColour(0, 128, 0);
const QColor kFoundColour(255, 0, 0), kCurrentText(255, 255, 255), kCurrentBack(255, 128, 64);
const QColor kSelectedBack(204, 232, 255);

// The text area and the painted rectangle within the frame.
constexpr int kTextLeft = 5, kTextTop = 6, kTextRight = 5, kTextBottom = 4, kPaintInset = 2;

QFont StoryFont(int pixels, bool bold, bool italic)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

} // namespace

QFont NewsStoryLabelFont() { return StoryFont(12, true, false); }

CNewsStoryWindow::CNewsStoryWindow(QWidget* parent)
    : QWidget(parent), titleFont_(StoryFont(13, true, false)), dateFont_(StoryFont(10, false, true)),
      labelFont_(NewsStoryLabelFont()), bodyFont_(StoryFont(12, false, false))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    const QFontMetrics metrics(labelFont_);
    for (int c = 0; c < 128; ++c)
        widths_[size_t(c)] = uint8_t(std::clamp(metrics.horizontalAdvance(QChar(c)), 0, 255));
    bar_ = new QScrollBar(Qt::Vertical, parent);
    bar_->hide();
    connect(bar_, &QScrollBar::actionTriggered, this, &CNewsStoryWindow::BarAction);
}

void CNewsStoryWindow::SetFrame(const QRect& frame)
{
    const int barWidth = bar_->sizeHint().width();
    setGeometry(frame);
    bar_->setGeometry(frame.right() + 1, frame.top(), barWidth, frame.height());
}

QRect CNewsStoryWindow::textArea() const
{
    return geometry().adjusted(kTextLeft, kTextTop, -kTextRight, -kTextBottom);
}

int CNewsStoryWindow::tabGrid() const { return QFontMetrics(bodyFont_).horizontalAdvance(QLatin1Char('M')); }
int CNewsStoryWindow::lineHeight() const { return std::max(1, QFontMetrics(bodyFont_).height()); }

void CNewsStoryWindow::SetStory(std::string text, std::string dateLine, const std::vector<NewsFoundWord>* found)
{
    text_ = std::move(text);
    dateLine_ = std::move(dateLine);
    hasFound_ = found != nullptr;
    found_ = found ? *found : std::vector<NewsFoundWord>();
    boundaries_.clear();
    for (const NewsFoundWord& word : found_) {
        boundaries_.push_back(word.start);
        boundaries_.push_back(word.end);
    }
    current_ = -1;
    selected_ = false;
    LayOut();
    update();
}

void CNewsStoryWindow::LayOut()
{
    lines_ = LayOutNewsStory(text_, widths_, textArea().width());
    scroll_.Reset(int32_t(lines_.size()), textArea().height() / lineHeight());
    SetBarRange();
    bar_->setPageStep(std::max(1, scroll_.linesPerPage()));
    bar_->setValue(0);
    bar_->setVisible(scroll_.barShown());
}

// The bar's values are the top lines a key can reach: the thumb meets the track's end with the story's
// last line.
void CNewsStoryWindow::SetBarRange()
{
    const int last = std::max(0, scroll_.lines() - scroll_.linesPerPage());
    if (bar_->maximum() != last)
        bar_->setRange(0, last);
}

void CNewsStoryWindow::LocateNext()
{
    if (scroll_.LocateNext(found_, lines_, current_))
        update();
}

bool CNewsStoryWindow::ScrollKey(int key)
{
    const int32_t page = scroll_.linesPerPage();
    switch (key) {
    case Qt::Key_Up: scroll_.KeyStep(-1); break;
    case Qt::Key_Down: scroll_.KeyStep(1); break;
    case Qt::Key_PageUp: scroll_.KeyStep(-page); break;
    case Qt::Key_PageDown: scroll_.KeyStep(page); break;
    default: return false;
    }
    update();
    emit scrolled();
    return true;
}

void CNewsStoryWindow::Wheel(int delta, bool shift)
{
    if (scroll_.Wheel(delta, shift)) {
        update();
        emit scrolled();
    }
}

void CNewsStoryWindow::SelectAll()
{
    selected_ = true;
    update();
}

void CNewsStoryWindow::wheelEvent(QWheelEvent* event)
{
    Wheel(event->angleDelta().y(), event->modifiers() & Qt::ShiftModifier);
    event->accept();
}

void CNewsStoryWindow::BarAction(int action)
{
    const int32_t page = scroll_.linesPerPage();
    bool changed = false;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: changed = scroll_.BarStep(1); break;
    case QAbstractSlider::SliderSingleStepSub: changed = scroll_.BarStep(-1); break;
    case QAbstractSlider::SliderPageStepAdd: changed = scroll_.BarStep(page); break;
    case QAbstractSlider::SliderPageStepSub: changed = scroll_.BarStep(-page); break;
    case QAbstractSlider::SliderMove: changed = scroll_.BarTrack(bar_->sliderPosition()); break;
    default: changed = scroll_.BarStep(0); break;
    }
    bar_->setSliderPosition(scroll_.top());
    if (changed) {
        update();
        emit scrolled();
    }
}

void CNewsStoryWindow::paintEvent(QPaintEvent*)
{
    AcquireNewsRead();
    QPainter painter(this);
    // The frame: a sunken edge in the two pixels around the painted rectangle.
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().dark().color());
    painter.drawLine(0, 0, width() - 1, 0);
    painter.drawLine(0, 0, 0, height() - 1);
    painter.setPen(palette().light().color());
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
    const QRect painted = rect().adjusted(kPaintInset, kPaintInset, -kPaintInset, -kPaintInset);
    painter.fillRect(painted, selected_ ? kSelectedBack : QColor(Qt::white));
    if (lines_.size() < 2 || dateLine_.empty()) {
        ReleaseNewsRead();
        return;
    }
    painter.setClipRect(painted);
    const QRect area = textArea().translated(-pos());
    const int rowHeight = lineHeight();
    scroll_.SetLinesPerPage(area.height() / rowHeight);
    SetBarRange();
    bar_->setValue(scroll_.top());
    size_t boundary = 0;
    const int32_t last = std::min(scroll_.top() + scroll_.linesPerPage(), int32_t(lines_.size()));
    for (int32_t line = scroll_.top(); line < last; ++line) {
        const int y = area.top() + (line - scroll_.top()) * rowHeight;
        const NewsStoryLine& l = lines_[size_t(line)];
        if (line == 0) {
            painter.setFont(dateFont_);
            painter.setPen(kDateColour);
            painter.drawText(area.left(), y + QFontMetrics(dateFont_).ascent(), FromCp1252(dateLine_));
        } else if (line == 1) {
            painter.setFont(titleFont_);
            DrawStoryRun(painter, {l.start, l.end, kTitleColour}, boundary, area.left(), y);
        } else {
            painter.setFont(bodyFont_);
            PaintBodyLine(painter, l, y, boundary);
        }
    }
    ReleaseNewsRead();
}

// A body line's runs: a tab moves the next run onto the grid of "M" widths; an agency credit and the
// text before it are green.
void CNewsStoryWindow::PaintBodyLine(QPainter& painter, const NewsStoryLine& line, int y, size_t& boundary)
{
    const int grid = tabGrid();
    int x = textArea().left() - pos().x();
    for (const NewsLineRun& run : NewsBodyLineRuns(text_, line)) {
        const int behind = DrawStoryRun(painter, {run.start, run.end, run.credit ? kCreditColour : kBodyColour}, boundary, x, y);
        x = run.gridAdvance >= 0 ? x + run.gridAdvance * grid : behind;
    }
}

// Draws a run cut at the found-word boundaries inside it; returns x behind the run.
int CNewsStoryWindow::DrawStoryRun(QPainter& painter, const Run& run, size_t& boundary, int x, int y)
{
    const QFontMetrics metrics(painter.font());
    const NewsFoundWord* current = current_ >= 0 ? &found_[size_t(current_)] : nullptr;
    for (const NewsRunPiece& piece : CutNewsStoryRun(run.start, run.end, boundaries_, boundary, current)) {
        QString text = FromCp1252(std::string_view(text_).substr(size_t(piece.start), size_t(piece.end - piece.start)));
        if (piece.addBlank)
            text += QLatin1Char(' ');
        const int width = metrics.horizontalAdvance(text);
        if (piece.paint == NewsPiecePaint::Current)
            painter.fillRect(x, y, width, metrics.height(), kCurrentBack);
        painter.setPen(piece.paint == NewsPiecePaint::Current ? kCurrentText
                       : piece.paint == NewsPiecePaint::Found ? kFoundColour
                                                              : run.colour);
        painter.drawText(x, y + metrics.ascent(), text);
        x += width;
    }
    return x;
}

} // namespace qv
