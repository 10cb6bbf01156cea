// The story window of the story display: the date line, the title and the body broken into display
// lines, found words in red and the current one on orange, with its own scroll bar, keys and wheel.
#pragma once

#include "news/NewsStoryLayout.h"

#include <QColor>
#include <QFont>
#include <QWidget>

#include <string>
#include <vector>

class QPainter;
class QScrollBar;

namespace qv {

class CNewsStoryWindow : public QWidget {
    Q_OBJECT
public:
    explicit CNewsStoryWindow(QWidget* parent);

    // Places the frame; the scroll bar stands at its right, outside it.
    void SetFrame(const QRect& frame);
    // Lays out a story and shows its first line. `found` is null when the view has no search.
    void SetStory(std::string text, std::string dateLine, const std::vector<NewsFoundWord>* found);
    // "Locate next found": the next found word current and its line third on the page.
    void LocateNext();
    // Up, Down, Page Up and Page Down; false for other keys.
    bool ScrollKey(int key);
    void Wheel(int delta, bool shift);
    void SelectAll();

    // The text area in the parent's coordinates: lines start at its left and top.
    QRect textArea() const;
    QScrollBar* scrollBar() const { return bar_; }
    const NewsStoryScroll& scroll() const { return scroll_; }
    const std::vector<NewsStoryLine>& lines() const { return lines_; }
    const std::vector<NewsFoundWord>& found() const { return found_; }
    bool hasFoundList() const { return hasFound_; }
    bool allSelected() const { return selected_; }
    int32_t currentFound() const { return current_; }
    const std::string& text() const { return text_; }
    int tabGrid() const;
    int lineHeight() const;

signals:
    void scrolled();

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct Run {
        int32_t start = 0;
        int32_t end = 0;
        QColor colour;
    };
    void LayOut();
    void SetBarRange();
    void BarAction(int action);
    void PaintBodyLine(QPainter& painter, const NewsStoryLine& line, int y, size_t& boundary);
    int DrawStoryRun(QPainter& painter, const Run& run, size_t& boundary, int x, int y);

    QScrollBar* bar_ = nullptr;
    QFont titleFont_, dateFont_, labelFont_, bodyFont_;
    NewsCharWidths widths_{};
    std::string text_;
    std::string dateLine_;
    std::vector<NewsStoryLine> lines_;
    std::vector<NewsFoundWord> found_;
    std::vector<int32_t> boundaries_;
    bool hasFound_ = false;
    bool selected_ = false;
    int32_t current_ = -1;
    NewsStoryScroll scroll_;
};

// The fonts of the story display's labels.
QFont NewsStoryLabelFont();

} // namespace qv
