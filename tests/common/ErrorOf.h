// The number of a raised run-time error, for tests that check which error an operation raises.
#pragma once

#include "platform/errors.h"

#include <functional>

namespace vnt::test {

// The number of the run-time error that f raises, 0 when it raises none.
inline int errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const VbError &e) {
        return e.number;
    }
    return 0;
}

} // namespace vnt::test
