// A test fixture for database tests: boxes are recorded, the program end is caught, and whatever
// the test loaded is freed afterwards.
#pragma once

#include "core/Database.h"
#include "devtools/lib/DatabaseWriter.h"
#include "platform/ProgramExit.h"
#include "support/FakeMessageBox.h"

#include <gtest/gtest.h>
#include <span>
#include <vector>

namespace qv::test {

class DatabaseFixture : public ::testing::Test {
protected:
    // Every test starts on an empty database, whatever a test before it left.
    DatabaseFixture() { FreeDatabase(true); }
    ~DatabaseFixture() override { FreeDatabase(true); }


    // Loads images through the loader; a null Comp.dat stands for a missing one.
    void Load(const std::vector<uint8_t>& quorva, const std::vector<uint8_t>* comp = nullptr)
    {
        std::span<const uint8_t> compSpan;
        if (comp)
            compSpan = std::span<const uint8_t>(*comp);
        LoadDatabaseFromMemory(quorva, comp ? &compSpan : nullptr);
    }
    // The exit code a load ends the program with, or -1 when it loads.
    int LoadEndCode(const std::vector<uint8_t>& quorva, const std::vector<uint8_t>* comp = nullptr)
    {
        try {
            Load(quorva, comp);
        } catch (const ProgramEnded& ended) {
            return ended.code;
        }
        return -1;
    }

    FakeMessageBox box;
    ThrowOnProgramEnd catchEnd;
};

// The main entry of a one-entry database of the given records.
inline dev::DbFile OneEntry(std::vector<dev::DbRecord> records)
{
    dev::DbFile file;
    file.entries.emplace_back().records = std::move(records);
    return file;
}

} // namespace qv::test
