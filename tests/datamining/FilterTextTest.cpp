// The ".flt" filter file: exact bytes written, round trips through the filter list, the renaming of
// clashing names, versions and old kind numbers, and the damaged or hostile lines the reader skips.
#include "datamining/FilterText.h"

#include "SimulationFixture.h"
#include "datamining/CriterionKinds.h"
#include "datamining/CriterionValue.h"
#include "datamining/FilterValues.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"

#include <gtest/gtest.h>

#include <string>

namespace qv {
namespace {

constexpr const char* kHead = "Quorvantis filter file (360) - ASCII datamining filter\n\nWarning: This is a "
                              "formatted file and should only be modified with care.";

std::string ReadText(const std::filesystem::path& path)
{
    auto bytes = ReadFileBytes(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

DMCriterion Criterion(uint8_t kind, uint8_t parameter, float lower, float upper, uint8_t inverted = 0)
{
    DMCriterion c;
    c.kind = kind;
    c.parameter = parameter;
    c.mode = 2;
    c.lower = lower;
    c.upper = upper;
    c.inverted = inverted;
    c.setting = 0x5000F;
    c.secondSetting = 3;
    c.firstDate = PeriodWord(PeriodUnit::Months, 6);
    return c;
}

FilterTextContents Parse(const std::string& body, int version = 360)
{
    std::string text = kHead;
    text.replace(text.find("360"), 3, std::to_string(version));
    return ParseFilterText(text + body, [](std::string_view name) { return name == "Growth"; });
}

class FilterTextTest : public ::testing::Test {
protected:
    void SetUp() override { ClearFilterList(); }
    void TearDown() override { ClearFilterList(); }
    dev::TempFolder folder_{"flt"};
};

TEST_F(FilterTextTest, TwoFiltersExportedToANewFileGiveOneHeadingAndTheExactBlocks)
{
    DMFilter first;
    first.name = "Value, cheap";
    first.note = "PE;low\nFILTER x";
    first.sourceKind = 3;
    first.criteria = {Criterion(3, 1, 0.5f, 12.25f), Criterion(1, 2, -1, 2, 1)};
    first.axes = {2, 1, 9};
    DMFilter second;
    second.name = "Empty";
    const auto path = folder_ / "out.flt";
    ASSERT_TRUE(ExportFilterText(path, &first));
    ASSERT_TRUE(ExportFilterText(path, &second));
    EXPECT_EQ(ReadText(path), std::string(kHead) +
                                  "\n\nFILTER Value  cheap,2,1,0,3,PE low FILTER x;\n"
                                  "CRITERIA 3,1,2,327695,3,0.500000,12.250000,196614,0,0;\n"
                                  "CRITERIA 1,2,2,327695,3,-1.000000,2.000000,196614,0,1;\n"
                                  "\n\nFILTER Empty,0,0,0,0,;\n");
    EXPECT_EQ(first.name, "Value, cheap"); // only the written copy loses its comma
}

TEST_F(FilterTextTest, ExportRefusesNoFilterAReadOnlyOneAndAnUnwritableFile)
{
    DMFilter readOnly;
    readOnly.flags = kFilterReadOnly;
    DMFilter plain;
    EXPECT_FALSE(ExportFilterText(folder_ / "a.flt", nullptr));
    EXPECT_FALSE(ExportFilterText(folder_ / "a.flt", &readOnly));
    EXPECT_FALSE(ExportFilterText(folder_ / "missing" / "a.flt", &plain));
    EXPECT_FALSE(std::filesystem::exists(folder_ / "a.flt"));
}

TEST_F(FilterTextTest, ImportRoundTripKeepsCriteriaAxesAndInversionAndRenamesClashes)
{
    DMFilter growth;
    growth.name = "Growth";
    growth.note = "rising";
    growth.sourceKind = 2;
    growth.criteria = {Criterion(3, 1, 0.5f, 12.25f), Criterion(1, 2, -1, 2, 1)};
    growth.axes = {2, 1, 0};
    const auto path = folder_ / "in.flt";
    ASSERT_TRUE(ExportFilterText(path, &growth));
    ASSERT_TRUE(ExportFilterText(path, &growth));
    auto existing = std::make_unique<DMFilter>();
    existing->name = "Growth";
    InsertFilter(std::move(existing));

    EXPECT_EQ(ImportFilterText(path), 2);
    ASSERT_EQ(FilterList().size(), 3u);
    EXPECT_EQ(FilterList()[0]->name, "Growth 1"); // each import goes to the head
    EXPECT_EQ(FilterList()[1]->name, "Growth 0");
    const DMFilter& f = *FilterList()[1];
    EXPECT_EQ(f.note, "rising");
    EXPECT_EQ(f.sourceKind, 2);
    EXPECT_EQ(f.flags, 0);
    EXPECT_EQ(f.axes, (std::array<uint32_t, 3>{2, 1, 0}));
    ASSERT_EQ(f.criteria.size(), 2u);
    const DMCriterion& c = f.criteria[1];
    EXPECT_EQ(c.kind, 1);
    EXPECT_EQ(c.parameter, 2);
    EXPECT_EQ(c.setting, 0x5000Fu);
    EXPECT_EQ(c.secondSetting, 3);
    EXPECT_EQ(c.firstDate, PeriodWord(PeriodUnit::Months, 6));
    EXPECT_FLOAT_EQ(c.lower, -1);
    EXPECT_FLOAT_EQ(c.upper, 2);
    EXPECT_EQ(c.inverted, 1);
    EXPECT_EQ(f.criteria[0].inverted, 0);
}

TEST_F(FilterTextTest, ImportOfAMissingOrForeignFileMakesNothing)
{
    EXPECT_EQ(ImportFilterText(folder_ / "none.flt"), 0);
    const auto path = folder_ / "other.flt";
    ASSERT_TRUE(WriteFileBytes(path, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>("hello"), 5)));
    EXPECT_EQ(ImportFilterText(path), 0);
    EXPECT_TRUE(FilterList().empty());
}

struct ParseCase {
    const char* what;
    int version;
    std::string body;
    bool valid;
    std::vector<std::string> names;
    std::vector<size_t> criteria;        // per filter
    std::array<uint32_t, 3> firstAxes{}; // of the first filter
};

TEST(FilterTextParse, Table)
{
    const std::string longName(300, 'n');
    const ParseCase cases[] = {
        {"version 361 refused", 361, "\n\nFILTER A,0,0,0,0,;\n", false, {}, {}},
        {"a filter with no criteria", 360, "\n\nFILTER A,1,2,3,0,note;\n", true, {"A"}, {0}, {0, 0, 0}},
        {"axes past the count", 360, "\n\nFILTER A,1,3,2,0,;\nCRITERIA 3,1,2,0,0,1.0,2.0,0,0,0;\n", true, {"A"},
         {1}, {1, 0, 0}},
        {"clashes: Growth 0, Growth 1", 360,
         "\n\nFILTER Growth,0,0,0,0,;\n\n\nFILTER Growth,0,0,0,0,;\n\n\nFILTER Value,0,0,0,0,;\n", true,
         {"Growth 0", "Growth 1", "Value"}, {0, 0, 0}},
        {"no semicolon on the FILTER line", 360, "\n\nFILTER A,0,0,0,0,note\n", true, {}, {}},
        {"malformed and hostile criteria skipped", 360,
         "\n\nFILTER A,1,0,0,0,;\n"
         "CRITERIA 3,1,2,0,0,1.0,2.0,0,0,0\n"   // no final semicolon
         "CRITERIA 15,0,2,0,0,1.0,2.0,0,0,0;\n" // kind outside the table
         "CRITERIA -1,0,2,0,0,1.0,2.0,0,0,0;\n"
         "CRITERIA 0,99,2,0,0,1.0,2.0,0,0,0;\n" // parameter outside the table
         "CRITERIA 14,13,2,0,0,1.0,2.0,0,0,0;\n"  // stored advanced item 13 never occurs
         "CRITERIA 14,224,2,0,0,1.0,2.0,0,0,0;\n" // variant 7
         "junk line here\n"
         "CRITERIA 14,14,2,0,0,1.0,2.0,0,0,0;\n",
         true, {"A"}, {1}, {1, 0, 0}},
        {"long name cut at 255", 360, "\n\nFILTER " + longName + ",0,0,0,0," + longName + ";\n", true,
         {longName.substr(0, 255)}, {0}},
    };
    for (const ParseCase& t : cases) {
        SCOPED_TRACE(t.what);
        FilterTextContents contents = Parse(t.body, t.version);
        EXPECT_EQ(contents.valid, t.valid);
        ASSERT_EQ(contents.filters.size(), t.names.size());
        for (size_t i = 0; i < t.names.size(); ++i) {
            EXPECT_EQ(contents.filters[i]->name, t.names[i]);
            EXPECT_EQ(contents.filters[i]->criteria.size(), t.criteria[i]);
        }
        if (!t.names.empty()) {
            EXPECT_EQ(contents.filters[0]->axes, t.firstAxes);
        }
    }
}

TEST(FilterTextParse, OldKindsAreMappedAndReversedRangesSwapped)
{
    const std::string body = "\n\nFILTER A,0,0,0,0,;\nCRITERIA 11,0,2,0,0,10.0,5.0,0,0,1;\n"
                             "CRITERIA 2,0,1,0,0,1.0,2.0,0,0,2;\n";
    FilterTextContents old = Parse(body, 359);
    ASSERT_EQ(old.filters.size(), 1u);
    ASSERT_EQ(old.filters[0]->criteria.size(), 2u);
    const DMCriterion& moving = old.filters[0]->criteria[0];
    EXPECT_EQ(moving.kind, kMovingAverageKind);
    EXPECT_FLOAT_EQ(moving.lower, 5);
    EXPECT_FLOAT_EQ(moving.upper, 10);
    EXPECT_EQ(moving.inverted, 1);
    EXPECT_EQ(old.filters[0]->criteria[1].kind, 13);
    EXPECT_EQ(old.filters[0]->criteria[1].inverted, 0); // only 1 inverts
    EXPECT_GT(moving.dataMin, moving.dataMax);          // an empty data range until the statistics run
    FilterTextContents current = Parse(body, 360);
    EXPECT_EQ(current.filters[0]->criteria[0].kind, 11);
}

TEST(FilterTextTokens, ReaderStopsAtTheRightCharacters)
{
    std::string token;
    TextPosition pos{" ,\r\nabc,def;\n12345678 x"};
    EXPECT_TRUE(ReadToken(pos, token, 255));
    EXPECT_EQ(token, "abc");
    EXPECT_FALSE(ReadToken(pos, token, 255));
    EXPECT_EQ(token, "def");
    EXPECT_EQ(*pos.at, ';');
    EXPECT_TRUE(SkipToNextLine(pos));
    EXPECT_TRUE(ReadToken(pos, token, 4));
    EXPECT_EQ(token, "1234");
    EXPECT_EQ(ReadIntToken(pos), 5678);
    EXPECT_FALSE(SkipToNextLine(pos));
    TextPosition numbers{"99999999999,-1e300,nan,"};
    EXPECT_EQ(ReadIntToken(numbers), INT32_MAX);
    EXPECT_EQ(ReadFloatToken(numbers), -FLT_MAX);
    EXPECT_EQ(ReadFloatToken(numbers), 0.0f);
    EXPECT_EQ(ReadIntToken(numbers), 0);
}

} // namespace
} // namespace qv

namespace qv {
namespace {

class FilterTextImportStatistics : public test::SimulationFixture {
protected:
    ~FilterTextImportStatistics() override
    {
        ClearFilterList();
        FilterCandidates() = {};
    }
    dev::TempFolder folder_{"fltstats"};
};

// A criterion repeated from filter to filter is measured once, and every copy gets the same figures
// as a criterion measured on its own.
TEST_F(FilterTextImportStatistics, RepeatedCriteriaGetTheFiguresOfOneMeasurement)
{
    LoadSimulationShares({{"Alpha", 100, 120}, {"Beta", 200, 90}, {"Gamma", 50, 60}});
    RebuildFilterCandidates();
    const auto path = folder_.path() / "two.flt";
    for (const char* name : {"First", "Second"}) {
        DMFilter f;
        f.name = name;
        f.sourceKind = 1;
        f.criteria = {Criterion(0, 0, 1, 1000), Criterion(0, 0, 1, 1000)};
        ASSERT_TRUE(ExportFilterText(path, &f));
    }
    ASSERT_EQ(ImportFilterText(path), 2);
    DMCriterion alone = Criterion(0, 0, 1, 1000);
    CriterionStatistics(FilterCandidates().rows.data(), nullptr, alone);
    ASSERT_FALSE(alone.noData);
    for (const auto& f : FilterList())
        for (const DMCriterion& c : f->criteria) {
            EXPECT_EQ(c.dataMin, alone.dataMin);
            EXPECT_EQ(c.dataMax, alone.dataMax);
            EXPECT_EQ(c.average, alone.average);
            EXPECT_EQ(c.lower, 1.0f) << "the file's bounds are kept";
        }
}

} // namespace
} // namespace qv
