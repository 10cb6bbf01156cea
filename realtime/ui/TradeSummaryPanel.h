// The table of the summary of trades as it is drawn: the headings above a sunken data area, the four
// rows one line apart with their figures right-aligned in columns as wide as their widest text, each
// buy, sell and unknown figure followed by its percentage in a smaller Arial; or the message alone,
// centred in the data area.
#pragma once

#include "realtime/TradeSummary.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

#include <vector>

namespace qv {

class TradeSummaryPanel : public QWidget {
public:
    // A text where the panel draws it: its box, and whether it is a percentage (the smaller font).
    struct PlacedText {
        QString text;
        QRect box;
        Qt::Alignment align;
        bool percent = false;
    };

    explicit TradeSummaryPanel(QWidget* parent = nullptr);

    // Measures the table and places every text; the panel takes the size that holds them.
    void SetTable(const TradeSummaryTable& table);

    const std::vector<PlacedText>& texts() const { return texts_; }
    QRect dataArea() const { return data_; }
    const QFont& percentFont() const { return percentFont_; }
    QSize sizeHint() const override { return size_; }
    QSize minimumSizeHint() const override { return size_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<PlacedText> texts_;
    bool message_ = false;
    QRect data_;
    QSize size_;
    QFont percentFont_;
};

} // namespace qv
