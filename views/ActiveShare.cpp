// Finding the active view's current share.
#include "views/ActiveShare.h"

#include "core/ShareList.h"
#include "portfolio/TransactionRows.h"
#include "views/FrameState.h"
#include "views/ViewBase.h"

namespace qv {

bool ActiveViewShare(RecordCursor& share)
{
    CViewBase* view = MainFrameState().activeView;
    if (!view || !view->list)
        return false;
    RecordCursor* entry = CurrentEntry(view->list);
    if (!entry || !entry->record)
        return false;
    share = ShareOfRow(*view->list, *entry);
    return share.record != nullptr;
}

} // namespace qv
