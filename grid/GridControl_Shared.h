// What the source files of the grid control share: the conversion between its twips and the
// screen's pixels.
#pragma once

#include "grid/GridControl.h"

#include <cmath>

namespace vnt::gridcontrol_shared {

inline int toPixels(double twips) { return int(std::lround(twips / GridControl::kTwipsPerPixel)); }
inline int toTwips(int px) { return int(std::lround(px * GridControl::kTwipsPerPixel)); }

} // namespace vnt::gridcontrol_shared
