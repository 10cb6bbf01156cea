// CGridListBox: a list whose rows are tab-separated texts drawn in columns, with the program-wide
// grid-list display flags and the price-list flags its commands toggle.
#pragma once

#include <QListWidget>

#include <array>
#include <cstdint>
#include <functional>

namespace qv {

inline constexpr int kGridPieces = 16;
inline constexpr int kGridRowHeight = 17;

struct GridColumns {
    std::array<int, kGridPieces> stops{};
    std::array<int, kGridPieces> formats{}; // Qt alignment flags per column
};

// The program-wide flags (kept in the option block): row lines, and the price-list flags 1-5.
bool GridListLines();
void SetGridListLines(bool on);
bool PriceListFlag(int n);
void SetPriceListFlag(int n, bool on);

// The column stops of a row width for n columns: each w = width / n wide, the first at min(w / 6, 10).
GridColumns EvenGridColumns(int rowWidth, int count);
// The pieces of a row text: cut at tabs, at most sixteen.
QStringList GridPieces(const QString& text);

class CGridListBox : public QListWidget {
    Q_OBJECT
public:
    using ColumnCallback = std::function<GridColumns(int rowWidth)>;

    CGridListBox(bool selectionShown, QWidget* parent = nullptr);

    void SetColumnCount(int count) { count_ = count; }
    void SetColumnCallback(ColumnCallback callback) { callback_ = std::move(callback); }
    void SetNoLines(bool noLines) { noLines_ = noLines; }
    GridColumns Columns(int rowWidth) const;
    bool selectionShown() const { return selectionShown_; }
    bool linesDrawn() const { return !noLines_ && GridListLines(); }

    // The commands the box handles itself; false for any other.
    bool OnCommand(uint32_t command);

signals:
    // The price-list flags changed: the owner refills the list (message 1077).
    void priceListFlagsChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    bool selectionShown_;
    int count_ = 0;
    bool noLines_ = false;
    ColumnCallback callback_;
};

} // namespace qv
