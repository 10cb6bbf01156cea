// Drawing the cross hairs by inverting the pixels under their lines.
#pragma once

#include "chartmodel/CrossHairs.h"

#include <vector>

class QPainter;

namespace qv {

void InvertCrossHairs(QPainter& painter, const std::vector<CrossHairLine>& lines);

} // namespace qv
