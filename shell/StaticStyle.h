// Static label styles and the text-drawing flags they give: how a label aligns, wraps and cuts
// its text.
#pragma once

#include <cstdint>

namespace qv {

// Alignment and ellipsis follow the label's style, as the static's style bits did.
enum StaticStyle : uint32_t {
    kStaticLeft = 0x0,
    kStaticCentre = 0x1,
    kStaticRight = 0x2,
    kStaticLeftNoWordWrap = 0xC,
    kStaticNoPrefix = 0x80,
    kStaticCentreImage = 0x200,
    kStaticEndEllipsis = 0x4000,
    kStaticPathEllipsis = 0x8000,
    kStaticWordEllipsis = 0xC000,
};

// Text-drawing flags (DrawText's DT_ values).
constexpr uint32_t DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20,
                   DT_NOPREFIX = 0x800, DT_END_ELLIPSIS = 0x8000, DT_PATH_ELLIPSIS = 0x4000,
                   DT_WORD_ELLIPSIS = 0x40000;

// The text-drawing flags of a style.
uint32_t StaticTextFlags(uint32_t style);

} // namespace qv
