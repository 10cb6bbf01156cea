// The scripted use: each step done with the mouse as a user would, and checked where the program
// shows its effect.
#include "app/ui/ScriptedUse.h"

#include "chartmodel/ui/GraphDesignDlg.h"
#include "core/ConfigRecords.h"
#include "core/ConfigState.h"
#include "lists/ui/ViewListBase.h"
#include "shell/LayoutWindow.h"
#include "shell/SettingCommands.h"
#include "shell/ui/ColourSelectorDlg.h"
#include "shell/ui/CustomToolBar.h"
#include "shell/ui/DialogAnswerer.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/MenuWalk.h"
#include "shell/ui/ModalDialog.h"
#include "shell/ui/StyleButton.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPrintPreviewDialog>
#include <QTimer>
#include <cstdio>

namespace qv {
namespace {

constexpr int kDefaultLayouts = 5;

void Settle(int milliseconds = 100) { SettleEvents(milliseconds); }

void Report(const char* step, bool done, const char* why = "")
{
    std::fprintf(stderr, "Scripted use: %s: %s%s\n", step, done ? "done" : "FAILED ", done ? "" : why);
}

QString Plain(const QString& text)
{
    QString plain = text.section(QLatin1Char('\t'), 0, 0);
    plain.remove(QLatin1Char('&'));
    return plain;
}

// The item at the menu path ("Graph", "Add Indicator", "RSI..."), found as the user reads the menus.
bool ChooseMenuPath(CMainFrame& frame, const QStringList& path)
{
    for (const MenuCommandItem& item : OpenMenusAsUser(*frame.menuBar())) {
        QStringList shown;
        for (QAction* popup : item.popups)
            shown << Plain(popup->text());
        shown << Plain(item.action->text());
        if (shown == path)
            return ChooseWithMouse(*frame.menuBar(), item) && (Settle(), true);
    }
    return false;
}


void SendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(&widget, &event);
}

void Click(QWidget& widget, QPoint at)
{
    SendMouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

QWidget* ActiveViewWidget(CMainFrame& frame)
{
    QMdiSubWindow* sub = frame.mdiArea()->activeSubWindow();
    return sub ? sub->widget() : nullptr;
}

// The toolbar button whose tooltip reads the text (the button's label is part of its picture).
bool ClickToolbarButton(CMainFrame& frame, const QString& tooltip)
{
    for (QWidget* widget : frame.findChildren<QWidget*>()) {
        auto* bar = dynamic_cast<CToolbarButtons*>(widget);
        if (!bar || !bar->isVisible())
            continue;
        for (size_t i = 0; i < bar->buttons().size(); ++i)
            if (bar->TooltipAt(bar->ButtonRect(int(i)).center()) == tooltip) {
                Click(*bar, bar->ButtonRect(int(i)).center());
                Settle(300);
                return true;
            }
    }
    return false;
}

void DoubleClick(QWidget& widget, QPoint at)
{
    Click(widget, at);
    SendMouse(widget, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

// A list is sorted by a double click on the column's heading.
bool SortByHeading(CViewListBase& list, const QString& heading)
{
    const std::vector<std::string>& texts = list.headings().texts;
    for (const ColumnSpan& span : list.VisibleColumnSpans()) {
        if (span.column < 0 || size_t(span.column) >= texts.size() ||
            QString::fromStdString(texts[size_t(span.column)]).trimmed() != heading)
            continue;
        DoubleClick(list, QPoint((span.left + span.right) / 2, list.grid().rowsTop() - 2));
        Settle(300);
        return true;
    }
    return false;
}

void DoubleClickRow(CViewListBase& list, int row)
{
    QPoint at(list.VisibleColumnSpans().front().right - 4, list.grid().rowsTop() + row * list.rowHeight() + list.rowHeight() / 2);
    DoubleClick(list, at);
    Settle(500);
}

// A click on the menu bar's first title opens its menu; a second closes it.
void ClickMenuBar(CMainFrame& frame)
{
    QMenuBar& bar = *frame.menuBar();
    const QPoint title = bar.actionGeometry(bar.actions().front()).center();
    Click(bar, title);
    Settle();
    Click(bar, title);
    Settle();
}

// A line drawn as a user draws one: Shift held, dragged across the middle of the chart.
void DrawLine(QWidget& chart)
{
    QWidget* child = chart.childAt(chart.rect().center());
    QWidget& target = child ? *child : chart;
    QPoint from(target.width() / 3, target.height() / 3);
    QPoint to(2 * target.width() / 3, target.height() / 4);
    SendMouse(target, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    for (int step = 1; step <= 8; ++step)
        SendMouse(target, QEvent::MouseMove, from + (to - from) * step / 8, Qt::NoButton, Qt::LeftButton, Qt::ShiftModifier);
    SendMouse(target, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, Qt::ShiftModifier);
    Settle(300);
}

QAbstractButton* ButtonNamed(QWidget& dialog, const QString& text)
{
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
        if (button->isVisibleTo(&dialog) && button->text().remove(QLatin1Char('&')) == text)
            return button;
    return nullptr;
}

// Clicks the buttons (a check box ticked, Preview pressed) from the event loop, one after the other.
void ClickLater(QWidget& dialog, const QStringList& texts)
{
    for (const QString& text : texts)
        if (QAbstractButton* button = ButtonNamed(dialog, text))
            QTimer::singleShot(0, button, [button] { button->click(); });
}

// The dialogs the session fills in before they are answered OK: the export's file dialog is set to
// PNG, the graph design changes a colour through its colour selector, the default range is limited to
// the last year, a renamed setting gets a new name. The moving averages, the second time, get
// Bollinger bands and a preview, and are then cancelled.
class DialogFiller {
public:
    void PreviewBandsAndCancel() { bandsPreview_ = true; }

    bool Fill(QWidget& dialog)
    {
        if (bandsPreview_ && dialog.inherits("qv::CMovAvgSettingsDlg")) {
            bandsPreview_ = false;
            ClickLater(dialog, {QStringLiteral("Bollinger Bands"), QStringLiteral("Preview"), QStringLiteral("Cancel")});
            return true;
        }
        if (dialog.objectName() == QLatin1String("223")) {
            auto* count = dialog.findChild<QLineEdit*>(QStringLiteral("count"));
            for (const char* name : {"limited", "countUsed", "years"})
                if (auto* button = dialog.findChild<QAbstractButton*>(QString::fromLatin1(name)); button && !button->isChecked())
                    button->click();
            if (count)
                count->setText(QStringLiteral("1"));
            return false;
        }
        if (dialog.windowTitle().startsWith(QLatin1String("Rename the current"))) {
            if (auto* name = dialog.findChild<QLineEdit*>())
                name->setText(QStringLiteral("Scripted setting"));
            return false;
        }
        if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
            for (const QString& filter : files->nameFilters())
                if (filter.contains(QLatin1String("*.png")))
                    files->selectNameFilter(filter);
            return false;
        }
        if (auto* selector = qobject_cast<CColourSelectorDlg*>(&dialog)) {
            selector->SetColour(selector->GetColour(0) ^ 0x00FF8040u, selector->GetColour(1));
            colourChanged_ = true;
            return false;
        }
        if (dynamic_cast<CGraphGridDlg*>(&dialog) && !colourAsked_) {
            CStyleButton* button = nullptr;
            for (CStyleButton* b : dialog.findChildren<CStyleButton*>())
                if (!button && b->isVisibleTo(&dialog) && b->isEnabled())
                    button = b;
            if (!button)
                return false;
            colourAsked_ = true;
            // Clicked from the event loop, so that the selector it opens is answered in turn.
            QTimer::singleShot(0, button, [button] { Click(*button, button->rect().center()); });
            return true;
        }
        return false;
    }
    bool colourChanged() const { return colourChanged_; }

private:
    bool bandsPreview_ = false;
    bool colourAsked_ = false;
    bool colourChanged_ = false;
};

// The PNG pictures in the program's folder, where the export offers to save.
QStringList PngFiles() { return QDir::current().entryList({QStringLiteral("*.png")}, QDir::Files); }

CViewListBase* ActiveList(CMainFrame& frame) { return qobject_cast<CViewListBase*>(ActiveViewWidget(frame)); }

} // namespace

void SettleEvents(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    // Then whatever still waits: on a loaded machine the time may pass before the program came to
    // the messages the last step posted, and the next step must not start on unfinished work.
    for (int round = 0; round < 1000; ++round) {
        QApplication::sendPostedEvents();
        QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
        if (!dispatcher || !dispatcher->processEvents(QEventLoop::AllEvents))
            break;
    }
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool ChooseMenuCommand(CMainFrame& frame, uint32_t command)
{
    for (const MenuCommandItem& item : OpenMenusAsUser(*frame.menuBar()))
        if (item.command == command)
            return ChooseWithMouse(*frame.menuBar(), item) && (SettleEvents(100), true);
    return false;
}

void RunScriptedUse(CMainFrame& frame)
{
    SetUnattendedDialogsRun(true);
    CDialogAnswerer answerer(CDialogAnswerer::Answer::Ok);
    DialogFiller filler;
    answerer.SetHook([&filler](QWidget& dialog) { return filler.Fill(dialog); });
    Settle(300);

    // From an empty frame, as on a first start: the windows the start opened are closed.
    frame.mdiArea()->closeAllSubWindows();
    Settle(300);
    Report("SAS", ClickToolbarButton(frame, QStringLiteral("Show all shares")) && ActiveList(frame));
    CViewListBase* list = ActiveList(frame);
    QImage unsorted = list ? list->grab().toImage() : QImage();
    Report("sort by Change", list && SortByHeading(*list, QStringLiteral("Change")) && list->grab().toImage() != unsorted);
    if (list)
        DoubleClickRow(*list, 1);
    Report("double click on a row", MainFrameState().activeKind == kViewDailyChart);

    Report("Add Indicator > RSI", ChooseMenuPath(frame, {"Graph", "Add Indicator", "RSI..."}));
    Report("Add Indicator > MACD", ChooseMenuPath(frame, {"Graph", "Add Indicator", "MACD..."}));
    Report("Moving Averages", ChooseMenuPath(frame, {"Graph", "Moving Averages..."}));
    filler.PreviewBandsAndCancel();
    Report("Moving Averages with Bollinger bands, Preview, Cancel", ChooseMenuPath(frame, {"Graph", "Moving Averages..."}));
    Report("Graph Design", ChooseMenuPath(frame, {"Graph", "Graph Design..."}) && filler.colourChanged());
    Report("Delete Indicator > 1st Window", ChooseMenuPath(frame, {"Graph", "Delete Indicator", "1st Window"}));
    Report("date range of 1 year", ChooseMenuPath(frame, {"Graph", "Limit Date Range", "Set Date Range..."}));
    Report("graph setting renamed", ChooseMenuCommand(frame, kCommandRenameSetting));
    ClickMenuBar(frame);
    bool lineShown = false;
    if (QWidget* chart = ActiveViewWidget(frame)) {
        QImage before = chart->grab().toImage();
        DrawLine(*chart);
        lineShown = chart->grab().toImage() != before;
    }
    Report("line drawn", lineShown);
    const QStringList pictures = PngFiles();
    ChooseMenuPath(frame, {"File", "Export", "Export graph..."});
    Report("Export graph to PNG", PngFiles().size() == pictures.size() + 1);
    Report("Print Preview", ChooseMenuPath(frame, {"File", "Print Preview"}));

    // The layouts are offered in the menus with the multiple-windows option on.
    Config().optionsA.data()[OptionBlockA::kMultipleWindows] = 1;
    frame.ReloadMainMenu();
    Settle();
    for (int layout = 0; layout < kDefaultLayouts; ++layout) {
        bool chosen = ChooseMenuCommand(frame, kCommandFirstLayout + uint32_t(layout));
        Settle(500);
        Report(("layout " + std::to_string(layout + 1)).c_str(), chosen && !frame.mdiArea()->subWindowList().isEmpty());
    }
    for (const QString& dialog : answerer.answered())
        std::fprintf(stderr, "Scripted use: dialog %s\n", dialog.toLocal8Bit().constData());
    Report("exit", ChooseMenuPath(frame, {"File", "Exit"}));
}

} // namespace qv
