// The commands of the result pages in the main window's status bar (show another page, print,
// screen copy, word-processor export, close), and the page list they and the page chooser
// share: every loaded result page, numbered the same way wherever a page number is shown.
#pragma once

#include <QList>
#include <QString>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace vnt {

class frmMAIN;

// The result pages of the area, shown or hidden: one pass per name pattern ("mdiESEITE",
// "mdiSEITE", "mdiPSEITE", "mdiMSEITE", letter case ignored), each in loading order.
QList<QWidget *> resultPages(QMdiArea *area);
// The name of a loaded window: its page's name, or the frame's own when it holds none.
QString windowName(QMdiSubWindow *sub);
// The 1-based position of the area's current child window in the page list; 0 when that
// window is no result page.
int currentPageNumber(QMdiArea *area, const QList<QWidget *> &pages);
// The frame of a page inside the area, or nullptr.
QMdiSubWindow *pageFrame(QWidget *page);

// Brings a loaded page to the front maximised as the area's active child window, as paging
// does; the page hears of its activation even when the window system's focus is elsewhere.
void activatePage(QMdiArea *area, QMdiSubWindow *sub);

// Panels 10 to 15; errors reach the panel frame's error box.
void panelAnzeigen(frmMAIN &main);
void panelPrint(frmMAIN &main);
void panelCopy(frmMAIN &main);
void panelWord(frmMAIN &main);
void panelSchliessen(frmMAIN &main);

} // namespace vnt
