// Queries name their values through sqlText, so a record name with an apostrophe neither
// breaks nor widens them; the multiple-evaluation row is told by its id 0, never by its name.
#include "frame/RecordCommands.h"

#include "frame/frmAUSWAHL.h"
#include "input/mdiEINGABE.h"
#include "platform/Guard.h"
#include "platform/errors.h"
#include "platform/db/Database.h"
#include "platform/system.h"
#include "platform/ui.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <optional>
#include <vector>

namespace vnt {

namespace {

const QString kError = QStringLiteral("VB-Error: ");

// Shows the selection dialog in a mode; true when it closed with OK.
bool select(RecordHost &host, const char *mode)
{
    RunContext &ctx = host.context();
    ctx.setTag(QString::fromLatin1(mode));
    frmAUSWAHL dlg(ctx, ctx.mainWidget());
    ui::showModal(dlg);
    return ctx.Tag() == QLatin1String("OK");
}

long countRows(const db::ConnectionPtr &cnn, const QString &sql)
{
    db::Recordset rs;
    rs.Open(sql, cnn);
    long n = 0;
    if (!rs.isEOF()) {
        rs.MoveLast();
        n = rs.RecordCount();
    }
    rs.Close();
    return n;
}

// What a record holds apart from its active mark, table by table and row by row: saved again
// with the same contents, its evaluated results still belong to it.
std::vector<Variant> recordContents(const db::ConnectionPtr &cnn, int32_t id)
{
    std::vector<Variant> out;
    for (const char *table : {"E1", "E2", "E3", "E4", "E5", "E6"}) {
        db::Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM [%1] WHERE [ID]=%2").arg(QString::fromLatin1(table)).arg(id), cnn);
        const int sectionColumn = rs.fieldIndex(QStringLiteral("I2"));
        std::vector<std::vector<Variant>> rows;
        for (; !rs.isEOF(); rs.MoveNext()) {
            std::vector<Variant> row;
            for (int i = 0; i < rs.FieldCount(); ++i)
                if (rs.FieldName(i).compare(QLatin1String("AKT"), Qt::CaseInsensitive) != 0)
                    row.push_back(rs.Fields(i));
            rows.push_back(std::move(row));
        }
        rs.Close();
        if (sectionColumn >= 0)
            std::stable_sort(rows.begin(), rows.end(), [sectionColumn](const auto &a, const auto &b) {
                return a[size_t(sectionColumn)].toDouble() < b[size_t(sectionColumn)].toDouble();
            });
        out.push_back(Variant(QString::fromLatin1(table)));
        for (auto &row : rows)
            out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace

QStringList recordTables()
{
    return {QStringLiteral("E2"), QStringLiteral("E3"), QStringLiteral("E4"), QStringLiteral("E5"), QStringLiteral("E6"),
            QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("G0"), QStringLiteral("G1"), QStringLiteral("G2_1"),
            QStringLiteral("G2_2"), QStringLiteral("G3")};
}

mdiEINGABE *inputWindow(QMdiArea *area)
{
    if (!area)
        return nullptr;
    for (QMdiSubWindow *w : area->subWindowList())
        if (auto *e = qobject_cast<mdiEINGABE *>(w->widget()))
            return e;
    return nullptr;
}

mdiEINGABE *showInputWindow(RecordHost &host)
{
    QMdiArea *area = host.mdiArea();
    if (mdiEINGABE *open = inputWindow(area)) {
        open->show();
        if (auto *sub = qobject_cast<QMdiSubWindow *>(open->parentWidget())) {
            sub->showMaximized();
            area->setActiveSubWindow(sub);
        }
        return open;
    }
    auto *w = new mdiEINGABE(host.context());
    if (area) {
        // No close button: panel 8 or 9 ends the input, and with it the main window's input
        // state; a window closed by its frame would leave the menus disabled.
        QMdiSubWindow *sub = area->addSubWindow(
            w, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setObjectName(QStringLiteral("mdiEINGABE_Frame"));
        // Restored, it stays inside the area with its title bar and buttons; what the window
        // holds beyond that scrolls.
        sub->resize((w->size() + QSize(20, 40)).boundedTo(area->viewport()->size()));
        // The area is often smaller by the time the window is restored than when it was made:
        // a window manager's title bar, the status bar's panels of the input. Restored, it is
        // fitted again, once the sub-window has put back its old geometry.
        QObject::connect(sub, &QMdiSubWindow::windowStateChanged, sub,
                         [sub, area](Qt::WindowStates, Qt::WindowStates now) {
                             if (now & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
                                 return;
                             QTimer::singleShot(0, sub, [sub, area = QPointer<QMdiArea>(area)] {
                                 // Taken out of the area meanwhile (the input ended): nothing to fit.
                                 if (!area || sub->mdiArea() != area
                                     || (sub->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)))
                                     return;
                                 const QRect room = area->viewport()->rect();
                                 QRect g = sub->geometry();
                                 g.setSize(g.size().boundedTo(room.size()));
                                 g.moveLeft(std::clamp(g.left(), room.left(), room.right() + 1 - g.width()));
                                 g.moveTop(std::clamp(g.top(), room.top(), room.bottom() + 1 - g.height()));
                                 if (g != sub->geometry())
                                     sub->setGeometry(g);
                             });
                         });
        // Maximised in its own right: the area passes a maximised state on to a new child
        // only while the active one is maximised, which it is not once result pages closed.
        sub->showMaximized();
        area->setActiveSubWindow(sub);
    } else {
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->show();
    }
    return w;
}

static void closeInputWindow(QMdiArea *area)
{
    mdiEINGABE *w = inputWindow(area);
    if (!w)
        return;
    // Ctrl+S of the window itself ends here, inside the window's own key handling: it is
    // taken out of the area at once and destroyed once that handling has returned.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget())) {
        sub->hide();
        area->removeSubWindow(sub);
        sub->deleteLater();
    } else {
        w->hide();
        w->deleteLater();
    }
}

void mnuNEU_Click(RecordHost &host)
{
    Guard g(kError, host.menuCaption(QStringLiteral("mnuNEU")));
    g.step([] { sys::setHourglass(false); });
    g.step([&] { showInputWindow(host); });
    g.step([&] { host.setRecordPanel(QStringLiteral("-"), QString()); });
    g.step([&] { host.enterInputState(); });
    g.step([] { sys::setHourglass(false); });
}

void mnuOEFFNEN_Click(RecordHost &host)
{
    RunContext &ctx = host.context();
    const QString title = host.menuCaption(QStringLiteral("mnuOEFFNEN"));
    Guard g(kError, title);
    const bool en = ctx.SPRACHE() == 1;
    int32_t AKTID = 0;
    for (;;) {
        bool chosen = false;
        if (!g.step([&] { chosen = select(host, "O"); }))
            return;
        if (!chosen)
            return;
        long n = 0;
        if (!g.step([&] {
                n = countRows(ctx.cnnX(), QStringLiteral("SELECT [ID],[KEN] FROM [E1] WHERE [AKT]=true and [ID]>0 ORDER BY [KEN]"));
            }))
            return;
        if (n == 1) {
            g.step([&] {
                db::Recordset rs;
                rs.Open(QStringLiteral("SELECT [ID],[KEN] FROM [E1] WHERE [AKT]=true and [ID]>0 ORDER BY [KEN]"), ctx.cnnX());
                AKTID = rs.Fields(QStringLiteral("ID")).toLong();
                rs.Close();
            });
            break;
        }
        const QString note = n == 0 ? (en ? QStringLiteral("There is no selected file!") : QStringLiteral("Es gibt keinen aktuellen Datensatz!"))
                                    : (en ? QStringLiteral("Only one file can be opened!")
                                          : QStringLiteral("Es kann nur ein aktueller Datensatz geöffnet werden!"));
        if (ui::MsgBox(note, ui::vbOKCancel | ui::vbExclamation, title) != ui::vbOK) {
            // The marks the dialog wrote stay; panel 6 must name them and not the records before.
            g.step([&] { host.PANELDATENSATZ(); });
            return;
        }
    }
    if (g.left())
        return;
    g.step([] { sys::setHourglass(true); });
    mdiEINGABE *w = nullptr;
    g.step([&] { w = showInputWindow(host); });
    g.step([] { sys::DoEvents(); });
    g.step([&] { host.PANELDATENSATZ(); });
    if (w && !g.left())
        w->OEFFNEN(AKTID);
    g.step([] { sys::DoEvents(); });
    g.step([&] { host.enterInputState(); });
    g.step([] { sys::setHourglass(false); });
}

void mnuAUSWAHL_Click(RecordHost &host)
{
    RunContext &ctx = host.context();
    Guard g(kError, host.menuCaption(QStringLiteral("mnuAUSWAHL")));
    bool chosen = false;
    if (!g.step([&] { chosen = select(host, "A"); }) || !chosen)
        return;
    long n = 0;
    g.step([&] { n = countRows(ctx.cnnX(), QStringLiteral("SELECT [ID] FROM [E1] WHERE [AKT]=true")); });
    if (n >= 2) {
        // A new selection of records makes the previous multiple evaluation void.
        g.step([&] {
            db::Recordset rs;
            rs.Open(QStringLiteral("SELECT [ID] FROM [E1] WHERE [ID]=0"), ctx.cnnX());
            if (!rs.isEOF())
                rs.Delete();
            rs.Close();
        });
        g.step([&] {
            db::Recordset rs;
            rs.Open(QStringLiteral("SELECT * FROM [M1] WHERE [IDM]=1"), ctx.cnnX());
            if (!rs.isEOF())
                rs.Delete();
            rs.Close();
        });
    }
    g.step([&] { host.PANELDATENSATZ(); });
    g.step([&] { ctx.setGEAENDERT(true); });
}

void mnuLOESCHEN_Click(RecordHost &host)
{
    RunContext &ctx = host.context();
    const QString title = host.menuCaption(QStringLiteral("mnuLOESCHEN"));
    Guard g(kError, title);
    bool chosen = false;
    if (!g.step([&] { chosen = select(host, "L"); }) || !chosen)
        return;
    const db::ConnectionPtr cnn = ctx.cnnX();
    const bool en = ctx.SPRACHE() == 1;
    db::Recordset rs;
    bool opened = false;
    g.step([&] {
        rs.Open(QStringLiteral("SELECT * FROM [E1] WHERE [AKT]=true AND [ID]>0"), cnn);
        opened = true;
    });
    bool more = false;
    g.step([&] { more = opened && !rs.isEOF(); });
    while (more && !g.left()) {
        QString name;
        int32_t id = 0;
        g.step([&] {
            name = rs.Fields(QStringLiteral("KEN")).text();
            id = rs.Fields(QStringLiteral("ID")).toLong();
        });
        const QString question = en ? QStringLiteral("File ") + name + QStringLiteral(" will be deleted!")
                                    : QStringLiteral("Datensatz ") + name + QStringLiteral(" wird gelöscht!");
        if (!g.left() && ui::MsgBox(question, ui::vbOKCancel | ui::vbExclamation, title) == ui::vbOK) {
            // The record's rows go with it: a new record may receive its id later and must
            // not inherit its sections, results or figures.
            g.step([&] {
                db::TransactionScope unit(*cnn);
                rs.Delete();
                for (const QString &t : recordTables())
                    cnn->Execute(QStringLiteral("DELETE FROM [%1] WHERE [ID]=%2").arg(t).arg(id));
                unit.commit();
            });
        }
        g.step([&] { rs.MoveNext(); });
        more = false;
        g.step([&] { more = !rs.isEOF(); });
    }
    g.always([&] { rs.Close(); });
    if (g.left())
        return;
    g.step([&] { host.PANELDATENSATZ(); });
    g.step([&] { ctx.setGEAENDERT(true); });
}

bool panelOK(RecordHost &host)
{
    RunContext &ctx = host.context();
    const QString title = host.panelCaption(8);
    mdiEINGABE *w = inputWindow(host.mdiArea());
    if (!w)
        return false;
    // A value still in a cell editor is part of the record; a refused one stops the save
    // before anything is asked or written.
    if (!w->commitEditors())
        return false;
    // A record without a name could never be found again by name, nor told apart in the lists.
    if (!w->txtKEN_Validate())
        return false;

    Guard g(kError, title);
    g.silent({err::InvalidPropertyValue, err::DialogCancelled});
    const db::ConnectionPtr cnn = ctx.cnnX();
    const QString name = w->txtKEN->text();
    const bool en = ctx.SPRACHE() == 1;
    // Whatever way the save is left short of its commit, the scope takes back what it wrote.
    std::optional<db::TransactionScope> unit;
    g.step([&] { unit.emplace(*cnn); });
    if (!unit)
        return false;
    auto fail = [&] {
        unit.reset();
        sys::setHourglass(false);
        return false;
    };

    int32_t id = 0;
    bool exists = false;
    bool ok = g.step([&] {
        db::Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM [E1] WHERE [KEN]=") + db::sqlText(name) + QStringLiteral(" AND [ID]<>0"), cnn);
        exists = !rs.isEOF();
        if (exists)
            id = rs.Fields(QStringLiteral("ID")).toLong();
        rs.Close();
    });
    if (!ok || g.failed())
        return fail();
    std::vector<Variant> before;
    if (exists && !g.step([&] { before = recordContents(cnn, id); }))
        return fail();
    if (exists) {
        const QString question = en ? QStringLiteral("Do you want to overwrite the file") + name + QStringLiteral("?")
                                    : QStringLiteral("Soll der vorhandene Datensatz ") + name + QStringLiteral(" überschrieben werden?");
        if (ui::MsgBox(question, ui::vbYesNo | ui::vbQuestion, title) != ui::vbYes)
            return fail();
        ok = g.step([&] { cnn->Execute(QStringLiteral("DELETE FROM [E1] WHERE [ID]=%1").arg(id)); });
    } else {
        ok = g.step([&] {
            db::Recordset rs;
            rs.Open(QStringLiteral("SELECT * FROM [E1] ORDER BY [ID] Desc"), cnn);
            id = rs.isEOF() ? 1 : rs.Fields(QStringLiteral("ID")).toLong() + 1;
            rs.Close();
        });
    }
    if (!ok || g.failed())
        return fail();

    sys::setHourglass(true);
    if (!w->OK(id))
        return fail();

    // Results evaluated from the record's former data no longer fit it: the record needs a new
    // evaluation before Berechnen may show them again.
    ok = !exists || g.step([&] {
        if (recordContents(cnn, id) != before)
            cnn->Execute(QStringLiteral("UPDATE [A1] SET [BONEU]=true WHERE [ID]=%1").arg(id));
    });
    if (!ok || g.failed())
        return fail();

    // The saved record is the only active one; its id tells it, whatever its name's letter case.
    ok = g.step([&] {
        db::Recordset rs;
        rs.Open(QStringLiteral("SELECT * FROM [E1] WHERE [ID]<>%1 AND [AKT]=true").arg(id), cnn);
        for (; !rs.isEOF(); rs.MoveNext()) {
            rs.setField(QStringLiteral("AKT"), Variant(false));
            rs.Update();
        }
        rs.Close();
    });
    if (ok && !g.failed())
        ok = g.step([&] { unit->commit(); });
    if (!ok || g.failed())
        return fail();

    g.step([&] { host.PANELDATENSATZ(); });
    g.step([&] { ctx.setGEAENDERT(true); });
    g.step([&] { closeInputWindow(host.mdiArea()); });
    g.step([&] { host.leaveInputState(); });
    sys::setHourglass(false);
    return true;
}

void panelAbbrechen(RecordHost &host)
{
    sys::setHourglass(true);
    closeInputWindow(host.mdiArea());
    host.leaveInputState();
    // New showed "-" in panel 6; with the input gone the active records count again.
    host.PANELDATENSATZ();
    sys::setHourglass(false);
}

} // namespace vnt
