// The steps of database loading and reloading that other parts of the program own (splash progress,
// share lists, imports, portfolios, cash accounts, news updates, view groups). Start-up installs
// them; an empty step is skipped, so the core and its tests run without them.
#pragma once

#include <functional>

namespace qv {

struct DatabaseNeighbours {
    std::function<void(int position)> setSplashProgress;
    std::function<void()> createFirstShareList; // when no share list exists yet
    std::function<void()> freeFixedSourceLists;
    // Before a reload frees the imported items: puts what the user made since the last save on disk.
    std::function<void()> saveBeforeReload;
    // Before a reload frees the database: services that keep record pointers let go of them.
    std::function<void()> releaseRecordPointers;
    std::function<void()> loadImports;
    std::function<void()> freeUnusedViewGroups;
    std::function<void()> loadPortfolios;
    std::function<void()> loadCashAccounts;
    std::function<void()> applyNewsUpdateFiles;
    std::function<void()> refreshAllViewGroups;
    std::function<void()> recalculateAfterLoad;
};

DatabaseNeighbours& GetDatabaseNeighbours();

} // namespace qv
