// "Price list": one share's daily prices as a resizable list window, with its settings dialog, and
// the print-settings dialog of list printing.
#pragma once

#include "core/RecordAccess.h"
#include "tools/PriceListRows.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace qv {

class CPriceListDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kList = 1404, kAdjust = 3382;

    CPriceListDlg(const RecordCursor& share, bool editedPrices, QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }
    QCheckBox* adjustBox() const { return adjust_; }
    // Fills the list from the share's days and the options.
    void Fill();
    // The settings dialog on the current options; true when OK stored new ones.
    bool EditSettings();
    // The one-day editor on the row's day (a double click); true when the day's correction changed,
    // the list then filled again and the share's views repainted.
    bool EditDay(QTreeWidgetItem* item);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void RememberRect();

    RecordCursor share_;
    bool editedPrices_;
    QTreeWidget* list_;
    QCheckBox* adjust_;
};

class CPriceListSettingsDlg : public QDialog {
    Q_OBJECT
public:
    CPriceListSettingsDlg(const PriceListOptions& options, bool editedPrices, QWidget* parent = nullptr);
    PriceListOptions options() const;
    QCheckBox* box(int id) const;

private:
    QCheckBox* boxes_[8];
};

class CPrintSettingsDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSize = 1348, kScreenSize = 1347, kDoubleLines = 1469;

    // `stored` as the list options keep it: bits 0-6 the size (0 meaning 10), bit 7 the screen's size.
    CPrintSettingsDlg(uint8_t stored, bool doubleLines, QWidget* parent = nullptr);
    void accept() override;
    uint8_t stored() const { return stored_; }
    bool doubleLines() const { return doubleLines_; }
    QLineEdit* sizeField() const { return size_; }
    QCheckBox* screenBox() const { return screen_; }
    // The data-mining view's print: its graphs as a first page, and its table's rows after them (the
    // rows print anyway when the graphs do not).
    void SetDataMiningPrint(bool graphs, bool rows);
    QCheckBox* graphsBox() const { return graphs_; }
    QCheckBox* rowsBox() const { return rows_; }

private:
    QLineEdit* size_;
    QCheckBox* screen_;
    QCheckBox* double_;
    QCheckBox* graphs_;
    QCheckBox* rows_;
    uint8_t stored_;
    bool doubleLines_;
};

// Whether printed lists draw double thick lines.
bool& PrintDoubleLines();

// Installs the price list on 21117 (the active view's current share), in its edited-prices form on the
// chart's "Review saved values..." (27262), and the print settings on 26213.
void InstallPriceListDialogs();
void RemovePriceListDialogs();

} // namespace qv
