// Drawing the ticker's tape: the character cell measured in the ticker font, each item's fields as
// texts in their colours, an item's length along the scroll axis, and the tape's image composed from
// the items that overlap the visible range (or the connection texts).
#pragma once

#include "core/ConfigRecords.h"
#include "core/LogFont.h"
#include "realtime/TickerFont.h"
#include "realtime/TickerTape.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include <vector>

namespace qv {

struct TickerField {
    QString text;
    QColor colour;
    int reserve = 0; // vertical layouts: the width kept for the field, 0 for its own width
    bool time = false;
    int cost = 1;    // of the first line's field budget: Name costs 3
};

class TickerComposer {
public:
    TickerComposer(const TickerSetting& settings, const LogFont& font);

    TickerCell Cell() const { return cell_; }
    // The item's fields on the first line (`first`) or on the second.
    std::vector<TickerField> Fields(const TickerItem& item, bool first) const;
    // Horizontal layouts: the longer of the item's lines in pixels.
    int Measure(const TickerItem& item) const;
    // The tape's image: the connection text, or the items over their backgrounds.
    void Compose(QImage& image, const TickerTape& tape) const;

    QColor Colour(size_t offset) const;

private:
    int LineWidth(const std::vector<TickerField>& fields) const;
    void DrawLine(class QPainter& painter, const std::vector<TickerField>& fields, int x, int baseline) const;
    void DrawItem(QPainter& painter, const TickerItem& item, const TickerTape& tape, int rowHeight) const;

    TickerSetting settings_;
    TickerDesign design_;
    QFont font_, timeFont_;
    TickerCell cell_;
    int ascent_ = 0, height_ = 0, timeDrop_ = 0;
};

} // namespace qv
