// What only the column accessor's source files share.
#pragma once

#include "clsDATEN.h"

namespace vnt {

template <class Apply>
bool clsDATEN::readAndApply(const QString &SPV, const KeyPairs &keys, Apply apply)
{
    Variant v;
    if (!readOne(SPV, v, keys))
        return false;
    apply(v);
    return true;
}

} // namespace vnt
