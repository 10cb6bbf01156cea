// Content archives made here with libzip: unpacked over the content folder, a damaged one kept as
// ".bad", and members that would leave the folder refused.
#include "infocentre/ContentArchives.h"

#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"

#include <gtest/gtest.h>
#include <random>
#include <zip.h>

using namespace qv;
namespace fs = std::filesystem;

namespace {

void MakeZip(const fs::path& file, const std::vector<std::pair<std::string, std::string>>& members)
{
    int error = 0;
    zip_t* zip = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr);
    for (const auto& [name, text] : members) {
        zip_source_t* source = zip_source_buffer(zip, text.data(), text.size(), 0);
        ASSERT_GE(zip_file_add(zip, name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

std::string Text(const fs::path& file)
{
    auto bytes = ReadFileBytes(file);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<missing>";
}

} // namespace

TEST(ContentArchives, UnpacksEveryArchiveOverTheContentFolder)
{
    dev::TempFolder data{"zipdata"};
    fs::create_directories(data / "Content");
    WriteFileBytes(data / "Content" / "00001.htm", std::vector<uint8_t>{'o', 'l', 'd'});
    MakeZip(data / "a.zip", {{"00001.htm", "new"}, {"pictures/", ""}, {"pictures/p.gif", "gif"}});
    MakeZip(data / "b.zip", {{"00002.InC", "doc"}});
    EXPECT_EQ(UnpackContentArchives(data.path()), kUnpackAll);
    EXPECT_EQ(Text(data / "Content" / "00001.htm"), "new");
    EXPECT_EQ(Text(data / "Content" / "pictures" / "p.gif"), "gif");
    EXPECT_EQ(Text(data / "Content" / "00002.InC"), "doc");
    EXPECT_FALSE(fs::exists(data / "a.zip"));
    EXPECT_FALSE(fs::exists(data / "b.zip"));
    EXPECT_EQ(UnpackContentArchives(data.path()), kUnpackAll);
}

TEST(ContentArchives, ABadArchiveIsKeptAndEscapingMembersAreRefused)
{
    dev::TempFolder data{"zipdata"};
    MakeZip(data / "escape.zip", {{"ok.htm", "fine"}, {"../outside.txt", "x"}});
    WriteFileBytes(data / "broken.zip", std::vector<uint8_t>(100, 'z'));
    MakeZip(data / "good.zip", {{"good.htm", "g"}});
    EXPECT_EQ(UnpackContentArchives(data.path()), kUnpackFailed);
    EXPECT_FALSE(fs::exists(data / "outside.txt"));
    EXPECT_TRUE(fs::exists(data / "escape.bad"));
    EXPECT_TRUE(fs::exists(data / "broken.bad"));
    EXPECT_FALSE(fs::exists(data / "broken.zip"));
    EXPECT_EQ(Text(data / "Content" / "good.htm"), "g");

    struct Case {
        const char* name;
        bool accepted;
    };
    for (Case c : {Case{"a.htm", true}, {"dir/", true}, {"dir/b.gif", true}, {"/etc/x", false}, {"..\\x", false},
                   {"a/../../x", false}, {"", false}})
        EXPECT_EQ(ArchiveMemberPath(data / "Content", c.name).has_value(), c.accepted) << c.name;
}

// An archive bomb is refused whole before anything is unpacked: a member that packs far tighter
// than any document (a megabyte of zeros), or one that would unpack past the size bound; an
// ordinary archive beside them is unpacked.
TEST(ContentArchives, AnArchiveThatWouldUnpackPastItsBoundsIsRefusedWhole)
{
    dev::TempFolder data{"zipbomb"};
    MakeZip(data / "bomb.zip", {{"first.htm", "fine"}, {"zeros.htm", std::string(kArchiveRatioFrom * 4, '\0')}});
    std::string varied;
    std::mt19937 random(7);
    while (varied.size() <= kArchiveRatioFrom)
        varied += char('a' + random() % 26);
    MakeZip(data / "fair.zip", {{"varied.htm", varied}});
    EXPECT_EQ(UnpackContentArchives(data.path()), kUnpackFailed);
    EXPECT_TRUE(fs::exists(data / "bomb.bad"));
    EXPECT_FALSE(fs::exists(data / "Content" / "first.htm"));
    EXPECT_FALSE(fs::exists(data / "Content" / "zeros.htm"));
    EXPECT_EQ(Text(data / "Content" / "varied.htm"), varied);
}
