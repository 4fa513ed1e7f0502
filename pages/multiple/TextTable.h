// The text tables of the multiple-evaluation pages as data: the combination tables of the
// curve pages and the statistics table share their layout rules and their drawing steps
// (head block, scrolled body block, bold title above, footnote below).
#pragma once

#include "drawing/TabelleCells.h"

#include <QString>
#include <vector>

namespace vnt {

struct TextTable {
    int number = 0;           // the figure number its error box names
    QString box, scrollBar;   // picture box and its vertical scroll bar
    VariantList widths, rules, ruleGaps, alignments, formats;
    CellArray head, body;
    QString title, footnote;
    int footnoteSize = 7;
    bool runOnTexts = false;   // keys wider than their column run on over the next one
};

// The table of the combinations: number and five keys per row, "*" against every
// combination that found no section, with the footnote that explains the mark.
TextTable combinationTable(int number, const QString &box, const QString &scrollBar, const CellArray &head,
                             CellArray body, const std::vector<bool> &found);

// The head of a combination table: "Nr.", the five key columns and an empty mark column.
CellArray combinationTableHead();

} // namespace vnt

namespace vnt {

// The statistics table of the combinations: the number, then mean, standard deviation and
// coefficient of variation of six quantities, three head rows, and a footnote that says
// whether times and costs are gross (VZ 0) or net (VZ 1) values.
TextTable statisticsTable(int number, const QString &box, const QString &scrollBar, const CellArray &head,
                          const CellArray &body, int16_t VZ);

// Its head: the group titles over their three columns, "XQ", "SX", "VX" and the units.
CellArray statisticsTableHead();

} // namespace vnt
