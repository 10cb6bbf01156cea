// A program folder of its own with the news database's merge host installed, for tests that merge
// update files and read the database back.
#pragma once

#include "core/NewsUpdateFiles.h"
#include "devtools/lib/TempFolder.h"
#include "news/NewsDatabase.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

namespace qv::test {

class NewsFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = ProgramFolder();
        SetProgramFolder(dir_.path());
        std::filesystem::create_directories(dir_.path() / "data");
        installed_ = SetNewsMergeHost(&NewsDatabaseMergeHost());
    }
    void TearDown() override
    {
        TheNewsDatabase().free();
        SetNewsMergeHost(installed_);
        SetProgramFolder(previous_);
    }

    dev::TempFolder dir_;
    std::filesystem::path previous_;
    NewsMergeHost* installed_ = nullptr;
};

} // namespace qv::test
