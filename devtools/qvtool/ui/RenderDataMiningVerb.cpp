// qvtool render-dm FOLDER FILTER OUT.png [--size WxH]: the data-mining view on a filter of the folder's
// "Filter.cfg" (with its portfolios, for a portfolio source), painted headless by the view's own paint
// code: the table of the passing shares above the graph area (1000 x 700 unless given).
#include "core/Database.h"
#include "core/DMFilter.h"
#include "core/FilterFile.h"
#include "core/ShareList.h"
#include "datamining/FilterValues.h"
#include "datamining/ui/ViewDataMining.h"
#include "devtools/lib/ShareListChain.h"
#include "devtools/qvtool/Verbs.h"
#include "devtools/qvtool/ui/PaintingApplication.h"
#include "lists/ListSettings.h"
#include "platform/Paths.h"
#include "portfolio/PortfolioFile.h"
#include "views/ViewKinds.h"

#include <QApplication>
#include <QImage>

#include <cstdio>
#include <string>

namespace qv::tool {
namespace {

constexpr const char* kUsage = "render-dm FOLDER FILTER OUT.png [--size WxH]";

int RunRenderDataMining(const std::vector<std::string>& args)
{
    std::vector<std::string> plain;
    int width = 1000, height = 700;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--size" && i + 1 < args.size())
            std::sscanf(args[++i].c_str(), "%dx%d", &width, &height);
        else
            plain.push_back(args[i]);
    }
    if (plain.size() != 3 || width < 16 || height < 16 || width > 8192 || height > 8192) {
        std::fprintf(stderr, "usage: qvtool %s\n", kUsage);
        return 2;
    }
    SetProgramFolder(plain[0]);
    if (!LoadDatabase(AppPath("data\\Quorva.dat"))) {
        std::fprintf(stderr, "qvtool: cannot open %s/data/Quorva.dat\n", plain[0].c_str());
        return 1;
    }
    LoadFilters("Filter.cfg");
    const int position = FindFilterPosition(plain[1]);
    if (position < 1) {
        std::fprintf(stderr, "qvtool: no filter \"%s\" in %s\n", plain[1].c_str(), plain[0].c_str());
        FreeDatabase(true);
        return 1;
    }
    LoadPortfolios();
    SetCurrentFilter(FilterList()[size_t(position - 1)].get());
    RebuildFilterCandidates();
    const auto app = MakePaintingApplication();
    int code = 0;
    {
        CViewDataMining view(kViewDataMining);
        view.list = CreateListSource(&view, 1, kFamilyShares, nullptr);
        view.resize(width, height);
        view.OnRefresh();
        QImage image(QSize(width, height), QImage::Format_RGB32);
        image.fill(Qt::white);
        view.render(&image);
        std::printf("%d shares pass \"%s\", %d marks displayed\n", ShareListCount(view.list), plain[1].c_str(),
                    view.lastGraph().displayed);
        if (!image.save(QString::fromStdString(plain[2]), "PNG")) {
            std::fprintf(stderr, "qvtool: cannot write %s\n", plain[2].c_str());
            code = 1;
        }
    }
    dev::FreeShareListChain();
    CurrentShareList() = nullptr;
    FreePortfolioChain();
    ClearFilterList();
    FreeSettingLayouts();
    FreeDatabase(true);
    return code;
}

const Verb kRenderDataMining("render-dm", kUsage, "the data-mining view on a filter painted into a PNG",
                             RunRenderDataMining);

} // namespace
} // namespace qv::tool
