// qvtool render-list FOLDER OUT.png [--kind K] [--list N] [--setting S] [--sort n] [--share EPIC]
// [--size WxH]: a view of the database in FOLDER painted headless by the view's own paint code into a
// PNG. K is the view kind: 1 the share list (unless given), 3 the details page of the list's current
// share (EPIC, else the first row), 5 the directors' dealings view of the folder's dealings file, 10
// the trade list of that share on the newest stored intraday day (--mode 0 trades, 1 quotes, 2 both). N is
// the fixed list (0 "All" ... 34), S the table setting 1-12, n a signed column to sort by, the size
// in pixels (900 x 600 unless given).
#include "core/Database.h"
#include "core/Memory.h"
#include "core/ShareList.h"
#include "devtools/qvtool/Verbs.h"
#include "devtools/qvtool/ui/PaintingApplication.h"
#include "lists/DirectorsDealings.h"
#include "lists/ListOptions.h"
#include "lists/ListRows.h"
#include "lists/ListSettings.h"
#include "lists/RowSort.h"
#include "lists/ui/ViewDetailWindow.h"
#include "lists/ui/ViewHoldWindow.h"
#include "lists/ui/ViewList.h"
#include "platform/Paths.h"
#include "realtime/TradeListRows.h"
#include "realtime/store/RTStore.h"
#include "realtime/ui/ViewTradeList.h"
#include "views/ViewKinds.h"

#include <QApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace qv::tool {
namespace {

constexpr const char* kUsage =
    "render-list FOLDER OUT.png [--kind 1|3|5|10] [--list N] [--setting S] [--sort n] [--share EPIC] [--mode M] "
    "[--size WxH]";

// A window view painted as it would be on screen at the given size.
QImage RenderWindow(QWidget& window, const QSize& size)
{
    window.resize(size);
    window.show();
    QApplication::processEvents();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    window.render(&image);
    return image;
}

// The list's row of the share with this EPIC; -1 when the list does not hold it.
int32_t RowOfShare(const ShareList& list, const std::string& epic)
{
    const RecordCursor found = FindByEpic(epic);
    if (!found.record || !list.entries)
        return -1;
    for (int32_t i = 0; list.entries[i].record; ++i)
        if (list.entries[i].record == found.record)
            return i;
    return -1;
}

// The trade list of the list's current share on the newest stored day, in the mode.
QImage RenderTradeList(ShareList* list, int mode, const QSize& size)
{
    InitRTStore();
    const RecordCursor* entry = CurrentEntry(list);
    CViewTradeList view;
    view.ShowShare(entry ? EntryRecordId(*entry) : 0);
    view.SetMode(mode);
    view.OnRefresh();
    QImage image = view.RenderImage(size);
    std::printf("trade list: %s, %d rows\n", view.Title().toStdString().c_str(), ShareListCount(view.list));
    CloseRTStore();
    return image;
}

QImage RenderKind(int kind, ShareList* list, int mode, const QSize& size)
{
    if (kind == kViewTradeList)
        return RenderTradeList(list, mode, size);
    if (kind == kViewDetails) {
        CViewDetailWnd view;
        view.list = list;
        QImage image = RenderWindow(view, size);
        std::printf("details: %s\n", view.Title().toStdString().c_str());
        view.list = nullptr;
        return image;
    }
    if (kind == kViewDealings) {
        CViewHoldWnd view;
        CreateListSource(&view, 1, kFamilyDealings, nullptr);
        view.OnRefresh();
        QImage image = RenderWindow(view, size);
        std::printf("dealings: %zu rows\n", view.rows.size());
        return image;
    }
    CViewList view(kListKindShares);
    view.list = list;
    QImage image = view.RenderImage(size);
    view.list = nullptr;
    return image;
}

int RunRenderList(const std::vector<std::string>& args)
{
    std::vector<std::string> plain;
    int kind = 1, listNumber = 0, setting = 1, sort = 0, width = 900, height = 600, mode = kTradeListTrades;
    std::string share;
    for (size_t i = 0; i < args.size(); ++i) {
        bool more = i + 1 < args.size();
        if (args[i] == "--kind" && more)
            kind = std::atoi(args[++i].c_str());
        else if (args[i] == "--share" && more)
            share = args[++i];
        else if (args[i] == "--list" && more)
            listNumber = std::atoi(args[++i].c_str());
        else if (args[i] == "--setting" && more)
            setting = std::atoi(args[++i].c_str());
        else if (args[i] == "--mode" && more)
            mode = std::atoi(args[++i].c_str());
        else if (args[i] == "--sort" && more)
            sort = std::atoi(args[++i].c_str());
        else if (args[i] == "--size" && more)
            std::sscanf(args[++i].c_str(), "%dx%d", &width, &height);
        else
            plain.push_back(args[i]);
    }
    if (plain.size() != 2) {
        std::fprintf(stderr, "usage: qvtool %s\n", kUsage);
        return 2;
    }
    if (setting < 1 || setting > kListSettings || listNumber < 0 || listNumber >= kFixedListCount ||
        width < 16 || height < 16 || width > 8192 || height > 8192 ||
        (kind != 1 && kind != kViewDetails && kind != kViewDealings && kind != kViewTradeList) || mode < 0 || mode > 2) {
        std::fprintf(stderr, "qvtool: the kind is 1, 3, 5 or 10, the list 0-34, the setting 1-12, the mode 0-2 "
                             "and the size 16-8192 each way\n");
        return 2;
    }
    SetProgramFolder(plain[0]);
    if (!LoadDatabase(AppPath("data\\Quorva.dat"))) {
        std::fprintf(stderr, "qvtool: cannot open %s/data/Quorva.dat\n", plain[0].c_str());
        return 1;
    }
    const auto app = MakePaintingApplication();

    auto* list = static_cast<ShareList*>(ProCalloc(1, sizeof(ShareList), "Share list"));
    list->word = listNumber;
    list->windowSlot = -1;
    SelectColumnSetting(list, kListKindShares, setting - 1, false, false);
    RefreshListRows(list, true, true);
    if (sort != 0)
        SortRows(list, sort, true);
    int code = 0;
    if (!share.empty())
        list->current = RowOfShare(*list, share);
    if (!share.empty() && list->current < 0) {
        std::fprintf(stderr, "qvtool: the list does not hold %s\n", share.c_str());
        code = 1;
    } else if (!RenderKind(kind, list, mode, QSize(width, height)).save(QString::fromStdString(plain[1]), "PNG")) {
        std::fprintf(stderr, "qvtool: cannot write %s\n", plain[1].c_str());
        code = 1;
    }
    ProFree(list->entries);
    ProFree(list);
    FreeDirDealBlocks();
    FreeSettingLayouts();
    FreeDatabase(true);
    return code;
}

const Verb kRenderList("render-list", kUsage, "a share list painted by the list view into a PNG", RunRenderList);

} // namespace
} // namespace qv::tool
