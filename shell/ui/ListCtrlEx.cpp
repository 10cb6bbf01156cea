// The sector list control.
#include "shell/ui/ListCtrlEx.h"

#include "platform/qt/QtText.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QMouseEvent>

namespace qv {
namespace {

constexpr int kColumns = 3;

Rgb ToRgb(const QColor& c) { return {c.red(), c.green(), c.blue()}; }
QColor ToColour(Rgb c) { return QColor(c.r, c.g, c.b); }

} // namespace

SectorRowModel::SectorRowModel(QObject* parent) : QAbstractTableModel(parent) {}

void SectorRowModel::setRows(SectorRow* rows, int count)
{
    beginResetModel();
    rows_ = rows;
    count_ = rows ? std::max(count, 0) : 0;
    computeMarkers();
    endResetModel();
}

void SectorRowModel::rowsReordered()
{
    computeMarkers();
    if (count_ > 0)
        emit dataChanged(index(0, 0), index(count_ - 1, kColumns - 1));
}

void SectorRowModel::computeMarkers()
{
    markers_.assign(size_t(count_), 0);
    int marker = 0;
    for (int i = 0; i < count_; ++i) {
        marker = NextShadingMarker(marker, rows_[i]);
        markers_[size_t(i)] = marker;
    }
}

int SectorRowModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count_; }
int SectorRowModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant SectorRowModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count_)
        return {};
    const SectorRow& row = rows_[index.row()];
    switch (role) {
    case Qt::DisplayRole: {
        QString text = FromCp1252(row.texts[index.column()] ? row.texts[index.column()] : "");
        return index.column() == 0 && row.level == 6 ? "    " + text : text;
    }
    case Qt::FontRole: {
        if (!SectorRowBold(row))
            return {};
        QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        font.setWeight(QFont::Bold);
        return font;
    }
    case Qt::BackgroundRole: {
        switch (SectorRowShade(markers_[size_t(index.row())], index.row())) {
        case 1: return ToColour(tints_.t1);
        case 2: return ToColour(tints_.t2);
        case 3: return ToColour(tints_.t3);
        default: return ToColour(window_);
        }
    }
    case Qt::TextAlignmentRole:
        return index.column() == 0 ? int(Qt::AlignLeft | Qt::AlignVCenter) : int(Qt::AlignRight | Qt::AlignVCenter);
    default: return {};
    }
}

QVariant SectorRowModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= headers_.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return headers_[section];
}

CListCtrlEx::CListCtrlEx(QWidget* parent) : QTableView(parent), model_(new SectorRowModel(this))
{
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setStretchLastSection(true);
    setMouseTracking(true);
    QPalette colours = palette();
    Rgb window = ToRgb(colours.base().color());
    tints_ = MixSectorTints(ToRgb(colours.highlight().color()), window);
    model_->setTints(tints_, window);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &CListCtrlEx::OnColumnClick);
}

void CListCtrlEx::SetFirstData(SectorRow* rows, int count)
{
    first_ = rows;
    firstCount_ = count;
    model_->setRows(rows, count);
}

void CListCtrlEx::SetSecondData(SectorRow* rows, int count) { model_->setRows(rows, count); }

void CListCtrlEx::OnColumnClick(int column)
{
    descending_ = column == sortColumn_ ? !descending_ : false;
    sortColumn_ = column;
    SortSectorRows(first_, size_t(std::max(firstCount_, 0)), column, descending_);
    model_->rowsReordered();
    viewport()->update();
}

void CListCtrlEx::mouseMoveEvent(QMouseEvent* event)
{
    setFocus();
    QTableView::mouseMoveEvent(event);
}

} // namespace qv
