// Training mode of the daily chart.
#include "chartmodel/EodTraining.h"

#include "chartmodel/ViewGraph.h"
#include "core/ShareList.h"
#include "lists/ListRows.h"
#include "platform/Beep.h"
#include "platform/MessageBox.h"
#include "views/CommandUpdate.h"

namespace qv {
namespace {

constexpr uint32_t kCommandTrainingMode = 26452;
constexpr uint32_t kCommandClearMarks = 26453;
constexpr uint32_t kCommandSelectMark = 26454;
constexpr uint32_t kCommandRemoveMark = 26455;

} // namespace

bool UnlinkForTraining(CViewBase& view)
{
    ShareList* followed = view.GetActiveShareList();
    if (!followed)
        return false;
    const bool following = followed == view.secondList && view.list && view.list != followed;
    if (!following && !ShareListHasOtherViews(&view))
        return false;
    ShareList* own = view.list;
    if (!following) {
        own = CreateShareList(8, 0, followed->family, followed->source, true);
        own->word = followed->word;
        own->tableSetting = followed->tableSetting;
        own->sortDirection = followed->sortDirection;
        own->sortColumn = followed->sortColumn;
    }
    own->currentId = followed->currentId;
    own->currentSub = followed->currentSub;
    UnlinkViewFromLists(&view);
    view.list = own;
    view.secondList = nullptr;
    view.nextInList = own->views;
    own->views = &view;
    // Filled as the chart fills a list that no list window fills.
    if (own->source && !ShareListHasEntries(own)) {
        SetShareListSource(own, own->source, own->currentId, own->currentSub, false, false);
    } else if (!own->source && own->filledMark != own->word + 1) {
        ApplyListSortSetting(own, 0);
        RefillListSource(own, true);
    }
    SetShareListPosition(own, own->currentId, own->currentSub, false);
    return true;
}

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
        if (!ShareListHasEntries(view_.GetActiveShareList())) {
            refusal = kTrainingNoShares;
        } else {
            state_.eligible = EligibleShares(view_.GetActiveShareList());
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
        } else {
            const bool unlinked = UnlinkForTraining(view_);
            if (unlinked)
                state_.eligible = EligibleShares(view_.GetActiveShareList());
            if (!TrainingInfoSuppressed())
                TrainingInfoSuppressed() =
                    SuppressibleInfo()(std::string(unlinked ? kTrainingUnlinked : "") + kTrainingInfo);
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
    if (!DrawNextTrainingShare(view_.GetActiveShareList(), state_, uint32_t(random_()), TrainingMarkTable().count)) {
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
    if (!ShareListHasEntries(view_.GetActiveShareList()))
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
    if (!ShareListHasEntries(view_.GetActiveShareList()))
        return true;
    view_.CancelMode();
    switch (TrainingPreviousStep(state_, TrainingMarkTable().count)) {
    case TrainingStep::Draw: Draw(); return true;
    case TrainingStep::ReturnToRemembered:
        if (ReturnToRememberedShare(view_.GetActiveShareList(), state_))
            view_.InvalidateLinkedViews(true, false);
        break;
    case TrainingStep::Repaint: break;
    }
    view_.InvalidateWindow();
    return true;
}

int32_t EodTraining::ShownDate() const
{
    const TrainingMarks& marks = TrainingMarkTable();
    if (!view_.trainingMode || state_.cursor < 0 || state_.cursor >= marks.count)
        return 0;
    return marks.marks[size_t(state_.cursor)];
}

// The existing mark under the last mouse position, -1 for none (a new mark's index is no mark).
int32_t EodTraining::MarkUnderMouse() const
{
    if (!view_.trainingMode || !hitTest)
        return -1;
    const int32_t hit = hitTest(view_.lastMouseX, view_.lastMouseY);
    return hit < TrainingMarkTable().count ? hit : -1;
}

bool EodTraining::RunCommand(uint32_t command)
{
    if (command == kCommandSelectMark || command == kCommandRemoveMark) {
        const int32_t hit = MarkUnderMouse();
        if (hit < 0)
            return true;
        if (command == kCommandSelectMark)
            state_.cursor = hit;
        else
            RemoveTrainingMark(TrainingMarkTable(), hit, state_.cursor);
        view_.InvalidateWindow();
        return true;
    }
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
    if (ui.command == kCommandSelectMark || ui.command == kCommandRemoveMark) {
        const int32_t hit = MarkUnderMouse();
        ui.enabled = hit >= 0 && (ui.command == kCommandRemoveMark || hit != state_.cursor);
        return true;
    }
    return false;
}

} // namespace qv
