// Training mode of the daily chart.
#include "chartmodel/EodTraining.h"

#include "chartmodel/ViewGraph.h"
#include "core/ShareList.h"
#include "platform/Beep.h"
#include "platform/MessageBox.h"
#include "shell/CommandUpdate.h"

namespace qv {
namespace {

constexpr uint32_t kCommandTrainingMode = 26452;
constexpr uint32_t kCommandClearMarks = 26453;

} // namespace

bool& TrainingInfoSuppressed()
{
    static bool suppressed = false;
    return suppressed;
}

void EodTraining::Toggle()
{
    TrainingMarks& marks = TrainingMarkTable();
    CountTrainingMarks(marks);
    view_.trainingMark = -1;
    state_ = {};
    view_.trainingMode = view_.trainingMode ? 0 : 1;
    if (view_.trainingMode) {
        const char* refusal = nullptr;
        if (!ShareListHasEntries(view_.list)) {
            refusal = kTrainingNoShares;
        } else {
            state_.eligible = EligibleShares(view_.list);
            bool any = false;
            for (bool e : state_.eligible)
                any = any || e;
            if (!any)
                refusal = kTrainingNoPrices;
        }
        if (refusal) {
            state_ = {};
            view_.trainingMode = 0;
            ShowMessage(refusal, {}, MsgButtons::Ok, MsgIcon::Information);
        } else if (!TrainingInfoSuppressed()) {
            TrainingInfoSuppressed() = SuppressibleInfo()(kTrainingInfo);
        }
    }
    view_.UpdateTitle();
    view_.InvalidateWindow();
}

void EodTraining::TurnOff()
{
    view_.trainingMode = 0;
    view_.trainingMark = -1;
    state_ = {};
}

void EodTraining::Draw()
{
    if (!DrawNextTrainingShare(view_.list, state_, uint32_t(random_()), TrainingMarkTable().count)) {
        SystemBeep();
        return;
    }
    view_.InvalidateLinkedViews(true, false);
    view_.InvalidateWindow();
}

bool EodTraining::Next()
{
    if (!view_.trainingMode)
        return false;
    if (!ShareListHasEntries(view_.list))
        return true;
    view_.CancelMode();
    if (TrainingNextStep(state_, TrainingMarkTable().count) == TrainingStep::Draw)
        Draw();
    else
        view_.InvalidateWindow();
    return true;
}

bool EodTraining::Previous()
{
    if (!view_.trainingMode)
        return false;
    if (!ShareListHasEntries(view_.list))
        return true;
    view_.CancelMode();
    switch (TrainingPreviousStep(state_, TrainingMarkTable().count)) {
    case TrainingStep::Draw: Draw(); return true;
    case TrainingStep::ReturnToRemembered:
        if (ReturnToRememberedShare(view_.list, state_))
            view_.InvalidateLinkedViews(true, false);
        break;
    case TrainingStep::Repaint: break;
    }
    view_.InvalidateWindow();
    return true;
}

bool EodTraining::RunCommand(uint32_t command)
{
    if (command == kCommandTrainingMode) {
        Toggle();
        return true;
    }
    if (command == kCommandClearMarks) {
        ClearTrainingMarks(TrainingMarkTable());
        state_.cursor = -1;
        view_.InvalidateWindow();
        return true;
    }
    return false;
}

bool EodTraining::UpdateCommand(CommandUi& ui) const
{
    if (ui.command == kCommandTrainingMode) {
        ui.enabled = view_.graphSourceKind == 0 && !view_.priceEditMode;
        ui.checked = view_.trainingMode != 0;
        return true;
    }
    if (ui.command == kCommandClearMarks) {
        ui.enabled = TrainingMarkTable().count > 0;
        return true;
    }
    return false;
}

} // namespace qv
