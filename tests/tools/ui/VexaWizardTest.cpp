// The special-edition wizard walked page by page: the fourth table proposed when every table is in
// use, the graph list's two selections, and Finish storing the choice with the edition on.
#include "tools/ui/VexaWizard.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "core/ConfigDefaults.h"
#include "core/ConfigState.h"
#include "core/DMFilter.h"
#include "core/VexaEdition.h"
#include "shell/ui/ModalDialog.h"
#include "support/ui/Render.h"

#include <QLabel>
#include <QListWidget>

#include <gtest/gtest.h>

namespace qv {
namespace {

class VexaWizardTest : public ::testing::Test {
protected:
    VexaWizardTest() : tables_(Config().listTables), graphs_(Config().dailyGraphs), stored_(StoredEditionChoice()),
                       edition_(EditionOptionByte()) {}
    ~VexaWizardTest() override
    {
        ApplyEditionChoice(StoredEditionChoice(), stored_);
        SetEditionOptionByte(edition_);
        Config().listTables = tables_;
        Config().dailyGraphs = graphs_;
        SetModalDialogRunner(nullptr);
    }

private:
    TableFamily tables_;
    decltype(ConfigState::dailyGraphs) graphs_;
    EditionChoice stored_;
    uint8_t edition_;
};

TEST_F(VexaWizardTest, EveryTableInUseProposesTheFourthAndTheGraphWalkGivesTwoAndSeven)
{
    for (TableSlot& slot : Config().listTables.designs)
        slot.chain = DefaultColumnLayout(ColumnLayoutSet::ListTables, 0);
    // Every graph setting changed: no pair at the defaults.
    for (GraphSetting& g : Config().dailyGraphs.records) {
        InitGraphSetting(g, false);
        g.data()[graphsetting::kDateRange] ^= 0xFF;
    }
    SetModalDialogRunner([](QDialog& d) {
        auto& w = dynamic_cast<CVexaWizard&>(d);
        w.restart();
        test::SaveRender(test::RenderWidget(w), "VexaWizard_850");
        w.next();
        EXPECT_EQ(w.tableText()->text(),
                  "Quorvantis couldn't find an unused list table. Please a table to replace below.");
        EXPECT_EQ(w.tables()->currentRow(), 3);
        test::SaveRender(test::RenderWidget(w), "VexaWizard_27268");
        w.next();
        EXPECT_EQ(w.graphText()->text(), "Quorvantis couldn't find two unused graph settings that were sequential.");
        auto selected = [&w] {
            std::vector<int> rows;
            for (int i = 0; i < w.graphs()->count(); ++i)
                if (w.graphs()->item(i)->isSelected())
                    rows.push_back(i);
            return rows;
        };
        EXPECT_EQ(selected(), (std::vector<int>{3, 4}));
        w.graphs()->item(7)->setSelected(true);
        EXPECT_EQ(selected(), (std::vector<int>{3, 7}));
        w.graphs()->item(2)->setSelected(true);
        EXPECT_EQ(selected(), (std::vector<int>{2, 7}));
        w.graphs()->item(7)->setSelected(false); // one of the two comes back
        EXPECT_EQ(selected(), (std::vector<int>{2, 7}));
        test::SaveRender(test::RenderWidget(w), "VexaWizard_27269");
        w.next();
        EXPECT_EQ(w.currentId(), CVexaWizard::Finish);
        w.accept();
        return w.result();
    });
    ASSERT_TRUE(RunVexaWizard());
    const EditionChoice chosen = StoredEditionChoice();
    EXPECT_TRUE(chosen.enabled);
    EXPECT_EQ(chosen.table, 3);
    EXPECT_EQ(chosen.graphs, (std::array<uint8_t, 2>{2, 7}));
}

TEST_F(VexaWizardTest, AnUnusedTableAndPairAreProposedAndCancelChangesNothing)
{
    for (GraphSetting& g : Config().dailyGraphs.records)
        InitGraphSetting(g, false);
    Config().listTables.designs[5].chain.clear();
    const EditionChoice before = StoredEditionChoice();
    SetModalDialogRunner([](QDialog& d) {
        auto& w = dynamic_cast<CVexaWizard&>(d);
        w.restart();
        w.next();
        EXPECT_TRUE(w.tableText()->text().startsWith("Table 6 appears not to be in use."));
        EXPECT_EQ(w.tables()->currentRow(), 5);
        w.next();
        EXPECT_TRUE(w.graphText()->text().startsWith("Quorvantis found two sequential unused graph settings."));
        EXPECT_TRUE(w.graphs()->item(0)->isSelected() && w.graphs()->item(1)->isSelected());
        w.reject();
        return w.result();
    });
    EXPECT_FALSE(RunVexaWizard());
    EXPECT_EQ(StoredEditionChoice(), before);
}

} // namespace
} // namespace qv
