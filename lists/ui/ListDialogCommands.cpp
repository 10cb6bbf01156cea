// The list dialogs' frame-wide commands.
#include "lists/ui/ListDialogCommands.h"

#include "core/Database.h"
#include "core/DateText.h"
#include "core/ColumnDef.h"
#include "core/ConfigState.h"
#include "core/Memory.h"
#include "core/ShareList.h"
#include "core/StatisticsPeriod.h"
#include "core/SystemDate.h"
#include "lists/ColumnDialogRules.h"
#include "lists/ListSettings.h"
#include "lists/ListSort.h"
#include "lists/TableFile.h"
#include "lists/ui/ColumnDialogs.h"
#include "lists/ui/ListDesignDlg.h"
#include "lists/ui/ListPagePrinter.h"
#include "lists/ui/ViewDetailWindow.h"
#include "lists/ui/ViewListBase.h"
#include "platform/Paths.h"
#include "platform/qt/PrintJobName.h"
#include "shell/FrameDialogSeams.h"
#include "shell/LayoutSwitch.h"
#include "shell/PortfolioAdd.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <cstring>

namespace qv {

bool RunGlobalHighLowSettings(CMainFrame* frame)
{
    OptionBlockB& block = Config().optionsB;
    HighLowPeriod before = ReadHighLowPeriod(block, OptionBlockB::kGlobalHighLowPeriod);
    // Never set: the dialog opens on the period the statistics use.
    if (before == HighLowPeriod{}) {
        const StoredHighLowPeriod inForce = StoredStatisticsPeriod();
        before = {inForce.kind, inForce.value};
    }
    CHighLowSettingsDlg dialog(true, before, GetLatestTradingDate(0), frame);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return false;
    HighLowPeriod after = dialog.period();
    if (after.kind == 0)
        after.value = 1;
    WriteHighLowPeriod(block, OptionBlockB::kGlobalHighLowPeriod, after);
    const StoredHighLowPeriod old = StoredStatisticsPeriod();
    SetStatisticsPeriod({after.kind, after.value});
    const StoredHighLowPeriod now = StoredStatisticsPeriod();
    return old.kind != now.kind || old.value != now.value;
}

namespace {

// The layout's bytes with its terminating zero.
std::vector<uint8_t> LayoutBytes(const uint8_t* layout)
{
    if (!layout)
        return {0};
    const uint8_t* p = layout;
    while (*p)
        p += *p;
    return std::vector<uint8_t>(layout, p + 1);
}

int MarketOf(ShareList* list, int kind) { return kind == kListKindTrades ? NormalisedTradeMarket(*list) : 0; }

std::string SettingName(int kind, int setting)
{
    ConfigState& c = Config();
    TableFamily* family = nullptr;
    switch (kind) {
    case kListKindShares:
    case kListKindPortfolio: family = &c.listTables; break;
    case kListKindTransactions: family = &c.tranTables; break;
    case kListKindDealings: family = &c.dealTables; break;
    case kListKindDataMining: family = &c.dataMiningTables; break;
    case kListKindCash: family = &c.cashTables; break;
    case kListKindNews: family = &c.newsTables; break;
    default: break;
    }
    if (family && setting >= 0 && setting < kListSettings && family->designs[size_t(setting)].name)
        return *family->designs[size_t(setting)].name;
    return "Table " + std::to_string(setting + 1);
}

CViewBase* ActiveListView()
{
    CViewBase* view = MainFrameState().activeView;
    return view && view->list && ListDesignAvailable(view->kind) ? view : nullptr;
}

} // namespace

bool ListDesignAvailable(int kind)
{
    switch (kind) {
    case kListKindShares:
    case kListKindPortfolio:
    case kListKindTransactions:
    case kListKindDealings:
    case kListKindDataMining:
    case kListKindCash:
    case kListKindNews:
    case kListKindTrades: return true;
    default: return false;
    }
}

void ApplyListDesign(ShareList* list, int kind, const TableDesign& design)
{
    const int setting = list->tableSetting;
    const int market = MarketOf(list, kind);
    if (TableStyle* style = SettingStyle(kind, setting, market))
        std::memcpy(style->data(), design.style.data(), design.style.size());
    if (LayoutBytes(SettingLayout(kind, setting, market)) != design.layout) {
        auto* buffer = static_cast<uint8_t*>(ProCalloc(uint32_t(design.layout.size()), 1, "list design"));
        if (buffer) {
            std::memcpy(buffer, design.layout.data(), design.layout.size());
            SetLayoutPointer(list, kind, buffer);
        }
    }
    SetSettingSort(kind, setting, market, design.sort);
    SelectColumnSetting(list, kind, setting, false, false);
    if (design.sort != 0)
        SortListByColumn(false, list, design.sort, false);
    InvalidateMatchingViews(ShareListChain(), false, kind, setting, 0xFFFFFFFF, nullptr);
}

void RunListDesign(CMainFrame* frame, ShareList* list, int kind)
{
    const int setting = list->tableSetting;
    const int market = MarketOf(list, kind);
    TableDesign design;
    if (const TableStyle* style = SettingStyle(kind, setting, market))
        std::memcpy(design.style.data(), style->data(), design.style.size());
    design.layout = LayoutBytes(SettingLayout(kind, setting, market));
    design.sort = int8_t(GetSettingSort(kind, setting, market));
    CListDesignDlg dialog(frame);
    dialog.SetData(design, kind, QString::fromStdString(SettingName(kind, setting)), setting, ProgramFolder(),
                   [list, kind](const TableDesign& d) { ApplyListDesign(list, kind, d); }, market);
    RunModalDialog(dialog);
}

namespace {

// The active view when it prints: a list table or the details page.
CViewBaseWnd* ActivePrintableView()
{
    CViewBase* view = MainFrameState().activeView;
    if (!view || !view->list)
        return nullptr;
    if (auto* table = dynamic_cast<CViewListBase*>(view))
        return table;
    return dynamic_cast<CViewDetailWnd*>(view);
}

} // namespace

ListPrintSource PrintSourceOf(CViewBaseWnd& view)
{
    ListPrintSource source;
    if (auto* details = dynamic_cast<CViewDetailWnd*>(&view)) {
        source.detailsView = true;
        source.drawPage = [details](QPainter& painter, const QRect& table, int) { details->PrintPage(painter, table); };
        return source;
    }
    auto* table = dynamic_cast<CViewListBase*>(&view);
    source.heading = table->GetListTitle() + (LatestDatabaseDate ? "  " + FormatDate(LatestDatabaseDate) : std::string());
    source.layout = [table](QPainter& painter, const QRect& place) { return table->CountPrintPages(painter, place); };
    source.drawPage = [table](QPainter& painter, const QRect& place, int page) { table->DrawPrintPage(painter, place, page); };
    return source;
}

void PrintListView(CViewBaseWnd& view, bool preview, QWidget* parent)
{
    ShareList* list = view.list;
    if (!list)
        return;
    const int32_t firstVisible = list->firstVisible;
    const int32_t current = list->current;
    const ListPrintSource source = PrintSourceOf(view);
    CListPagePrinter pages(source);
    if (preview) {
        pages.preview(parent);
    } else {
        QPrinter printer(QPrinter::HighResolution);
        NamePrintJob(printer);
        QPrintDialog dialog(&printer, parent);
        // The details page is one page, whatever range is typed.
        if (source.detailsView)
            dialog.setMinMax(1, 1);
        if (RunModalDialog(dialog) == QDialog::Accepted)
            pages.print(printer);
    }
    list->firstVisible = firstVisible;
    list->current = current;
    view.InvalidateWindow();
}

void InstallListDialogCommands(CMainFrame& frame)
{
    FrameDialogs().highLowSettings = [&frame] { return RunGlobalHighLowSettings(&frame); };
    frame.AddCommandHandler(
        [&frame](uint32_t command) {
            if (command == kCommandPrint || command == kCommandPrintPreview) {
                CViewBaseWnd* view = ActivePrintableView();
                if (!view)
                    return false;
                PrintListView(*view, command == kCommandPrintPreview, &frame);
                return true;
            }
            if (command == kCommandListDesign) {
                CViewBase* view = ActiveListView();
                if (!view)
                    return false;
                // A data-mining run works on the lists' layouts: the design waits until it ends.
                if (!DataMiningRunBusy)
                    RunListDesign(&frame, view->list, view->kind);
                return true;
            }
            return false;
        },
        [](CommandUi& ui) {
            if ((ui.command == kCommandPrint || ui.command == kCommandPrintPreview) && ActivePrintableView()) {
                ui.enabled = true;
                return true;
            }
            if (ui.command == kCommandListDesign && ActiveListView()) {
                ui.enabled = true;
                return true;
            }
            return false;
        });
}

} // namespace qv
