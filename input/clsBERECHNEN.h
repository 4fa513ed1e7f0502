// The evaluation of the active record: reads its depths, times, factors and crew through the
// column accessor, completes and splits the times per section, and writes one result row per
// section into A2, advancing the start window's progress bar from 0 to 40.
#pragma once

#include "platform/RunContext.h"

namespace vnt {

class clsBERECHNEN {
public:
    explicit clsBERECHNEN(RunContext &ctx) : ctx_(ctx) {}

    // True when A2 holds the results of every section of the active record; false after a
    // notice to the user, a failed read or write (the accessor has shown its box), or Cancel
    // in the error box.
    bool BERECHNUNG();

private:
    RunContext &ctx_;
};

} // namespace vnt
