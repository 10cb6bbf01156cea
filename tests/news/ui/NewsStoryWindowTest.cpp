// The story window as painted: the agency credit in green, a found run over two lines on orange with
// its added blank, a tab with "f" one "M" in; and its keys and wheel.
#include "news/ui/NewsStoryWindow.h"

#include "support/ui/Render.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

const QColor kGreen(0, 128, 0), kOrange(255, 128, 64), kBlack(0, 0, 0), kRed(255, 0, 0);

class NewsStoryWindowTest : public ::testing::Test {
protected:
    NewsStoryWindowTest() : window_(new CNewsStoryWindow(&parent_))
    {
        parent_.resize(520, 420);
        window_->SetFrame(QRect(8, 5, 420, 400));
    }

    // The x of every pixel near `colour` on the body line `line` (the top line 0): text is drawn
    // smoothed, so its pixels are only close to the pen's colour.
    std::vector<int> ColourOnLine(const QImage& image, int line, const QColor& colour) const
    {
        auto near = [&colour](const QColor& c) {
            return std::abs(c.red() - colour.red()) < 60 && std::abs(c.green() - colour.green()) < 60 &&
                   std::abs(c.blue() - colour.blue()) < 60;
        };
        std::vector<int> xs;
        const QRect area = window_->textArea();
        const int top = area.top() + line * window_->lineHeight();
        for (int y = top; y < top + window_->lineHeight(); ++y)
            for (int x = area.left(); x < area.right(); ++x)
                if (near(image.pixelColor(x, y)))
                    xs.push_back(x);
        std::sort(xs.begin(), xs.end());
        return xs;
    }

    QWidget parent_;
    CNewsStoryWindow* window_;
};

TEST_F(NewsStoryWindowTest, PaintsCreditsFoundRunsAndTabs)
{
    if (!FontsAvailable())
        GTEST_SKIP() << "no fonts";
    const std::string text = "Title\n\tfIndented\nLONDON (AFX) - Shares rose\nplain text";
    window_->SetStory(text, "Monday 8 December 2026 09:30", nullptr);
    QImage image = RenderWidget(parent_);
    SaveRender(image, QStringLiteral("news-story-window"));
    const int left = window_->textArea().left();
    const std::vector<int> indented = ColourOnLine(image, 3, kBlack);
    ASSERT_FALSE(indented.empty());
    EXPECT_GE(indented.front(), left + window_->tabGrid() - 1) << "a tab with f starts one M in";
    EXPECT_LT(indented.front(), left + window_->tabGrid() + 4);
    const std::vector<int> green = ColourOnLine(image, 4, kGreen);
    const std::vector<int> black = ColourOnLine(image, 4, kBlack);
    ASSERT_FALSE(green.empty()) << "the place name and the credit are green";
    ASSERT_FALSE(black.empty());
    EXPECT_LT(green.front(), left + 4);
    EXPECT_GT(black.front(), green.back()) << "the rest of the line is black";
    EXPECT_TRUE(ColourOnLine(image, 5, kGreen).empty());
    EXPECT_FALSE(ColourOnLine(image, 0, kRed).empty()) << "the date line is red";
}

TEST_F(NewsStoryWindowTest, ACurrentFoundRunOverTwoLinesIsOrangeOnBoth)
{
    if (!FontsAvailable())
        GTEST_SKIP() << "no fonts";
    std::string words;
    for (int i = 0; i < 60; ++i)
        words += "word ";
    const std::string text = "Title\n" + words + "target";
    window_->SetStory(text, "date", nullptr);
    // The layout's break before the last "word": the run "word target" crosses it.
    const std::vector<NewsStoryLine> lines = window_->lines();
    ASSERT_GE(lines.size(), 5u);
    const NewsStoryLine& first = lines[3];
    const int32_t lastWord = first.end - 4;
    ASSERT_EQ(text.substr(size_t(lastWord), 4), "word");
    ASSERT_EQ(text.substr(size_t(lines[4].start), 4), "word");
    const std::vector<NewsFoundWord> found = {{lastWord, lines[4].start + 4}};
    window_->SetStory(text, "date", &found);
    window_->LocateNext();
    const QImage image = RenderWidget(parent_);
    SaveRender(image, QStringLiteral("news-story-found-run"));
    const std::vector<int> orangeFirst = ColourOnLine(image, 3, kOrange);
    ASSERT_FALSE(orangeFirst.empty());
    EXPECT_FALSE(ColourOnLine(image, 4, kOrange).empty()) << "orange on the second line too";
    QFont body(QStringLiteral("Arial"));
    body.setPixelSize(12);
    const QFontMetrics metrics(body);
    const QString shown = QString::fromStdString(text.substr(size_t(first.start), size_t(first.end - first.start)));
    EXPECT_GE(orangeFirst.back(), window_->textArea().left() + metrics.horizontalAdvance(shown) + 1)
        << "an orange blank runs on at the end of the first line";
}

TEST_F(NewsStoryWindowTest, KeysAndWheelMoveTheTopLine)
{
    std::string text = "Title\n";
    for (int i = 0; i < 80; ++i)
        text += "line " + std::to_string(i) + "\n";
    window_->SetStory(text, "date", nullptr);
    const int32_t lines = window_->scroll().lines();
    const int32_t page = window_->scroll().linesPerPage();
    ASSERT_GT(lines, page);
    EXPECT_TRUE(window_->scrollBar()->isVisibleTo(&parent_));
    EXPECT_TRUE(window_->ScrollKey(Qt::Key_PageDown));
    EXPECT_EQ(window_->scroll().top(), page);
    EXPECT_FALSE(window_->ScrollKey(Qt::Key_Left));
    NewsWheelAccumulator() = 0;
    window_->Wheel(-120, false);
    EXPECT_EQ(window_->scroll().top(), page + 3);
    window_->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(window_->scroll().top(), page + 4);
    EXPECT_EQ(window_->scrollBar()->sliderPosition(), page + 4);
    // At the story's end the thumb meets the end of its track.
    for (int i = 0; i < lines; ++i)
        window_->ScrollKey(Qt::Key_PageDown);
    EXPECT_EQ(window_->scroll().top(), lines - page);
    EXPECT_EQ(window_->scrollBar()->maximum(), lines - page);
    window_->SetStory(text, "date", nullptr);
    EXPECT_EQ(window_->scroll().top(), 0) << "a load shows the first line";
}

} // namespace
