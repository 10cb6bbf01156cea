// CListCtrlEx: the sector list, a three-column table of rows in groups that it shades by group and
// keeps grouped when the user sorts by a column.
#pragma once

#include "shell/SectorListRules.h"

#include <QAbstractTableModel>
#include <QTableView>

namespace qv {

class SectorRowModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit SectorRowModel(QObject* parent = nullptr);

    // The rows shown (owned by the caller); the count becomes the model's row count.
    void setRows(SectorRow* rows, int count);
    void setTints(const SectorTints& tints, Rgb window) { tints_ = tints; window_ = window; }
    // Called after the rows were reordered in place.
    void rowsReordered();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void setHeaders(const QStringList& headers) { headers_ = headers; }

private:
    void computeMarkers();

    SectorRow* rows_ = nullptr;
    int count_ = 0;
    std::vector<int> markers_;
    SectorTints tints_;
    Rgb window_;
    QStringList headers_;
};

class CListCtrlEx : public QTableView {
    Q_OBJECT
public:
    explicit CListCtrlEx(QWidget* parent = nullptr);

    void SetFirstData(SectorRow* rows, int count);
    void SetSecondData(SectorRow* rows, int count);
    void SetHeaders(const QStringList& headers) { model_->setHeaders(headers); }
    // A header click: the same column reverses the direction, another sorts ascending.
    void OnColumnClick(int column);

    int sortColumn() const { return sortColumn_; }
    bool descending() const { return descending_; }
    const SectorTints& tints() const { return tints_; }
    SectorRowModel* rowModel() const { return model_; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    SectorRowModel* model_;
    SectorTints tints_;
    SectorRow* first_ = nullptr;
    int firstCount_ = 0;
    int sortColumn_ = -1;
    bool descending_ = false;
};

} // namespace qv
