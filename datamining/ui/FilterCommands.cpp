// Choosing, renaming and deleting filters through their dialogs.
#include "datamining/ui/FilterCommands.h"

#include "core/Portfolio.h"
#include "datamining/FilterEvaluation.h"
#include "datamining/FilterProgress.h"
#include "datamining/ui/SelectListDlgs.h"
#include "platform/MessageBox.h"
#include "platform/qt/QtText.h"
#include "portfolio/PortfolioRoutines.h"
#include "shell/ui/FilterNameDlg.h"
#include "shell/ui/ModalDialog.h"
#include "views/ViewBase.h"

namespace qv {
namespace {

constexpr uint32_t kMsgFilterEdited = 1213;
constexpr uint16_t kAllShares = 1;

// Views that showed `from` (compared by address only: it may be gone) show the current filter.
void MoveViews(const void* from)
{
    std::vector<CViewBase*> showing;
    ForEachView([&](CViewBase* v) {
        if (v->GetDataMiningFilter() == from)
            showing.push_back(v);
    });
    for (CViewBase* v : showing)
        v->OnFilterChanged();
}

// A name no filter has, from the name dialog; empty on Cancel.
std::string AskNewName(bool renaming, const std::string& start, QWidget* parent)
{
    CFilterNameDlg dialog(parent);
    dialog.SetRenaming(renaming);
    dialog.SetName(FromCp1252(start));
    dialog.SetNameCheck(true);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return {};
    return ToCp1252(dialog.Name());
}

} // namespace

bool SelectFilterByDialog(QWidget* parent)
{
    CSelectFilterDlg dialog(CurrentFilter(), false, parent);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return false;
    DMFilter* before = CurrentFilter();
    DMFilter* chosen = dialog.Chosen();
    if (!chosen || FilterList().empty()) {
        const std::string name = AskNewName(false, {}, parent);
        if (name.empty())
            return false;
        auto filter = std::make_unique<DMFilter>();
        filter->name = name;
        filter->sourceKind = kAllShares;
        chosen = InsertFilter(std::move(filter));
    }
    SetCurrentFilter(chosen);
    MoveViews(before);
    return true;
}

bool RenameFilterByDialog(DMFilter& filter, QWidget* parent)
{
    if (filter.readOnly())
        return false;
    const std::string name = AskNewName(true, filter.name, parent);
    if (name.empty())
        return false;
    for (Portfolio* p = PortfolioChain(); p; p = p->next)
        if (p->type == kFilterPreset && p->name.str() == filter.name) {
            p->name = name;
            break;
        }
    filter.name = name;
    PostToAllViews(kMsgFilterEdited, &filter, nullptr);
    return true;
}

bool DeleteFilterByDialog(QWidget* parent)
{
    if (FilterProgressOpen())
        return false;
    CSelectFilterDlg dialog(CurrentFilter(), true, parent);
    if (RunModalDialog(dialog) != QDialog::Accepted)
        return false;
    DMFilter* chosen = dialog.Chosen();
    if (!chosen)
        return false;
    if (ShowMessage("Are you sure you want to delete the filter '" + chosen->name + "'?", {}, MsgButtons::YesNo,
                    MsgIcon::Question) != MsgAnswer::Yes)
        return false;
    const bool wasCurrent = chosen == CurrentFilter();
    const void* gone = chosen;
    RemoveDMFilter(chosen);
    if (wasCurrent)
        SetCurrentFilter(FilterList().empty() ? nullptr : FilterList().front().get());
    MoveViews(gone);
    PostToAllViews(kMsgFilterEdited, CurrentFilter(), nullptr);
    return true;
}

} // namespace qv
