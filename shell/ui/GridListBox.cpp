// Grid lists: the row drawing and the display commands.
#include "shell/ui/GridListBox.h"

#include "core/ConfigState.h"

#include <QPainter>
#include <QStyledItemDelegate>

namespace qv {
namespace {

constexpr int kExtraRowHeight = 3;
constexpr uint32_t kCommandGridLines = 26208;
constexpr uint32_t kCommandPriceFlag1 = 26207;
constexpr uint32_t kCommandPriceFlag2 = 26220;
constexpr uint32_t kCommandPriceFlag3 = 26709;
constexpr uint32_t kCommandPriceFlag4 = 26664;
constexpr uint32_t kCommandPriceFlag5 = 26665;
constexpr uint32_t kCommandPriceFlagsOff = 26774;
constexpr int kWideWindow = 550;
constexpr int kNarrowWindow = 300;

uint8_t& Byte(size_t offset) { return Config().optionsA.bytes[offset]; }

class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(CGridListBox* box) : QStyledItemDelegate(box), box_(box) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), kGridRowHeight);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QRect row = option.rect;
        bool selected = box_->selectionShown() && (option.state & QStyle::State_Selected);
        const QPalette& palette = option.palette;
        painter->fillRect(row, selected ? palette.highlight() : palette.base());
        painter->setPen(selected ? palette.highlightedText().color() : palette.text().color());
        int width = row.width();
        GridColumns columns = box_->Columns(width);
        QStringList pieces = GridPieces(index.data().toString());
        for (int i = 0; i < pieces.size(); ++i) {
            int next = i + 1 < kGridPieces ? columns.stops[size_t(i + 1)] : 0;
            int left = row.left() + columns.stops[size_t(i)] + 2;
            int right = i + 1 == pieces.size() || next == 0 ? row.left() + width - 3 : row.left() + next - 2;
            right = std::min(right, row.left() + width - 3);
            if (right <= left)
                continue;
            QRect cell(left, row.top() + kExtraRowHeight / 2, right - left, row.height() - kExtraRowHeight / 2);
            QString text = option.fontMetrics.elidedText(pieces[i], Qt::ElideRight, cell.width());
            int format = columns.formats[size_t(i)] ? columns.formats[size_t(i)] : int(Qt::AlignLeft);
            painter->drawText(cell, format | Qt::AlignVCenter | Qt::TextSingleLine, text);
        }
        if (selected && (option.state & QStyle::State_HasFocus)) {
            painter->setPen(QPen(palette.highlightedText().color(), 1, Qt::DotLine));
            painter->drawRect(row.adjusted(0, 0, -1, -1));
        }
        if (box_->linesDrawn()) {
            painter->setPen(palette.mid().color());
            painter->drawLine(row.bottomLeft(), row.bottomRight());
        }
    }

private:
    CGridListBox* box_;
};

} // namespace

bool GridListLines() { return Byte(OptionBlockA::kGridListLines) != 0; }
void SetGridListLines(bool on) { Byte(OptionBlockA::kGridListLines) = on ? 1 : 0; }

bool PriceListFlag(int n)
{
    return n >= 1 && n <= 5 && (Byte(OptionBlockA::kPriceListFlags) >> n & 1);
}

void SetPriceListFlag(int n, bool on)
{
    if (n < 1 || n > 5)
        return;
    uint8_t& flags = Byte(OptionBlockA::kPriceListFlags);
    flags = on ? uint8_t(flags | 1u << n) : uint8_t(flags & ~(1u << n));
}

GridColumns EvenGridColumns(int rowWidth, int count)
{
    GridColumns columns;
    if (count <= 0)
        return columns;
    count = std::min(count, kGridPieces);
    int w = rowWidth / count;
    columns.stops[0] = std::min(w / 6, 10);
    for (int i = 1; i < count; ++i)
        columns.stops[size_t(i)] = columns.stops[size_t(i - 1)] + w;
    return columns;
}

QStringList GridPieces(const QString& text)
{
    QStringList pieces = text.split(QLatin1Char('\t'));
    while (pieces.size() > kGridPieces)
        pieces.removeLast();
    return pieces;
}

CGridListBox::CGridListBox(bool selectionShown, QWidget* parent) : QListWidget(parent), selectionShown_(selectionShown)
{
    setItemDelegate(new GridDelegate(this));
    setUniformItemSizes(true);
}

GridColumns CGridListBox::Columns(int rowWidth) const
{
    if (count_ > 0)
        return EvenGridColumns(rowWidth, count_);
    return callback_ ? callback_(rowWidth) : GridColumns{};
}

bool CGridListBox::OnCommand(uint32_t command)
{
    auto toggle = [this](int n) {
        SetPriceListFlag(n, !PriceListFlag(n));
        emit priceListFlagsChanged();
    };
    auto widen = [this](int width) {
        if (QWidget* frame = window())
            frame->setGeometry(frame->x(), frame->y(), width, frame->height());
    };
    switch (command) {
    case kCommandGridLines: SetGridListLines(!GridListLines()); break;
    case kCommandPriceFlag1: toggle(1); break;
    case kCommandPriceFlag2: toggle(2); break;
    case kCommandPriceFlag3: toggle(3); break;
    case kCommandPriceFlag4:
        SetPriceListFlag(4, !PriceListFlag(4));
        widen(kWideWindow);
        emit priceListFlagsChanged();
        break;
    case kCommandPriceFlag5:
        SetPriceListFlag(5, !PriceListFlag(5));
        widen(kNarrowWindow);
        emit priceListFlagsChanged();
        break;
    case kCommandPriceFlagsOff:
        for (int n = 2; n <= 5; ++n)
            SetPriceListFlag(n, false);
        emit priceListFlagsChanged();
        return true;
    default: return false;
    }
    viewport()->update();
    return true;
}

void CGridListBox::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    viewport()->update();
}

} // namespace qv
