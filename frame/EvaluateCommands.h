// The evaluate commands of the main window: show the stored results of the active record,
// evaluate it afresh, and the multiple evaluation. The result pages are made by factories that a
// test can replace, so that it can stand in a page of its own.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace vnt {

class RunContext;
class frmMAIN;

// Makes a first result page with everything its load brings (its hidden successors are made
// with the same parent); throws VbError when the load fails.
using PageFactory = std::function<QWidget *(RunContext &, QWidget *parent)>;
// Evaluates the active record; false when it did not (it has told the user why).
using Evaluation = std::function<bool(RunContext &)>;

// Each returns the one it replaces, so that a test can put it back; an empty one puts the
// program's own page back.
PageFactory setFirstPageFactory(PageFactory f);      // the first page of a record
PageFactory setMultiplePageFactory(PageFactory f);   // the first page of the multiple evaluation
Evaluation setEvaluation(Evaluation f);              // empty: the program's own evaluation

void mnuBERECHNEN_Click(frmMAIN &main);
void mnuNEUBERECHNEN_Click(frmMAIN &main);
void mnuMBERECHNEN_Click(frmMAIN &main);

// Loads the page of that name unless it is loaded already, and puts it and every page its
// load made into the main window, the first page not yet shown, its successors hidden.
QWidget *loadPage(frmMAIN &main, const PageFactory &factory, const QString &name);

} // namespace vnt
