// Export and import of records between the open project's working copy and another project.
#include "common/Shots.h"
#include "common/TestSupport.h"
#include "frame/frmEXPIMP.h"
#include "platform/RunContext.h"
#include "platform/db/Database.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>

using namespace vnt;
using namespace vnt::test;

namespace {

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

const QStringList kTables = {"E1", "E2", "E3", "E4", "E5", "E6", "A1", "A2", "G0", "G1", "G2_1", "G2_2", "G3"};

db::ConnectionPtr projectDatabase(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.close();
    auto cnn = db::openDatabase(path);
    QFile schema(QString::fromLocal8Bit(qgetenv("VANTREL_SCHEMA_DIR")) + "/project.sql");
    EXPECT_TRUE(schema.open(QIODevice::ReadOnly));
    cnn->Execute(QString::fromUtf8(schema.readAll()));
    return cnn;
}

QString dump(const db::ConnectionPtr &cnn, const QString &sql)
{
    db::Recordset rs;
    rs.Open(sql, cnn);
    QStringList rows;
    for (; !rs.isEOF(); rs.MoveNext()) {
        QStringList fields;
        for (int i = 0; i < rs.FieldCount(); ++i)
            fields << (rs.Fields(i).isNull() ? QStringLiteral("Null") : rs.Fields(i).text());
        rows << fields.join(';');
    }
    return rows.join('|');
}

// A record with rows in every table: two sections where a table has them.
void addRecord(const db::ConnectionPtr &cnn, int id, const QString &name, const QString &comment, bool active)
{
    cnn->Execute(QString("INSERT INTO E1 (ID, KEN, KOM, AKT, NN) VALUES (%1, %2, %3, %4, %5)")
                     .arg(id)
                     .arg(db::sqlText(name), comment.isNull() ? "NULL" : db::sqlText(comment))
                     .arg(active ? 1 : 0)
                     .arg(100 + id));
    for (const QString &t : kTables.mid(1)) {
        const bool sections = t == "E2" || t == "E3" || t == "A2";
        const QString cols = sections ? "(ID, I2)" : "(ID)";
        cnn->Execute(QString("INSERT INTO [%1] %2 VALUES (%3%4)").arg(t, cols).arg(id).arg(sections ? ", 0" : ""));
        if (sections)
            cnn->Execute(QString("INSERT INTO [%1] %2 VALUES (%3, 1)").arg(t, cols).arg(id));
    }
    cnn->Execute(QString("UPDATE E2 SET Z = I2 * 10 + %1 WHERE ID = %1").arg(id));
}

// Rows per table of a record, as "E1:1 E2:2 ...".
QString shape(const db::ConnectionPtr &cnn, int id)
{
    QStringList l;
    for (const QString &t : kTables)
        l << t + ":" + dump(cnn, QString("SELECT COUNT(*) FROM [%1] WHERE ID=%2").arg(t).arg(id));
    return l.join(' ');
}

class Projects {
public:
    Projects()
    {
        root = dir.path();
        projekte = root + "/PROJEKTE";
        ctx.projektspfad = projekte;
        ctx.projekt = "Demo";
        ctx.xmdbpfad = root + "/BENUTZER/U/VANT.mdb";
        stored = projectDatabase(projekte + "/Demo/VANT.mdb");
        ctx.cnn = projectDatabase(ctx.xmdbpfad);
        addRecord(ctx.cnn, 0, "M", "Mehrfach", false);
        addRecord(ctx.cnn, 1, "B1", "erste", true);
        addRecord(ctx.cnn, 2, "B2", QString(), false);
        addRecord(ctx.cnn, 3, "B3", "dritte", false);
        other = projectDatabase(projekte + "/TE0001.00/VANT.mdb");
        for (int id = 1; id <= 7; ++id)
            addRecord(other, id, QString("X%1").arg(id), "alt", false);
        // A deleted record's rows stay behind under the next free id.
        other->Execute("INSERT INTO E2 (ID, I2, Z) VALUES (8, 5, 99)");
    }

    QTemporaryDir dir;
    QString root, projekte;
    SimpleRunContext ctx;
    db::ConnectionPtr stored, other;
};

struct Dialog {
    explicit Dialog(Projects &p) : dlg(p.ctx) { dlg.show(); }
    QStringList entries(QListWidget *l) const
    {
        QStringList out;
        for (int i = 0; i < l->count(); ++i)
            out << l->item(i)->text();
        return out;
    }
    void select(QListWidget *l, const QStringList &texts)
    {
        for (int i = 0; i < l->count(); ++i)
            l->item(i)->setSelected(texts.contains(l->item(i)->text()));
    }
    frmEXPIMP dlg;
};

} // namespace

TEST(ExpImp, LoadListsTheOpenProject)
{
    Projects p;
    Dialog d(p);
    EXPECT_EQ(d.dlg.windowTitle(), "Export/Import");
    EXPECT_EQ(d.dlg.fraIMP()->title(), "Aktuelles Projekt: Demo");
    EXPECT_EQ(d.dlg.fraEXP()->title(), "Externes Projekt");
    EXPECT_EQ(d.entries(d.dlg.lstIMP()), QStringList({"B1 (erste)", "B2 ()", "B3 (dritte)"}));
    EXPECT_EQ(d.dlg.dirEXP()->text(), p.projekte);   // the folder of the project folders
    EXPECT_TRUE(d.dlg.lstEXP()->count() == 0);

    d.dlg.dirEXP_Change(p.projekte + "/TE0001.00");
    EXPECT_EQ(d.dlg.fraEXP()->title(), "Projekt TE0001");
    EXPECT_EQ(d.dlg.lstEXP()->count(), 7);

    p.ctx.sprache = 1;
    Dialog english(p);
    EXPECT_EQ(english.dlg.fraIMP()->title(), "Selected Projekt: Demo");
    EXPECT_EQ(english.dlg.cmdSCHLIESSEN()->text(), "Quit");
}

// "M" is an ordinary record name, on either side and in either case: only the multiple
// evaluation's row, id 0, stays out of the lists.
TEST(ExpImp, RecordsNamedMAreListedAndTheMultipleEvaluationIsNot)
{
    Projects p;
    addRecord(p.ctx.cnn, 4, "M", "Messung", false);
    addRecord(p.ctx.cnn, 5, "m", QString(), false);
    p.other->Execute("UPDATE E1 SET KEN='M' WHERE ID=3");
    addRecord(p.other, 0, "Mehrfach", "Mehrfachauswertung", false);
    Dialog d(p);
    QStringList own = d.entries(d.dlg.lstIMP());
    own.sort();   // names equal but for case have no order of their own
    EXPECT_EQ(own, QStringList({"B1 (erste)", "B2 ()", "B3 (dritte)", "M (Messung)", "m ()"}));
    d.dlg.dirEXP_Change(p.projekte + "/TE0001.00");
    EXPECT_EQ(d.entries(d.dlg.lstEXP()), QStringList({"M (alt)", "X1 (alt)", "X2 (alt)", "X4 (alt)", "X5 (alt)", "X6 (alt)", "X7 (alt)"}));
}

TEST(ExpImp, ExportGivesTheNextIdsWithEveryRow)
{
    Projects p;
    Dialog d(p);
    d.dlg.dirEXP_Change(p.projekte + "/TE0001.00");
    d.select(d.dlg.lstIMP(), {"B1 (erste)", "B2 ()", "B3 (dritte)"});
    Boxes none;
    d.dlg.cmdEXP_Click();
    EXPECT_EQ(dump(p.other, "SELECT ID, KEN, KOM, AKT, NN FROM E1 WHERE ID > 7 ORDER BY ID"),
              "8;B1;erste;Wahr;101|9;B2;Null;Falsch;102|10;B3;dritte;Falsch;103");
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(shape(p.other, 7 + i), shape(p.ctx.cnn, i)) << i;
    // The rows left under id 8 did not join the copied record.
    EXPECT_EQ(dump(p.other, "SELECT I2, Z FROM E2 WHERE ID=8 ORDER BY I2"), "0;1|1;11");
    EXPECT_EQ(d.dlg.lstEXP()->count(), 10);
    EXPECT_EQ(d.dlg.lstIMP()->selectedItems().size(), 3);   // the source keeps its selection

    // A second project, still without records, names itself and numbers from 1.
    auto empty = projectDatabase(p.projekte + "/TE0002.00/VANT.mdb");
    d.dlg.dirEXP_Change(p.projekte + "/TE0002.00");
    EXPECT_EQ(d.dlg.fraEXP()->title(), "Projekt TE0002");
    EXPECT_EQ(d.entries(d.dlg.lstEXP()), QStringList({"<leer>"}));
    d.select(d.dlg.lstIMP(), {"B3 (dritte)"});
    d.dlg.cmdEXP_Click();
    EXPECT_EQ(dump(empty, "SELECT ID, KEN FROM E1"), "1;B3");
    EXPECT_EQ(shape(empty, 1), shape(p.ctx.cnn, 3));
    EXPECT_EQ(d.entries(d.dlg.lstEXP()), QStringList({"B3 (dritte)"}));

    d.dlg.cmdSCHLIESSEN_Click();
    EXPECT_EQ(p.ctx.tag, "");   // an export alone changes nothing in the open project
}

TEST(ExpImp, DuplicateNamesAskAndOkSkipsCancelStops)
{
    for (const int answer : {int(ui::vbOK), int(ui::vbCancel)}) {
        Projects p;
        p.other->Execute("UPDATE E1 SET KEN='B2' WHERE ID=7");
        Dialog d(p);
        d.dlg.dirEXP_Change(p.projekte + "/TE0001.00");
        d.select(d.dlg.lstIMP(), {"B1 (erste)", "B2 ()", "B3 (dritte)"});
        Boxes boxes;
        boxes.answer(answer);
        d.dlg.cmdEXP_Click();
        ASSERT_EQ(boxes.records().size(), 1u);
        EXPECT_EQ(boxes.records()[0].text, "Datensatz B2 ist bereits vorhanden!");
        EXPECT_EQ(boxes.records()[0].style, ui::vbOKCancel | ui::vbExclamation);
        EXPECT_EQ(dump(p.other, "SELECT ID, KEN FROM E1 WHERE ID > 7 ORDER BY ID"),
                  answer == ui::vbOK ? "8;B1|9;B3" : "8;B1");
    }
}

TEST(ExpImp, ImportBackMarksTheProjectChanged)
{
    Projects p;
    p.other->Execute("UPDATE E1 SET KEN='O''Neil', AKT=1 WHERE ID=2");
    Dialog d(p);
    d.dlg.dirEXP_Change(p.projekte + "/TE0001.00");
    d.select(d.dlg.lstEXP(), {"O'Neil (alt)"});
    Boxes none;
    d.dlg.cmdIMP_Click();
    EXPECT_EQ(dump(p.ctx.cnn, "SELECT ID, KEN, AKT FROM E1 WHERE ID=4"), "4;O'Neil;Wahr");
    EXPECT_EQ(shape(p.ctx.cnn, 4), shape(p.other, 2));
    EXPECT_TRUE(d.entries(d.dlg.lstIMP()).contains("O'Neil (alt)"));
    EXPECT_TRUE(d.dlg.imported());
    d.dlg.cmdSCHLIESSEN_Click();
    EXPECT_EQ(p.ctx.tag, "OK");
}

TEST(ExpImp, RefusesTheWorkingCopyAndExportIntoTheOpenProject)
{
    Projects p;
    Dialog d(p);
    // The working copy's folder opens nothing.
    d.dlg.dirEXP_Change(p.root + "/BENUTZER/U");
    EXPECT_EQ(d.dlg.externalDatabase(), "");
    EXPECT_EQ(d.dlg.lstEXP()->count(), 0);

    // The open project's stored database can be read, but not exported into.
    d.dlg.dirEXP_Change(p.projekte + "/Demo");
    ASSERT_NE(d.dlg.externalDatabase(), "");
    EXPECT_EQ(d.entries(d.dlg.lstEXP()), QStringList({"<leer>"}));
    d.select(d.dlg.lstIMP(), {"B1 (erste)"});
    Boxes boxes;
    boxes.answer(ui::vbOK);
    d.dlg.cmdEXP_Click();
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_TRUE(boxes.records()[0].text.startsWith("In das geöffnete Projekt kann nicht exportiert werden"));
    EXPECT_EQ(dump(p.stored, "SELECT COUNT(*) FROM E1"), "0");

    // The placeholder of an empty list can be neither selected nor copied.
    QListWidgetItem *leer = d.dlg.lstEXP()->item(0);
    leer->setSelected(true);
    EXPECT_FALSE(leer->isSelected());
    d.dlg.cmdIMP_Click();
    EXPECT_EQ(dump(p.ctx.cnn, "SELECT COUNT(*) FROM E1"), "4");
    EXPECT_FALSE(d.dlg.imported());
}

namespace {

// Folders under the projects folder whose VANT.mdb is no project database, each with what the
// message must name.
struct NoProject {
    const char *folder;
    std::function<void(const QString &file)> make;
    QStringList named;
};

void writeFile(const QString &file, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(file).path());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Overwrites the page type of the table's first page, as a torn write can leave it.
void damageTable(const QString &file, const QString &table)
{
    int page = 0, size = 0;
    {
        auto cnn = projectDatabase(file);
        db::Recordset rs;
        rs.Open("SELECT rootpage, (SELECT page_size FROM pragma_page_size) FROM sqlite_master WHERE name=" + db::sqlText(table), cnn);
        page = rs.Fields(0).toLong();
        size = rs.Fields(1).toLong();
        rs.Close();
        cnn->Close();
    }
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek(qint64(page - 1) * size));
    f.write(QByteArray(1, '\x7f'));
}

const std::vector<NoProject> &noProjects()
{
    static const std::vector<NoProject> cases = {
        {"Leer", [](const QString &f) { writeFile(f, {}); }, {"E1", "G3"}},
        {"Fremd", [](const QString &f) { writeFile(f, QByteArray(4096, 'x')); }, {}},
        {"NurE1", [](const QString &f) { projectDatabase(f)->Execute("DROP TABLE E2; DROP TABLE G0"); }, {"E2", "G0"}},
        {"OhneZ", [](const QString &f) { projectDatabase(f)->Execute("ALTER TABLE E2 DROP COLUMN Z"); }, {"E2.Z"}},
        // Every table and column there and E1 readable, but a page of E2 is no table page.
        {"Beschaedigt", [](const QString &f) { damageTable(f, "E2"); }, {"beschädigt"}},
    };
    return cases;
}

} // namespace

// A chosen database that is no project is checked once, named in one message with what it
// lacks, and not kept: nothing is listed, and a later Export has nowhere to go.
TEST(ExpImp, ADatabaseThatIsNoProjectIsRefusedWithOneMessage)
{
    for (const NoProject &c : noProjects()) {
        SCOPED_TRACE(c.folder);
        Projects p;
        const QString file = p.projekte + "/" + c.folder + "/VANT.mdb";
        c.make(file);
        const QByteArray before = [&] { QFile f(file); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        Dialog d(p);
        d.dlg.dirEXP_Change(p.projekte + "/TE0001.00");
        ASSERT_EQ(d.dlg.lstEXP()->count(), 7);
        Boxes boxes;
        boxes.answer(ui::vbOK);
        d.dlg.dirEXP_Change(p.projekte + "/" + c.folder);
        ASSERT_EQ(boxes.records().size(), 1u);
        EXPECT_TRUE(boxes.records()[0].text.contains(file)) << boxes.records()[0].text.toStdString();
        for (const QString &name : c.named)
            EXPECT_TRUE(boxes.records()[0].text.contains(name)) << name.toStdString() << " in " << boxes.records()[0].text.toStdString();
        EXPECT_EQ(boxes.records()[0].style, ui::vbOKOnly | ui::vbExclamation);
        EXPECT_EQ(d.dlg.externalDatabase(), "");
        EXPECT_EQ(d.dlg.lstEXP()->count(), 0);
        EXPECT_EQ(d.dlg.fraEXP()->title(), "Externes Projekt");

        d.select(d.dlg.lstIMP(), {"B1 (erste)"});
        d.dlg.cmdEXP_Click();   // no box: there is no external project
        QFile after(file);
        after.open(QIODevice::ReadOnly);
        EXPECT_EQ(after.readAll(), before);
    }
}

// A row the current project refuses is dropped with its error, not written half-filled by the
// next row; the rows after it still arrive.
TEST(ExpImp, ARefusedRowIsDroppedAndTheRestArrive)
{
    Projects p;
    p.other->Execute("UPDATE E2 SET Z = 'kein Wert' WHERE ID = 3 AND I2 = 0");
    Dialog d(p);
    d.dlg.dirEXP_Change(p.projekte + "/TE0001.00");
    d.select(d.dlg.lstEXP(), {"X3 (alt)"});
    Boxes boxes;
    boxes.answer(ui::vbOK);
    d.dlg.cmdIMP_Click();
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_TRUE(boxes.records()[0].text.startsWith("VB-Error: 13\n"));
    EXPECT_EQ(boxes.records()[0].title, "Export/Import");
    EXPECT_EQ(dump(p.ctx.cnn, "SELECT I2, Z FROM E2 WHERE ID=4 ORDER BY I2"), "1;13");
    EXPECT_EQ(dump(p.ctx.cnn, "SELECT COUNT(*) FROM E3 WHERE ID=4"), "2");
}

// The path field takes a typed folder as the folder chooser's choice, with the same check, and
// Enter in it never closes the dialog.
TEST(ExpImp, ATypedPathIsTakenAndEnterKeepsTheDialogOpen)
{
    Projects p;
    noProjects()[2].make(p.projekte + "/NurE1/VANT.mdb");
    Dialog d(p);
    QLineEdit *path = d.dlg.dirEXP();
    EXPECT_FALSE(path->isReadOnly());
    auto type = [&](const QString &text) {
        path->setFocus();
        path->setText(text);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        QCoreApplication::sendEvent(path, &enter);
    };

    Boxes none;
    type(p.projekte + "/TE0001.00");
    EXPECT_TRUE(d.dlg.isVisible());
    EXPECT_EQ(d.dlg.lstEXP()->count(), 7);
    EXPECT_EQ(d.dlg.fraEXP()->title(), "Projekt TE0001");

    Boxes boxes;
    boxes.answer(ui::vbOK).answer(ui::vbOK);
    type(p.projekte + "/NurE1");
    type(p.projekte + "/Gibtsnicht");
    EXPECT_TRUE(d.dlg.isVisible());
    ASSERT_EQ(boxes.records().size(), 2u);
    EXPECT_TRUE(boxes.records()[0].text.contains("E2"));
    EXPECT_EQ(boxes.records()[1].text, "Der Ordner " + p.projekte + "/Gibtsnicht existiert nicht!");
    EXPECT_EQ(path->text(), p.projekte + "/Gibtsnicht");   // the typed text stays to be mended
    EXPECT_EQ(d.dlg.externalDatabase(), "");

    // Leaving the field takes what was typed as well.
    path->setText(p.projekte + "/TE0001.00");
    path->setModified(true);
    emit path->editingFinished();
    EXPECT_EQ(d.dlg.lstEXP()->count(), 7);
}

// The dialog as the user sees it: every record of both projects written in its list, the
// chosen ones marked and the others not. VANTREL_SCREENSHOTS names a folder to keep the picture in.
TEST(ExpImp, RendersOffscreen)
{
    Projects p;
    Dialog d(p);
    d.dlg.dirEXP_Change(p.projekte + "/TE0001.00");
    d.select(d.dlg.lstIMP(), {"B1 (erste)", "B3 (dritte)"});
    QApplication::processEvents();
    const QImage shot = shotOf(d.dlg);
    EXPECT_TRUE(keepShot(shot, "expimp-shot"));
    auto row = [&](QListWidget *l, int i) { return inWindow(d.dlg, *l->viewport(), l->visualItemRect(l->item(i))); };
    ASSERT_EQ(d.dlg.lstEXP()->count(), 7);
    for (QListWidget *l : {d.dlg.lstEXP(), d.dlg.lstIMP()})
        for (int i = 0; i < l->count(); ++i)
            EXPECT_GT(inkIn(shot, row(l, i)), 20) << l->item(i)->text().toStdString();
    QListWidget *imp = d.dlg.lstIMP();
    EXPECT_EQ(groundOf(shot, row(imp, 0)), groundOf(shot, row(imp, 2)));
    EXPECT_NE(groundOf(shot, row(imp, 0)), groundOf(shot, row(imp, 1)));
}

namespace {

// Every row of every record table, to show that nothing in a database changed.
QString everything(const db::ConnectionPtr &cnn)
{
    QStringList l;
    for (const QString &t : kTables)
        l << t + ":" + dump(cnn, QString("SELECT * FROM [%1] ORDER BY rowid").arg(t));
    return l.join('\n');
}

// Record ids in E1 that no new id can be worked out from.
struct BadId {
    const char *what;
    const char *sql;
    int error;   // the run-time error the id gives
};

const std::vector<BadId> &badIds()
{
    static const std::vector<BadId> cases = {
        {"text", "UPDATE E1 SET ID='sieben' WHERE ID=7", 13},
        {"Null", "UPDATE E1 SET ID=NULL WHERE ID=7", 94},
        {"above 2^31", "UPDATE E1 SET ID=3000000000 WHERE ID=7", 6},
    };
    return cases;
}

} // namespace

// A chosen database whose record ids cannot be read is refused like any other that is no
// project: one message, nothing kept, so a later Export writes nothing into it.
TEST(ExpImp, ADatabaseWithUnreadableIdsIsRefusedAndNotWritten)
{
    for (const BadId &c : badIds()) {
        SCOPED_TRACE(c.what);
        Projects p;
        p.other->Execute(c.sql);
        const QString before = everything(p.other);
        Dialog d(p);
        Boxes boxes;
        boxes.answer(ui::vbOK);
        d.dlg.dirEXP()->setText(p.projekte + "/TE0001.00");
        d.dlg.dirEXP_Validate();
        ASSERT_EQ(boxes.records().size(), 1u);
        EXPECT_TRUE(boxes.records()[0].text.contains(p.projekte + "/TE0001.00/VANT.mdb")) << boxes.records()[0].text.toStdString();
        EXPECT_EQ(boxes.records()[0].style, ui::vbOKOnly | ui::vbExclamation);
        EXPECT_EQ(d.dlg.externalDatabase(), "");
        EXPECT_EQ(d.dlg.lstEXP()->count(), 0);
        EXPECT_EQ(d.dlg.fraEXP()->title(), "Externes Projekt");

        d.select(d.dlg.lstIMP(), {"B1 (erste)"});
        d.dlg.cmdEXP_Click();   // no box: there is no external project
        EXPECT_EQ(everything(p.other), before);
    }
}

// A target whose ids went bad after it was chosen, or whose highest id leaves no next one,
// gets nothing: one message says why, and no record or row in it is touched.
TEST(ExpImp, AnExportThatCannotWorkOutANewIdWritesNothing)
{
    std::vector<BadId> cases = badIds();
    cases.push_back({"highest Long", "UPDATE E1 SET ID=2147483647 WHERE ID=7", 6});
    for (const BadId &c : cases) {
        SCOPED_TRACE(c.what);
        Projects p;
        p.other->Execute("INSERT INTO E2 (ID, I2, Z) VALUES (1, 9, 9)");
        Dialog d(p);
        d.dlg.dirEXP_Change(p.projekte + "/TE0001.00");
        ASSERT_EQ(d.dlg.lstEXP()->count(), 7);
        p.other->Execute(c.sql);
        const QString before = everything(p.other);
        d.select(d.dlg.lstIMP(), {"B1 (erste)", "B3 (dritte)"});
        Boxes boxes;
        boxes.answer(ui::vbOK);
        d.dlg.cmdEXP_Click();
        ASSERT_EQ(boxes.records().size(), 1u);
        const QString text = boxes.records()[0].text;
        EXPECT_TRUE(text.contains("B1")) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::number(c.error))) << text.toStdString();
        EXPECT_EQ(boxes.records()[0].title, "Export/Import");
        EXPECT_EQ(everything(p.other), before);
    }
}

// Closing the dialog while a typed path waits in the field takes nothing: the dialog that is
// going away neither checks the path nor shows a box about it.
TEST(ExpImp, DeletingTheDialogWithATypedPathTakesNothing)
{
    // Every file below the project folders, with its bytes: what the dialog must leave alone.
    auto filesBelow = [](const QString &root) {
        QStringList out;
        QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString f = it.next();
            QFile file(f);
            out << f + QLatin1Char(' ')
                       + (file.open(QIODevice::ReadOnly) ? QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex())
                                                         : QStringLiteral("?"));
        }
        out.sort();
        return out;
    };
    for (const char *folder : {"/Gibtsnicht", "/TE0001.00"}) {
        SCOPED_TRACE(folder);
        Projects p;
        const QStringList before = filesBelow(p.projekte);
        ASSERT_FALSE(before.isEmpty());
        auto *dlg = new frmEXPIMP(p.ctx);
        dlg->show();
        QApplication::setActiveWindow(dlg);
        dlg->dirEXP()->setFocus();
        QApplication::processEvents();
        ASSERT_TRUE(dlg->dirEXP()->hasFocus());
        dlg->dirEXP()->setText(p.projekte + folder);
        dlg->dirEXP()->setModified(true);
        Boxes none;
        delete dlg;
        EXPECT_EQ(filesBelow(p.projekte), before);
        EXPECT_FALSE(QDir(p.projekte + "/Gibtsnicht").exists());
    }
}

// A killed run can leave a journal the engine had already emptied beside the other project's
// database; no open plays it back or deletes it, so choosing that project removes it.
TEST(ExpImp, ChoosingAProjectRemovesTheColdJournalAKilledRunLeftThere)
{
    Projects p;
    const QString other = p.projekte + "/TE0001.00/VANT.mdb";
    p.other->Execute("PRAGMA journal_mode=PERSIST; UPDATE E1 SET KOM='neu' WHERE ID=1;");
    p.other->Close();
    ASSERT_TRUE(QFile::exists(other + "-journal"));
    Dialog d(p);
    d.dlg.dirEXP_Change(p.projekte + "/TE0001.00");
    EXPECT_EQ(d.dlg.lstEXP()->count(), 7);
    EXPECT_FALSE(QFile::exists(other + "-journal"));
    EXPECT_EQ(d.entries(d.dlg.lstEXP()).first(), "X1 (neu)");
}
