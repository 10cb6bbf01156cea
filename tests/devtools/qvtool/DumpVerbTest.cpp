// qvtool dump, run as a developer would run it.
#include "devtools/lib/DatabaseWriter.h"
#include "devtools/lib/TempFolder.h"
#include "platform/FileOps.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

using namespace qv;
using namespace qv::dev;

namespace {

struct ToolRun {
    int code = -1;
    std::string out;
};

ToolRun Qvtool(const std::string& arguments)
{
    std::string command = std::string(QV_BINARY_DIR) + "/devtools/qvtool " + arguments + " 2>&1";
    ToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    int status = ::pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace

TEST(QvtoolDump, PrintsCountsAndRecordsOrTheFileFault)
{
    TempFolder folder;
    DbFile file;
    file.entries.emplace_back().records = {ShareRecord(0x4001, "Alpha Mining", 'O', "ALM"),
                                           ShareRecord(0x4002, "Beta Bank", 'O', "BTB")};
    ASSERT_TRUE(WriteDatabaseFolder(folder.path(), file, nullptr));

    ToolRun run = Qvtool("dump " + folder.path().string() + " 0x4002 16385 0x4999");
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("       2 companies"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Record 0x4002 \"Beta Bank\" EPIC \"BTB\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Record 0x4001 \"Alpha Mining\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Record 0x4999: none"), std::string::npos) << run.out;

    EXPECT_EQ(Qvtool("dump " + folder.path().string() + " nonsense").code, 2);
    EXPECT_EQ(Qvtool("dump " + (folder / "nowhere").string()).code, 1);

    std::vector<uint8_t> damaged = WriteQuorvaDat(file);
    damaged[0] = 'X';
    ASSERT_TRUE(WriteFileBytes(folder / "data" / "Quorva.dat", damaged));
    run = Qvtool("dump " + folder.path().string());
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find("The data file Quorva.dat is badly formatted"), std::string::npos) << run.out;
}
