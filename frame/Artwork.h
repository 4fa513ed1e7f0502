// The program's pictures, drawn rather than shipped: the window icon, the maker's logos and
// the start window's picture of a drilling rig; and the one font face the frame's windows use.
#pragma once

#include <QFont>
#include <QIcon>
#include <QImage>

namespace vnt::artwork {

QIcon windowIcon();          // 32 x 32: the family name over a hatched strip
QImage makerLogo();          // square emblem of the project
QImage secondLogo();         // square emblem of the working group
QImage drillingRig();        // 248 x 381 portrait: tracked rig, mast, casing upright beside it

// "Arial" at a point size, as the frame's windows were designed (fontconfig maps it to a
// metric-compatible face).
QFont arial(double points, bool bold);

} // namespace vnt::artwork
