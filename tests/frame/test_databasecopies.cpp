// Copies of whole databases (the start-up's working copy, Save's copy back, the compaction)
// after a run was killed in the middle of a write: a journal left beside a file belongs to that
// file alone and must never be played back into a copy that replaced it.
#include "FrameFixture.h"
#include "frame/FrameRules.h"

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
