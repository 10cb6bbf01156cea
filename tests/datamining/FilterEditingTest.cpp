// The control panel's changes to filters: bounds typed into a row, axes, adding, deleting, moving and
// copying criteria with the axes still naming the same criteria, filter copies, renames and sources.
#include "datamining/FilterEditing.h"

#include "core/Portfolio.h"
#include "datamining/CriterionKinds.h"

#include <gtest/gtest.h>

#include <functional>

using namespace qv;

namespace {

// Criteria told apart by their kind (0, 1, 2, ...).
DMFilter FilterOf(int count, std::array<uint32_t, 3> axes)
{
    DMFilter f;
    f.name = "Test";
    for (int i = 0; i < count; ++i) {
        DMCriterion c;
        c.kind = uint8_t(i);
        c.dataMin = 0;
        c.dataMax = 10;
        c.lower = 2;
        c.upper = 8;
        f.criteria.push_back(c);
    }
    f.axes = axes;
    return f;
}

// The kinds of the X, Y and Z criteria; -1 for none.
std::array<int, 3> AxisKinds(const DMFilter& f)
{
    std::array<int, 3> out{};
    for (int a = 0; a < 3; ++a) {
        const int i = AxisCriterionIndex(f, FilterAxis(a));
        out[size_t(a)] = i < 0 ? -1 : f.criteria[size_t(i)].kind;
    }
    return out;
}

TEST(FilterEditingTest, TitlesAndBounds)
{
    DMFilter f = FilterOf(1, {});
    EXPECT_EQ(FilterPanelTitle(nullptr), "  No Selected Filter");
    EXPECT_EQ(FilterPanelTitle(&f), "Filter: Test");
    f.flags = kFilterReadOnly;
    EXPECT_EQ(FilterPanelTitle(&f), "Test");
    EXPECT_EQ(FormatCriterionBound(2.345f), "2.35");

    struct Case {
        bool lower;
        double value;
        bool taken;
    } cases[] = {
        {true, 0, true},   {true, -0.01, false}, {true, 8, false} /* equal to the upper */, {true, 7.99, true},
        {false, 10, true}, {false, 10.01, false}, {false, 2, false} /* equal to the lower */, {false, 2.01, true},
    };
    for (const Case& c : cases) {
        DMCriterion k = FilterOf(1, {}).criteria[0];
        const bool taken = c.lower ? AcceptLowerBound(k, c.value) : AcceptUpperBound(k, c.value);
        EXPECT_EQ(taken, c.taken) << c.lower << " " << c.value;
        EXPECT_FLOAT_EQ(c.lower ? k.lower : k.upper, c.taken ? float(c.value) : (c.lower ? 2.f : 8.f));
    }
}

TEST(FilterEditingTest, ModeAndInversion)
{
    DMCriterion c;
    c.mode = 2;
    CycleCriterionMode(c);
    EXPECT_EQ(c.mode, 0);
    CycleCriterionMode(c);
    EXPECT_EQ(c.mode, 1);
    ToggleCriterionInverted(c);
    EXPECT_EQ(c.inverted, 1);
    ToggleCriterionInverted(c);
    EXPECT_EQ(c.inverted, 0);
    c.noData = 1;
    CycleCriterionMode(c);
    EXPECT_EQ(c.mode, 0);
    ToggleCriterionInverted(c);
    EXPECT_EQ(c.inverted, 0) << "nothing to invert without data";
}

TEST(FilterEditingTest, AxisButtonsSetOrClear)
{
    DMFilter f = FilterOf(3, {1, 2, 0});
    ToggleFilterAxis(f, 0, FilterAxis::X);
    EXPECT_EQ(f.axes[0], 0u) << "X on the X criterion clears it";
    ToggleFilterAxis(f, 2, FilterAxis::Z);
    EXPECT_EQ(f.axes[2], 3u);
    ToggleFilterAxis(f, 2, FilterAxis::Y);
    EXPECT_EQ(f.axes[1], 3u);
    ToggleFilterAxis(f, 7, FilterAxis::X);
    EXPECT_EQ(f.axes[0], 0u);
}

// Every change of the list leaves the axes on the criteria they named before, or on none.
TEST(FilterEditingTest, AxesFollowTheirCriteria)
{
    struct Case {
        const char* name;
        std::array<uint32_t, 3> axes;
        std::function<void(DMFilter&)> change;
        std::array<int, 3> kinds;
        size_t count;
    } cases[] = {
        {"delete X", {2, 3, 4}, [](DMFilter& f) { DeleteCriterion(f, 1); }, {-1, 2, 3}, 3},
        {"delete one before X", {2, 3, 4}, [](DMFilter& f) { DeleteCriterion(f, 0); }, {1, 2, 3}, 3},
        {"delete the last", {4, 1, 0}, [](DMFilter& f) { DeleteCriterion(f, 3); }, {-1, 0, -1}, 3},
        {"delete past the end", {1, 2, 3}, [](DMFilter& f) { DeleteCriterion(f, 9); }, {0, 1, 2}, 4},
        {"move X down", {1, 2, 0}, [](DMFilter& f) { MoveCriterion(f, 0, 1); }, {0, 1, -1}, 4},
        {"move Y up", {1, 2, 4}, [](DMFilter& f) { MoveCriterion(f, 1, -1); }, {0, 1, 3}, 4},
        {"copy before Z", {1, 0, 3}, [](DMFilter& f) { CopyCriterion(f, 1); }, {0, -1, 2}, 5},
        {"copy X", {1, 2, 0}, [](DMFilter& f) { CopyCriterion(f, 0); }, {0, 1, -1}, 5},
        {"clear", {1, 2, 3}, [](DMFilter& f) { ClearCriteria(f); }, {-1, -1, -1}, 0},
    };
    for (const Case& c : cases) {
        DMFilter f = FilterOf(4, c.axes);
        c.change(f);
        EXPECT_EQ(AxisKinds(f), c.kinds) << c.name;
        EXPECT_EQ(f.criteria.size(), c.count) << c.name;
    }
    DMFilter f = FilterOf(2, {1, 2, 0});
    EXPECT_FALSE(MoveCriterion(f, 0, -1)) << "the first cannot move up";
    EXPECT_FALSE(MoveCriterion(f, 1, 1)) << "the last cannot move down";
    EXPECT_TRUE(MoveCriterion(f, 1, -1));
    EXPECT_EQ(f.criteria[0].kind, 1);
    EXPECT_EQ(f.criteria[1].kind, 0);
}

TEST(FilterEditingTest, AddedCriteriaTakeTheFreeAxes)
{
    DMFilter f;
    CriterionDialogFields fields;
    fields.kind = 3;
    fields.parameter = 1;
    const DMCriterion c = NewCriterionFromDialog(fields);
    EXPECT_EQ(c.mode, 2);
    EXPECT_GT(c.dataMin, c.dataMax) << "empty until its statistics";
    EXPECT_EQ(AppendCriterion(f, c), 0);
    EXPECT_EQ(AppendCriterion(f, c), 1);
    EXPECT_EQ(AppendCriterion(f, c), -1) << "the Z axis is never taken";
    EXPECT_EQ(f.axes, (std::array<uint32_t, 3>{1, 2, 0}));
    f.axes[0] = 0;
    EXPECT_EQ(AppendCriterion(f, c), 0);
    EXPECT_EQ(f.axes[0], 4u);
}

TEST(FilterEditingTest, AdvancedResultsStoreTheVariantInTheParameterAndTheYearApart)
{
    CriterionDialogFields fields;
    fields.kind = kAdvancedResultKind;
    fields.parameter = 13; // "ROCE"
    fields.variant = 0;
    fields.secondSetting = 3;
    DMCriterion c = NewCriterionFromDialog(fields);
    EXPECT_EQ(c.parameter, 14);
    EXPECT_EQ(c.secondSetting, 3);
    fields.parameter = 3; // "Turnover", variant "Price to turnover (PSR)"
    fields.variant = 2;
    c = NewCriterionFromDialog(fields);
    EXPECT_EQ(c.parameter, 3 | 2 << 5);
}

TEST(FilterEditingTest, CopiesRenamesAndSources)
{
    DMFilter from = FilterOf(3, {3, 1, 0});
    from.note = "note";
    from.flags = kFilterReadOnly | kFilterEdition | kFilterPortfolioSource;
    from.portfolioNumber = 7;
    const auto copy = CopyFilter(from, "Copy");
    EXPECT_EQ(copy->name, "Copy");
    EXPECT_EQ(copy->note, "note");
    EXPECT_EQ(copy->flags, kFilterPortfolioSource);
    EXPECT_EQ(copy->portfolioNumber, 7);
    EXPECT_EQ(AxisKinds(*copy), AxisKinds(from));

    DMFilter to = FilterOf(1, {1, 0, 0});
    CopyAllCriteria(to, to);
    EXPECT_EQ(to.criteria.size(), 2u) << "copying into itself doubles once";
    CopyAllCriteria(from, to);
    EXPECT_EQ(to.criteria.size(), 5u);
    EXPECT_EQ(to.axes, (std::array<uint32_t, 3>{1, 0, 0}));

    EXPECT_EQ(NewEmptyFilter("New")->sourceKind, kSharesSource);

    DMFilter f = FilterOf(0, {});
    f.sourceKind = 5;
    EXPECT_EQ(SourceComboIndex(f), 6); // "FTSE 250"
    SetFilterPortfolioSource(f, 3);
    EXPECT_EQ(SourceComboIndex(f), 0);
    EXPECT_EQ(f.portfolioNumber, 3);
    SetFilterListSource(f, kFtse100Source);
    EXPECT_EQ(f.flags & kFilterPortfolioSource, 0);
    EXPECT_EQ(f.sourceKind, kFtse100Source);
}

TEST(FilterEditingTest, RenameCarriesTheFirstFilterDrivenPortfolio)
{
    Portfolio first, second, other;
    first.type = second.type = kFilterPreset;
    other.type = kUserPortfolio;
    first.name = "Old";
    second.name = "Old";
    other.name = "Old";
    other.next = &first;
    first.next = &second;
    Portfolio* saved = PortfolioChain();
    PortfolioChain() = &other;
    DMFilter f = FilterOf(0, {});
    f.name = "Old";
    RenameFilter(f, "New");
    PortfolioChain() = saved;
    EXPECT_EQ(f.name, "New");
    EXPECT_EQ(first.name.str(), "New");
    EXPECT_EQ(second.name.str(), "Old");
    EXPECT_EQ(other.name.str(), "Old");
    other.next = nullptr;
    first.next = nullptr;
}

} // namespace
