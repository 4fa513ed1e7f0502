// The evaluate commands: the order in which the main window drives the evaluation and the
// result pages, the result header rows it writes around them, and the window's state after.
#include "frame/EvaluateCommands.h"

#include "frame/PageCommands.h"
#include "frame/frmMAIN.h"
#include "pages/common/ResultPage.h"
#include "input/clsBERECHNEN.h"
#include "pages/multiple/mdiMSEITE1.h"
#include "pages/record/mdiSEITE1.h"
#include "pages/record/mdiSEITE2.h"
#include "pages/common/ResultPage.h"
#include "platform/BusyScope.h"
#include "platform/Guard.h"
#include "platform/db/Database.h"
#include "platform/errors.h"
#include "platform/system.h"
#include "platform/ui.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>

#include <algorithm>
#include <utility>

namespace vnt {

namespace {

const QString kErrorPrefix = QStringLiteral("VB-Error: ");

PageFactory programsFirstPage()
{
    return [](RunContext &ctx, QWidget *parent) -> QWidget * { return new mdiSEITE1(ctx, parent); };
}

PageFactory programsMultiplePage()
{
    return [](RunContext &ctx, QWidget *parent) -> QWidget * { return new mdiMSEITE1(ctx, parent); };
}

// Never empty: every command finds its page.
PageFactory &firstPageFactory()
{
    static PageFactory f = programsFirstPage();
    return f;
}

PageFactory &multiplePageFactory()
{
    static PageFactory f = programsMultiplePage();
    return f;
}

Evaluation &evaluation()
{
    static Evaluation f;
    return f;
}

void setProgressVisible(frmMAIN &main, bool visible)
{
    if (mdiAUTOSTART *s = main.startWindow())
        s->pgbBERECHNEN()->setVisible(visible);
}

void enableMenu(frmMAIN &main, const char *name, bool on)
{
    if (QAction *a = main.menuItem(QString::fromLatin1(name)))
        a->setEnabled(on);
}

// Shows a loaded page maximised as the main window's active child window.
void showPage(frmMAIN &main, const QString &name)
{
    QMdiSubWindow *sub = nullptr;
    for (QMdiSubWindow *s : main.mdiArea()->subWindowList(QMdiArea::CreationOrder))
        if (windowName(s) == name)
            sub = s;
    if (!sub)
        vnt::raise(91, QStringLiteral("Object variable not set: ") + name);
    activatePage(main.mdiArea(), sub);
}

// The progress bar stays full for a moment so that the user sees the work end.
void finishProgress(frmMAIN &main, Guard &g, bool hideFirst)
{
    g.step([&] { main.setProgress(100); });
    g.step([&] { sys::DoEvents(); });
    g.step([&] { sys::Sleep(1500); });
    if (hideFirst) {
        g.step([&] { setProgressVisible(main, false); });
        g.step([&] { main.setProgress(0); });
    } else {
        g.step([&] { main.setProgress(0); });
        g.step([&] { setProgressVisible(main, false); });
    }
}

// A command whose pages did not load ends here, with the window as it was before it: no
// progress bar left standing, no panels, menus or marks for pages that do not exist.
void endWithoutPages(frmMAIN &main, Guard &g)
{
    g.always([&] {
        setProgressVisible(main, false);
        main.setProgress(0);
    });
    g.always([&] { sys::setHourglass(false); });
}

bool isRecordPage(QMdiSubWindow *sub) { return windowName(sub).startsWith(QLatin1String("mdiSEITE")); }

bool recordPagesOpen(frmMAIN &main)
{
    const QList<QMdiSubWindow *> subs = main.mdiArea()->subWindowList();
    return std::any_of(subs.cbegin(), subs.cend(), isRecordPage);
}

// A command that finds the record's pages open from an earlier command must not show them
// again: they hold what was computed and read then. They leave the area, unloaded, and the
// command loads them anew. A drawing still on the stack would lose them: the command then
// runs once that has returned (true: it has been put off).
bool putOffForOpenPages(frmMAIN &main, void (*command)(frmMAIN &))
{
    return recordPagesOpen(main) && BusyScope::later(main.mdiArea(), [&main, command] { command(main); });
}

void unloadRecordPages(frmMAIN &main)
{
    QMdiArea *area = main.mdiArea();
    for (QMdiSubWindow *sub : area->subWindowList(QMdiArea::CreationOrder)) {
        if (!isRecordPage(sub))
            continue;
        sub->hide();
        area->removeSubWindow(sub);
        if (auto *page = qobject_cast<ResultPage *>(sub->widget()))
            page->Form_Unload();
        sub->deleteLater();
    }
}

// Loads the command's first page with the pages its load brings; false when that failed
// (its error box has been shown) or the user gave the load up.
bool loadPages(frmMAIN &main, Guard &g, const PageFactory &factory, const QString &name)
{
    bool loaded = false;
    g.step([&] {
        loadPage(main, factory, name);
        loaded = true;
    });
    return loaded;
}

} // namespace

PageFactory setFirstPageFactory(PageFactory f)
{
    return std::exchange(firstPageFactory(), f ? std::move(f) : programsFirstPage());
}

PageFactory setMultiplePageFactory(PageFactory f)
{
    return std::exchange(multiplePageFactory(), f ? std::move(f) : programsMultiplePage());
}

Evaluation setEvaluation(Evaluation f) { return std::exchange(evaluation(), std::move(f)); }

QWidget *loadPage(frmMAIN &main, const PageFactory &factory, const QString &name)
{
    QMdiArea *area = main.mdiArea();
    for (QMdiSubWindow *s : area->subWindowList(QMdiArea::CreationOrder))
        if (windowName(s) == name)
            return s->widget();
    // The pages are made inside a holder that is never shown, so that none of them appears
    // before the load has ended; a load that fails takes its half-made pages with the holder.
    QWidget holder;
    QWidget *first = factory(main, &holder);
    if (!first)
        vnt::raise(91, QStringLiteral("Object variable not set: ") + name);
    QList<QWidget *> made;
    for (QObject *o : holder.children())
        if (auto *w = qobject_cast<QWidget *>(o))
            made.append(w);
    if (!made.contains(first))
        made.prepend(first);
    for (QWidget *w : made) {
        const Qt::WindowStates state = w->windowState();
        QMdiSubWindow *sub = area->addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setObjectName(w->objectName() + QStringLiteral("_Frame"));
        // The frame and the main window's title bar speak of the page and its record.
        auto *page = qobject_cast<ResultPage *>(w);
        sub->setWindowTitle(page ? page->pageTitle() : w->objectName());
        sub->setWindowState(state & Qt::WindowMaximized);
        sub->hide();
    }
    return first;
}

void mnuBERECHNEN_Click(frmMAIN &main)
{
    if (putOffForOpenPages(main, &mnuBERECHNEN_Click))
        return;
    BusyScope busy;
    Guard g(kErrorPrefix, main.menuCaption(QStringLiteral("mnuBERECHNEN")));
    g.silent({err::DialogCancelled});
    const QString page = QStringLiteral("mdiSEITE1");
    g.step([&] { sys::setHourglass(true); });
    g.step([&] { setProgressVisible(main, true); });
    g.step([&] { sys::DoEvents(); });
    g.step([&] { unloadRecordPages(main); });
    if (!loadPages(main, g, firstPageFactory(), page)) {
        endWithoutPages(main, g);
        return;
    }
    g.step([&] { sys::DoEvents(); });
    g.step([&] { showPage(main, page); });
    g.step([&] { main.showCommandPanels({10, 11, 12, 13, 14, 15}); });
    finishProgress(main, g, true);
    g.step([&] { main.setGEAENDERT(true); });
    g.step([&] { enableMenu(main, "mnuDATEI", false); });
    g.always([&] { sys::setHourglass(false); });
}

void mnuNEUBERECHNEN_Click(frmMAIN &main)
{
    if (putOffForOpenPages(main, &mnuNEUBERECHNEN_Click))
        return;
    BusyScope busy;
    Guard g(kErrorPrefix, main.menuCaption(QStringLiteral("mnuNEUBERECHNEN")));
    g.silent({err::DialogCancelled});
    const QString page = QStringLiteral("mdiSEITE1");
    int32_t id = 0;
    bool found = false;
    bool evaluated = false;
    db::Recordset a1;
    g.step([&] { setProgressVisible(main, true); });
    g.step([&] {
        db::Recordset rs;
        rs.Open(QStringLiteral("SELECT [ID],[KEN] FROM [E1] WHERE [AKT]=true ORDER BY [KEN]"), main.cnnX());
        rs.MoveFirst();
        id = rs.Fields(QStringLiteral("ID")).toLong();
        found = true;
        rs.Close();
    });
    // Without an active record there is nothing to evaluate, and id 0 would replace the
    // mark of the multiple evaluation.
    if (!found) {
        g.always([&] { setProgressVisible(main, false); });
        g.always([&] { sys::setHourglass(false); });
        return;
    }
    // The mark is set before the evaluation writes anything, so that an evaluation that fails
    // half-way leaves the record marked for recalculation. The old row goes and the new one comes
    // in one unit: a failure (or a kill) between the two never leaves the record without its row.
    const QString markQuery = QStringLiteral("SELECT [ID],[BONEU] FROM [A1] WHERE [ID]=") + QString::number(id);
    g.step([&] {
        db::TransactionScope unit(main.cnnX());
        try {
            a1.Open(markQuery, main.cnnX());
            if (!a1.isEOF()) {
                a1.MoveFirst();
                a1.Delete();
            }
            a1.AddNew();
            a1.setField(QStringLiteral("ID"), Variant(id));
            a1.setField(QStringLiteral("BONEU"), Variant(true));
            a1.Update();
            unit.commit();
        } catch (...) {
            // Rolled back, the table holds the old row again, not what the query shows.
            a1.Close();
            throw;
        }
    });
    g.step([&] { sys::DoEvents(); });
    g.step([&] { sys::setHourglass(true); });
    g.step([&] {
        const Evaluation &e = evaluation();
        evaluated = e ? e(main) : clsBERECHNEN(main).BERECHNUNG();
    });
    if (!evaluated) {
        // A failed evaluation has said why; the mark stays set and no page is loaded.
        if (!g.left())
            setProgressVisible(main, false);
        g.always([&] { if (a1.isOpen()) a1.Close(); });
        g.always([&] { sys::setHourglass(false); });
        return;
    }
    g.step([&] { sys::DoEvents(); });
    g.step([&] { unloadRecordPages(main); });
    // Without its pages the record keeps its mark, as after a failed evaluation.
    if (!loadPages(main, g, firstPageFactory(), page)) {
        g.always([&] { if (a1.isOpen()) a1.Close(); });
        endWithoutPages(main, g);
        return;
    }
    g.step([&] { sys::DoEvents(); });
    g.step([&] { showPage(main, page); });
    g.step([&] { sys::DoEvents(); });
    g.step([&] { main.showCommandPanels({10, 11, 12, 13, 14, 15}); });
    g.step([&] {
        if (!a1.isOpen()) {
            // The mark could not be replaced and the user went on: the old row takes it.
            a1.Open(markQuery, main.cnnX());
            a1.MoveFirst();
        }
        a1.setField(QStringLiteral("BONEU"), Variant(false));
        a1.Update();
        a1.Close();
    });
    finishProgress(main, g, true);
    g.step([&] { main.setGEAENDERT(true); });
    g.step([&] { enableMenu(main, "mnuDATEI", false); });
    g.always([&] { if (a1.isOpen()) a1.Close(); });
    g.always([&] { sys::setHourglass(false); });
}

void mnuMBERECHNEN_Click(frmMAIN &main)
{
    BusyScope busy;
    Guard g(kErrorPrefix, main.menuCaption(QStringLiteral("mnuMBERECHNEN")));
    // A combination editor left by the quit key gives the load up without a box.
    g.silent({err::DialogCancelled});
    const QString page = QStringLiteral("mdiMSEITE1");
    g.step([&] { sys::setHourglass(true); });
    g.step([&] {
        db::Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM [M1] WHERE [IDM]=1"), main.cnnX());
        if (rs.isEOF()) {
            rs.AddNew();
            rs.setField(QStringLiteral("IDM"), Variant(int16_t(1)));
            const QString kom = main.SPRACHE() == 1
                                    ? ui::InputBox(QStringLiteral("Comment: "), QStringLiteral("Mulitple Calculation"))
                                    : ui::InputBox(QStringLiteral("Kommentar: "), QStringLiteral("Mehrfachauswertung"));
            rs.setField(QStringLiteral("KOM"), Variant(kom));   // a cancelled box gives "" as well
            rs.Update();
        }
        rs.Close();
    });
    g.step([&] { setProgressVisible(main, true); });
    if (!loadPages(main, g, multiplePageFactory(), page)) {
        endWithoutPages(main, g);
        return;
    }
    finishProgress(main, g, false);
    g.step([&] { main.showCommandPanels({10, 11, 12, 13, 14, 15}); });
    g.step([&] {
        db::Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM [A1] WHERE [ID]=0"), main.cnnX());
        rs.MoveFirst();
        rs.setField(QStringLiteral("BONEU"), Variant(false));
        rs.Update();
        rs.Close();
    });
    g.step([&] { showPage(main, page); });
    g.step([&] { main.setGEAENDERT(true); });
    g.step([&] { enableMenu(main, "mnuDATEI", false); enableMenu(main, "mnuEXTRAS", false); });
    g.always([&] { sys::setHourglass(false); });
}

} // namespace vnt
