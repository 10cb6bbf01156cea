// Deleting imported items with everything that refers to them: portfolio entries, transactions and
// the entries of the share lists.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

struct ImportedItemUse {
    int entries = 0;      // portfolio entries of the item, over every portfolio
    int transactions = 0; // transactions of the item, 'Latest' rows (type 15) not counted
};
ImportedItemUse CountImportedItemUse(uint16_t id);

// "Are you sure you want to delete %s?" with the counts added when the item is in a portfolio.
std::string DeleteImportedItemQuestion(const std::string& name, const ImportedItemUse& use);

// Removes the item's portfolio entries, transactions and list entries, then the item; false when
// there is no imported item of that id.
bool DeleteImportedItem(uint16_t id);
// The same for every imported item.
void DeleteAllImportedItems();

} // namespace qv
