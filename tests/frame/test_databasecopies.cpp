// Copies of whole databases (the start-up's working copy, Save's copy back, the compaction)
// after a run was killed in the middle of a write: a journal left beside a file belongs to that
// file alone and must never be played back into a copy that replaced it.
#include "FrameFixture.h"
#include "frame/FrameRules.h"
#include "platform/db/DatabaseFile.h"

#include <QDirIterator>

using namespace vnt;
using namespace vnt::test;

namespace {

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

// The project of these tests: 200 records with an index, so that a journal played back into
// the wrong file shows as wrong index entries and missing rows.
const QString kRecords = QStringLiteral(
    "CREATE INDEX E1KEN ON E1 (KEN);"
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
    "INSERT INTO E1 SELECT i, 'P' || i, NULL, 0 FROM n;");

// What a kill in the middle of a write leaves: the file with some of the transaction's pages
// already written, and beside it the hot journal that holds their former contents. SQLite's
// locks belong to the whole process, so the write runs on a twin of the file, and the twin and
// its journal are put in place while the transaction is still open.
void interruptWrite(const QString &file, const QString &statements)
{
    const QString twin = file + QStringLiteral(".twin");
    ASSERT_TRUE(QFile::copy(file, twin));
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(twin.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    // A cache of a few pages spills the changed pages into the file before the commit.
    ASSERT_EQ(sqlite3_exec(db, ("PRAGMA cache_size=2; BEGIN; " + statements).toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    ASSERT_TRUE(QFile::exists(twin + QStringLiteral("-journal")));
    QFile::remove(file);
    ASSERT_TRUE(QFile::copy(twin, file));
    ASSERT_TRUE(QFile::copy(twin + QStringLiteral("-journal"), file + QStringLiteral("-journal")));
    sqlite3_close(db);   // rolls the twin back; the copies keep the interrupted state
    QFile::remove(twin);
}

QString integrity(const QString &file) { return scalar(file, QStringLiteral("PRAGMA integrity_check")); }
QString records(const QString &file) { return scalar(file, QStringLiteral("SELECT count(*) || '/' || count(KOM) FROM E1 INDEXED BY E1KEN WHERE KEN > ''")); }

// Files beside the database that are not the database itself: journals and scratch copies.
QStringList leftovers(const QString &database)
{
    const QFileInfo db(database);
    QStringList out;
    QDirIterator it(db.path(), QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        const QString name = QFileInfo(it.next()).fileName();
        if (name != db.fileName() && name.startsWith(db.completeBaseName()) && !name.endsWith(QLatin1String(".twin")))
            out << name;
    }
    return out;
}

// An installation whose previous run was killed while it wrote the working copy: before the
// kill it had committed 100 records more than the project holds.
struct InterruptedRun {
    Installation inst;
    InterruptedRun()
    {
        sql(inst.projectDb(), kRecords);
        QDir().mkpath(QFileInfo(inst.working()).path());
        QFile::copy(inst.projectDb(), inst.working());
        sql(inst.working(), QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 201 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                                           "INSERT INTO E1 SELECT i, 'Q' || i, NULL, 0 FROM n;"));
        interruptWrite(inst.working(), QStringLiteral("UPDATE E1 SET KOM = hex(randomblob(300)), KEN = 'X' || KEN;"));
    }
};

// A started program on the project of these tests.
struct StartedProject {
    Installation inst;
    Boxes boxes;
    frmMAIN frm;
    StartedProject()
    {
        sql(inst.projectDb(), kRecords);
        EXPECT_TRUE(frm.MDIForm_Load(inst.program));
    }
};

} // namespace

// No takes a whole copy of the project; Yes keeps what the killed run had committed. Either way
// the journal of the killed write never reaches a file it does not belong to.
TEST(DatabaseCopies, InterruptedWriteAndTheQuestionAtTheNextStart)
{
    const struct { int answer; const char *records; } cases[] = {{ui::vbNo, "200/0"}, {ui::vbYes, "300/0"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.answer == ui::vbNo ? "No" : "Yes");
        InterruptedRun run;
        Boxes boxes;
        boxes.answer(c.answer);
        frmMAIN frm;
        ASSERT_TRUE(frm.MDIForm_Load(run.inst.program));
        EXPECT_EQ(integrity(run.inst.working()), QStringLiteral("ok"));
        EXPECT_EQ(records(run.inst.working()), QString::fromLatin1(c.records));
        EXPECT_EQ(leftovers(run.inst.working()), QStringList());

        ASSERT_TRUE(frm.mnuSPEICHERN_Click());
        EXPECT_EQ(integrity(run.inst.projectDb()), QStringLiteral("ok"));
        EXPECT_EQ(records(run.inst.projectDb()), QString::fromLatin1(c.records));
        EXPECT_EQ(leftovers(run.inst.projectDb()), QStringList());
    }
}

// A save killed while it wrote the copy leaves its scratch file behind; the next copy into the
// folder removes it, journals of the project database included.
TEST(DatabaseCopies, SaveRemovesWhatAnInterruptedSaveLeftBehind)
{
    StartedProject run;
    Installation &inst = run.inst;
    for (const char *name : {"VANT.mdb.vnt-copy0", "VANT.mdb.vnt-copy1", "VANT.mdb.vnt-copy0-journal"}) {
        QFile f(inst.projectFolder + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    interruptWrite(inst.projectDb(), QStringLiteral("DELETE FROM E1;"));
    run.frm.cnnX()->Execute(QStringLiteral("INSERT INTO E1 VALUES (201,'NEU',NULL,1);"));
    ASSERT_TRUE(run.frm.mnuSPEICHERN_Click());
    EXPECT_EQ(leftovers(inst.projectDb()), QStringList());
    EXPECT_EQ(integrity(inst.projectDb()), QStringLiteral("ok"));
    EXPECT_EQ(records(inst.projectDb()), QStringLiteral("201/0"));
}

TEST(DatabaseCopies, CompactionLeavesOnlyTheCompactedWorkingCopy)
{
    StartedProject run;
    Installation &inst = run.inst;
    run.frm.cnnX()->Execute(QStringLiteral("DELETE FROM E1 WHERE ID > 100;"));
    run.boxes.answer(ui::vbOK);
    run.frm.mnuKOMPRIMIEREN_Click();
    EXPECT_EQ(leftovers(inst.working()), QStringList());
    EXPECT_FALSE(QFile::exists(compactionFilePath(inst.working())));
    EXPECT_EQ(integrity(inst.working()), QStringLiteral("ok"));
    EXPECT_EQ(records(inst.working()), QStringLiteral("100/0"));
}

namespace {

void patch(const QString &file, qint64 offset, const QByteArray &bytes)
{
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek(offset));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray bytesOf(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

qint64 pageOffset(const QString &file, const QString &pageQuery)
{
    return (scalar(file, pageQuery).toLongLong() - 1) * scalar(file, QStringLiteral("PRAGMA page_size")).toLongLong();
}

void writeJunk(const QString &file)
{
    QFile::remove(file);
    patch(file, 0, QByteArray(8192, 'x'));
}

// A database that still opens but fails the engine's structure check: the free list's first
// trunk page claims more leaves than a page can hold.
void damageFreeList(const QString &file)
{
    sql(file, QStringLiteral("CREATE TABLE F (X BLOB);"
                             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20) INSERT INTO F SELECT randomblob(3000) FROM n;"
                             "DELETE FROM F;"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    ASSERT_TRUE(f.seek(32));
    const QByteArray trunk = f.read(4);
    f.close();
    const qint64 trunkPage = (quint8(trunk[0]) << 24) | (quint8(trunk[1]) << 16) | (quint8(trunk[2]) << 8) | quint8(trunk[3]);
    ASSERT_GT(trunkPage, 1);
    patch(file, (trunkPage - 1) * scalar(file, QStringLiteral("PRAGMA page_size")).toLongLong() + 4, QByteArray("\x00\x00\xff\xff", 4));
}

// The records' page holds a page type the engine does not know.
void damageRecordPage(const QString &file)
{
    patch(file, pageOffset(file, QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name='E1'")), QByteArray("\x07", 1));
}

} // namespace

// A database the program would work on that is no database, is damaged or lacks what the
// program needs is refused with one message naming it: the program does not start, and
// nothing is copied from it or over it.
TEST(DatabaseCopies, UntrustworthyDatabaseIsRefusedAtStart)
{
    enum Where { Project, KeptWorkingCopy, Archive, Presets };
    const struct {
        const char *what;
        Where where;
        void (*breakIt)(const QString &);
        const char *message;   // the start of the box's text after the file's name, or the whole start
    } cases[] = {
        {"not a database", Project, writeJunk, " ist beschädigt und kann nicht verwendet werden!\nfile is not a database"},
        {"damaged free list", Project, damageFreeList, " ist beschädigt und kann nicht verwendet werden!\n"},
        {"damaged record page", Project, damageRecordPage, " ist beschädigt und kann nicht verwendet werden!\n"},
        {"lacks columns", Project, [](const QString &f) { sql(f, QStringLiteral("DROP TABLE E1; CREATE TABLE E1 (ID INTEGER, KEN TEXT);")); },
         " ist beschädigt und kann nicht verwendet werden!\nmissing column E1.AKT, column E1.KOM"},
        {"kept working copy not a database", KeptWorkingCopy, writeJunk, " ist beschädigt und kann nicht verwendet werden!\nfile is not a database"},
        {"kept working copy damaged", KeptWorkingCopy, damageFreeList, " ist beschädigt und kann nicht verwendet werden!\n"},
        {"missing", Project, [](const QString &f) { QFile::remove(f); }, nullptr},
        {"archive not a database", Archive, writeJunk, " ist beschädigt und kann nicht verwendet werden!\nfile is not a database"},
        {"archive damaged", Archive, damageFreeList, " ist beschädigt und kann nicht verwendet werden!\n"},
        {"archive lacks a column", Archive,
         [](const QString &f) { sql(f, QStringLiteral("CREATE TABLE A2 AS SELECT BENUTZER, PROG, PROJEKTSPFAD, PROJEKT FROM ADMIN; DROP TABLE ADMIN; ALTER TABLE A2 RENAME TO ADMIN;")); },
         " ist beschädigt und kann nicht verwendet werden!\nmissing column ADMIN.BEARBEITER"},
        {"presets damaged", Presets, damageFreeList, " ist beschädigt und kann nicht verwendet werden!\n"},
        // Measured against the preset template beside the program: an empty file lacks it all.
        {"presets empty", Presets, [](const QString &f) { QFile::resize(f, 0); },
         " ist beschädigt und kann nicht verwendet werden!\nmissing table VANT_V11"},
        {"presets lack a table", Presets, [](const QString &f) { sql(f, QStringLiteral("ALTER TABLE VANT_V11 RENAME TO VANT_V12;")); },
         " ist beschädigt und kann nicht verwendet werden!\nmissing table VANT_V11"},
        {"presets lack a column", Presets, [](const QString &f) { sql(f, QStringLiteral("ALTER TABLE VANT_V11 DROP COLUMN KENT;")); },
         " ist beschädigt und kann nicht verwendet werden!\nmissing column VANT_V11.KENT"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Installation inst;
        sql(inst.projectDb(), kRecords);
        const QString broken = c.where == Project ? inst.projectDb()
                               : c.where == KeptWorkingCopy ? inst.working()
                               : c.where == Archive ? inst.archive()
                                                    : inst.daten + QStringLiteral("/VORGABE.mdb");
        if (c.where == KeptWorkingCopy) {
            QDir().mkpath(QFileInfo(inst.working()).path());
            QFile::copy(inst.projectDb(), inst.working());
        }
        c.breakIt(broken);
        const QByteArray before = bytesOf(broken);
        const QByteArray projectBefore = bytesOf(inst.projectDb());
        Boxes boxes;
        if (c.where == KeptWorkingCopy)
            boxes.answer(ui::vbYes);
        boxes.answer(ui::vbOK);   // the program goes on after no box of these
        frmMAIN frm;
        EXPECT_FALSE(frm.MDIForm_Load(inst.program));
        const size_t questions = c.where == KeptWorkingCopy ? 1 : 0;
        EXPECT_EQ(boxes.records().size(), questions + 1);
        if (boxes.records().size() <= questions)
            continue;
        const auto &box = boxes.records()[questions];
        if (c.message) {
            EXPECT_TRUE(box.text.startsWith(QStringLiteral("Die Datenbank ") + broken + QString::fromUtf8(c.message))) << box.text.toStdString();
            EXPECT_EQ(box.style, ui::vbOKOnly | ui::vbExclamation);
        } else {
            EXPECT_TRUE(box.text.startsWith(QStringLiteral("VB-Error: 53\n"))) << box.text.toStdString();
        }
        EXPECT_EQ(box.title, QStringLiteral("VANT"));
        EXPECT_FALSE(frm.isVisible());
        EXPECT_FALSE(frm.cnnX());
        EXPECT_EQ(bytesOf(broken), before);
        EXPECT_EQ(bytesOf(inst.projectDb()), projectBefore);
        EXPECT_EQ(QFile::exists(inst.working()), c.where == KeptWorkingCopy);
    }
}

TEST(DatabaseCopies, RefusalInEnglish)
{
    LocaleScope english(QLocale::English);
    Installation inst;
    writeJunk(inst.projectDb());
    Boxes boxes;
    boxes.answer(ui::vbOK);
    frmMAIN frm;
    EXPECT_FALSE(frm.MDIForm_Load(inst.program));
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].text,
              QStringLiteral("The database ") + inst.projectDb() + QStringLiteral(" is damaged and cannot be used!\nfile is not a database"));
}

// A run killed in the middle of a compaction or of a copy leaves the compaction file and
// scratch copies, with their journals; whatever the next start does with the working copy,
// none of them is left afterwards.
TEST(DatabaseCopies, ScratchFilesOfAKilledRunAreGoneAfterTheNextStart)
{
    const struct { const char *what; bool workingLeft; int answer; } cases[] = {
        {"no working copy", false, 0}, {"working copy kept", true, ui::vbYes}, {"working copy replaced", true, ui::vbNo},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Installation inst;
        sql(inst.projectDb(), kRecords);
        const QString folder = QFileInfo(inst.working()).path();
        QDir().mkpath(folder);
        if (c.workingLeft)
            QFile::copy(inst.projectDb(), inst.working());
        QFile::copy(inst.projectDb(), compactionFilePath(inst.working()));
        for (const QString &name : {QStringLiteral("/VANTTEMP.mdb-journal"), QStringLiteral("/VANT.mdb.vnt-copy0"), QStringLiteral("/VANT.mdb.vnt-copy0-journal")})
            patch(folder + name, 0, QByteArray(512, 'x'));
        patch(inst.projectFolder + QStringLiteral("/VANT.mdb.vnt-copy2"), 0, QByteArray(512, 'x'));
        Boxes boxes;
        if (c.answer)
            boxes.answer(c.answer);
        frmMAIN frm;
        ASSERT_TRUE(frm.MDIForm_Load(inst.program));
        EXPECT_EQ(leftovers(inst.working()), QStringList());
        EXPECT_EQ(leftovers(inst.projectDb()), QStringList());
        EXPECT_EQ(records(inst.working()), QStringLiteral("200/0"));
    }
}

// The end of the run removes the working copy with its journal, also one the engine keeps.
TEST(DatabaseCopies, EndOfTheRunLeavesNothingOfTheWorkingCopy)
{
    StartedProject run;
    run.frm.cnnX()->Execute(QStringLiteral("PRAGMA journal_mode=PERSIST; UPDATE E1 SET KOM='x' WHERE ID=1;"));
    ASSERT_TRUE(QFile::exists(run.inst.working() + QStringLiteral("-journal")));
    run.frm.mnuBEENDEN_Click();
    EXPECT_TRUE(run.frm.ended());
    EXPECT_FALSE(QFile::exists(run.inst.working()));
    EXPECT_EQ(leftovers(run.inst.working()), QStringList());
}

// The bytes of a file that a killed write left half changed never reach a copy: the journal is
// played back into its own file first, and the copy holds what was committed.
TEST(DatabaseCopies, CopyOfAFileWithAHotJournalHoldsWhatWasCommitted)
{
    InterruptedRun run;
    const QString file = run.inst.working();
    ASSERT_TRUE(QFile::exists(file + QStringLiteral("-journal")));
    const QString bytes = run.inst.root + QStringLiteral("/BYTES.mdb");   // what a plain file copy would hold
    ASSERT_TRUE(QFile::copy(file, bytes));
    ASSERT_NE(integrity(bytes) + records(bytes), QStringLiteral("ok300/0"));
    const QString copy = run.inst.root + QStringLiteral("/KOPIE.mdb");
    db::copyDatabase(file, copy);
    EXPECT_FALSE(QFile::exists(file + QStringLiteral("-journal")));
    EXPECT_EQ(integrity(copy), QStringLiteral("ok"));
    EXPECT_EQ(records(copy), QStringLiteral("300/0"));
    EXPECT_EQ(leftovers(copy), QStringList());
}

// A working copy that cannot be made ends the start after its error box, OK or not: the program
// never runs without its database.
TEST(DatabaseCopies, FailedWorkingCopyEndsTheStart)
{
    for (int answer : {ui::vbOK, ui::vbCancel}) {
        Installation inst;
        QDir().mkpath(inst.working());   // a folder where the working copy should go
        Boxes boxes;
        boxes.answer(answer);
        frmMAIN frm;
        EXPECT_FALSE(frm.MDIForm_Load(inst.program));
        ASSERT_EQ(boxes.records().size(), 1u);
        EXPECT_TRUE(boxes.records()[0].text.startsWith(QStringLiteral("VB-Error: 70\n"))) << boxes.records()[0].text.toStdString();
        EXPECT_FALSE(frm.isVisible());
        EXPECT_FALSE(frm.cnnX());
    }
}

namespace {

// Bytes this process has read through system calls so far (reads, preads and the source side
// of in-kernel copies); pages of a file mapped into memory do not count.
qint64 bytesReadSoFar()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : io.readAll().split('\n'))
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

} // namespace

// The start-up trusts the project database only after its check, yet reads its bytes once: a
// check that reads the file and a copy that reads it again cost a large project twice.
TEST(DatabaseCopies, StartupReadsTheProjectDatabaseOnce)
{
    Installation inst;
    sql(inst.projectDb(), QStringLiteral("CREATE TABLE FILL (X BLOB);"
                                         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 8000) "
                                         "INSERT INTO FILL SELECT randomblob(2000) FROM n;"));
    const qint64 size = QFileInfo(inst.projectDb()).size();
    ASSERT_GT(size, 16'000'000);
    Boxes boxes;
    frmMAIN frm;
    const qint64 before = bytesReadSoFar();
    ASSERT_GE(before, 0);
    ASSERT_TRUE(frm.MDIForm_Load(inst.program));
    const qint64 read = bytesReadSoFar() - before;
    EXPECT_LT(read, size * 13 / 10) << read << " bytes read for a project of " << size;
    EXPECT_EQ(bytesOf(inst.working()), bytesOf(inst.projectDb()));
    EXPECT_EQ(leftovers(inst.working()), QStringList());
}

// A killed run can leave a journal the engine had already emptied (its header zeroed): no open
// ever rolls it back or deletes it. The next start removes those of the presets, the archive,
// the project and the working copy it keeps; nothing of the databases' contents changes.
TEST(DatabaseCopies, ColdJournalsOfAKilledRunAreGoneAfterTheNextStart)
{
    Installation inst;
    sql(inst.projectDb(), kRecords);
    QDir().mkpath(QFileInfo(inst.working()).path());
    QFile::copy(inst.projectDb(), inst.working());
    const QString presets = inst.daten + QStringLiteral("/VORGABE.mdb");
    const QStringList files = {presets, inst.archive(), inst.projectDb(), inst.working()};
    for (const QString &file : files) {
        // a committed write in the mode that keeps the journal file and zeroes its header
        sql(file, QStringLiteral("PRAGMA journal_mode=PERSIST; CREATE TABLE KALT (X INTEGER); DROP TABLE KALT;"));
        ASSERT_TRUE(QFile::exists(file + QStringLiteral("-journal"))) << file.toStdString();
    }
    Boxes boxes;
    boxes.answer(ui::vbYes);   // keep the working copy as the killed run left it
    frmMAIN frm;
    ASSERT_TRUE(frm.MDIForm_Load(inst.program));
    for (const QString &file : files) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_FALSE(QFile::exists(file + QStringLiteral("-journal")));
        EXPECT_EQ(integrity(file), QStringLiteral("ok"));
    }
    EXPECT_EQ(records(inst.working()), QStringLiteral("200/0"));
    EXPECT_EQ(frm.PROJEKT(), QStringLiteral("Demo"));
}
