// The InfoCentre's category tree: each category names its documents, directly or in sub-categories.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace qv {

// State flag of an index entry: the user has dealt with the document (a form filled in).
constexpr uint16_t kInCFlagDone = 0x80;

struct InCDocumentItem {
    std::string title;
    uint16_t number = 0;
    uint8_t done = 0;
};

struct InCSubCategory {
    std::string name;
    int doneCount = 0;
    std::vector<InCDocumentItem> documents;
};

class CInCCategory {
public:
    explicit CInCCategory(std::string name = {}) : name(std::move(name)) {}

    // Files the document directly in the category (empty sub-category) or in the sub-category of
    // that name, which is made when absent.
    void File(const InCDocumentItem& document, const std::string& subCategory);

    std::string name;
    // Set while the sub-category filed into last holds two or more documents.
    bool subCategoryFlag = false;
    int doneCount = 0;
    std::vector<InCDocumentItem> documents;
    std::map<std::string, InCSubCategory> subCategories;
};

} // namespace qv
