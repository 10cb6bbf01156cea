// The indicator windows' check in the running program.
#include "app/ui/IndicatorCheck.h"

#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IndicatorPlacement.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/ui/ViewGraphEODWindow.h"
#include "core/ConfigState.h"
#include "core/ui/PenSelect.h"
#include "resources/MessageIds.h"
#include "shell/LayoutWindow.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ModalDialog.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <cstdio>

namespace qv {
namespace {

namespace gs = graphsetting;

constexpr int kDefaultLayouts = 5;

struct AddCommand {
    uint32_t command;
    int type;
};
// The add commands of the momentum and volume groups.
constexpr AddCommand kChecked[] = {
    {20226, 1},  {20225, 2},  {20230, 5},  {26351, 8},  {26353, 10}, {26354, 11}, {26355, 12},
    {26365, 14}, {26610, 42}, {26609, 43}, {26611, 44}, {26614, 46}, {26613, 47}, {26615, 48},
    {26618, 51}, {26619, 52}, {26633, 53}, {27057, 57}, {20231, 58},
};

// The first daily chart of the default layouts that shows a share's prices.
CViewGraphEODWnd* FirstDailyChart(CMainFrame& frame)
{
    for (int layout = 0; layout < kDefaultLayouts; ++layout) {
        frame.OnCommand(kCommandFirstLayout + uint32_t(layout));
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
        for (QMdiSubWindow* sub : frame.mdiArea()->subWindowList()) {
            auto* chart = dynamic_cast<CViewGraphEODWnd*>(sub->widget());
            if (!chart)
                continue;
            chart->RenderToImage(400, 300);
            if (chart->noDataText.empty()) {
                std::fprintf(stderr, "Indicator check: the chart of layout %d\n", layout + 1);
                return chart;
            }
        }
    }
    return nullptr;
}

// Pixels of the pen's colour inside add-on window 0.
int PenPixels(const QImage& image, const CViewGraphEODWnd& chart, uint32_t pen)
{
    const GraphPane* pane = chart.FindPane(kPaneFirstAddOn);
    if (!pane)
        return 0;
    const QRgb want = ColourFromWord(pen & 0xFFFFFF).rgb();
    int n = 0;
    for (int y = std::max(pane->top, 0); y < std::min(pane->bottom, image.height()); ++y)
        for (int x = std::max(pane->left + 1, 0); x < std::min(pane->right, image.width()); ++x)
            n += image.pixel(x, y) == want;
    return n;
}

} // namespace

IndicatorCheckResult RunIndicatorCheck(CMainFrame& frame, const std::function<void(const std::string&, const QImage&)>& picture)
{
    IndicatorCheckResult result;
    uint8_t& multiple = Config().optionsA.data()[OptionBlockA::kMultipleWindows];
    const uint8_t savedMultiple = multiple;
    multiple = 1;
    CViewGraphEODWnd* chart = FirstDailyChart(frame);
    if (!chart) {
        multiple = savedMultiple;
        std::fprintf(stderr, "Indicator check: no daily chart with prices\n");
        return result;
    }
    GraphSetting& setting = *chart->ActiveSetting();
    const GraphSetting saved = setting;
    SetModalDialogRunner([](QDialog& dialog) {
        dialog.accept();
        return dialog.result();
    });
    const int width = 1000, height = 800;
    for (const AddCommand& add : kChecked) {
        while (AnyAddOnWindow(setting))
            DeleteAddOnWindow(setting, 0);
        chart->onProgramMessage(WM_COMMAND, add.command, 0);
        const IndicatorRecord record = IndicatorRecord::Read(gs::IndicatorSlot(setting, 0, 0));
        const QImage image = chart->RenderToImage(width, height);
        ++result.types;
        const uint32_t pen = add.type == 58 && record.period3 == 0 ? gs::PriceColour(setting, 0) : record.pens[0];
        const int pixels = record.type == add.type ? PenPixels(image, *chart, pen) : 0;
        if (pixels < 20) {
            ++result.blank;
            std::fprintf(stderr, "Indicator check: type %d (command %u) shows no line\n", add.type, add.command);
        }
        if (picture)
            picture("indicator-" + std::to_string(add.type), image);
    }
    InitVexaGraphSetting(setting, 2);
    if (picture)
        picture("preset-2", chart->RenderToImage(width, height));
    setting = saved;
    SetModalDialogRunner(nullptr);
    // The run ends on the last default layout, as the chart check does.
    frame.OnCommand(kCommandFirstLayout + kDefaultLayouts - 1);
    multiple = savedMultiple;
    std::fprintf(stderr, "Indicator check: %d types, %d blank\n", result.types, result.blank);
    return result;
}

} // namespace qv
