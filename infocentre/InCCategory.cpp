// Filing documents into the category tree.
#include "infocentre/InCCategory.h"

namespace qv {

void CInCCategory::File(const InCDocumentItem& document, const std::string& subCategory)
{
    if (document.done)
        ++doneCount;
    if (subCategory.empty()) {
        documents.push_back(document);
        return;
    }
    InCSubCategory& sub = subCategories[subCategory];
    sub.name = subCategory;
    if (document.done)
        ++sub.doneCount;
    sub.documents.push_back(document);
    subCategoryFlag = sub.documents.size() >= 2;
}

} // namespace qv
