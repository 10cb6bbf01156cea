// "Directors' Dealings and Major Holdings Stats": weekly deals as a line graph (with an optional
// 8-week moving average and rubber-band zoom) or as a table.
#pragma once

#include "lists/DealingStats.h"

#include <QDialog>
#include <QWidget>

#include <cstdint>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace qv {

// The graph: drawn into an off-screen picture and copied to the window.
class CDealingsGraph : public QWidget {
public:
    CDealingsGraph(const WeeklyTables& tables, QWidget* parent = nullptr);
    void setRequest(const WeeklySeriesRequest& request);
    const WeeklySeriesRequest& request() const { return request_; }
    // The week rows shown; the whole data span by default.
    void showWholeSpan();
    QRect plotRect() const;
    // The week row under an x position of the plot.
    int weekAt(int x) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void draw(QPainter& p);
    const WeeklyTables& tables_;
    WeeklySeriesRequest request_;
    int dragAnchor_ = -1, dragAt_ = -1;
};

class CDealingsStatsDlg : public QDialog {
public:
    CDealingsStatsDlg(uint8_t filter, const WeeklyTables& tables, QWidget* parent = nullptr);
    CDealingsGraph* graph() const { return graph_; }
    QTreeWidget* table() const { return table_; }
    // Switches between graph and table (button 18121).
    void toggleTable();

private:
    void readControls();
    void fillTable();

    const WeeklyTables& tables_;
    QLabel* caption_ = nullptr;
    QCheckBox* directors_ = nullptr;
    QCheckBox* majorHolders_ = nullptr;
    QRadioButton* values_ = nullptr;
    QRadioButton* numbers_ = nullptr;
    QCheckBox* smooth_ = nullptr;
    QPushButton* switch_ = nullptr;
    CDealingsGraph* graph_ = nullptr;
    QTreeWidget* table_ = nullptr;
};

} // namespace qv
