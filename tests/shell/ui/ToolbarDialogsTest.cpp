// The toolbar design, default, colour and key dialogs, the name dialog and the key field.
#include "shell/ui/AccelListBox.h"
#include "shell/ui/AcceleratorsDlg.h"
#include "shell/ui/DefaultButtons.h"
#include "shell/ui/DialogHelp.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/ToolbarColour.h"
#include "shell/ui/ToolbarDesign.h"

#include "devtools/lib/TempFolder.h"
#include "platform/Paths.h"
#include "shell/KeyEditing.h"
#include "shell/KeyTable.h"
#include "shell/ToolbarDesignRules.h"
#include "shell/UserToolbars.h"
#include "shell/ui/FilterNameDlg.h"
#include "shell/ui/SetTargetPortfolio.h"
#include "shell/ui/ShortcutKeyCtrl.h"
#include "support/ui/Render.h"
#include "tests/support/FakeMessageBox.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace qv {
namespace {

class ToolbarDialogs : public ::testing::Test {
protected:
    ToolbarDialogs()
    {
        previousFolder_ = ProgramFolder();
        SetProgramFolder(folder_.path());
        saved_.CopyToolbarsFrom(ProgramToolbars());
        savedKeys_ = KeyTable();
        ProgramToolbars().ClearToolbars();
        ProgramToolbars().screen = {1024, 768};
        ProgramToolbars().SetDefaultToolbars(-1);
        KeyTable().clear();
        AddDefaultAccelerators(KeyTable(), true);
    }
    ~ToolbarDialogs() override
    {
        SetModalDialogRunner(nullptr);
        ProgramToolbars().CopyToolbarsFrom(saved_);
        KeyTable() = savedKeys_;
        SetProgramFolder(previousFolder_);
    }

    void Render(QWidget& widget, const char* name)
    {
        if (test::FontsAvailable())
            test::SaveRender(test::RenderWidget(widget), QString::fromLatin1(name));
    }

    dev::TempFolder folder_;
    fs::path previousFolder_;
    ToolbarSet saved_;
    std::vector<AcceleratorKey> savedKeys_;
};

TEST_F(ToolbarDialogs, DesignerEditsACopyUntilOk)
{
    ProgramToolbars().current = 2; // the settings bar
    CToolbarDesign design(ProgramToolbars(), 1);
    Render(design, "dialog_toolbar_design");
    EXPECT_EQ(design.included()->count(), int(ProgramToolbars().toolbars[2]->Codes().size()));

    design.RemoveAll();
    EXPECT_EQ(design.included()->count(), 0);
    EXPECT_FALSE(ProgramToolbars().toolbars[2]->Codes().empty()); // the program's toolbar is untouched
    design.SetTab(3);
    design.AddAll();
    EXPECT_EQ(design.copy().toolbars[2]->Codes(), (std::vector<uint16_t>{52, 53, 54}));
    // The spacer is copied, never used up.
    design.available()->setCurrentRow(0);
    design.AddSelected();
    design.AddSelected();
    EXPECT_EQ(design.included()->count(), 5);
    EXPECT_EQ(CAccelListBox::CodeOf(design.available()->item(0)), kSpacerCode);

    // ">" stops at 63 buttons.
    design.SetTab(0);
    design.AddAll();
    EXPECT_EQ(design.included()->count(), kMaxToolbarButtons);
    design.available()->setCurrentRow(1);
    EXPECT_FALSE(design.button(1603)->isEnabled());
    design.AddSelected();
    EXPECT_EQ(design.included()->count(), kMaxToolbarButtons);

    // Moving the selected entry up.
    uint16_t third = design.copy().toolbars[2]->Codes()[3];
    design.included()->setCurrentRow(3);
    design.MoveSelected(-1);
    EXPECT_EQ(design.copy().toolbars[2]->Codes()[2], third);
    EXPECT_EQ(design.included()->currentRow(), 2);

    // Rename through the name dialog, answered by the test.
    SetModalDialogRunner([](QDialog& dialog) {
        auto* name = dynamic_cast<CFilterNameDlg*>(&dialog);
        if (!name)
            return int(QDialog::Rejected);
        name->SetName(QStringLiteral("Mine"));
        return int(QDialog::Accepted);
    });
    design.RenameToolbar();
    EXPECT_EQ(design.copy().toolbars[2]->name, "Mine");
    EXPECT_EQ(ProgramToolbars().toolbars[2]->name, "Settings bar");

    design.Apply(ProgramToolbars());
    EXPECT_EQ(ProgramToolbars().toolbars[2]->name, "Mine");
    EXPECT_EQ(ProgramToolbars().toolbars[2]->Codes().size(), size_t(kMaxToolbarButtons));
    EXPECT_TRUE(fs::exists(folder_.path() / "Toolbar.cfg"));
}

TEST_F(ToolbarDialogs, DesignerNewDeleteAndDefaults)
{
    test::FakeMessageBox box;
    CToolbarDesign design(ProgramToolbars(), 8);
    design.NewToolbar();
    EXPECT_EQ(design.copy().Count(), 5u);
    EXPECT_EQ(design.copy().toolbars[4]->viewMask, 0x100u);
    EXPECT_TRUE(design.button(2397)->isEnabled());
    box.queue(MsgAnswer::Ok);
    design.DeleteToolbar();
    EXPECT_EQ(design.copy().Count(), 4u);
    SetModalDialogRunner([](QDialog& dialog) {
        if (auto* defaults = dynamic_cast<CDefaultButtons*>(&dialog))
            defaults->list()->setCurrentRow(4);
        return int(QDialog::Accepted);
    });
    design.DefaultButtons();
    EXPECT_EQ(design.copy().toolbars[0]->name, "Time scale bar");
    // An empty toolbar goes on OK.
    design.NewToolbar();
    design.Apply(ProgramToolbars());
    EXPECT_EQ(ProgramToolbars().Count(), 4u);

    ProgramToolbars().ClearToolbars();
    ProgramToolbars().AddToolbar(-1);
    CToolbarDesign single(ProgramToolbars(), 1);
    EXPECT_FALSE(single.button(2397)->isEnabled());
}

TEST_F(ToolbarDialogs, DefaultButtonsAndColour)
{
    CDefaultButtons defaults;
    EXPECT_EQ(defaults.list()->count(), 8);
    EXPECT_EQ(defaults.selected(), 0);
    defaults.list()->setCurrentRow(7);
    EXPECT_EQ(defaults.selected(), 7);
    Render(defaults, "dialog_default_buttons");

    CToolbarColour colour(0xC0C0C0);
    colour.Choose(2, 3);
    EXPECT_EQ(colour.colour(), ToolbarPaletteColour(2, 3));
    colour.resize(320, 300);
    Render(colour, "dialog_toolbar_colour");
}

TEST_F(ToolbarDialogs, KeyDialogSetsClearsAndRefuses)
{
    test::FakeMessageBox box;
    CAcceleratorsDlg keys;
    Render(keys, "dialog_accelerators");
    ASSERT_TRUE(keys.SelectCode(38)); // page set-up
    EXPECT_EQ(keys.systemText(), QStringLiteral("None"));
    keys.keyField()->TakeKey('S', false, true);
    EXPECT_EQ(keys.OnSet(), QStringLiteral("Key is associated with a system accelerator"));
    keys.keyField()->TakeKey('D', false, true);
    EXPECT_FALSE(keys.assignedText().isEmpty());
    EXPECT_EQ(keys.OnSet(), QString());
    EXPECT_EQ(KeyHolder(keys.working(), 'D', kAccelCtrl), 26116);
    EXPECT_EQ(KeyOfCommand(keys.working(), 25002), nullptr);
    keys.keyField()->SetHotKey(0, 0);
    EXPECT_EQ(keys.OnSet(), QStringLiteral("No accelerator set"));
    EXPECT_EQ(KeyOfCommand(KeyTable(), 25002)->key, 'D'); // not yet in place
    keys.OnClearAll();
    EXPECT_TRUE(keys.working().empty());
    keys.OnDefault();
    EXPECT_EQ(keys.working().size(), 20u);
    keys.SetTab(7);
    EXPECT_EQ(keys.list()->count(), 12);
    ASSERT_TRUE(keys.SelectCode(57));
    EXPECT_EQ(keys.systemText(), QStringLiteral("Shift + F4"));
    keys.keyField()->TakeKey(0xDB, false, false); // "["
    keys.OnSet();
    keys.Apply();
    EXPECT_EQ(KeyHolder(KeyTable(), '[', 0), 20505);
    EXPECT_TRUE(fs::exists(folder_.path() / "Toolbar.cfg"));

    CAccelKeysDlg available(KeyTable());
    Render(available, "dialog_accel_keys");
}

TEST_F(ToolbarDialogs, KeyFieldNameDialogAndTargetPortfolio)
{
    CShortcutKeyCtrl field;
    EXPECT_FALSE(field.TakeKey('A', false, false));
    EXPECT_EQ(field.key(), 0);
    EXPECT_TRUE(field.TakeKey('A', true, false));
    EXPECT_EQ(field.key(), 'A');
    EXPECT_EQ(field.modifiers(), kAccelShift);
    EXPECT_FALSE(field.TakeKey('B', true, true));
    EXPECT_FALSE(field.TakeKey(0x74, false, false)); // F5
    EXPECT_EQ(field.text(), QStringLiteral("Shift + A"));

    CFilterNameDlg name;
    name.SetPrompt(QStringLiteral("Enter the new toolbar name"));
    name.SetName(QStringLiteral("Toolbar 5"));
    EXPECT_EQ(name.Name(), QStringLiteral("Toolbar 5"));
    Render(name, "dialog_filter_name");

    // Help on a control is the control id plus 0x10000.
    EXPECT_EQ(ControlHelpTopic(name.edit()), 0x10000u + 1906);
    EXPECT_EQ(ControlHelpTopic(&name), 0u);

    CSetTargetPortfolio target(999);
    EXPECT_EQ(target.list()->currentItem(), nullptr);
    EXPECT_EQ(target.portfolio(), 999u);
    Render(target, "dialog_set_target_portfolio");
}

} // namespace
} // namespace qv
