// Tests of the tagged header of every file the program writes for itself, and a loader's checks of it.
#include "core/TaggedFile.h"

#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/FileOps.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>
#include <string>

using namespace qv;

namespace {
TaggedFileHeader Header(uint32_t tag, uint8_t version)
{
    TaggedFileHeader h;
    h.tag = tag;
    h.version = version;
    return h;
}
const char* Text(TaggedFileKind kind, HeaderVerdict v)
{
    const char* t = HeaderMessageText(kind, v);
    return t ? t : "<none>";
}
} // namespace

TEST(TaggedFile, HeaderRoundTripsLittleEndianAndRefusesShortInput)
{
    TaggedFileHeader h = Header(file_tag::kConfiguration, 3);
    h.subVersion = 34;
    h.setWords8(0x1234, 0xBEEF);
    h.word12 = 0x01020304;
    ByteWriter w;
    h.write(w);
    const std::vector<uint8_t> expected{'Z', 'Q', 'A', 'A', 3, 34, 0, 0, 0x34, 0x12, 0xEF, 0xBE, 4, 3, 2, 1};
    EXPECT_EQ(w.data(), expected);

    TaggedFileHeader back;
    ByteReader r(w.data());
    ASSERT_TRUE(back.read(r));
    EXPECT_EQ(back.low8(), 0x1234);
    EXPECT_EQ(back.high8(), 0xBEEF);
    EXPECT_EQ(back.word12, 0x01020304u);

    ByteReader shortInput(std::span(w.data()).first(15));
    TaggedFileHeader untouched;
    EXPECT_FALSE(untouched.read(shortInput));
    EXPECT_EQ(untouched.tag, 0u);

    std::vector<uint8_t> image(20, 0xAA);
    h.writeOver(image);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), image.begin()));
    EXPECT_EQ(image[16], 0xAA);
}

TEST(TaggedFile, CombinedTestLetsTheVersionChooseTheMessage)
{
    const uint32_t wrong = MakeFileTag("ZQXX");
    struct Case {
        uint32_t tag;
        uint8_t version;
        const char* text;
    } cases[] = {
        {file_tag::kConfiguration, 1, "<none>"},
        {file_tag::kConfiguration, 3, "<none>"},
        {wrong, 2, "Quorva.cfg is badly formatted"},
        {wrong, 0, "Quorva.cfg is too old"},
        {wrong, 7, "Quorvantis is too old to load Quorva.cfg"},
        {file_tag::kConfiguration, 0, "Quorva.cfg is too old"},
        {file_tag::kConfiguration, 4, "Quorvantis is too old to load Quorva.cfg"},
    };
    for (const Case& c : cases) {
        HeaderVerdict v = TestHeaderCombined(Header(c.tag, c.version), file_tag::kConfiguration, 1, 3);
        EXPECT_STREQ(Text(TaggedFileKind::Configuration, v), c.text) << int(c.version);
    }
    // The imports file takes versions 1-2 only.
    EXPECT_EQ(TestHeaderCombined(Header(file_tag::kImports, 3), file_tag::kImports, 1, 2),
              HeaderVerdict::ProgramTooOld);
}

TEST(TaggedFile, VersionFirstTestJudgesTheVersionBeforeTheTag)
{
    const uint32_t wrong = MakeFileTag("ZQAA");
    EXPECT_STREQ(Text(TaggedFileKind::CashAccounts, TestHeaderVersionFirst(Header(wrong, 5), file_tag::kCashAccounts)),
                 "Quorvantis is too old to load Cash account file");
    EXPECT_STREQ(Text(TaggedFileKind::CashAccounts, TestHeaderVersionFirst(Header(wrong, 0), file_tag::kCashAccounts)),
                 "Cash account file is too old");
    EXPECT_STREQ(Text(TaggedFileKind::Portfolio, TestHeaderVersionFirst(Header(wrong, 2), file_tag::kPortfolio)),
                 "Portfolio is badly formatted");
    EXPECT_EQ(TestHeaderVersionFirst(Header(file_tag::kPortfolio, 3), file_tag::kPortfolio), HeaderVerdict::Accepted);
}

TEST(TaggedFile, EachFileHasItsOwnFifteenTexts)
{
    using K = TaggedFileKind;
    using V = HeaderVerdict;
    struct Case {
        K kind;
        V verdict;
        const char* text;
    } cases[] = {
        {K::Portfolio, V::TooOld, "Portfolio is too old"},
        {K::Portfolio, V::ProgramTooOld, "Quorvantis is too old to load portfolio"},
        {K::CashAccounts, V::BadlyFormatted, "Cash account file is badly formatted"},
        {K::Imports, V::TooOld, "Imports.dat is too old"},
        {K::Imports, V::ProgramTooOld, "Quorvantis is too old to load Imports.dat"},
        {K::Imports, V::BadlyFormatted, "Imports.dat is badly formatted"},
        {K::TimeZones, V::BadlyFormatted, "Time Zone file is badly formatted"},
        {K::TimeZones, V::TooOld, "<none>"},
        {K::OlderGraph, V::ProgramTooOld, "Quorvantis is too old to load Graph.cfg"},
        {K::OlderGraph, V::BadlyFormatted, "Graph.cfg is badly formatted"},
        {K::OlderGraph, V::TooOld, "<none>"},
        {K::Configuration, V::Accepted, "<none>"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(Text(c.kind, c.verdict), c.text);

    test::FakeMessageBox box;
    ShowHeaderMessage(K::Imports, V::TooOld);
    ShowHeaderMessage(K::TimeZones, V::ProgramTooOld);
    ShowHeaderMessage(K::Portfolio, V::Accepted);
    ASSERT_EQ(box.texts(), std::vector<std::string>{"Imports.dat is too old"});
    EXPECT_EQ(box.shown()[0].buttons, MsgButtons::Ok);
}

TEST(TaggedFile, RejectedFileIsSetAsideWithoutReplacingEarlierRejects)
{
    dev::TempFolder dir;
    auto write = [](const fs::path& p, std::string s) {
        WriteFileBytes(p, std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size()));
    };
    write(dir / "Quorva.cfg", "first");
    ASSERT_EQ(SetRejectedFileAside(dir / "Quorva.cfg"), dir / "Quorva.bad");
    write(dir / "Quorva.cfg", "second");
    ASSERT_EQ(SetRejectedFileAside(dir / "Quorva.cfg"), dir / "Quorva1.bad");
    EXPECT_FALSE(fs::exists(dir / "Quorva.cfg"));
    auto first = ReadFileBytes(dir / "Quorva.bad");
    EXPECT_EQ(std::string(first->begin(), first->end()), "first");
    EXPECT_EQ(SetRejectedFileAside(dir / "Missing.cfg"), std::nullopt);
}
