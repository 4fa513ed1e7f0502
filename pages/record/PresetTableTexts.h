// The cell texts of the six preset tables of result page 2: carrier rigs, casings, cutting
// tools, conveying tools, rocks and unit-cost sets, each as a head block and a body block
// read from the preset database, with long names and comments shortened to their columns.
#pragma once

#include "drawing/TabelleCells.h"

#include <array>
#include <functional>

namespace vnt {

class clsDATEN;

struct PresetTableTexts {
    CellArray KOPFV11, ZEILENV11;   // carrier rigs
    CellArray KOPFV12, ZEILENV12;   // casings
    CellArray KOPFV13, ZEILENV13;   // cutting tools
    CellArray KOPFV14, ZEILENV14;   // conveying tools
    CellArray KOPFV2, ZEILENV2;     // rocks
    CellArray KOPFV3, ZEILENV3;     // unit-cost sets
    // A unit-cost set has its staff costs inside the equipment costs ("*" as its cost).
    bool BOFUSSNOTE = false;
};

// Accessors bound to VANT_V11, VANT_V12, VANT_V13, VANT_V14, VANT_V2 and VANT_V3, in this
// order, each over its whole table. `progress` receives the progress bar's values.
void DATENEINGABE(PresetTableTexts &T, const std::array<clsDATEN *, 6> &accessors,
                  const std::function<void(int)> &progress);

// A text longer than `keep` characters becomes its first `cut` characters and "...".
Variant shortenedText(const Variant &value, int keep, int cut);

} // namespace vnt
