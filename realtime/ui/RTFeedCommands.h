// The feed's frame commands that run the real-time dialogs: feed information (26810), feed levels
// (27061), recording (26935), backfill (26894), backfill progress (27105), purge (26937)
// and the NYSE/AMEX agreement (27063).
#pragma once

namespace qv {

void InstallRTFeedCommands();
void RemoveRTFeedCommands();

} // namespace qv
