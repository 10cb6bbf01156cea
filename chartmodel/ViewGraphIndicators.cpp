// The chart view's indicator commands (add, edit, delete, help), its add-on window commands, the
// moving-average settings command and the stop-loss commands, with their menu states.
#include "chartmodel/ViewGraph.h"

#include "chartmodel/GraphSettingLayout.h"
#include "chartmodel/IndicatorPlacement.h"
#include "chartmodel/IndicatorTable.h"
#include "chartmodel/StopLossSettings.h"
#include "core/ShareList.h"
#include "core/SystemDate.h"
#include "lists/GraphSource.h"
#include "platform/ByteOrder.h"
#include "platform/MessageBox.h"
#include "views/CommandUpdate.h"
#include "views/FrameState.h"
#include "views/ViewKinds.h"

#include <array>
#include <vector>

namespace qv {

namespace gs = graphsetting;

namespace {


int AddCommandType(uint32_t command)
{
    for (const IndicatorAddCommand& a : IndicatorAddCommands())
        if (a.command == command)
            return a.type;
    return 0;
}

constexpr uint32_t kEditFirst = 26391, kDeleteFirst = 26525, kDeleteWindowFirst = 20234;
constexpr uint32_t kDeleteAllWindows = 20229;
constexpr uint32_t kWindowHelp = 26389, kMovingAverages = 20205;
constexpr uint32_t kStopGlobal = 26059, kStopShare = 26514, kStopIncrease = 26764, kStopDecrease = 26765;
constexpr uint32_t kStopGlobalDialog = 26090, kStopGlobalDialog2 = 26767;
constexpr uint32_t kStopShareDialog = 26533, kStopShareDialog2 = 26766;
constexpr uint32_t kWindowHelpBase = 84636;
constexpr uint32_t kSpikeRemoval = 26899, kLoopForward = 20606, kFrameSlideShowNext = 506;

constexpr std::array<const char*, 4> kEditTexts = {"1st Indicator of Window", "2nd Indicator of Window",
                                                    "3rd Indicator of Window", "4th Indicator of Window"};

bool InRange(uint32_t c, uint32_t first, uint32_t count) { return c >= first && c < first + count; }

uint8_t SlotType(const GraphSetting& s, int w, int k) { return gs::IndicatorSlot(s, w, k)[gs::kSlotType]; }

} // namespace

bool CViewGraph::ShownShare(StopShareKey& share) const
{
    RecordCursor* entry = list ? CurrentEntry(list) : nullptr;
    if (entry == nullptr || entry->record == nullptr)
        return false;
    share.shareId = LoadU16(entry->record + 2);
    share.exchange = uint8_t(entry->count);
    return true;
}

void CViewGraph::AddAnalytic(int type, int k, bool isNew)
{
    GraphSetting* setting = ActiveSetting();
    if (setting == nullptr)
        return;
    WindowUsage usage = ComputeWindowUsage(*setting, type);
    int window = currentAddOn >= 0 && currentAddOn < gs::kAddOnWindowCount ? currentAddOn : -1;
    bool editing = window >= 0 && !isNew && SlotType(*setting, window, k) == type;
    IndicatorRecord record = editing ? IndicatorRecord::Read(gs::IndicatorSlot(*setting, window, k)) : IndicatorRecord::Of(type, 0);
    bool openedFromWindow = editing || (!isNew && window >= 0);
    if ((isNew || window < 0) && usage.tooMany()) {
        ShowMessage("Would be too many analytics");
        return;
    }
    IndicatorRecord original = record;
    int target = kTargetNewWindow;
    if (!RunAddIndicatorDialog(record, editing, openedFromWindow, usage, editing ? window : -1, k, target))
        return;
    if (target == kTargetReplace && openedFromWindow && !editing && window >= 0) {
        // An edit that changed the type replaces the record where it stood.
        record.Write(gs::IndicatorSlot(*setting, window, k));
    } else {
        PlaceIndicator(*setting, record, target, editing ? window : -1, k, original);
    }
    NotifyGraphSettings(0);
}

void CViewGraph::EditAnalyticLines(int k)
{
    GraphSetting* setting = ActiveSetting();
    if (setting == nullptr || currentAddOn < 0 || currentAddOn >= gs::kAddOnWindowCount)
        return;
    auto slot = gs::IndicatorSlot(*setting, currentAddOn, k);
    IndicatorRecord record = IndicatorRecord::Read(slot);
    if (record.type == 0)
        return;
    if (!ComputeSettingsLocked() || !(record.flags & IndicatorRecord::kLockedFlag)) {
        AddAnalytic(record.type, k, false);
        return;
    }
    std::vector<ColourEntry> entries;
    if (record.type == IndicatorType::MACD) {
        entries = {{0, 0, "Indicator line"}, {1, 0, "Signal line"}};
        if (record.flags & 2) {
            entries.push_back({2, 4, "Histogram -ve"});
            entries.push_back({3, 4, "Histogram +ve"});
        }
    } else if (record.type == IndicatorType::Stochastic) {
        entries = {{0, 0, "Indicator line"}, {1, 0, "Signal line"}};
    } else if (record.type == IndicatorType::ADM) {
        entries = {{0, 0, "ADX"}, {1, 0, "+ve DI"}, {2, 0, "-ve DI"}, {3, 0, "ADXR"}};
    } else {
        entries = {{0, 0, "Indicator line"}};
    }
    RunIndicatorColourDialog(record.pens.data(), int(record.pens.size()), entries.data(), int(entries.size()), record.type);
    IndicatorRecord stored = IndicatorRecord::Read(slot);
    stored.pens = record.pens;
    stored.Write(slot);
    NotifyGraphSettings(0);
}

bool CViewGraph::OnIndicatorCommand(uint32_t command)
{
    GraphSetting* setting = ActiveSetting();
    if (setting == nullptr)
        return false;
    if (int type = AddCommandType(command); type != 0) {
        AddAnalytic(type, 0, true);
        return true;
    }
    const bool hasWindow = currentAddOn >= 0 && currentAddOn < gs::kAddOnWindowCount;
    if (InRange(command, kEditFirst, 4)) {
        if (hasWindow)
            EditAnalyticLines(int(command - kEditFirst));
        return true;
    }
    if (InRange(command, kDeleteFirst, 4)) {
        if (hasWindow && SlotType(*setting, currentAddOn, int(command - kDeleteFirst)) != 0) {
            DeleteIndicatorRecord(*setting, currentAddOn, int(command - kDeleteFirst));
            NotifyGraphSettings(0);
        }
        return true;
    }
    if (InRange(command, kDeleteWindowFirst, 4)) {
        DeleteAddOnWindow(*setting, int(command - kDeleteWindowFirst));
        NotifyGraphSettings(0);
        return true;
    }
    if (command == kDeleteAllWindows) {
        for (int w = gs::kAddOnWindowCount - 1; w >= 0; --w)
            DeleteAddOnWindow(*setting, w);
        NotifyGraphSettings(0);
        return true;
    }
    if (command == kWindowHelp) {
        if (hasWindow && SlotType(*setting, currentAddOn, 0) != 0)
            ShowHelpTopic(kWindowHelpBase + SlotType(*setting, currentAddOn, 0));
        return true;
    }
    if (command == kSpikeRemoval) {
        ChartOptions().spikeRemoval = !ChartOptions().spikeRemoval;
        NotifyGraphSettings(0);
        return true;
    }
    if (command == kLoopForward) {
        if (SlideShowRunning)
            SendFrameCommand(kFrameSlideShowNext);
        return true;
    }
    if (command == kMovingAverages) {
        if (ComputeSettingsLocked()) {
            // The eight pens from the lines' colours on: the first line's and the first band's.
            static constexpr ColourEntry kEntries[] = {{0, 0, "Moving average"}, {4, 0, "Bollinger bands"}};
            std::array<uint32_t, 8> words{};
            for (size_t i = 0; i < words.size(); ++i)
                words[i] = gs::U32(*setting, gs::kLineColours + 4 * i);
            RunIndicatorColourDialog(words.data(), int(words.size()), kEntries, 2, 0x20000);
            for (size_t i = 0; i < words.size(); ++i)
                gs::SetU32(*setting, gs::kLineColours + 4 * i, words[i]);
            NotifyGraphSettings(0);
        } else {
            RunMovingAverageDialog();
        }
        return true;
    }
    const bool intraday = kind != kViewDailyChart;
    const int index = SettingIndex();
    if (command == kStopGlobal) {
        SetGlobalStopMask(intraday, uint16_t(GlobalStopMask(intraday) ^ (1u << index)));
        NotifyGraphSettings(0);
        return true;
    }
    if (command == kStopShare || command == kStopIncrease || command == kStopDecrease) {
        StopShareKey share;
        if (!ShownShare(share))
            return true;
        if (command == kStopShare && ShareStopRecord(share, intraday)) {
            SetIndividualStopMask(intraday, uint16_t(IndividualStopMask(intraday) ^ (1u << index)));
        } else {
            float step = command == kStopShare ? 0.0f : StopAdjustStep(command == kStopIncrease, ShiftHeld(), intraday);
            AdjustShareStop(share, intraday, index, step, GetLatestTradingDate(0));
        }
        NotifyGraphSettings(0);
        return true;
    }
    if (command == kStopGlobalDialog || command == kStopGlobalDialog2) {
        RunStopLossDialog(false);
        return true;
    }
    if (command == kStopShareDialog || command == kStopShareDialog2) {
        RunStopLossDialog(true);
        return true;
    }
    return false;
}

bool CViewGraph::UpdateIndicatorCommandUi(CommandUi& ui) const
{
    const GraphSetting* setting = ActiveSetting();
    if (setting == nullptr)
        return false;
    const uint32_t c = ui.command;
    const bool boxChart = viewFlags & 2;
    const bool share = graphSourceKind == 0 && !boxChart;
    const bool locked = ComputeSettingsLocked();
    const bool hasWindow = currentAddOn >= 0 && currentAddOn < gs::kAddOnWindowCount;
    if (AddCommandType(c) != 0) {
        ui.enabled = share;
        return true;
    }
    if (InRange(c, kEditFirst, 4) || InRange(c, kDeleteFirst, 4)) {
        int k = int(c - (InRange(c, kEditFirst, 4) ? kEditFirst : kDeleteFirst));
        ui.enabled = share && hasWindow && SlotType(*setting, currentAddOn, k) != 0;
        if (InRange(c, kDeleteFirst, 4))
            ui.enabled = ui.enabled && !locked;
        else
            ui.text = ui.enabled ? GetIndicatorName(IndicatorRecord::Read(gs::IndicatorSlot(*setting, currentAddOn, k)))
                                 : std::string(kEditTexts[size_t(k)]);
        return true;
    }
    if (InRange(c, kDeleteWindowFirst, 4)) {
        ui.enabled = share && SlotType(*setting, int(c - kDeleteWindowFirst), 0) != 0 && !locked;
        return true;
    }
    if (c == kDeleteAllWindows) {
        ui.enabled = share && AnyAddOnWindow(*setting) && !locked;
        return true;
    }
    if (c == kWindowHelp) {
        ui.enabled = hasWindow && SlotType(*setting, currentAddOn, 0) != 0;
        return true;
    }
    if (c == kMovingAverages) {
        ui.enabled = !boxChart;
        return true;
    }
    if (c == kSpikeRemoval) {
        ui.enabled = !(graphSourceKind & 8);
        ui.checked = ChartOptions().spikeRemoval != 0;
        return true;
    }
    if (c == kLoopForward) {
        ui.enabled = true;
        return true;
    }
    const bool intraday = kind != kViewDailyChart;
    const bool stopsAllowed = !boxChart && graphSourceKind != kSourcePortfolioProfit;
    const uint32_t bit = 1u << SettingIndex();
    if (c == kStopGlobal) {
        ui.enabled = stopsAllowed;
        ui.checked = (GlobalStopMask(intraday) & bit) != 0;
        std::string gain = *ui.checked ? StopMenuText(true, intraday, std::nullopt) : std::string();
        ui.text = gain.empty() ? "&Stop-loss - Global" : gain;
        return true;
    }
    if (c == kStopShare) {
        StopShareKey key;
        ui.enabled = stopsAllowed;
        if (!ShownShare(key))
            return true;
        std::optional<StopRecord> own = ShareStopRecord(key, intraday);
        ui.checked = (IndividualStopMask(intraday) & bit) != 0 && own.has_value();
        std::string gain = StopMenuText(false, intraday, own);
        ui.text = gain.empty() ? "&Stop-loss - This Share" : gain;
        return true;
    }
    if (c == kStopIncrease || c == kStopDecrease || c == kStopGlobalDialog || c == kStopGlobalDialog2 ||
        c == kStopShareDialog || c == kStopShareDialog2) {
        ui.enabled = stopsAllowed;
        return true;
    }
    return false;
}

} // namespace qv
