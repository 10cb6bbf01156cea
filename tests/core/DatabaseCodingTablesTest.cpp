// Coded company texts through a written and loaded database.
#include "core/DatabaseCodingTables.h"

#include "core/CodedText.h"
#include "devtools/lib/CompanyTextCoding.h"
#include "support/DatabaseFixture.h"

#include "devtools/lib/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace qv;
using namespace qv::dev;

namespace {

class DatabaseCodingTablesTest : public test::DatabaseFixture {};

const std::map<uint16_t, std::string> kTexts = {
    {0x4001, "The Company explores for gold in Ghana and Mali through Alpha Mining (Ghana) Ltd."},
    {0x4002, "Bank holding company: retail banking, insurance and asset management in the UK."},
    {0x4003, "Brewer and pub operator with 1,200 pubs; turnover \xA3" "450m."},
};

} // namespace

TEST_F(DatabaseCodingTablesTest, LoadedTablesDecodeTheCompanyTexts)
{
    auto coded = CodeCompanyTexts(kTexts, {"company", "ing "}, {"Mining", "Ghana"});
    ASSERT_TRUE(coded.has_value());
    DbFile db;
    DbEntry& main = db.entries.emplace_back();
    CompFile comp;
    comp.records.descriptors = {{kCodedDescriptionField, 0x00, {}}};
    for (const auto& [id, text] : kTexts) {
        main.records.push_back(ShareRecord(id, "Share", 'O', "EP"));
        comp.records.items.push_back({id, 0, {{kCodedDescriptionField, coded->coded.at(id)}}});
    }
    db.entries.emplace_back().extra = {1, 2, 3, 4, 5, 6};  // not tables
    db.entries.emplace_back().extra = coded->tablesBlock;
    auto compBytes = WriteCompDat(comp);
    Load(WriteQuorvaDat(db), &compBytes);

    ASSERT_EQ(ActiveCodingTables().loadedCount(), 3);
    for (const auto& [id, text] : kTexts) {
        RecordCursor cursor{RecordIndex[id], 0};
        const uint8_t* field = GetFieldDescriptor(kCodedDescriptionField, nullptr, &cursor, 0);
        ASSERT_NE(field, nullptr);
        BitCursor bits{std::span<const uint8_t>(field + 1, field[0]), 0};
        EXPECT_EQ(UnpackText(bits, kCodedDescriptionKind), text);
    }

    // The developer tool shows the same texts from the files.
    TempFolder folder;
    ASSERT_TRUE(WriteDatabaseFolder(folder.path(), db, &comp));
    std::string command = std::string(QV_BINARY_DIR) + "/devtools/qvtool texts " + folder.path().string() + " > " +
                          (folder / "out.txt").string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::stringstream out;
    out << std::ifstream(folder / "out.txt").rdbuf();
    EXPECT_NE(out.str().find("4002 Share: Bank holding company"), std::string::npos) << out.str();

    FreeDatabase(true);
    Load(WriteQuorvaDat(test::OneEntry({ShareRecord(0x4001, "Share", 'O', "EP")})));
    EXPECT_EQ(ActiveCodingTables().loadedCount(), 0) << "a database without tables leaves none";
}
