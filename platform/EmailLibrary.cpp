// The e-mail library is optional and not built for this platform: it reports itself not present.
#include "platform/EmailLibrary.h"

namespace qv {

const EmailLibrary& LoadEmailLibrary()
{
    static const EmailLibrary library;
    return library;
}

} // namespace qv
