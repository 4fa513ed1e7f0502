// Database copies through SQLite's online backup: the source is read under its shared lock as
// one consistent database, page by page into a scratch file beside the destination.
#include "DatabaseFile.h"
#include "Database.h"
#include "../errors.h"
#include "../fso.h"

#include <QFile>
#include <sqlite3.h>

namespace vnt::db {

namespace {

const QStringList kJournals = {QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")};

[[noreturn]] void raiseFrom(sqlite3 *db, int rc)
{
    raise(err::DatabaseError, db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc)));
}

void backup(Connection &source, const QString &scratch, int timeoutSeconds)
{
    sqlite3 *out = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(scratch).constData(), &out, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    struct Closer {
        sqlite3 *&db;
        ~Closer() { sqlite3_close_v2(db); }
    } closer{out};
    if (rc != SQLITE_OK)
        raiseFrom(out, rc);
    // The scratch file is no database of anyone's until it is renamed: it needs no journal.
    sqlite3_exec(out, "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr);
    sqlite3_backup *b = sqlite3_backup_init(out, "main", source.handle(), "main");
    if (!b)
        raiseFrom(out, sqlite3_errcode(out));
    const int patience = timeoutSeconds * 1000;
    for (int waited = 0;;) {
        rc = sqlite3_backup_step(b, -1);
        // Another program writing the source: wait for it as a connection would.
        if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited < patience) {
            sqlite3_sleep(50);
            waited += 50;
        } else if (rc != SQLITE_OK) {
            break;
        }
    }
    const int finished = sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE)
        raiseFrom(nullptr, rc);
    if (finished != SQLITE_OK)
        raiseFrom(out, finished);
    rc = sqlite3_close(out);
    out = nullptr;
    if (rc != SQLITE_OK)
        raise(err::DatabaseError, QString::fromUtf8(sqlite3_errstr(rc)));
}

} // namespace

void copyDatabase(const QString &source, const QString &destination)
{
    FileSystemObject fso;
    const QString target = fso.CheckedCopyTarget(source, destination, true);
    // Opening reads the source once, which rolls a journal left beside it back into it.
    Connection from;
    from.Open(connectionStringFor(source));
    const QString scratch = fso.FreshScratchBeside(target);
    try {
        backup(from, scratch, from.ConnectionTimeout);
        from.Close();
        fso.PutInPlace(scratch, target, kJournals);
    } catch (...) {
        QFile::remove(scratch);
        throw;
    }
}

void replaceDatabase(const QString &finished, const QString &target)
{
    FileSystemObject().PutInPlace(finished, target, kJournals);
}

} // namespace vnt::db
