// The scope that tells a refused write once.
#include "data/WriteFailures.h"

namespace vnt {

namespace {

// Boxes and drawings run on the window thread only.
int depth = 0;
bool told = false;

} // namespace

OneWriteFailureTold::OneWriteFailureTold()
{
    if (depth++ == 0)
        told = false;
}

OneWriteFailureTold::~OneWriteFailureTold() { --depth; }

bool OneWriteFailureTold::tell()
{
    if (depth == 0)
        return true;
    if (told)
        return false;
    told = true;
    return true;
}

} // namespace vnt
