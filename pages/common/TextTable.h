// A text table of a result page as data: its place, its columns' widths, rules, alignments
// and formats, its head block, its scrolled body block, its bold title above and its footnote
// below. ResultPage::drawTable draws it on screen or paper.
#pragma once

#include "drawing/TabelleCells.h"

#include <QString>

namespace vnt {

struct TextTable {
    int number = 0;           // the figure number: its slot, and its error box "Bild <number>"
    QString errorTitle;       // another title for its error box
    QString box, scrollBar;   // picture box and its vertical scroll bar
    VariantList widths, rules, ruleGaps, alignments, formats;
    double marginLeft = 0.5, marginBottom = 12;   // millimetres inside the box
    CellArray head, body;
    QString title, footnote;
    int footnoteSize = 7;
    bool runOnTexts = false;             // keys wider than their column run on over the next one
    bool headAloneWithoutRows = false;   // a body of no rows is not drawn, its scroll bar hidden
    // Paper shows only the rows in view of a long table: its title says which of all rows
    // they are, so that none goes missing unnoticed.
    bool printedRowsInTitle = false;
};

} // namespace vnt
