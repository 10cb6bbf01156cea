// The toolbar background colour dialog.
#include "shell/ui/ToolbarColour.h"

#include "core/ui/PenSelect.h"
#include "shell/ToolbarDesignRules.h"
#include "shell/ui/ToolbarImages.h"
#include "views/FrameState.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace qv {

constexpr int kColumns = 7;
constexpr int kRows = 6;

class CToolbarPalette : public QWidget {
public:
    explicit CToolbarPalette(CToolbarColour& dialog) : QWidget(&dialog), dialog_(dialog)
    {
        setMouseTracking(true);
        setMinimumSize(kColumns * 30 + 8, kRows * 22 + 8);
    }

    QRect CellRect(int c, int r) const
    {
        int w = (width() - 8) / kColumns;
        int h = (height() - 8) / kRows;
        return QRect(4 + c * w, 4 + r * h, w - 2, h - 2);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        // The border: a fine check pattern.
        p.fillRect(rect(), QBrush(QColor(0x80, 0x80, 0x80), Qt::Dense4Pattern));
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c) {
                QRect cell = CellRect(c, r);
                uint32_t colour = ToolbarPaletteColour(c, r);
                p.fillRect(cell, ColourFromWord(colour));
                bool chosen = colour == dialog_.colour_;
                p.setPen(chosen ? Qt::black : Qt::white);
                p.drawLine(cell.topLeft(), cell.topRight());
                p.drawLine(cell.topLeft(), cell.bottomLeft());
                p.setPen(chosen ? Qt::white : QColor(0x80, 0x80, 0x80));
                p.drawLine(cell.bottomLeft(), cell.bottomRight());
                p.drawLine(cell.topRight(), cell.bottomRight());
                if (c == hotColumn_ && r == hotRow_) {
                    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
                    p.drawRect(cell.adjusted(2, 2, -2, -2));
                }
            }
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (BusyFlag)
            return;
        HitCell(event->position().toPoint(), hotColumn_, hotRow_);
        update();
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        int c = -1, r = -1;
        if (HitCell(event->position().toPoint(), c, r))
            dialog_.Choose(c, r);
    }

private:
    bool HitCell(const QPoint& point, int& column, int& row) const
    {
        column = row = -1;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c)
                if (CellRect(c, r).contains(point)) {
                    column = c;
                    row = r;
                    return true;
                }
        return false;
    }

    CToolbarColour& dialog_;
    int hotColumn_ = -1;
    int hotRow_ = -1;
};

namespace {

class ExampleButton : public QWidget {
public:
    ExampleButton(const uint32_t& colour, QWidget* parent) : QWidget(parent), colour_(colour) { setMinimumSize(60, 46); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QRgb background = ColourFromWord(colour_).rgb();
        p.fillRect(rect(), palette().color(QPalette::Button));
        QImage picture = DrawButtonPicture(0, 45, 36, background);
        p.drawImage((width() - 45) / 2, (height() - 36) / 2, picture);
    }

private:
    const uint32_t& colour_;
};

} // namespace

CToolbarColour::CToolbarColour(uint32_t colour, QWidget* parent) : QDialog(parent), colour_(colour)
{
    setWindowTitle(QStringLiteral("Select the background colour for the toolbar"));
    palette_ = new CToolbarPalette(*this);
    example_ = new ExampleButton(colour_, this);
    example_->setObjectName(QStringLiteral("1842"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(palette_);
    layout->addWidget(new QLabel(QStringLiteral("Example:"), this));
    layout->addWidget(example_);
    layout->addWidget(buttons);
}

void CToolbarColour::Choose(int column, int row)
{
    colour_ = ToolbarPaletteColour(column, row);
    palette_->update();
    example_->update();
}

} // namespace qv
