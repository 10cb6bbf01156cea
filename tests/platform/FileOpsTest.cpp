// Tests of the file operations: a rename that refuses to replace, exclusive opens, reads at an offset,
// finds and deletes.
#include "platform/FileOps.h"

#include "devtools/lib/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace qv;

namespace {
void Write(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }
std::string Read(const fs::path& p)
{
    auto bytes = ReadFileBytes(p);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<missing>";
}
} // namespace

TEST(FileOps, RenameRefusesToReplaceAnExistingTarget)
{
    dev::TempFolder dir;
    Write(dir / "a", "new");
    Write(dir / "b", "old");
    EXPECT_FALSE(RenameNoReplace(dir / "a", dir / "b"));
    EXPECT_EQ(Read(dir / "b"), "old");
    EXPECT_EQ(Read(dir / "a"), "new");

    EXPECT_TRUE(RenameNoReplace(dir / "a", dir / "c"));
    EXPECT_EQ(Read(dir / "c"), "new");
    EXPECT_FALSE(fs::exists(dir / "a"));

    EXPECT_TRUE(RenameReplace(dir / "c", dir / "b"));
    EXPECT_EQ(Read(dir / "b"), "new");
}

TEST(FileOps, ExclusiveOpenShutsOutASecondOpener)
{
    dev::TempFolder dir;
    Write(dir / "Quorva.dat", "data");
    ExclusiveFile first, second;
    ASSERT_TRUE(first.open(dir / "Quorva.dat", ExclusiveFile::Mode::Read));
    EXPECT_FALSE(second.open(dir / "Quorva.dat", ExclusiveFile::Mode::Read));
    // A create on a held file must neither succeed nor empty it.
    EXPECT_FALSE(second.open(dir / "Quorva.dat", ExclusiveFile::Mode::Create));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(first.readAll(bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "data");
    first.close();
    EXPECT_TRUE(second.open(dir / "Quorva.dat", ExclusiveFile::Mode::Read));
    EXPECT_FALSE(ExclusiveFile().open(dir / "absent", ExclusiveFile::Mode::Read));
}

TEST(FileOps, AReadAtAnOffsetLeavesThePositionAlone)
{
    dev::TempFolder dir;
    Write(dir / "DNews.dat", "0123456789");
    ExclusiveFile file;
    char buffer[8] = {};
    EXPECT_EQ(file.readAt(0, buffer, 4), -1) << "not open";
    ASSERT_TRUE(file.open(dir / "DNews.dat", ExclusiveFile::Mode::Read));
    ASSERT_TRUE(file.seek(2));
    EXPECT_EQ(file.readAt(6, buffer, 3), 3);
    EXPECT_EQ(std::string(buffer, 3), "678");
    EXPECT_EQ(file.readAt(8, buffer, 4), 2) << "short at the end";
    EXPECT_EQ(std::string(buffer, 2), "89");
    EXPECT_EQ(file.read(buffer, 2), 2);
    EXPECT_EQ(std::string(buffer, 2), "23") << "read on from where the seek left it";
}

TEST(FileOps, ForceDeleteRemovesReadOnlyFiles)
{
    dev::TempFolder dir;
    Write(dir / "ro", "x");
    ::chmod((dir / "ro").c_str(), 0444);
    EXPECT_TRUE(ForceDelete(dir / "ro"));
    EXPECT_FALSE(fs::exists(dir / "ro"));
    EXPECT_TRUE(ForceDelete(dir / "never-there"));
}

TEST(FileOps, FindFilesMatchesPatternsWithoutRegardToCase)
{
    dev::TempFolder dir;
    for (const char* name : {"N0000000001.UPD", "n0000000002.upd", "Quorva001.por", "notes.txt"})
        Write(dir / name, "");
    EXPECT_EQ(FindFiles(dir.path(), "N*.UPD"),
              (std::vector<std::string>{"N0000000001.UPD", "n0000000002.upd"}));
    EXPECT_EQ(FindFiles(dir.path(), "quorva???.POR"), (std::vector<std::string>{"Quorva001.por"}));
    EXPECT_TRUE(FindFiles(dir.path(), "*.dat").empty());
    EXPECT_TRUE(FindFiles(dir / "absent", "*").empty());

    struct Case { const char* pattern; const char* name; bool match; };
    const Case cases[] = {
        {"*", "", true}, {"*.*", "a.b", true}, {"a*b*c", "aXbYc", true}, {"a*b*c", "aXbY", false},
        {"?", "", false}, {"*x", "xxx", true}, {"A?C", "abc", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatchNoCase(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

TEST(FileOps, FreeDiskSpaceIsReadForMissingFilesToo)
{
    dev::TempFolder dir;
    auto free = FreeDiskSpace(dir / "not-yet" / "file");
    ASSERT_TRUE(free.has_value());
    EXPECT_GT(*free, 0u);
}
