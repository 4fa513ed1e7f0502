// How often the column accessor tells a write that the database refused: each time, or once
// while a piece of work that writes value after value (a page's drawing) is under way.
#pragma once

#include "platform/Variant.h"

#include <QString>

namespace vnt {

// While one lives (nested ones count as the outermost), only the first refused write shows its
// box: a drawing that keeps its frames value by value in a working copy that refuses every
// write has told all there is to tell with the first. The writes still fail and their callers
// still hear it.
class OneWriteFailureTold {
public:
    OneWriteFailureTold();
    ~OneWriteFailureTold();
    OneWriteFailureTold(const OneWriteFailureTold &) = delete;
    OneWriteFailureTold &operator=(const OneWriteFailureTold &) = delete;

    // True when the box of a refused write is to be shown now; from then on, within the
    // outermost scope, false.
    static bool tell();
};

// Values the database refused to keep, by the selection that names them (see
// clsDATEN::setKeepRefusedValues), for the rest of the run. Boxes and drawings run on the
// window thread only.
namespace refused_values {
void keep(const QString &selection, const Variant &value);
void forget(const QString &selection);
// Null when nothing is kept for the selection.
const Variant *kept(const QString &selection);
bool any();
} // namespace refused_values

} // namespace vnt
