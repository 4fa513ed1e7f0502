// The database layer as the data access uses it: a snapshot recordset whose writes go straight
// to the table, typed columns that refuse what they cannot hold, and the connection's guards.
#include "common/DbDump.h"
#include "common/ErrorOf.h"
#include "common/SyncCounter.h"
#include "common/TestSupport.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFile.h"
#include "platform/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

using namespace vnt;
using namespace vnt::db;
using vnt::test::errorOf;
using vnt::test::LocaleScope;

namespace {

// How many descriptors of this process are open on the file.
int descriptorsOn(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    int n = 0;
    for (const QFileInfo &fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget() == target)
            ++n;
    return n;
}

// A small database of one table with every column type the schema uses.
class DbTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file;
    ConnectionPtr cnn;

    void SetUp() override
    {
        file = dir.filePath("VANT.mdb");
        sqlite3 *raw = nullptr;
        ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &raw), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(raw,
                               "CREATE TABLE [T] ([ID] INTEGER, [I2] SMALLINT, [KEN] TEXT COLLATE NOCASE, [F] FLOAT,"
                               " [D] DOUBLE, [AKT] BOOLEAN, [DAT] DATETIME, [DEF] INTEGER DEFAULT 5);"
                               "INSERT INTO [T] ([ID],[I2],[KEN]) VALUES (1,0,'a'),(2,1,'b'),(3,2,'c');"
                               "CREATE TABLE [U] ([ID] INTEGER, [X] DOUBLE);",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(raw);
        cnn = openDatabase(file);
    }

    Variant scalar(const QString &sql)
    {
        Recordset rs;
        rs.Open(sql, cnn);
        return rs.isEOF() ? Variant() : rs.Fields(0);
    }
};

} // namespace

TEST_F(DbTest, AddNewThenUpdateKeepsTheNewRowCurrent)
{
    Recordset rs;
    rs.Open("SELECT [ID],[KEN] FROM [T] WHERE [ID] > 1 ORDER BY [ID]", cnn);
    EXPECT_EQ(rs.RecordCount(), 2);
    rs.AddNew();
    rs.setField("ID", Variant(int32_t(9)));
    rs.setField("ken", "neu");
    rs.Update();
    EXPECT_EQ(rs.Fields("ID"), Variant(int32_t(9)));
    EXPECT_EQ(rs.RecordCount(), 3);
    rs.MoveNext();
    EXPECT_TRUE(rs.isEOF());
    // Columns outside the select list keep their defaults: Null, or the table's own default.
    Recordset check;
    check.Open("SELECT * FROM [T] WHERE [ID]=9", cnn);
    ASSERT_EQ(check.RecordCount(), 1);
    EXPECT_EQ(check.Fields("KEN"), Variant("neu"));
    EXPECT_TRUE(check.Fields("D").isNull());
    EXPECT_EQ(check.Fields("DEF"), Variant(int32_t(5)));
}

// A row whose write failed, or that its caller gave up, is dropped: no later AddNew, move or
// Update writes it behind the caller's back.
TEST_F(DbTest, AFailedOrCancelledRowIsNeverWrittenLater)
{
    cnn->Execute("CREATE TABLE [N] ([ID] INTEGER NOT NULL, [X] DOUBLE)");
    Recordset rs;
    rs.Open("SELECT * FROM [N]", cnn);
    rs.AddNew();
    rs.setField("X", Variant(1.0));   // no ID: the engine refuses the row
    EXPECT_EQ(errorOf([&] { rs.Update(); }), err::IntegrityViolation);
    rs.AddNew();
    rs.setField("ID", Variant(int32_t(2)));
    rs.setField("X", Variant(2.0));
    rs.Update();

    rs.AddNew();                       // a row the caller could not complete
    rs.setField("ID", Variant(int32_t(3)));
    rs.CancelUpdate();
    rs.AddNew();
    rs.setField("ID", Variant(int32_t(4)));
    rs.MoveFirst();                    // moving stores a pending row

    rs.setField("ID", Variant::null());   // an edit the engine refuses
    EXPECT_EQ(errorOf([&] { rs.MoveNext(); }), err::IntegrityViolation);
    EXPECT_EQ(rs.Fields("ID"), Variant(int32_t(2)));
    rs.Close();
    EXPECT_EQ(scalar("SELECT group_concat([ID]) FROM (SELECT [ID] FROM [N] ORDER BY [ID])"), Variant("2,4"));
}

TEST_F(DbTest, DeleteThenMoveNextReachesTheNextRow)
{
    Recordset rs;
    rs.Open("SELECT [ID] FROM [T] ORDER BY [ID]", cnn);
    rs.Delete();
    EXPECT_EQ(errorOf([&] { rs.Fields(0); }), err::NoCurrentRecord);
    rs.MoveNext();
    EXPECT_EQ(rs.Fields(0), Variant(int32_t(2)));
    // The way the writers empty a selection: delete, move on, until past the end.
    while (!rs.isEOF()) {
        rs.Delete();
        rs.MoveNext();
    }
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM [T]"), Variant(int32_t(0)));
}

TEST_F(DbTest, EditWritesThroughByRowEvenAfterOthersChangedTheTable)
{
    Recordset rs;
    rs.Open("SELECT [KEN] FROM [T] ORDER BY [ID] DESC", cnn);
    cnn->Execute("INSERT INTO [T] ([ID],[KEN]) VALUES (4,'d'); UPDATE [T] SET [KEN]='x' WHERE [ID]=3");
    // The snapshot shows the rows as they were when it was opened.
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_EQ(rs.Fields(0), Variant("c"));
    rs.MoveNext();
    rs.setField(0, "B2");
    rs.MoveNext();  // moving on stores the change
    EXPECT_EQ(scalar("SELECT [KEN] FROM [T] WHERE [ID]=2"), Variant("B2"));
    EXPECT_EQ(scalar("SELECT [KEN] FROM [T] WHERE [ID]=3"), Variant("x"));
}

TEST_F(DbTest, ValuesAreConvertedToTheColumnType)
{
    LocaleScope de(QLocale::German);
    struct Case {
        const char *column;
        Variant value;
        Variant stored;     // Empty: the write must fail with `error`
        int error;
    };
    const Case cases[] = {
        {"I2", Variant("abc"), Variant(), err::TypeMismatch},
        {"I2", Variant(""), Variant(), err::TypeMismatch},   // the accessor writes Null for "" itself
        {"I2", Variant(40000.0), Variant(), err::Overflow},
        {"ID", Variant(3e9), Variant(), err::Overflow},
        {"AKT", Variant("vielleicht"), Variant(), err::TypeMismatch},
        {"DAT", Variant("kein Datum"), Variant(), err::TypeMismatch},
        {"I2", Variant("2,5"), Variant(int16_t(2)), 0},
        {"D", Variant("3,5"), Variant(3.5), 0},
        {"F", Variant(0.1), Variant(0.1f), 0},
        {"AKT", Variant("Wahr"), Variant(true), 0},
        {"AKT", Variant(int16_t(0)), Variant(false), 0},
        {"DAT", Variant("01.01.2000"), Variant::date(36526), 0},
        {"KEN", Variant(3.5), Variant("3,5"), 0},
        {"KEN", Variant::null(), Variant::null(), 0},
        {"D", Variant::null(), Variant::null(), 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.column) + " <- " + c.value.text().toStdString());
        Recordset rs;
        rs.Open("SELECT * FROM [T] WHERE [ID]=1", cnn);
        EXPECT_EQ(errorOf([&] { rs.setField(c.column, c.value); rs.Update(); }), c.error);
        if (c.error)
            continue;
        Recordset back;
        back.Open(QString("SELECT [%1] FROM [T] WHERE [ID]=1").arg(c.column), cnn);
        EXPECT_EQ(back.Fields(0).type(), c.stored.type());
        EXPECT_EQ(back.Fields(0), c.stored);
    }
    // A refused value leaves the row as it was.
    EXPECT_EQ(scalar("SELECT [ID] FROM [T] WHERE [KEN] IS NULL"), Variant(int32_t(1)));
}

TEST_F(DbTest, TypedColumnsReadBackAsTheirTypes)
{
    cnn->Execute("INSERT INTO [T] ([ID],[F],[AKT],[DAT]) VALUES (7, 0.1, true, 36526.75)");
    Recordset rs;
    rs.Open("SELECT [ID],[F],[AKT],[DAT],[I2] FROM [T] WHERE [AKT]=true", cnn);
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.FieldType(0), VarType::Long);
    EXPECT_EQ(rs.FieldType(4), VarType::Integer);
    EXPECT_EQ(rs.Fields(1).type(), VarType::Single);
    EXPECT_EQ(rs.Fields(1).toDouble(), double(0.1f));  // a FLOAT column holds single precision
    EXPECT_EQ(rs.Fields(2).type(), VarType::Boolean);
    EXPECT_EQ(rs.Fields(2).toDouble(), -1.0);
    EXPECT_EQ(rs.Fields(3), Variant::date(36526.75));
    EXPECT_TRUE(rs.Fields(4).isNull());

    rs.setField("DAT", Variant::date(-1.25));
    rs.Update();
    EXPECT_EQ(scalar("SELECT [DAT] FROM [T] WHERE [ID]=7"), Variant::date(-1.25));
}

TEST_F(DbTest, QueriesThatCannotBeWrittenStillRead)
{
    cnn->Execute("INSERT INTO [U] VALUES (1, 2.5), (1, 4.0)");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM [T]"), Variant(int32_t(3)));
    EXPECT_EQ(scalar("SELECT MAX([X]) FROM [U]").type(), VarType::Double);
    EXPECT_EQ(scalar("SELECT DISTINCT [ID] FROM [U]"), Variant(int32_t(1)));

    Recordset join;
    join.Open("SELECT [T].[KEN],[U].[X] FROM [T],[U] WHERE [T].[ID]=[U].[ID] ORDER BY [U].[X] Desc", cnn);
    EXPECT_EQ(join.RecordCount(), 2);
    EXPECT_EQ(join.Fields("x"), Variant(4.0));
    EXPECT_EQ(errorOf([&] { join.AddNew(); }), err::NotUpdatable);
    EXPECT_EQ(errorOf([&] { join.setField(0, "z"); }), err::NotUpdatable);
}

TEST_F(DbTest, FieldAndPositionErrors)
{
    Recordset rs;
    rs.Open("SELECT [KEN] FROM [T] WHERE [ID]=99", cnn);
    EXPECT_TRUE(rs.isEOF());
    EXPECT_TRUE(rs.isBOF());
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_EQ(errorOf([&] { rs.Fields("KEN"); }), err::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rs.setField("KEN", "x"); }), err::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rs.Fields("NOPE"); }), err::ItemNotFound);
    EXPECT_EQ(errorOf([&] { rs.MoveNext(); }), err::NoCurrentRecord);

    Recordset bad;
    EXPECT_EQ(errorOf([&] { bad.Open("SELECT [KEN] FROM [NOPE]", cnn); }), err::NoSuchTable);
    EXPECT_EQ(errorOf([&] { bad.Open("SELECT [NOPE] FROM [T]", cnn); }), err::NoSuchColumn);
    EXPECT_EQ(errorOf([&] { bad.Open("SELEKT 1", cnn); }), err::SyntaxError);
    EXPECT_FALSE(bad.isOpen());
}

TEST_F(DbTest, QuotedTextsNeitherBreakNorWidenAQuery)
{
    EXPECT_EQ(sqlText("O'Neil"), "'O''Neil'");
    cnn->Execute("INSERT INTO [T] ([ID],[KEN]) VALUES (5," + sqlText("O'Neil") + ")");
    EXPECT_EQ(scalar("SELECT [ID] FROM [T] WHERE [KEN]=" + sqlText("o'neil")), Variant(int32_t(5)));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM [T] WHERE [KEN]=" + sqlText("x' OR '1'='1")), Variant(int32_t(0)));
}

TEST_F(DbTest, NestedTransactionsCommitOnlyAtTheOutermost)
{
    cnn->BeginTrans();
    cnn->Execute("DELETE FROM [T] WHERE [ID]=1");
    cnn->BeginTrans();
    cnn->Execute("DELETE FROM [T] WHERE [ID]=2");
    cnn->RollbackTrans();  // undoes only the inner part
    EXPECT_TRUE(cnn->inTransaction());
    cnn->CommitTrans();
    EXPECT_FALSE(cnn->inTransaction());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM [T]"), Variant(int32_t(2)));
    EXPECT_EQ(errorOf([&] { cnn->CommitTrans(); }), err::DatabaseError);

    cnn->BeginTrans();
    cnn->Execute("DELETE FROM [T]");
    cnn->RollbackTrans();
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM [T]"), Variant(int32_t(2)));
}

TEST_F(DbTest, TransactionScopeCommitsOnlyWhenTold)
{
    {
        TransactionScope unit(cnn);
        cnn->Execute("DELETE FROM [T] WHERE [ID]=1");
        unit.commit();
        EXPECT_FALSE(unit.active());
    }
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM [T]"), Variant(int32_t(2)));

    // Left by an error: everything of the unit is undone, the outer work is not.
    cnn->BeginTrans();
    cnn->Execute("DELETE FROM [T] WHERE [ID]=2");
    try {
        TransactionScope unit(cnn);
        cnn->Execute("DELETE FROM [T]");
        cnn->Execute("SELEKT 1");
        unit.commit();
    } catch (const VbError &) {
    }
    EXPECT_TRUE(cnn->inTransaction());
    cnn->CommitTrans();
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM [T]"), Variant(int32_t(1)));

    // Left by an early return.
    [&] {
        TransactionScope unit(cnn);
        cnn->Execute("DELETE FROM [T]");
    }();
    EXPECT_FALSE(cnn->inTransaction());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM [T]"), Variant(int32_t(1)));
}

TEST_F(DbTest, OpeningNeverCreatesAFile)
{
    const QString missing = dir.filePath("sub/NEU.mdb");
    const int n = errorOf([&] { openDatabase(missing); });
    EXPECT_EQ(n, err::DatabaseError);
    EXPECT_FALSE(QFile::exists(missing));

    QFile junk(dir.filePath("junk.mdb"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    EXPECT_EQ(errorOf([&] { openDatabase(junk.fileName()); }), err::DatabaseError);

    Connection c;
    c.Open("Provider=Whatever; Data Source=" + file + ";Persist Security Info=False");
    EXPECT_EQ(c.path(), file);
    EXPECT_EQ(errorOf([&] { c.Open(); }), err::NotAllowedWhenOpen);
    c.Close();
    EXPECT_EQ(errorOf([&] { c.Execute("DELETE FROM [T]"); }), err::NotAllowedWhenClosed);
    Recordset rs;
    EXPECT_EQ(errorOf([&] { rs.Open("SELECT 1", ConnectionPtr()); }), err::InvalidConnection);
}

// Queries that differ only in the values of their condition share one prepared statement; the
// values still select exactly what the text said, whatever form they are written in.
TEST_F(DbTest, ConditionValuesShareOneStatementAndSelectAsWritten)
{
    cnn->Execute("UPDATE [T] SET [D]=-0.00125 WHERE [ID]=2");
    {
        Recordset rs;
        rs.Open("SELECT [F] FROM [T] WHERE [ID]=2", cnn);
        rs.setField("F", Variant(0.1));
        rs.Update();
    }
    cnn->Execute("INSERT INTO [T] ([ID],[I2],[KEN],[D]) VALUES (4,3,'O''Neil',1e300)");
    const int before = cnn->preparedStatementCount();
    for (int id = 1; id <= 3; ++id)
        EXPECT_EQ(scalar(QString("SELECT [KEN] FROM [T] WHERE [ID]=%1").arg(id)).toString(), QString(QChar('a' + id - 1)));
    EXPECT_EQ(cnn->preparedStatementCount(), before + 1);

    const struct {
        const char *sql;
        const char *rows;
    } cases[] = {
        {"SELECT [ID] FROM [T] WHERE [KEN]='o''neil'", "4"},
        {"SELECT [ID] FROM [T] WHERE [D]=-1.25e-3", "2"},
        {"SELECT [ID] FROM [T] WHERE [D]=-.00125", "2"},
        {"SELECT [ID] FROM [T] WHERE [D]>1e299", "4"},
        {"SELECT [ID] FROM [T] WHERE [F]=0.10000000149011612", "2"},   // the float, widened
        {"SELECT [ID] FROM [T] WHERE [ID]=0x3", "3"},
        {"SELECT [ID] FROM [T] WHERE [KEN]<>X'63' AND [ID]>2", "3|4"},
        {"SELECT [ID] FROM [T] WHERE [ID] IN (1,3) AND [KEN]<>'-- no comment'", "1|3"},
        {"SELECT [ID] FROM [T] WHERE [ID]=2 OR [KEN]='a' ORDER BY 1 DESC", "2|1"},
        {"SELECT [ID],[KEN] FROM [T] WHERE [ID]<3 ORDER BY 2 DESC LIMIT 1", "2;b"},
        {"SELECT [ID]*10 FROM [T] WHERE [ID]=3", "30"},
        {"SELECT [ID] FROM [T] WHERE [ID]=2 AND [AKT] IS NULL; ", "2"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(vnt::test::dump(cnn, c.sql), c.rows) << c.sql;

    // The name of an expression column is the query's text, values included.
    Recordset rs;
    rs.Open("SELECT [ID]*10 FROM [T] WHERE [ID]=3", cnn);
    EXPECT_EQ(rs.FieldName(0), "[ID]*10");
    // A shared statement writes the row it read.
    rs.Close();
    rs.Open("SELECT [ID],[KEN] FROM [T] WHERE [ID]=3", cnn);
    rs.setField("KEN", "neu");
    rs.Update();
    EXPECT_EQ(vnt::test::dump(cnn, "SELECT [KEN] FROM [T] WHERE [ID]=3"), "neu");
    EXPECT_EQ(vnt::test::dump(cnn, "SELECT [KEN] FROM [T] WHERE [ID]=1"), "a");

    // However many different texts a run has, the number kept stays bounded.
    for (int k = 0; k < 300; ++k)
        scalar(QString("SELECT [ID]+%1 FROM [T] WHERE [ID]=1").arg(k));
    EXPECT_LE(cnn->preparedStatementCount(), 200);
}

// A kept statement is found again by its text: a text over characters its owner rewrites in
// place runs what it says now, and one text opened with other values selects by those.
TEST_F(DbTest, KeptStatementsRunWhatTheTextSaysNow)
{
    char16_t chars[] = u"SELECT [KEN] FROM [T] ORDER BY [ID]";
    const QString raw = QString::fromRawData(reinterpret_cast<const QChar *>(chars), int(std::size(chars)) - 1);
    EXPECT_EQ(vnt::test::dump(cnn, raw), "a|b|c");
    std::copy_n(u"[I2] ", 5, chars + 7);   // same length, same address
    EXPECT_EQ(vnt::test::dump(cnn, raw), "0|1|2");

    const QString kept = QString::fromLatin1("SELECT [KEN] FROM [T] WHERE [ID]=?");   // owns its characters
    for (int id = 1; id <= 3; ++id) {
        const Variant value{int32_t(id)};
        Recordset rs;
        rs.Open(kept, std::span<const Variant>(&value, 1), cnn, id == 2 ? CursorType::ForwardOnly : CursorType::Static);
        EXPECT_EQ(rs.Fields(0).toString(), QString(QChar('a' + id - 1)));
    }
}

// Kept statements stand in the way of nothing: other connections can write, the file can be
// copied and replaced, and a changed table shows its new columns.
TEST_F(DbTest, KeptStatementsHoldNoLockAndFollowTheFile)
{
    Recordset rs;
    rs.Open("SELECT * FROM [T] WHERE [ID]=1", cnn);
    rs.setField("KEN", "z");
    rs.Update();
    ASSERT_GT(cnn->preparedStatementCount(), 0);

    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &other), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE; ALTER TABLE [T] ADD COLUMN [NEU] INTEGER; COMMIT", nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(other);
    sqlite3_close(other);
    rs.Close();
    rs.Open("SELECT * FROM [T] WHERE [ID]=1", cnn);
    EXPECT_EQ(rs.FieldCount(), 9);
    EXPECT_EQ(rs.FieldName(8), "NEU");
    rs.Close();

    // A table that becomes a view is read all the same, no longer written.
    EXPECT_EQ(vnt::test::dump(cnn, "SELECT [ID] FROM [U]"), "");
    cnn->Execute("DROP TABLE [U]; CREATE VIEW [U] AS SELECT 1 AS [ID]");
    EXPECT_EQ(vnt::test::dump(cnn, "SELECT [ID] FROM [U]"), "1");

    cnn->Execute("ALTER TABLE [T] ADD COLUMN [NEU2] TEXT");
    rs.Open("SELECT * FROM [T] WHERE [ID]=1", cnn);
    EXPECT_EQ(rs.FieldCount(), 10);
    EXPECT_EQ(rs.FieldType(9), VarType::String);
    rs.Close();

    const QString copy = dir.filePath("COPY.mdb");
    cnn->Execute("VACUUM INTO " + sqlText(copy));
    const QString backup = dir.filePath("BACKUP.mdb");
    sqlite3 *target = nullptr;
    ASSERT_EQ(sqlite3_open(backup.toUtf8().constData(), &target), SQLITE_OK);
    sqlite3_backup *b = sqlite3_backup_init(target, "main", cnn->handle(), "main");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(sqlite3_backup_step(b, -1), SQLITE_DONE);
    EXPECT_EQ(sqlite3_backup_finish(b), SQLITE_OK);
    sqlite3_close(target);

    // Closing lets the file go at once: it can be replaced, and the connection opened again
    // reads the new file, not what its statements knew of the old one.
    ASSERT_GT(descriptorsOn(file), 0);
    cnn->Close();
    EXPECT_EQ(descriptorsOn(file), 0);
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QFile::copy(copy, file));
    auto again = openDatabase(file);
    again->Execute("UPDATE [T] SET [KEN]='y' WHERE [ID]=1");
    EXPECT_EQ(vnt::test::dump(again, "SELECT [KEN],[NEU2] FROM [T] WHERE [ID]=1"), "y;Null");
    EXPECT_EQ(vnt::test::dump(openDatabase(backup), "SELECT [KEN] FROM [T] WHERE [ID]=1"), "z");
}

// A database is copied through the engine: a file that is none is refused and the destination
// stays as it was, with no scratch file beside it.
TEST_F(DbTest, DatabaseCopiesAreDatabases)
{
    const QString copy = dir.filePath("KOPIE.mdb");
    cnn->Execute("INSERT INTO [U] VALUES (9, 2.5)");
    copyDatabase(file, copy);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM [U]"), Variant(int32_t(1)));
    auto back = openDatabase(copy);
    Recordset rs;
    rs.Open("SELECT [X] FROM [U] WHERE [ID]=9", back);
    EXPECT_EQ(rs.Fields(0), Variant(2.5));
    rs.Close();
    back->Close();

    QFile junk(dir.filePath("junk.mdb"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    EXPECT_EQ(errorOf([&] { copyDatabase(junk.fileName(), copy); }), err::DatabaseError);
    EXPECT_EQ(errorOf([&] { copyDatabase(dir.filePath("none.mdb"), copy); }), err::FileNotFound);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"junk.mdb", "KOPIE.mdb", "VANT.mdb"}));
    EXPECT_EQ(openDatabase(copy)->path(), copy);
}

// A database in WAL mode keeps committed rows in its log until a checkpoint: its file alone is
// not the database, and a copy must hold the rows all the same.
TEST_F(DbTest, DatabaseCopyOfALoggedDatabaseHoldsItsLog)
{
    cnn->Close();
    sqlite3 *raw = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &raw), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(raw, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0; INSERT INTO [U] VALUES (7, 2);", nullptr, nullptr, nullptr),
              SQLITE_OK);
    ASSERT_TRUE(QFileInfo(file + "-wal").size() > 0);
    const QString copy = dir.filePath("KOPIE.mdb");
    copyDatabase(file, copy);
    sqlite3_close(raw);
    EXPECT_EQ(vnt::test::dump(openDatabase(copy), "SELECT [ID],[X] FROM [U]"), "7;2");
}

// What makes a database untrustworthy, told in the engine's words or by the parts it lacks;
// a file that is fine gives "".
TEST_F(DbTest, DatabaseDefects)
{
    const QString model = dir.filePath("MODELL.mdb");
    {
        auto m = openDatabase(file);
        m->Execute("VACUUM INTO " + sqlText(model));
    }
    EXPECT_EQ(databaseDefect(file, model), QString());
    EXPECT_EQ(databaseDefect(file), QString());

    cnn->Execute("ALTER TABLE [T] DROP COLUMN [DAT]; ALTER TABLE [T] DROP COLUMN [AKT]; DROP TABLE [U];");
    EXPECT_EQ(databaseDefect(file, model), "missing column T.AKT, column T.DAT, table U");
    EXPECT_EQ(databaseDefect(file), QString());   // without a model only the structure counts

    QFile junk(dir.filePath("junk.mdb"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(8192, 'x'));
    junk.close();
    EXPECT_TRUE(databaseDefect(junk.fileName(), model).contains("not a database")) << databaseDefect(junk.fileName(), model).toStdString();
    EXPECT_EQ(errorOf([&] { databaseDefect(dir.filePath("none.mdb")); }), err::FileNotFound);
    EXPECT_EQ(QFile(junk.fileName()).size(), 8192);
}

// A value the row already holds is not written: the table's change count stays, and a changed
// value beside unchanged ones is written alone. Letter case is a change even in a NOCASE column.
TEST_F(DbTest, WritesThatChangeNothingAreNotWritten)
{
    cnn->Execute("UPDATE [T] SET [F]=1.5, [AKT]=1 WHERE [ID]=2");
    const int before = sqlite3_total_changes(cnn->handle());
    Recordset rs;
    rs.Open("SELECT [ID],[I2],[KEN],[F],[AKT],[DEF] FROM [T] WHERE [ID]=2", cnn);
    rs.setField("ID", 2);
    rs.setField("I2", Variant(int16_t(1)));
    rs.setField("KEN", "b");
    rs.setField("F", 1.5);
    rs.setField("AKT", true);
    rs.setField("DEF", 5);
    rs.Update();
    EXPECT_EQ(sqlite3_total_changes(cnn->handle()), before);

    rs.setField("ID", 2);
    rs.setField("KEN", "B");
    rs.Update();
    EXPECT_EQ(sqlite3_total_changes(cnn->handle()), before + 1);
    EXPECT_EQ(scalar("SELECT [KEN] FROM [T] WHERE [ID]=2"), Variant("B"));

    // A value set and set back within one edit leaves the row alone.
    rs.setField("F", 2.5);
    rs.setField("F", 1.5);
    rs.Update();
    EXPECT_EQ(sqlite3_total_changes(cnn->handle()), before + 1);

    // A new row is written whole, Nulls included.
    rs.AddNew();
    rs.setField("ID", 9);
    rs.setField("KEN", Variant::null());
    rs.Update();
    EXPECT_EQ(vnt::test::dump(cnn, "SELECT [ID],[KEN],[DEF] FROM [T] WHERE [ID]=9"), "9;Null;5");
}

// A forward-only walk reads the rows as the snapshot does, typed as the columns declare them,
// lets the connection write meanwhile, and refuses to go back.
TEST_F(DbTest, ForwardOnlyWalk)
{
    cnn->Execute("UPDATE [T] SET [F]=0.1, [AKT]=1, [D]=2.5 WHERE [ID]=1");
    Recordset rs;
    rs.Open("SELECT [ID],[KEN],[F],[AKT],[D],[I2] FROM [T] WHERE [ID]>=1 ORDER BY [ID]", cnn, CursorType::ForwardOnly);
    EXPECT_FALSE(rs.isBOF());
    EXPECT_EQ(rs.RecordCount(), -1);
    rs.MoveFirst();   // still on the first row: harmless
    EXPECT_EQ(rs.Fields(0), Variant(int32_t(1)));
    EXPECT_EQ(rs.Fields("F").type(), VarType::Single);
    EXPECT_EQ(rs.doubleField(2), double(0.1f));
    EXPECT_EQ(rs.doubleField(3), -1.0);   // True as a number
    EXPECT_EQ(rs.doubleField(4), 2.5);
    EXPECT_EQ(rs.utf8Field(1).toByteArray(), "a");
    double many[3] = {};
    rs.doubleFields(2, 3, many);
    EXPECT_EQ(many[0], double(0.1f));
    EXPECT_EQ(many[1], -1.0);
    EXPECT_EQ(many[2], 2.5);
    EXPECT_EQ(errorOf([&] { rs.setField(1, "x"); }), err::NotUpdatable);

    // Writing through the connection during the walk is allowed.
    cnn->Execute("UPDATE [T] SET [KEN]='B2' WHERE [ID]=2");
    EXPECT_EQ(scalar("SELECT [KEN] FROM [T] WHERE [ID]=2"), Variant("B2"));
    rs.MoveNext();
    EXPECT_EQ(rs.Fields(0), Variant(int32_t(2)));
    EXPECT_TRUE(rs.isNullField(4));
    EXPECT_EQ(rs.doubleField(4), 0.0);
    many[2] = 7;
    rs.doubleFields(4, 1, many + 2);
    EXPECT_EQ(many[2], 0.0);
    EXPECT_EQ(errorOf([&] { rs.MovePrevious(); }), err::NotAllowedInContext);
    EXPECT_EQ(errorOf([&] { rs.MoveLast(); }), err::NotAllowedInContext);
    EXPECT_EQ(errorOf([&] { rs.MoveFirst(); }), err::NotAllowedInContext);
    rs.MoveNext();
    EXPECT_EQ(rs.Fields(0), Variant(int32_t(3)));
    rs.MoveNext();
    EXPECT_TRUE(rs.isEOF());
    EXPECT_EQ(errorOf([&] { rs.Fields(0); }), err::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { rs.MoveNext(); }), err::NoCurrentRecord);

    // At its end the walk holds no read: another connection can write at once.
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &other), SQLITE_OK);
    sqlite3_busy_timeout(other, 0);
    EXPECT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE; COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);

    Recordset none;
    none.Open("SELECT [ID] FROM [T] WHERE [ID]=77", cnn, CursorType::ForwardOnly);
    EXPECT_TRUE(none.isEOF());
    EXPECT_TRUE(none.isBOF());
}

// A unit that may discard what changed nothing: values set and set back cost no sync and
// stay as they were; a real change, an added row, or a plain unit commits and syncs once.
TEST_F(DbTest, UnitsThatChangedNothingAreNotCommitted)
{
    vnt::test::installSyncCounter();
    cnn = openDatabase(file);
    struct Case {
        const char *what;
        TransactionScope::Unchanged mode;
        const char *writes;
        long syncs;
        const char *after;
    };
    const Case cases[] = {
        {"set and set back", TransactionScope::Unchanged::Discard,
         "UPDATE [T] SET [KEN]='zz' WHERE [ID]=1; UPDATE [T] SET [KEN]='a' WHERE [ID]=1", 0, "a"},
        {"a real change", TransactionScope::Unchanged::Discard, "UPDATE [T] SET [KEN]='q' WHERE [ID]=1", 1, "q"},
        {"case is a change", TransactionScope::Unchanged::Discard, "UPDATE [T] SET [KEN]='Q' WHERE [ID]=1", 1, "Q"},
        {"a row added and deleted", TransactionScope::Unchanged::Discard,
         "INSERT INTO [T] ([ID]) VALUES (50); DELETE FROM [T] WHERE [ID]=50", 1, "Q"},
        {"kept as any other", TransactionScope::Unchanged::Keep,
         "UPDATE [T] SET [KEN]='zz' WHERE [ID]=1; UPDATE [T] SET [KEN]='Q' WHERE [ID]=1", 1, "Q"},
    };
    for (const Case &c : cases) {
        vnt::test::SyncMeter meter;
        TransactionScope unit(cnn, c.mode);
        cnn->Execute(c.writes);
        unit.commit();
        EXPECT_FALSE(cnn->inTransaction()) << c.what;
        EXPECT_EQ(meter.counted().database, c.syncs) << c.what;
        EXPECT_EQ(scalar("SELECT [KEN] FROM [T] WHERE [ID]=1"), Variant(c.after)) << c.what;
    }
}

// A query walked forward only and the same text read whole are kept apart: the walk reads no
// rowid, and the snapshot opened after it can still be written through, and the other way round.
TEST_F(DbTest, ForwardWalkAndSnapshotOfOneTextStayApart)
{
    const QString sql = "SELECT [ID],[KEN] FROM [T] WHERE [ID]>=1 ORDER BY [ID]";
    for (int round = 0; round < 2; ++round) {
        Recordset walk;
        walk.Open(sql, cnn, CursorType::ForwardOnly);
        EXPECT_EQ(walk.FieldCount(), 2);
        EXPECT_EQ(walk.Fields(0), Variant(int32_t(1)));
        walk.Close();

        Recordset whole;
        whole.Open(sql, cnn);
        EXPECT_EQ(whole.FieldCount(), 2);
        whole.setField("KEN", QString("R%1").arg(round));
        whole.Update();
        whole.Close();
        EXPECT_EQ(scalar("SELECT [KEN] FROM [T] WHERE [ID]=1"), Variant(QString("R%1").arg(round)));
    }
}
