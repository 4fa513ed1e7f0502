// Small helpers that the tests of the page header and of the tables share.
#pragma once

#include "drawing/Surface.h"

namespace vnt::test {

// The program's default face at a size, bold or not, as the layouts are written with it.
inline FontSpec arial(double size, bool bold = false)
{
    FontSpec f;
    f.size = size;
    f.setBold(bold);
    return f;
}

} // namespace vnt::test
