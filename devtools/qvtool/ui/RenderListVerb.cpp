// qvtool render-list FOLDER OUT.png [--list N] [--setting S] [--sort n] [--size WxH]: a share list of
// the database in FOLDER painted headless by the list view's own paint code into a PNG. N is the
// fixed list (0 "All" ... 34), S the table setting 1-12, n a signed column to sort by, the size in
// pixels (900 x 600 unless given).
#include "core/Database.h"
#include "core/Memory.h"
#include "core/ShareList.h"
#include "devtools/qvtool/Verbs.h"
#include "lists/ListOptions.h"
#include "lists/ListRows.h"
#include "lists/ListSettings.h"
#include "lists/RowSort.h"
#include "lists/ui/ViewList.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace qv::tool {
namespace {

constexpr const char* kUsage = "render-list FOLDER OUT.png [--list N] [--setting S] [--sort n] [--size WxH]";

int RunRenderList(const std::vector<std::string>& args)
{
    std::vector<std::string> plain;
    int listNumber = 0, setting = 1, sort = 0, width = 900, height = 600;
    for (size_t i = 0; i < args.size(); ++i) {
        bool more = i + 1 < args.size();
        if (args[i] == "--list" && more)
            listNumber = std::atoi(args[++i].c_str());
        else if (args[i] == "--setting" && more)
            setting = std::atoi(args[++i].c_str());
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
        width < 16 || height < 16 || width > 8192 || height > 8192) {
        std::fprintf(stderr, "qvtool: the list is 0-34, the setting 1-12 and the size 16-8192 each way\n");
        return 2;
    }
    SetProgramFolder(plain[0]);
    if (!LoadDatabase(AppPath("data\\Quorva.dat"))) {
        std::fprintf(stderr, "qvtool: cannot open %s/data/Quorva.dat\n", plain[0].c_str());
        return 1;
    }
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "qvtool";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);

    auto* list = static_cast<ShareList*>(ProCalloc(1, sizeof(ShareList), "Share list"));
    list->word = listNumber;
    list->windowSlot = -1;
    SelectColumnSetting(list, kListKindShares, setting - 1, false, false);
    RefreshListRows(list, true, true);
    if (sort != 0)
        SortRows(list, sort, true);
    int code = 0;
    {
        CViewList view(kListKindShares);
        view.list = list;
        QImage image = view.RenderImage(QSize(width, height));
        view.list = nullptr;
        if (!image.save(QString::fromStdString(plain[1]), "PNG")) {
            std::fprintf(stderr, "qvtool: cannot write %s\n", plain[1].c_str());
            code = 1;
        }
    }
    ProFree(list->entries);
    ProFree(list);
    FreeSettingLayouts();
    FreeDatabase(true);
    return code;
}

const Verb kRenderList("render-list", kUsage, "a share list painted by the list view into a PNG", RunRenderList);

} // namespace
} // namespace qv::tool
