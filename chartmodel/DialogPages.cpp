// The chart design dialogs' last pages, in the registry's "Settings" section.
#include "chartmodel/DialogPages.h"

#include "platform/Registry.h"

#include <algorithm>
#include <cstdint>

namespace qv {

namespace {
constexpr const char* kSection = "Settings";
} // namespace

int StoredDialogPage(const char* name)
{
    return int(std::min<uint32_t>(Registry::Instance().getU32(kSection, name).value_or(0), 0xFFFF));
}

void StoreDialogPage(const char* name, int page)
{
    Registry::Instance().setU32(kSection, name, uint32_t(std::max(page, 0)));
}

} // namespace qv
