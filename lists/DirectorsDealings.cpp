// Directors' dealings blocks. Reading "data\DirDeal.dat" is not built yet: the blocks stay empty.
#include "lists/DirectorsDealings.h"

#include "core/Memory.h"

namespace qv {

uint8_t* DealingsMainBlock = nullptr;
uint8_t* DealingsBlockTable[kDealingsBlockSlots] = {};
int32_t DealingsBlockCount = 0;

void LoadDirDeal() {}

void FreeDirDealBlocks()
{
    ProFree(DealingsMainBlock);
    DealingsMainBlock = nullptr;
    for (uint8_t*& block : DealingsBlockTable) {
        ProFree(block);
        block = nullptr;
    }
    DealingsBlockCount = 0;
}

} // namespace qv
