// The layouts of the multiple-evaluation pages' text tables: the combination tables of the
// curve pages and the statistics table share their layout rules.
#pragma once

#include "pages/common/TextTable.h"

#include <vector>

namespace vnt {

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
