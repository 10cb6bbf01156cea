// Choosing, making, renaming and deleting filters through their dialogs, answered by a test runner.
#include "datamining/ui/FilterCommands.h"

#include "datamining/ui/SelectListDlgs.h"
#include "shell/ui/FilterNameDlg.h"
#include "shell/ui/ModalDialog.h"
#include "ChooserFilters.h"
#include "support/FakeMessageBox.h"

#include <QLineEdit>
#include <QListWidget>

#include <gtest/gtest.h>

using namespace qv;

namespace {

class FilterCommandsTest : public ::testing::Test {
protected:
    FilterCommandsTest()
    {
        test::AddChooserFilters();
        SetCurrentFilter(FilterList()[1].get());
    }
    ~FilterCommandsTest() override
    {
        SetModalDialogRunner({});
        ClearFilterList();
    }

    // Answers the filter list with the line of that text and the name dialog with the name; records
    // the dialogs' captions.
    void Answer(const QString& line, const QString& name)
    {
        SetModalDialogRunner([this, line, name](QDialog& dialog) {
            captions.push_back(dialog.windowTitle());
            if (auto* list = dialog.findChild<QListWidget*>("list")) {
                const auto found = list->findItems(line, Qt::MatchExactly);
                if (found.isEmpty())
                    return int(QDialog::Rejected);
                list->setCurrentItem(found.front());
            } else if (auto* names = dynamic_cast<CFilterNameDlg*>(&dialog)) {
                names->edit()->setText(name);
            }
            dialog.accept();
            return dialog.result();
        });
    }

    std::vector<QString> captions;
};

TEST_F(FilterCommandsTest, SelectChoosesAFilterOrMakesANewOne)
{
    Answer("Value", {});
    EXPECT_TRUE(SelectFilterByDialog(nullptr));
    EXPECT_EQ(CurrentFilter()->name, "Value");
    // "<<new>>" asks for a name no filter has: a taken one is refused, a new one makes an empty
    // filter of all shares behind the read-only ones.
    Answer("<<new>>", "Growth");
    EXPECT_FALSE(SelectFilterByDialog(nullptr));
    EXPECT_EQ(CurrentFilter()->name, "Value");
    Answer("<<new>>", "growth");
    EXPECT_TRUE(SelectFilterByDialog(nullptr));
    EXPECT_EQ(CurrentFilter()->name, "growth");
    EXPECT_EQ(CurrentFilter()->sourceKind, 1);
    EXPECT_TRUE(CurrentFilter()->criteria.empty());
    EXPECT_EQ(FilterIndex(CurrentFilter()), 1);
    EXPECT_EQ(captions, (std::vector<QString>{"Select the filter", "Select the filter", "Enter Filter Name",
                                              "Select the filter", "Enter Filter Name"}));
}

TEST_F(FilterCommandsTest, RenameTakesANewNameAndLeavesReadOnlyFiltersAlone)
{
    Answer({}, "Growth II");
    EXPECT_TRUE(RenameFilterByDialog(*FilterList()[1], nullptr));
    EXPECT_EQ(FilterList()[1]->name, "Growth II");
    EXPECT_EQ(captions, std::vector<QString>{"Edit Filter Name"});
    EXPECT_FALSE(RenameFilterByDialog(*FilterList()[0], nullptr));
    EXPECT_EQ(FilterList()[0]->name, "Blue Chips");
}

TEST_F(FilterCommandsTest, DeleteAsksFirstAndTheCurrentFilterMovesToTheHead)
{
    test::FakeMessageBox boxes;
    boxes.queue(MsgAnswer::No);
    Answer("Growth", {});
    EXPECT_FALSE(DeleteFilterByDialog(nullptr));
    EXPECT_EQ(FilterList().size(), 3u);
    boxes.queue(MsgAnswer::Yes);
    EXPECT_TRUE(DeleteFilterByDialog(nullptr));
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"Are you sure you want to delete the filter 'Growth'?",
                                                       "Are you sure you want to delete the filter 'Growth'?"}));
    ASSERT_EQ(FilterList().size(), 2u);
    EXPECT_EQ(CurrentFilter(), FilterList().front().get());
    // Read-only filters are not offered.
    Answer("Blue Chips", {});
    EXPECT_FALSE(DeleteFilterByDialog(nullptr));
    EXPECT_EQ(FilterList().size(), 2u);
}

} // namespace
