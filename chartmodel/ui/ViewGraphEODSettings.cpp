// The daily chart's commands of the chart settings dialogs that write the setting in place: events,
// the swing chart, the chart font, and the trend colours of a locked setting.
#include "chartmodel/EodAttachState.h"
#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/PriceEdits.h"
#include "chartmodel/ui/ChartFontDlg.h"
#include "chartmodel/ui/DisplayEventsDlg.h"
#include "chartmodel/ui/IndicatorColourDlg.h"
#include "chartmodel/ui/SwingDesignDlg.h"
#include "chartmodel/ui/ViewGraphEODWindow.h"
#include "core/ShareList.h"
#include "shell/ui/ModalDialog.h"
#include "views/CommandUpdate.h"

#include <array>

namespace qv {

namespace gs = graphsetting;

namespace {
constexpr uint32_t kChartFontCommand = 21103;
constexpr uint32_t kEventsCommand = 27286;
constexpr uint32_t kSwingCommand = 27240;
constexpr uint32_t kCommands[] = {kChartFontCommand, kEventsCommand, kSwingCommand};
} // namespace

bool CViewGraphEODWnd::RunChartDesignCommand(uint32_t command)
{
    if (command == kChartFontCommand) {
        RunChartFontChooser(this);
        return true;
    }
    GraphSetting* setting = ActiveSetting();
    if (!setting)
        return false;
    if (command == kEventsCommand) {
        CDisplayEventsDlg dialog(*setting, this);
        dialog.SetNotify([this] { NotifyGraphSettings(0); });
        RunModalDialog(dialog);
        return true;
    }
    if (command == kSwingCommand) {
        // Greyed on a chart laid out by boxes, and dead there by key as well.
        if (eod.chartKind() & kChartBoxAxis)
            return true;
        // The overrides are the shown share's; a chart without a share edits the block only.
        RecordCursor* entry = list ? CurrentEntry(list) : nullptr;
        std::vector<uint8_t> overrides;
        LoadPriceEditFlags(overrides, entry);
        std::function<void(const std::vector<uint8_t>&)> store;
        if (entry && entry->record)
            store = [entry](const std::vector<uint8_t>& entries) { SavePriceEditFlags(entries, entry); };
        const bool shareShown = store != nullptr;
        CSwingDesignDlg dialog(*setting, std::move(overrides), std::move(store), -1, this);
        if (shareShown)
            dialog.SetShare(eod.shareName(), eod.days());
        dialog.SetNotify([this] { NotifyGraphSettings(0); });
        RunModalDialog(dialog);
        return true;
    }
    return false;
}

bool CViewGraphEODWnd::UpdateChartDesignCommand(CommandUi& ui) const
{
    for (uint32_t command : kCommands)
        if (ui.command == command) {
            ui.enabled = command != kSwingCommand || !(eod.chartKind() & kChartBoxAxis);
            return true;
        }
    return false;
}

// The trend line and confidence line pens (trend words 2 and 3) in the colour-only dialog.
void CViewGraphEODWnd::RunTrendColours(GraphSetting& setting)
{
    static constexpr ColourEntry kEntries[] = {{0, 0, "Trend line"}, {1, 0, "Confidence lines"}};
    constexpr size_t kTrendPens = gs::kTrends + 8;
    std::array<uint32_t, 2> words{gs::U32(setting, kTrendPens), gs::U32(setting, kTrendPens + 4)};
    auto write = [&] {
        gs::SetU32(setting, kTrendPens, words[0]);
        gs::SetU32(setting, kTrendPens + 4, words[1]);
    };
    RunColourDialog(words.data(), int(words.size()), kEntries, 2, kTrendLineStyles, write);
    write();
}

} // namespace qv
