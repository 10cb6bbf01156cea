// The list views' program options.
#include "lists/ListViewOptions.h"

namespace qv {

ListViewOptions& CurrentListViewOptions()
{
    static ListViewOptions options;
    return options;
}

} // namespace qv
