// CPriceListBox: the daily prices of one share as a list that the user corrects in place with its
// editor, CPriceEdit; a day can also be marked missing or a holiday.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <functional>

namespace qv {

class CPriceListBox;

class CPriceEdit : public QLineEdit {
    Q_OBJECT
public:
    CPriceEdit(CPriceListBox* box, int element, int row);

    int element() const { return element_; }
    int row() const { return row_; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    CPriceListBox* box_;
    int element_;
    int row_;
    bool finished_ = false;
};

class CPriceListBox : public QListWidget {
    Q_OBJECT
public:
    explicit CPriceListBox(QWidget* parent = nullptr);

    // The owner's price array (one f32 a day); the box writes corrections into it.
    void setPrices(float* prices, int count);
    // The date text of an element (the owner knows the days); empty when none is given.
    void setDayText(std::function<QString(int element)> dayText) { dayText_ = std::move(dayText); }
    // Command 26221: the anomaly-level dialog of the options, run by whoever installs it.
    void setAnomalyLevelDialog(std::function<void()> dialog) { anomalyDialog_ = std::move(dialog); }
    void refillRows();

    int elementOfRow(int row) const;
    QString rowText(int row) const;
    // The column stops: 2, 30, then where the dialog's controls 2837 and 1089 begin (and one more).
    QList<int> columnStops() const;
    // Never narrower than its last column stop, so a change of "+95.5%" is not cut at the edge.
    QSize minimumSizeHint() const override;

    CPriceEdit* editor() const { return editor_; }
    void openEditor(const QString& firstCharacter = {});
    // 1084: commit (cancel false) or cancel; keepLayout leaves the top row and redrawing to the caller.
    void finishEdit(bool cancel, bool keepLayout);
    // 1085: the editor moves one row on or back from `row`.
    void moveEdit(bool forward, int row);
    bool onCommand(uint32_t command);
    QMenu* createContextMenu();
    void typeCharacter(QChar character);

signals:
    // 1077: the price of an element changed, or a flag that changes the rows.
    void priceChanged(int element);
    void beeped();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

private:
    void showContextMenu(const QPoint& global);
    void markSelected(float mark);
    void beep();

    float* prices_ = nullptr;
    int count_ = 0;
    CPriceEdit* editor_ = nullptr;
    std::function<QString(int)> dayText_;
    std::function<void()> anomalyDialog_;
};

} // namespace qv
