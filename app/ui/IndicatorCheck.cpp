// The indicator windows' check in the running program.
#include "app/ui/IndicatorCheck.h"

#include "chartmodel/AddedGraphEntries.h"
#include "chartmodel/GraphSettingDefaults.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IndicatorPlacement.h"
#include "chartmodel/IndicatorRecord.h"
#include "chartmodel/IndicatorTable.h"
#include "chartmodel/PaneLayout.h"
#include "chartmodel/StopLossSettings.h"
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

constexpr uint32_t kStopGlobal = 26059, kStopShare = 26514, kRelativeFtse100 = 26012;

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

// Pixels of the pen's colour inside pane `paneId`.
int PenPixels(const QImage& image, const CViewGraphEODWnd& chart, uint32_t pen, uint32_t paneId = kPaneFirstAddOn)
{
    const GraphPane* pane = chart.FindPane(paneId);
    if (!pane)
        return 0;
    const QRgb want = ColourFromWord(pen & 0xFFFFFF).rgb();
    int n = 0;
    for (int y = std::max(pane->top, 0); y < std::min(pane->bottom, image.height()); ++y)
        for (int x = std::max(pane->left + 1, 0); x < std::min(pane->right, image.width()); ++x)
            n += image.pixel(x, y) == want;
    return n;
}

// Counts a picture that shows fewer than 20 pixels of the pen in the pane as blank.
int CheckShown(const CViewGraphEODWnd& chart, const char* what, const QImage& image, uint32_t pen,
               const std::function<void(const std::string&, const QImage&)>& picture, const std::string& name,
               uint32_t paneId = kPaneFirstAddOn)
{
    if (picture)
        picture(name, image);
    if (PenPixels(image, chart, pen, paneId) >= 20)
        return 0;
    std::fprintf(stderr, "Indicator check: %s shows no line\n", what);
    return 1;
}

// The stop-loss lines, long (the share's own) and short (the general one), and the share relative to
// the FTSE 100, each by its command on the chart's price pane.
void CheckPricePaneLines(CViewGraphEODWnd& chart, IndicatorCheckResult& result,
                         const std::function<void(const std::string&, const QImage&)>& picture)
{
    const int width = 1000, height = 800;
    const uint16_t bit = uint16_t(1u << chart.SettingIndex());
    const uint16_t savedGlobalMask = GlobalStopMask(false), savedShareMask = IndividualStopMask(false);
    const StopRecord savedGlobal = GlobalStopRecord(false);
    StopShareKey share;
    const bool shown = chart.ShownShare(share);
    const std::optional<StopRecord> savedShare = shown ? ShareStopRecord(share, false) : std::nullopt;
    SetGlobalStopMask(false, uint16_t(savedGlobalMask & ~bit));
    SetIndividualStopMask(false, uint16_t(savedShareMask & ~bit));

    // The share's own stop: the command makes a long record at 10% and shows it.
    if (shown)
        DeleteShareStopRecord(share, false);
    chart.onProgramMessage(WM_COMMAND, kStopShare, 0);
    const std::optional<StopRecord> own = shown ? ShareStopRecord(share, false) : std::nullopt;
    result.types += 1;
    result.blank += own ? CheckShown(chart, "the long stop line", chart.RenderToImage(width, height), own->pen,
                                     picture, "stop-long", kPanePrice)
                        : 1;
    SetIndividualStopMask(false, uint16_t(IndividualStopMask(false) & ~bit));

    // The general stop as a short one, shown by its command.
    StopRecord shortStop = savedGlobal;
    shortStop.flags = uint16_t((shortStop.flags | StopFlag::StopGain) & ~StopFlag::StartAtDate);
    shortStop.percent = 8;
    shortStop.pen = 0x0000C0;
    SetGlobalStopRecord(false, shortStop);
    chart.onProgramMessage(WM_COMMAND, kStopGlobal, 0);
    result.types += 1;
    result.blank += CheckShown(chart, "the short stop line", chart.RenderToImage(width, height), shortStop.pen,
                               picture, "stop-short", kPanePrice);
    SetGlobalStopMask(false, savedGlobalMask);
    SetIndividualStopMask(false, savedShareMask);
    SetGlobalStopRecord(false, savedGlobal);
    if (shown) {
        DeleteShareStopRecord(share, false);
        if (savedShare)
            StoreShareStopRecord(share, false, *savedShare);
    }

    // "Price relative to FTSE 100": the share against the index, in the entry's pen.
    chart.onProgramMessage(WM_COMMAND, kRelativeFtse100, 0);
    const AddedGraphEntry relative = ReadAddedGraph(*chart.ActiveSetting(), kRelativeEntry);
    result.types += 1;
    result.blank += relative.id ? CheckShown(chart, "the relative line", chart.RenderToImage(width, height),
                                             relative.pen, picture, "relative-ftse100", kPanePrice)
                                : 1;
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
    for (const IndicatorAddCommand& add : IndicatorAddCommands()) {
        while (AnyAddOnWindow(setting))
            DeleteAddOnWindow(setting, 0);
        chart->onProgramMessage(WM_COMMAND, add.command, 0);
        const IndicatorRecord record = IndicatorRecord::Read(gs::IndicatorSlot(setting, 0, 0));
        const QImage image = chart->RenderToImage(width, height);
        ++result.types;
        const uint32_t pen = add.type == 58 && record.period3 == 0 ? gs::PriceColour(setting, 0) : record.pens[0];
        int pixels = record.type == add.type ? PenPixels(image, *chart, pen) : 0;
        // Directional movement draws the lines its flags ask for, each in its own pen.
        for (size_t p = 1; add.type == 54 && p < record.pens.size(); ++p)
            pixels = std::max(pixels, PenPixels(image, *chart, record.pens[p]));
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
    InitVexaGraphSetting(setting, 3);
    {
        // New highs less lows of the FTSE 100 above, the correlation with the FTSE 100 below it.
        const QImage image = chart->RenderToImage(width, height);
        result.types += 1;
        result.blank += CheckShown(*chart, "preset 3's breadth window", image, 0xFF0000, picture, "preset-3") +
                        CheckShown(*chart, "preset 3's correlation window", image, 0x008000, {}, "",
                                   kPaneFirstAddOn + 1);
    }
    setting = saved;
    CheckPricePaneLines(*chart, result, picture);
    setting = saved;
    SetModalDialogRunner(nullptr);
    // The run ends on the last default layout, as the chart check does.
    frame.OnCommand(kCommandFirstLayout + kDefaultLayouts - 1);
    multiple = savedMultiple;
    std::fprintf(stderr, "Indicator check: %d types, %d blank\n", result.types, result.blank);
    return result;
}

} // namespace qv
