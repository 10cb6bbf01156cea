// The records a chart shows in place of a share, and their hand-over from a list to its chart.
#include "lists/GraphSource.h"

#include "ListFixture.h"
#include "core/Memory.h"
#include "core/RecordAccess.h"
#include "views/ViewBase.h"

#include <gtest/gtest.h>

using namespace qv;
using namespace qv::test;

namespace {

class GraphSource : public ListFixture {
protected:
    ~GraphSource() override { HandOverGraphSource(nullptr, 0, nullptr); }
};

} // namespace

TEST_F(GraphSource, ListCompositesPortfolioKindsAndTheHandOver)
{
    LoadShares(FourListShares());
    ShareList* list = NewList(0, 8);
    for (int i = 0; i < 4; ++i)
        list->entries[i] = {RecordIndex[0x4001 + i], 0};
    CViewBase view(1);
    view.list = list;

    uint8_t* record = nullptr;
    ASSERT_TRUE(BuildGraphSourceRecord(record, view, kSourceListUnweighted));
    EXPECT_EQ(GetRecordTexts(record).name, "List: All (not weighted)") << "titled with the source title";
    // A list without a portfolio has no portfolio value; a kind that is no source builds nothing.
    uint8_t* kept = record;
    EXPECT_FALSE(BuildGraphSourceRecord(record, view, kSourcePortfolioValue));
    EXPECT_FALSE(BuildGraphSourceRecord(record, view, 3));
    EXPECT_EQ(record, kept) << "a failed build leaves the record";

    // The hand-over goes only to a chart of that list and kind, once.
    HandOverGraphSource(list, kSourceListUnweighted, record);
    EXPECT_EQ(TakeGraphSource(list, kSourceListWeighted), nullptr);
    EXPECT_EQ(TakeGraphSource(nullptr, kSourceListUnweighted), nullptr);
    uint8_t* taken = TakeGraphSource(list, kSourceListUnweighted);
    EXPECT_EQ(taken, record);
    EXPECT_EQ(TakeGraphSource(list, kSourceListUnweighted), nullptr);
    ProFree(taken);

    // An empty list says so.
    ShareList* empty = NewList(0, 2);
    view.list = empty;
    uint8_t* none = nullptr;
    EXPECT_FALSE(BuildGraphSourceRecord(none, view, kSourceListWeighted));
    EXPECT_EQ(box.texts().back(), "Not enough data to construct graph");
    view.list = nullptr;
}
