// Reading a table style for drawing.
#include "lists/ListStyle.h"

#include "core/ConfigRecords.h"

#include <algorithm>
#include <cstring>

namespace qv {

ListStyle ReadListStyle(const TableStyle& t)
{
    ListStyle s;
    s.background = t.word(TableStyle::kBackground) & 0xFFFFFF;
    s.currentText = t.word(TableStyle::kCurrentText) & 0xFFFFFF;
    s.currentBackground = t.word(TableStyle::kCurrentBackground) & 0xFFFFFF;
    int space = int(std::clamp<uint32_t>(t.word(TableStyle::kWhiteSpace), 1, 9));
    s.whiteSpace = space % 2 == 0 ? space - 1 : space;
    s.text = t.word(TableStyle::kText) & 0xFFFFFF;
    s.lineInterval = int(std::clamp<uint32_t>(t.word(TableStyle::kLineInterval), 1, kNoHorizontalLines));
    s.horizontalPen = t.word(TableStyle::kHorizontalPen);
    s.verticalPen = t.word(TableStyle::kVerticalPen);
    s.headingBackground = t.word(TableStyle::kHeadingBackground) & 0xFFFFFF;
    s.headingText = t.word(TableStyle::kHeadingText) & 0xFFFFFF;
    s.negative = t.word(TableStyle::kNegative) & 0xFFFFFF;
    s.imported = t.word(TableStyle::kImported) & 0xFFFFFF;
    for (size_t i = 0; i < 3; ++i) {
        s.flash[i] = t.word(TableStyle::kFlash + 4 * i) & 0xFFFFFF;
        s.currentFlash[i] = t.word(TableStyle::kCurrentFlash + 4 * i) & 0xFFFFFF;
        s.arrows[i] = t.word(TableStyle::kArrows + 4 * i) & 0xFFFFFF;
        s.tickPens[i] = t.word(TableStyle::kTickPens + 4 * i) & 0xFFFFFF;
        s.volumeSplit[i] = t.word(TableStyle::kVolumeSplit + 4 * i) & 0xFFFFFF;
    }
    s.graphPen = t.word(TableStyle::kGraphPen);
    s.thermograph[0] = t.word(TableStyle::kThermograph) & 0xFFFFFF;
    s.thermograph[1] = t.word(TableStyle::kThermograph + 4) & 0xFFFFFF;
    s.intradayOnly = t.word(TableStyle::kIntradayOnly) & 0xFFFFFF;
    s.wrapColumns = t.byte(TableStyle::kWrapColumns) == 1;
    s.fontFlags = t.byte(TableStyle::kFontFlags) & 7;
    uint32_t points = t.word(TableStyle::kPointSize);
    s.pointSize = points >= kMinPointSize && points <= kMaxPointSize ? int(points) : kFallbackPointSize;
    const char* face = reinterpret_cast<const char*>(t.data() + TableStyle::kFace);
    s.face.assign(face, strnlen(face, TableStyle::kFaceSize - 1));
    s.alternateBackground = t.word(TableStyle::kAlternateBackground) & 0xFFFFFF;
    s.shadeAlternate = t.byte(TableStyle::kFlags) & 1;
    s.noPlainVerticals = t.byte(TableStyle::kFlags) & 2;
    return s;
}

uint32_t RowBackground(const ListStyle& style, int rowIndex)
{
    return style.shadeAlternate && rowIndex % 2 == 0 ? style.alternateBackground : style.background;
}

} // namespace qv
