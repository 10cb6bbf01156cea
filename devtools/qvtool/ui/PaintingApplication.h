// The Qt application of the verbs that paint: offscreen unless a platform is set, with the program's
// font substitutions.
#pragma once

#include <QApplication>

#include <memory>

namespace qv::tool {

std::unique_ptr<QApplication> MakePaintingApplication();

} // namespace qv::tool
