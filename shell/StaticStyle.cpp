// Text-drawing flags of static styles.
#include "shell/StaticStyle.h"

namespace qv {

uint32_t StaticTextFlags(uint32_t style)
{
    uint32_t flags = 0;
    uint32_t type = style & 0x1F;
    if (type == kStaticCentre)
        flags |= DT_CENTER;
    else if (type == kStaticRight)
        flags |= DT_RIGHT;
    if (style & kStaticCentreImage)
        flags |= DT_VCENTER | DT_SINGLELINE;
    if (style & kStaticNoPrefix)
        flags |= DT_NOPREFIX;
    uint32_t ellipsis = style & kStaticWordEllipsis;
    if (ellipsis) {
        flags |= DT_WORD_ELLIPSIS;
        if (ellipsis == kStaticEndEllipsis)
            flags |= DT_END_ELLIPSIS;
        if (ellipsis == kStaticPathEllipsis)
            flags |= DT_PATH_ELLIPSIS;
    }
    if (!ellipsis && !(style & kStaticCentreImage) && !(type & 0xC))
        flags |= DT_WORDBREAK;
    return flags;
}

} // namespace qv
