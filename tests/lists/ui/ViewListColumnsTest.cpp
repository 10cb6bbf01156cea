// The list view's column interaction driven through the real widget offscreen: the heading menu, the
// add-column and format commands, resize and move drags, double clicks, the wheel and keys.
#include "lists/ui/ViewList.h"

#include "../ListFixture.h"
#include "core/ColumnDef.h"
#include "core/ConfigFile.h"
#include "core/Memory.h"
#include "core/ConfigState.h"
#include "core/RecordLookup.h"
#include "core/SettingRecordStore.h"
#include "core/ShareNotes.h"
#include "lists/AddColumnCommands.h"
#include "lists/CellValue.h"
#include "lists/ColumnCatalogues.h"
#include "lists/ColumnDialogRules.h"
#include "lists/ColumnFormatCommands.h"
#include "lists/ListOptions.h"
#include "lists/ListRows.h"
#include "lists/ListSettings.h"
#include "lists/ListViewOptions.h"
#include "lists/ui/ColumnDialogs.h"
#include "lists/ui/ListViewSeams.h"
#include "lists/ui/ResultsSheetDlg.h"
#include "devtools/lib/TempFolder.h"
#include "platform/ByteOrder.h"
#include "platform/Paths.h"
#include "resources/MessageIds.h"
#include "shell/SoftMenu.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/PopupListTip.h"
#include "shell/ui/SoftMenuQt.h"
#include "support/RecordingTarget.h"
#include "support/ui/Render.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <span>

using namespace qv;
using namespace qv::test;

namespace {

class ViewListColumns : public ListFixture {
protected:
    void SetUp() override
    {
        saved_ = Config();
        LoadShares(FourListShares());
        list_ = NewList(0, 16);
        list_->windowSlot = -1;
        list_->next = ShareListChain();
        ShareListChain() = list_;
        SelectColumnSetting(list_, kListKindShares, 0, false, false);
        RefreshListRows(list_, true, true);
        view_ = std::make_unique<CViewList>(1);
        view_->list = list_;
        view_->SetFixedFontPixels(12);
        view_->resize(1400, 260);
        Paint();
    }
    void TearDown() override
    {
        view_.reset();
        ShareListChain() = nullptr;
        ForgetListRows();
        FreeSettingLayouts();
        Config() = saved_;
    }
    QImage Paint() { return view_->RenderImage(view_->size()); }
    int HeadingY() const { return view_->headings().height / 2; }
    ColumnSpan Span(int column) const
    {
        for (const ColumnSpan& s : view_->VisibleColumnSpans())
            if (s.column == column)
                return s;
        ADD_FAILURE() << "column " << column << " not shown";
        return {};
    }
    int Code(int column) const { return ColumnDefCode(GetColumnDef(list_->columnLayout, column)); }
    int Columns() const { return CountColumnDefs(list_->columnLayout); }
    int ColumnOfCode(int code) const
    {
        for (int c = 0; c < Columns(); ++c)
            if (Code(c) == code)
                return c;
        return -1;
    }
    // Shows the view, brings the pointer onto a point and lets it rest there until the cell tip shows
    // (or two seconds pass).
    CPopupListTip* RestOn(QPoint at)
    {
        view_->show();
        if (!QTest::qWaitForWindowExposed(view_.get()))
            return nullptr;
        QCursor::setPos(view_->mapToGlobal(at));
        QTest::mouseMove(view_.get(), at);
        CPopupListTip* tip = view_->cellTip();
        if (tip)
            (void)QTest::qWaitFor([tip] { return tip->isVisible(); }, 60000); // the caller checks
        return tip;
    }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons = Qt::LeftButton, Qt::KeyboardModifiers mods = {})
    {
        QMouseEvent event(type, QPointF(at), QPointF(view_->mapToGlobal(at)), Qt::LeftButton, buttons, mods);
        QApplication::sendEvent(view_.get(), &event);
    }
    void Wheel(int delta, Qt::KeyboardModifiers mods = {})
    {
        QWheelEvent event(QPointF(50, 100), QPointF(50, 100), QPoint(), QPoint(0, delta), Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view_.get(), &event);
    }

    ConfigState saved_;
    ShareList* list_ = nullptr;
    std::unique_ptr<CViewList> view_;
};

bool MenuHolds(QMenu& menu, uint32_t command)
{
    for (QAction* action : menu.actions()) {
        if (ActionCommand(action) == command)
            return true;
        if (action->menu() && MenuHolds(*action->menu(), command))
            return true;
    }
    return false;
}

} // namespace

TEST_F(ViewListColumns, HeadingMenuAddingFormattingAndMovingColumns)
{
    const ColumnSpan third = Span(3);
    MainFrameState().activeView = view_.get();
    std::unique_ptr<QMenu> menu(view_->BuildContextMenu(QPoint((third.left + third.right) / 2, HeadingY())));
    ASSERT_TRUE(menu);
    EXPECT_EQ(view_->cursorColumn(), 3);
    EXPECT_TRUE(MenuHolds(*menu, 20176));
    EXPECT_TRUE(MenuHolds(*menu, 25112));
    QAction* remove = nullptr;
    for (QAction* action : menu->actions())
        if (ActionCommand(action) == 20176)
            remove = action;
    ASSERT_TRUE(remove);
    EXPECT_TRUE(remove->isEnabled()) << "the active view enables the column's items";
    SaveRender(RenderWidget(*menu), "list-heading-menu");
    MainFrameState().activeView = nullptr;
    EXPECT_FALSE(view_->BuildContextMenu(QPoint(third.left + 1, HeadingY()))) << "inside the left margin";
    std::unique_ptr<QMenu> body(view_->BuildContextMenu(QPoint(100, view_->grid().RowTop(0) + 3)));
    ASSERT_TRUE(body);
    EXPECT_EQ(view_->cursorColumn(), -1);

    // Add "Volatility" in front of column 3, give it three significant figures, move it first.
    view_->SetCursorColumn(3);
    const int before = Columns();
    ASSERT_TRUE(view_->RunListCommand(25136));
    EXPECT_EQ(Columns(), before + 1);
    EXPECT_EQ(Code(3), 21);
    CommandUi ui;
    ui.command = 25136;
    ASSERT_TRUE(view_->UpdateListCommand(ui));
    EXPECT_TRUE(ui.enabled);
    EXPECT_TRUE(ui.checked.value_or(false));
    ASSERT_TRUE(view_->RunListCommand(26243));
    EXPECT_EQ(GetColumnDef(list_->columnLayout, 3)[ColumnDefLayout::FormatB] & 0x8F, 0x83);
    ColumnDialogs().number = [](const std::string& title, const std::string&, const std::string&, int) -> std::optional<int> {
        return title == "Move this Column" ? std::optional<int>(2) : std::nullopt;
    };
    ASSERT_TRUE(view_->RunListCommand(25012));
    ColumnDialogs().number = nullptr;
    EXPECT_EQ(Code(1), 21);
    Paint();
    SaveRender(RenderWidget(*view_), "list-columns-edited");

    // Dialog commands answer Cancel without their dialogs.
    view_->SetCursorColumn(2);
    EXPECT_TRUE(view_->RunListCommand(20175));
    EXPECT_TRUE(view_->RunListCommand(25117));
    EXPECT_EQ(Columns(), before + 1);
}

// Rename, width and position open their dialogs through the modal runner: OK applies what was
// typed, Cancel leaves the layout as it was.
TEST_F(ViewListColumns, ColumnDialogCommandsOpenTheirDialogs)
{
    struct Case {
        int command;
        const char* dialog;
        const char* field;
        const char* typed;
    };
    const Case cases[] = {
        {20175, "204", "name", "My title"},
        {20150, "218", "value", "77"},
        {25012, "218", "value", "1"},
    };
    const int moved = Code(2);
    const auto applied = [&](int command) {
        const uint8_t* def = GetColumnDef(list_->columnLayout, command == 25012 ? 0 : 2);
        const char* own = ColumnDefOwnTitle(def);
        switch (command) {
        case 20175: return own != nullptr && std::string(own) == "My title";
        case 20150: return ColumnDefWidth(def) == 77;
        default: return Code(0) == moved;
        }
    };
    for (const Case& c : cases) {
        for (const bool ok : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.command << (ok ? " OK" : " Cancel"));
            QString opened;
            SetModalDialogRunner([&](QDialog& dialog) {
                opened = dialog.objectName();
                auto* field = dialog.findChild<QLineEdit*>(c.field);
                if (!ok || field == nullptr)
                    return int(QDialog::Rejected);
                field->setText(QString::fromUtf8(c.typed));
                dialog.accept();
                return dialog.result();
            });
            view_->SetCursorColumn(2);
            EXPECT_TRUE(view_->RunListCommand(uint32_t(c.command)));
            SetModalDialogRunner(nullptr);
            EXPECT_EQ(opened.toStdString(), c.dialog);
            EXPECT_EQ(applied(c.command), ok);
        }
    }
}

// The column commands whose dialogs make or restyle a column: each opens its dialog through the modal
// runner; OK adds or changes the column as the dialog was left, Cancel leaves the layout as it was.
TEST_F(ViewListColumns, DialogColumnsAreAddedAsTheirDialogsAreLeft)
{
    const auto parameters = [&](int column) {
        const uint8_t* def = GetColumnDef(list_->columnLayout, column);
        const auto at = [def](size_t k) { return int(def[ColumnDefLayout::Parameters + 1 + k]); };
        return std::array<int, 4>{at(0), at(1) | at(2) << 8, at(3), at(4) | at(5) << 8};
    };
    const ColumnAppearance shaded{true, false, true, false, false, false, false, 3, -1, 0x00C0FFEE, 0x0000FF};
    struct Case {
        uint32_t command;
        const char* dialog;
        std::function<void(QDialog&)> script;
        std::function<void()> check;   // after OK, on the new (or restyled) column 2
    };
    const Case cases[] = {
        {27220, "831",
         [&](QDialog& d) {
             static_cast<CColumnStyleDlg&>(d).setAppearance(shaded);
             SaveRender(RenderWidget(d), "list-column-borders-dialog");
         },
         [&] {
             const uint8_t* def = GetColumnDef(list_->columnLayout, 2);
             EXPECT_EQ(UnpackColumnAppearance(std::span<const uint8_t, kColumnAppearanceBytes>(def + ColumnDefLayout::Appearance, kColumnAppearanceBytes)), shaded);
         }},
        {25117, "228", [](QDialog& d) { static_cast<CPriceDateDlg&>(d).group().setChoice(3, 6); },
         [&] {
             EXPECT_EQ(Code(2), 30);
             EXPECT_EQ(parameters(2)[0], 3);
             EXPECT_EQ(parameters(2)[1], 6);
         }},
        {26490, "621",
         [](QDialog& d) {
             auto& dialog = static_cast<CPriceChangeDlg&>(d);
             dialog.firstGroup().setChoice(2, 4);
             dialog.secondGroup().setChoice(5, 9);
         },
         [&] {
             EXPECT_EQ(Code(2), 57);
             EXPECT_EQ(parameters(2), (std::array<int, 4>{2 | 0x80, 4, 5, 9}));
         }},
        {27029, "768",
         [](QDialog& d) {
             static_cast<CVolumeDateDlg&>(d).group().setChoice(5, 12);
             SaveRender(RenderWidget(d), "list-volume-date-dialog");
         },
         [&] {
             EXPECT_EQ(Code(2), 87);
             EXPECT_EQ(parameters(2)[0], 5);
             EXPECT_EQ(parameters(2)[1], 12);
         }},
        {27030, "769",
         [](QDialog& d) {
             d.findChild<QLineEdit*>("3132")->setText("30");
             SaveRender(RenderWidget(d), "list-volume-average-dialog");
         },
         [&] {
             EXPECT_EQ(Code(2), 88);
             EXPECT_EQ(parameters(2)[0], 5) << "trading days";
             EXPECT_EQ(parameters(2)[1], 30);
         }},
        {27219, "830",
         [](QDialog& d) {
             d.findChild<QRadioButton*>("lows")->click();
             d.findChild<QRadioButton*>("daysSince")->click();
         },
         [&] { EXPECT_EQ(Code(2), 55); }},
        {26094, "801",
         [](QDialog& d) {
             static_cast<CResultsV2&>(d).basic().setChoice(BasicResultChoice{kBasicMostRecent, kFinal, kDividend, 0});
         },
         [&] {
             const uint8_t* def = GetColumnDef(list_->columnLayout, 2);
             EXPECT_EQ(ColumnDefKind(def), kColumnResults);
             EXPECT_EQ(Code(2), 6);
             EXPECT_EQ(int8_t(def[ColumnDefLayout::Option]), 0);
         }},
    };
    for (const Case& c : cases) {
        for (const bool ok : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.command << (ok ? " OK" : " Cancel"));
            const std::span<const uint8_t> layout = ListLayout(list_, kListKindShares);
            const std::vector<uint8_t> before(layout.begin(), layout.end());
            QString opened;
            SetModalDialogRunner([&](QDialog& dialog) {
                opened = dialog.objectName();
                if (!ok)
                    return int(QDialog::Rejected);
                c.script(dialog);
                dialog.accept();
                return dialog.result();
            });
            view_->SetCursorColumn(2);
            EXPECT_TRUE(view_->RunListCommand(c.command));
            SetModalDialogRunner(nullptr);
            EXPECT_EQ(opened.toStdString(), c.dialog);
            const std::span<const uint8_t> now = ListLayout(list_, kListKindShares);
            const std::vector<uint8_t> after(now.begin(), now.end());
            if (!ok) {
                EXPECT_EQ(after, before);
                continue;
            }
            c.check();
            if (c.command != 27220) {
                EXPECT_EQ(Columns(), CountColumnDefs(before.data()) + 1);
            }
        }
    }
}

// Change contents reopens the dialog filled from the column, and "Add Now" adds a result column at
// once while the sheet stays open.
TEST_F(ViewListColumns, ChangeContentsAndAddNow)
{
    std::pair<int, int> shown;
    SetModalDialogRunner([&](QDialog& d) {
        auto& dialog = static_cast<CPriceDateDlg&>(d);
        shown = dialog.choice();
        dialog.group().setChoice(4, 2);
        dialog.accept();
        return dialog.result();
    });
    view_->SetCursorColumn(1);
    ColumnDialogs().parameters = [](int) -> std::optional<std::pair<int32_t, int32_t>> { return std::pair<int32_t, int32_t>{DateParameter(4, 7), 0}; };
    ASSERT_TRUE(view_->RunListCommand(25117));
    ColumnDialogs().parameters = nullptr;
    ASSERT_EQ(Code(1), 30);
    const int count = Columns();
    view_->SetCursorColumn(1);
    ASSERT_TRUE(view_->RunListCommand(27218));
    EXPECT_EQ(shown, (std::pair<int, int>{3, 7}));
    EXPECT_EQ(Columns(), count);
    EXPECT_EQ(Code(1), 30);
    EXPECT_EQ(GetColumnDef(list_->columnLayout, 1)[ColumnDefLayout::Parameters + 1], 4);

    // A high/low column with its own period reopens on that period.
    ColumnDialogs().highLow = []() -> std::optional<HighLowChoice> { return HighLowChoice{1, 2, 1, 2, 30}; };
    view_->SetCursorColumn(1);
    ASSERT_TRUE(view_->RunListCommand(27219));
    ColumnDialogs().highLow = nullptr;
    ASSERT_EQ(Code(1), 94);
    HighLowPeriod reopened;
    bool custom = false;
    SetModalDialogRunner([&](QDialog& d) {
        auto& dialog = static_cast<CHighLowColumnDlg&>(d);
        reopened = dialog.ownPeriod();
        custom = dialog.customPeriod();
        d.findChild<QRadioButton*>("highs")->click();
        dialog.accept();
        return dialog.result();
    });
    view_->SetCursorColumn(1);
    ASSERT_TRUE(view_->RunListCommand(27218));
    EXPECT_EQ(reopened, (HighLowPeriod{2, 30}));
    EXPECT_TRUE(custom);
    EXPECT_EQ(Code(1), 94);
    EXPECT_EQ(GetColumnDef(list_->columnLayout, 1)[ColumnDefLayout::SubKind], 4);
    EXPECT_EQ(GetColumnDef(list_->columnLayout, 1)[ColumnDefLayout::Parameters + 2], 30);
    ASSERT_EQ(Columns(), count + 1);
    view_->SetCursorColumn(1);
    ASSERT_TRUE(view_->RunListCommand(20176));

    SetModalDialogRunner([&](QDialog& d) {
        auto& sheet = static_cast<CResultsV2&>(d);
        EXPECT_TRUE(sheet.addNowButton() != nullptr);
        sheet.basic().setChoice(BasicResultChoice{kBasicMostRecent, kYearEnd, kEps, 0});
        sheet.addNow();
        sheet.setActivePage(1);
        sheet.advanced().setChoice(AdvancedResultChoice{kAdvancedMostRecent - 1, 6, 1, 0});
        sheet.accept();
        return sheet.result();
    });
    view_->SetCursorColumn(2);
    ASSERT_TRUE(view_->RunListCommand(27198));
    SetModalDialogRunner(nullptr);
    ASSERT_EQ(Columns(), count + 2);
    EXPECT_EQ(ColumnDefKind(GetColumnDef(list_->columnLayout, 2)), kColumnResults);
    EXPECT_EQ(Code(2), 2);
    const uint8_t* change = GetColumnDef(list_->columnLayout, 3);
    EXPECT_EQ(ColumnDefKind(change), kColumnResultsChange);
    EXPECT_EQ(Code(3), 6 + 32);
    EXPECT_EQ(change[ColumnDefLayout::Option], 1);
}

TEST_F(ViewListColumns, ResizeAndMoveDrags)
{
    const ColumnSpan second = Span(2);
    Mouse(QEvent::MouseButtonPress, QPoint(second.right - 2, HeadingY()));
    ASSERT_TRUE(view_->resizing());
    Mouse(QEvent::MouseMove, QPoint(second.right + 40, HeadingY()));
    SaveRender(RenderWidget(*view_), "list-resize-drag");
    Mouse(QEvent::MouseButtonRelease, QPoint(second.left - 30, HeadingY()), Qt::NoButton);
    EXPECT_FALSE(view_->resizing());
    EXPECT_EQ(ColumnDefWidth(GetColumnDef(list_->columnLayout, 2)), 10);

    Paint();
    const std::vector<int> codes = [&] { std::vector<int> c; for (int i = 0; i < Columns(); ++i) c.push_back(Code(i)); return c; }();
    const ColumnSpan first = Span(1);
    const QPoint middle((first.left + first.right) / 2, HeadingY());
    Mouse(QEvent::MouseButtonPress, middle);
    Mouse(QEvent::MouseButtonRelease, middle + QPoint(1, 0), Qt::NoButton);
    EXPECT_EQ(Code(1), codes[1]) << "released on the same column";

    const ColumnSpan last = view_->VisibleColumnSpans().back();
    ASSERT_LT(last.right + 20, view_->grid().table().right - 4);
    Mouse(QEvent::MouseButtonPress, middle);
    Mouse(QEvent::MouseMove, QPoint(last.right + 20, HeadingY()));
    Mouse(QEvent::MouseButtonRelease, QPoint(last.right + 20, HeadingY()), Qt::NoButton);
    EXPECT_EQ(Code(Columns() - 1), codes[1]) << "past the last column moves it last";
}

TEST_F(ViewListColumns, DoubleClickingAHeadingSortsAndWheelAndKeysMoveTheSelection)
{
    const ColumnSpan name = Span(1);
    Mouse(QEvent::MouseButtonDblClick, QPoint((name.left + name.right) / 2, HeadingY()));
    EXPECT_EQ(list_->sortColumn, 1);
    EXPECT_EQ(GetSettingSort(kListKindShares, list_->tableSetting), 2);
    Mouse(QEvent::MouseButtonDblClick, QPoint((name.left + name.right) / 2, HeadingY()));
    EXPECT_EQ(GetSettingSort(kListKindShares, list_->tableSetting), -2);

    list_->current = 0;
    ListWheel().reset();
    Wheel(-60, Qt::ShiftModifier);
    EXPECT_EQ(list_->current, 0);
    Wheel(-60, Qt::ShiftModifier);
    EXPECT_EQ(list_->current, 1) << "60 + 60 is one step";

    QTest::keyClick(view_.get(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(list_->current, 2);
    QTest::keyClick(view_.get(), Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(list_->current, 0);
}

TEST_F(ViewListColumns, DoubleClickingAWebsiteCellOpensItsAddress)
{
    std::vector<std::string> opened;
    SetShellOpen([&](const std::string& link) { opened.push_back(link); });
    view_->SetCursorColumn(1);
    ASSERT_TRUE(view_->RunListCommand(26716));
    Paint();
    const ColumnSpan site = Span(1);
    Mouse(QEvent::MouseButtonDblClick, QPoint((site.left + site.right) / 2, view_->grid().RowTop(0) + 3));
    SetShellOpen(nullptr);
    // The fixture's shares have no website: nothing opens.
    EXPECT_TRUE(opened.empty());
}

// A double click on a share's row makes it current and asks the main window for its chart (508);
// Enter and Escape loop to the next and previous view kind; Space steps through the shares. With
// the options off nothing is asked for.
TEST_F(ViewListColumns, DoubleClickOpensTheRowAndKeysLoopAndStep)
{
    test::RecordingTarget frame(1);
    MainFrameTarget() = &frame;
    ListViewOptions& options = CurrentListViewOptions();
    const ListViewOptions saved = options;
    const auto sent = [&] {
        DeliverPostedMessages();
        std::vector<uintptr_t> commands;
        for (const auto& m : frame.received)
            if (m.message == WM_COMMAND)
                commands.push_back(m.wParam);
        frame.received.clear();
        return commands;
    };
    const ColumnSpan name = Span(1);
    const QPoint row2((name.left + name.right) / 2, view_->grid().RowTop(2) + 3);
    list_->current = 0;
    view_->portfolioGraphMode = 1;
    Mouse(QEvent::MouseButtonDblClick, row2);
    EXPECT_EQ(sent(), std::vector<uintptr_t>{ID_INTERNAL_508});
    EXPECT_EQ(list_->current, 2);
    EXPECT_EQ(list_->currentId, EntryRecordId(list_->entries[2]));
    EXPECT_EQ(view_->portfolioGraphMode, 0) << "a row's chart is its share's";

    QTest::keyClick(view_.get(), Qt::Key_Return);
    EXPECT_EQ(sent(), std::vector<uintptr_t>{ID_NEXT_VIEW});
    EXPECT_EQ(list_->firstVisible, 2) << "the list comes back with the row at its top";
    QTest::keyClick(view_.get(), Qt::Key_Escape);
    EXPECT_EQ(sent(), std::vector<uintptr_t>{ID_PREVIOUS_VIEW});
    QTest::keyClick(view_.get(), Qt::Key_Space);
    EXPECT_EQ(list_->current, 3);
    QTest::keyClick(view_.get(), Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_EQ(list_->current, 2);

    options.doubleClickOpens = false;
    options.loopViews = false;
    Mouse(QEvent::MouseButtonDblClick, row2);
    QTest::keyClick(view_.get(), Qt::Key_Return);
    QTest::keyClick(view_.get(), Qt::Key_Escape);
    EXPECT_TRUE(sent().empty());
    options = saved;
    MainFrameTarget() = nullptr;
}

TEST_F(ViewListColumns, MovingOverACellArmsTheTipAndAPressHidesIt)
{
    const ColumnSpan name = Span(1);
    const QPoint cell((name.left + name.right) / 2, view_->grid().RowTop(1) + 3);
    Mouse(QEvent::MouseMove, cell, Qt::NoButton);
    ASSERT_NE(view_->cellTip(), nullptr);
    EXPECT_TRUE(view_->cellTip()->timerRunning());
    Mouse(QEvent::MouseButtonPress, cell);
    EXPECT_FALSE(view_->cellTip()->timerRunning());
    Mouse(QEvent::MouseButtonRelease, cell, Qt::NoButton);
    // A heading is a cell of its own: moving onto it arms the tip again, moving within it does not.
    Mouse(QEvent::MouseMove, QPoint(name.left + 8, HeadingY()), Qt::NoButton);
    EXPECT_TRUE(view_->cellTip()->timerRunning());
    view_->cellTip()->Hide();
    Mouse(QEvent::MouseMove, QPoint(name.left + 12, HeadingY()), Qt::NoButton);
    EXPECT_FALSE(view_->cellTip()->timerRunning());
}

TEST_F(ViewListColumns, DialogCommandsAddWhatTheScriptedDialogsAnswer)
{
    const int before = Columns();
    view_->SetCursorColumn(2);
    EXPECT_TRUE(view_->RunListCommand(26094));
    EXPECT_TRUE(view_->RunListCommand(27219));
    EXPECT_EQ(Columns(), before) << "without their dialogs the commands answer Cancel";

    ColumnDialogs().results = [](int) -> std::optional<ResultsChoice> { return ResultsChoice{2, 1, 0}; };
    ColumnDialogs().parameters = [](int) -> std::optional<std::pair<int32_t, int32_t>> { return std::pair<int32_t, int32_t>{DateParameter(3, 20), 0}; };
    EXPECT_TRUE(view_->RunListCommand(26094));
    EXPECT_EQ(ColumnDefCode(GetColumnDef(list_->columnLayout, 2)), 0x21);
    EXPECT_TRUE(view_->RunListCommand(25118));
    const uint8_t* since = GetColumnDef(list_->columnLayout, 2);
    EXPECT_EQ(ColumnDefCode(since), 31);
    EXPECT_EQ(since[ColumnDefLayout::FirstUnit], 0x82) << "mode 2 with the percentage bit";
    EXPECT_EQ(Columns(), before + 2);

    // Changing the contents replaces the column in place with the dialog's new answer.
    ColumnDialogs().parameters = [](int) -> std::optional<std::pair<int32_t, int32_t>> { return std::pair<int32_t, int32_t>{DateParameter(3, 60), 0}; };
    ASSERT_TRUE(view_->RunListCommand(27218));
    EXPECT_EQ(Columns(), before + 2);
    const uint8_t* changed = GetColumnDef(list_->columnLayout, 2);
    EXPECT_EQ(ColumnDefCode(changed), 31);
    EXPECT_EQ(LoadU16(changed + ColumnDefLayout::FirstCount), 60);
    ColumnDialogs() = {};
}

// The volume columns: the average spans 2 to 240 trading days and shows the mean volume; change
// contents reopens each dialog filled from the column.
TEST_F(ViewListColumns, VolumeColumnsAndTheirDialogs)
{
    std::vector<std::string> refusals;
    const size_t messages = box.texts().size();
    int average = 0;
    SetModalDialogRunner([&](QDialog& d) {
        auto* days = d.findChild<QLineEdit*>("3132");
        for (const char* text : {"1", "241", "abc", "5"}) {
            days->setText(text);
            d.accept();
            if (d.result() != QDialog::Accepted)
                refusals.push_back(text);
        }
        average = static_cast<CVolumeAverageDlg&>(d).days();
        return d.result();
    });
    view_->SetCursorColumn(1);
    ASSERT_TRUE(view_->RunListCommand(27030));
    EXPECT_EQ(refusals, (std::vector<std::string>{"1", "241", "abc"}));
    EXPECT_EQ(box.texts().size(), messages + 3);
    ASSERT_EQ(Code(1), 88);
    EXPECT_EQ(average, 5);
    // Every fixture day trades the same volume: the average is that volume, not a price.
    const uint8_t* def = GetColumnDef(list_->columnLayout, 1);
    char text[64];
    FormatColumnValue(list_->entries[0].record, list_->entries[0].count, def, text, sizeof text, 1, list_, 0);
    const float meanVolume = LastCellValue().value;
    const std::span<const uint8_t> volumeTemplate = CatalogueTemplate(Catalogue::Shares, 87);
    std::vector<uint8_t> lastVolume(volumeTemplate.begin(), volumeTemplate.end());
    lastVolume[ColumnDefLayout::FirstUnit] = 5; // 0 trading days back: the last day
    FormatColumnValue(list_->entries[0].record, list_->entries[0].count, lastVolume.data(), text, sizeof text, 1, list_, 0);
    EXPECT_GT(meanVolume, 0);
    EXPECT_FLOAT_EQ(meanVolume, LastCellValue().value);

    // Change contents: the average reopens on its days, the volume date on its choice.
    int shownDays = 0;
    std::pair<int, int> shownDate;
    SetModalDialogRunner([&](QDialog& d) {
        if (auto* avg = dynamic_cast<CVolumeAverageDlg*>(&d)) {
            shownDays = avg->days();
            d.findChild<QLineEdit*>("3132")->setText("20");
        } else {
            auto& date = dynamic_cast<CVolumeDateDlg&>(d);
            shownDate = date.choice();
            date.group().setChoice(2, 3);
        }
        d.accept();
        return d.result();
    });
    view_->SetCursorColumn(1);
    ASSERT_TRUE(view_->RunListCommand(27218));
    EXPECT_EQ(shownDays, 5);
    EXPECT_EQ(LoadU16(GetColumnDef(list_->columnLayout, 1) + ColumnDefLayout::FirstCount), 20);
    ColumnDialogs().parameters = [](int) -> std::optional<std::pair<int32_t, int32_t>> { return std::pair<int32_t, int32_t>{DateParameter(1, 9), 0}; };
    view_->SetCursorColumn(1);
    ASSERT_TRUE(view_->RunListCommand(27029));
    ColumnDialogs().parameters = nullptr;
    ASSERT_EQ(Code(1), 87);
    view_->SetCursorColumn(1);
    ASSERT_TRUE(view_->RunListCommand(27218));
    SetModalDialogRunner(nullptr);
    EXPECT_EQ(shownDate, (std::pair<int, int>{1, 9}));
    const uint8_t* changed = GetColumnDef(list_->columnLayout, 1);
    EXPECT_EQ(changed[ColumnDefLayout::FirstUnit], 2);
    EXPECT_EQ(LoadU16(changed + ColumnDefLayout::FirstCount), 3);
}

// Removing a notes column asks only when its note set holds notes, and Yes deletes that set from
// every share while the other sets stay.
TEST_F(ViewListColumns, RemovingANotesColumnDeletesItsNotesOnYes)
{
    const uint16_t a = EntryRecordId(list_->entries[0]), b = EntryRecordId(list_->entries[1]);
    struct Case {
        uint32_t command; // adds the notes column of its note number
        std::vector<MsgAnswer> answers;
        bool asked;
        bool removed;
        bool notesKept;
    };
    const Case cases[] = {
        {26284, {}, false, true, true}, // note 5 has no notes
        {26282, {MsgAnswer::Cancel}, true, false, true},
        {26282, {MsgAnswer::No}, true, true, true},
        {26282, {MsgAnswer::Yes}, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.command << " answers " << c.answers.size());
        ASSERT_TRUE(SetSettingRecord(a, 0, NoteSettingId(3), "Watch", 6));
        ASSERT_TRUE(SetSettingRecord(b, 0, NoteSettingId(3), "Sell", 5));
        ASSERT_TRUE(SetSettingRecord(b, 0, NoteSettingId(4), "Hold", 5));
        view_->SetCursorColumn(1);
        ASSERT_TRUE(view_->RunListCommand(c.command));
        const int columns = Columns();
        for (MsgAnswer answer : c.answers)
            box.queue(answer);
        const size_t messages = box.texts().size();
        view_->SetCursorColumn(1);
        ASSERT_TRUE(view_->RunListCommand(20176));
        EXPECT_EQ(box.texts().size() > messages, c.asked);
        EXPECT_EQ(Columns(), c.removed ? columns - 1 : columns);
        EXPECT_EQ(NoteSetHasNotes(3), c.notesKept);
        EXPECT_NE(GetSettingRecord(b, 0, NoteSettingId(4)), nullptr) << "another note set stays";
        if (!c.removed) {
            view_->SetCursorColumn(1);
            box.queue(MsgAnswer::No);
            view_->RunListCommand(20176);
        }
        DeleteSettingKey(a);
        DeleteSettingKey(b);
    }
}

// "Edit note" (26229, or a double click on a notes cell) shows the row's note under the column's
// heading and the share's name and stores what the dialog answers: a new text, "" to delete, or
// nothing on Cancel. Without a notes column the command is greyed.
TEST_F(ViewListColumns, EditingANoteStoresWhatTheDialogAnswers)
{
    CommandUi ui{26229, false, std::nullopt, std::nullopt};
    ASSERT_TRUE(view_->UpdateListCommand(ui));
    EXPECT_FALSE(ui.enabled) << "no notes column";

    view_->SetCursorColumn(1);
    ASSERT_TRUE(view_->RunListCommand(26282)); // note 3's column, now column 1
    Paint();
    const uint16_t id = EntryRecordId(list_->entries[1]);
    std::vector<std::string> shown;
    std::optional<std::string> answer = "Watch the dividend";
    ColumnDialogs().note = [&](const std::string& heading, const std::string& share, const std::string& text) {
        shown = {heading, share, text};
        return answer;
    };
    const ColumnSpan notes = Span(1);
    Mouse(QEvent::MouseButtonDblClick, QPoint((notes.left + notes.right) / 2, view_->grid().RowTop(1) + 3));
    EXPECT_EQ(ShareNote(id, 0, 3), "Watch the dividend");
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1], std::string(GetRecordName(list_->entries[1].record)));
    EXPECT_EQ(shown[2], "");

    // From the menu the note of the current row is edited; Cancel keeps it, "" deletes it.
    list_->current = 1;
    view_->SetCursorColumn(-1);
    ASSERT_TRUE(view_->UpdateListCommand(ui));
    EXPECT_TRUE(ui.enabled);
    answer = std::nullopt;
    ASSERT_TRUE(view_->RunListCommand(26229));
    EXPECT_EQ(shown[2], "Watch the dividend");
    EXPECT_EQ(ShareNote(id, 0, 3), "Watch the dividend");
    answer = "";
    ASSERT_TRUE(view_->RunListCommand(26229));
    EXPECT_FALSE(NoteSetHasNotes(3));
    ColumnDialogs().note = nullptr;
}

// Every column a share list's heading menu offers to add, but the portfolio's transaction columns,
// can be added to a list below 120 columns.
TEST_F(ViewListColumns, EveryOfferedShareColumnIsEnabled)
{
    const SoftMenu menu = LoadSoftMenu(415, true, 0xFF);
    ASSERT_FALSE(menu.entries.empty());
    std::function<void(const std::vector<SoftMenuEntry>&)> check = [&](const std::vector<SoftMenuEntry>& items) {
        for (const SoftMenuEntry& e : items) {
            if (e.isPopup()) {
                check(e.items);
                continue;
            }
            if (e.isSeparator())
                continue;
            CommandUi ui{e.command, false, std::nullopt, std::nullopt};
            EXPECT_TRUE(view_->UpdateListCommand(ui) && ui.enabled) << e.command << " " << e.text;
        }
    };
    for (const SoftMenuEntry& e : menu.entries.front().items)
        if (e.isPopup() && e.text.rfind("Add", 0) == 0 && e.text.find("Tran") == std::string::npos)
            check(e.items);
}

// "Edit Imported data" hands over to the main window's editor (26214): greyed while nothing edits
// imported data, live and handed over once something does.
TEST_F(ViewListColumns, EditImportedDataFollowsItsEditor)
{
    CommandUi ui{26228, false, std::nullopt, std::nullopt};
    ASSERT_TRUE(view_->UpdateListCommand(ui));
    EXPECT_FALSE(ui.enabled);

    int edits = 0;
    CommandHandlerTable editor;
    editor.Add(26214, [&] { ++edits; });
    AddCommandTarget(&editor);
    ASSERT_TRUE(view_->UpdateListCommand(ui));
    EXPECT_TRUE(ui.enabled);
    view_->RunListCommand(26228);
    RemoveCommandTarget(&editor);
    EXPECT_EQ(edits, 1);
}

// Selecting a row by mouse or key redraws the other views of the list, so they follow its share; a
// press on the current row changes nothing.
TEST_F(ViewListColumns, ANewCurrentRowRedrawsTheOtherViewsOfTheList)
{
    CViewBase other;
    other.list = list_;
    view_->nextInList = &other;
    list_->views = view_.get();
    const ColumnSpan name = Span(1);
    list_->current = 0;
    const int before = other.invalidations();
    Mouse(QEvent::MouseButtonPress, QPoint((name.left + name.right) / 2, view_->grid().RowTop(0) + 3));
    Mouse(QEvent::MouseButtonRelease, QPoint((name.left + name.right) / 2, view_->grid().RowTop(0) + 3), Qt::NoButton);
    EXPECT_EQ(other.invalidations(), before) << "the row was current already";
    Mouse(QEvent::MouseButtonPress, QPoint((name.left + name.right) / 2, view_->grid().RowTop(2) + 3));
    EXPECT_EQ(other.invalidations(), before + 1);
    QTest::keyClick(view_.get(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(list_->current, 3);
    EXPECT_EQ(other.invalidations(), before + 2);
    list_->views = nullptr;
    view_->nextInList = nullptr;
}

// Every edit of a column made in place (justify, decimals, pounds or pence, borders and shading, a
// width by drag, by Set width and by Fit) is in the configuration the next start reads.
TEST_F(ViewListColumns, ColumnEditsAreKeptAcrossARestart)
{
    dev::TempFolder folder;
    const std::filesystem::path previousFolder = ProgramFolder();
    SetProgramFolder(folder.path());
    auto def = [&](int column) { return GetColumnDef(list_->columnLayout, column); };

    view_->SetCursorColumn(3);
    ASSERT_TRUE(view_->RunListCommand(ColumnCommand::CentreJustify));
    ASSERT_TRUE(view_->RunListCommand(ColumnCommand::Decimals0 + 2));
    view_->SetCursorColumn(2);
    ASSERT_TRUE(view_->RunListCommand(ColumnCommand::Pounds));
    view_->SetCursorColumn(1);
    ColumnAppearance shaded;
    shaded.background = true;
    shaded.backgroundColour = 0x00C0FFEE;
    shaded.left = 2;
    shaded.right = 1;
    SetModalDialogRunner([&](QDialog& dialog) {
        auto* style = dynamic_cast<CColumnStyleDlg*>(&dialog);
        if (!style)
            return int(QDialog::Rejected);
        style->setAppearance(shaded);
        return int(QDialog::Accepted);
    });
    ASSERT_TRUE(view_->RunListCommand(ColumnCommand::Borders));
    ColumnDialogs().number = [](const std::string&, const std::string&, const std::string&, int) -> std::optional<int> {
        return 17;
    };
    view_->SetCursorColumn(4);
    ASSERT_TRUE(view_->RunListCommand(ColumnCommand::SetWidth));
    ColumnDialogs().number = nullptr;
    SetModalDialogRunner({});
    const ColumnSpan second = Span(2);
    Mouse(QEvent::MouseButtonPress, QPoint(second.right - 2, HeadingY()));
    Mouse(QEvent::MouseMove, QPoint(second.right + 40, HeadingY()));
    Mouse(QEvent::MouseButtonRelease, QPoint(second.right + 40, HeadingY()), Qt::NoButton);
    view_->SetCursorColumn(0);
    ASSERT_TRUE(view_->RunListCommand(ColumnCommand::Fit));

    const std::vector<uint8_t> edited(list_->columnLayout, list_->columnLayout + ValidateColumnLayout(
        {list_->columnLayout, ProBlockSize(list_->columnLayout)}));
    EXPECT_EQ(ColumnDefWidth(def(4)), 17);
    EXPECT_EQ(UnpackColumnAppearance(std::span<const uint8_t, kColumnAppearanceBytes>(
                  def(1) + ColumnDefLayout::Appearance, kColumnAppearanceBytes)), shaded);
    ASSERT_EQ(SaveConfig(-1), SaveResult::Saved);

    // A new start: the views, the layouts and the configuration go, and the file is read again.
    view_.reset();
    ShareListChain() = nullptr;
    FreeSettingLayouts();
    Config() = ConfigState{};
    ASSERT_EQ(LoadConfig(-1, false), 0);
    list_->columnLayout = nullptr;
    list_->next = nullptr;
    ShareListChain() = list_;
    SelectColumnSetting(list_, kListKindShares, 0, false, false);
    view_ = std::make_unique<CViewList>(1);
    view_->list = list_;
    ASSERT_TRUE(list_->columnLayout);
    const std::vector<uint8_t> read(list_->columnLayout, list_->columnLayout + edited.size());
    EXPECT_EQ(read, edited);
    SetProgramFolder(previousFolder);
}

TEST_F(ViewListColumns, TipStaysWhileThePointerRestsOnItsCellAndKeepsInsideTheView)
{
    const int nameColumn = ColumnOfCode(15);
    ASSERT_GE(nameColumn, 0);
    // The view ends just after the name column, so a tip at the pointer would pass its right edge.
    view_->resize(Span(nameColumn).right + 4, 260);
    const ColumnSpan name = Span(nameColumn);
    const QPoint cell(name.right - 6, view_->grid().RowTop(2) + 3);
    CPopupListTip* tip = RestOn(cell);
    ASSERT_TRUE(tip && tip->isVisible());
    EXPECT_EQ(tip->content().body.rfind("EPIC: ", 0), 0u) << tip->content().body;
    EXPECT_LE(tip->geometry().right(), view_->mapToGlobal(QPoint(view_->width(), 0)).x());

    // The tip standing over the cell makes the window system report a leave; the pointer stays, and
    // so does the tip, through small moves within the cell.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(view_.get(), &leave);
    QTest::mouseMove(view_.get(), cell - QPoint(2, 0));
    QTest::qWait(700);
    EXPECT_TRUE(tip->isVisible());

    // Another row is another cell; a pointer gone from the view takes the tip with it.
    QTest::mouseMove(view_.get(), QPoint(cell.x(), view_->grid().RowTop(3) + 3));
    EXPECT_FALSE(tip->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([tip] { return tip->isVisible(); }, 60000));
    QCursor::setPos(view_->mapToGlobal(QPoint(-50, -50)));
    QApplication::sendEvent(view_.get(), &leave);
    EXPECT_FALSE(tip->isVisible());
}

TEST_F(ViewListColumns, CutCellTipShowsTheWholeTextInTheViewsColours)
{
    const int nameColumn = ColumnOfCode(15);
    ASSERT_GE(nameColumn, 0);
    ASSERT_TRUE(SetListColumnWidth(list_, 1, nameColumn, 14));
    const ColumnSpan name = Span(nameColumn);
    CPopupListTip* tip = RestOn(QPoint(name.left + 4, view_->grid().RowTop(2) + 3));
    ASSERT_TRUE(tip && tip->isVisible());
    EXPECT_GT(tip->content().title.size(), 2u);
    const QImage image = tip->grab().toImage();
    SaveRender(image, "list-cell-tip");
    const QImage list = Paint();
    // Row 3 is neither the current row nor a shaded one: it shows the list's plain background.
    ASSERT_NE(list_->current, 3);
    EXPECT_EQ(image.pixelColor(image.width() - 3, 3), list.pixelColor(name.left + 2, view_->grid().RowTop(3) + 1))
        << "the title stands on the list's own background";
}
