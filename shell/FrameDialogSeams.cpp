// The frame's seams to other subsystems' dialogs, the external opener and the feed state.
#include "shell/FrameDialogSeams.h"

#include <map>
#include <utility>

namespace qv {
namespace {

std::map<uint32_t, CommandDialog>& Dialogs()
{
    static std::map<uint32_t, CommandDialog> dialogs;
    return dialogs;
}

ExternalOpener& Opener()
{
    static ExternalOpener opener;
    return opener;
}

FeedStateQuery& FeedQuery()
{
    static FeedStateQuery query;
    return query;
}

} // namespace

FrameDialogSeams& FrameDialogs()
{
    static FrameDialogSeams seams;
    return seams;
}

void SetCommandDialog(uint32_t command, CommandDialog dialog)
{
    if (dialog)
        Dialogs()[command] = std::move(dialog);
    else
        Dialogs().erase(command);
}

const CommandDialog* FindCommandDialog(uint32_t command)
{
    auto found = Dialogs().find(command);
    return found == Dialogs().end() ? nullptr : &found->second;
}

ExternalOpener SetExternalOpener(ExternalOpener opener)
{
    return std::exchange(Opener(), std::move(opener));
}

bool OpenExternal(const std::string& target)
{
    return Opener() && Opener()(target);
}

void SetFeedStateQuery(FeedStateQuery query)
{
    FeedQuery() = std::move(query);
}

int32_t FeedConnectionState()
{
    return FeedQuery() ? FeedQuery()() : 0;
}

} // namespace qv
