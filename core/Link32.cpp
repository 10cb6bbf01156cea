// The program-wide pointer table behind 32-bit links.
#include "core/Link32.h"

#include <mutex>
#include <unordered_map>
#include <vector>

namespace qv {
namespace {

struct PointerTable {
    std::mutex mutex;
    std::vector<void*> pointers{nullptr}; // slot 0 is null
    std::unordered_map<const void*, uint32_t> slots;
};

// Never destroyed: records freed by other statics' destructors at exit still read their links.
PointerTable& Table()
{
    static PointerTable* table = new PointerTable;
    return *table;
}

} // namespace

uint32_t PointerSlot(const void* pointer)
{
    if (!pointer)
        return 0;
    PointerTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto [it, added] = table.slots.emplace(pointer, uint32_t(table.pointers.size()));
    if (added)
        table.pointers.push_back(const_cast<void*>(pointer));
    return it->second;
}

void* SlotPointer(uint32_t slot)
{
    if (slot == 0)
        return nullptr;
    PointerTable& table = Table();
    std::lock_guard lock(table.mutex);
    return slot < table.pointers.size() ? table.pointers[slot] : nullptr;
}

} // namespace qv
