// Fitting a column to its widest cell or heading word.
#include "lists/ColumnFit.h"

#include "core/ColumnDef.h"
#include "lists/ListHeadings.h"
#include "lists/ListPaintPlan.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

class Monospace : public TextMetrics {
public:
    explicit Monospace(int advance) : advance_(advance) {}
    int TextWidth(std::string_view text) const override { return int(text.size()) * advance_; }
    int LineHeight() const override { return 10; }

private:
    int advance_;
};

class Texts : public ListRowSource {
public:
    explicit Texts(std::vector<std::string> texts) : texts_(std::move(texts)) {}
    int RowCount() const override { return int(texts_.size()); }
    int CurrentRow() const override { return -1; }
    std::string CellText(int row, const uint8_t*, CellValue&) override { return texts_[size_t(row)]; }

private:
    std::vector<std::string> texts_;
};

std::vector<uint8_t> Column(uint8_t code)
{
    std::vector<uint8_t> record;
    AppendColumnDef(record, ColumnOf(kColumnField, code));
    return record;
}

} // namespace

TEST(ColumnFit, WidestCellOrHeadingWord)
{
    const Monospace body(6), bold(8);
    FitMeasures m{&body, &bold, 3, false};
    Texts rows({"12.5", "1,234.50", "7"});
    EXPECT_EQ(FitColumnWidth(rows, Column(17).data(), "Price", m), 8 * 6 + 7);
    m.arrow = true;
    EXPECT_EQ(FitColumnWidth(rows, Column(17).data(), "Price", m), 8 * 6 + 7 + 13);
    Texts shortRows({"1"});
    EXPECT_EQ(FitColumnWidth(shortRows, Column(17).data(), "Capitalisation in pounds", m), 14 * 8 + 7);
    EXPECT_EQ(FitColumnWidth(rows, Column(86).data(), "", m), 0);
}
