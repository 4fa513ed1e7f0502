// The program's pictures, drawn rather than shipped: the window icon, the maker's logos and
// the start window's picture of a drilling rig.
#pragma once

#include <QIcon>
#include <QImage>

namespace vnt::artwork {

QIcon windowIcon();          // 32 x 32: the family name over a hatched strip
QImage makerLogo();          // square emblem of the project
QImage secondLogo();         // square emblem of the working group
QImage drillingRig();        // 248 x 381 portrait: tracked rig, mast, casing upright beside it

} // namespace vnt::artwork
