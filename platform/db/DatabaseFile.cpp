// Database copies as fast as a file copy and still one consistent database: the source is opened
// through the engine (which rolls a journal left by a killed write back into it), and its bytes
// are read through a descriptor the engine holds while its shared lock keeps every writer from
// changing the file. A database in WAL mode, whose file alone is not the database, goes through
// the online backup instead.
#include "DatabaseFile.h"
#include "Database.h"
#include "../errors.h"
#include "../fso.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <filesystem>
#include <sys/stat.h>
#include <memory>
#include <thread>
#include <sqlite3.h>
#include <unistd.h>

namespace vnt::db {

namespace {

const QStringList kJournals = {QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")};

[[noreturn]] void raiseFrom(sqlite3 *db, int rc)
{
    raise(err::DatabaseError, db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc)));
}

[[noreturn]] void raiseWriteError(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT: raise(61);   // disk full
    case EACCES:
    case EPERM:
    case EROFS: raise(err::PermissionDenied);
    default: raise(75);       // path/file access error
    }
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

QString firstText(sqlite3 *db, const char *query)
{
    sqlite3_stmt *st = nullptr;
    QString out;
    if (sqlite3_prepare_v2(db, query, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        out = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return out;
}

// A descriptor the engine holds open on the file at path, or -1. A descriptor of our own would
// not do: closing it would drop every lock this process holds on the file, the engine's too.
int engineDescriptorOf(const QString &path)
{
    struct stat want {};
    if (::stat(QFile::encodeName(path).constData(), &want) != 0)
        return -1;
    std::error_code ec;
    for (std::filesystem::directory_iterator it("/proc/self/fd", ec), end; !ec && it != end; it.increment(ec)) {
        const int fd = std::atoi(it->path().filename().c_str());
        struct stat have {};
        if (::fstat(fd, &have) == 0 && S_ISREG(have.st_mode) && have.st_dev == want.st_dev && have.st_ino == want.st_ino) {
            const int mode = ::fcntl(fd, F_GETFL);
            if (mode >= 0 && (mode & O_ACCMODE) != O_WRONLY)
                return fd;
        }
    }
    return -1;
}

// Copies size bytes of the file behind in to out inside the kernel; false when the system
// cannot do that for these files (nothing was written then).
bool kernelCopy(int in, int out, sqlite3_int64 size)
{
    loff_t from = 0;
    while (from < size) {
        const ssize_t n = ::copy_file_range(in, &from, out, nullptr, size_t(std::min<sqlite3_int64>(size - from, 1 << 30)), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && from == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP || errno == EBADF))
            return false;
        if (n < 0)
            raiseWriteError(errno);
        if (n == 0)
            raise(err::DatabaseError, QStringLiteral("The database file ended before its size"));
    }
    return true;
}

// Copies the source's bytes into scratch while a read transaction holds its shared lock, through
// a descriptor the engine holds or else through the engine's own reads. Returns false for a
// database the bytes of whose file are not the whole database.
bool copyUnderReadLock(Connection &source, const QString &scratch)
{
    sqlite3 *db = source.handle();
    if (firstText(db, "PRAGMA journal_mode").compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
        return false;
    if (sqlite3_exec(db, "BEGIN; SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        raise(err::DatabaseError, msg);
    }
    struct EndRead {
        sqlite3 *db;
        ~EndRead() { sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr); }
    } endRead{db};

    sqlite3_file *in = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &in) != SQLITE_OK || !in || !in->pMethods)
        raise(err::DatabaseError, QStringLiteral("The database file cannot be read: '%1'").arg(source.path()));
    sqlite3_int64 size = 0;
    if (in->pMethods->xFileSize(in, &size) != SQLITE_OK)
        raise(err::DatabaseError, QStringLiteral("The database file cannot be read: '%1'").arg(source.path()));

    const int fd = ::open(QFile::encodeName(scratch).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        raiseWriteError(errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (const int engineFd = engineDescriptorOf(source.path()); engineFd >= 0 && kernelCopy(engineFd, fd, size))
        return true;
    constexpr sqlite3_int64 kChunk = 1 << 20;
    const std::unique_ptr<char[]> buffer(new char[kChunk]);
    for (sqlite3_int64 at = 0; at < size;) {
        const int n = int(std::min(kChunk, size - at));
        if (in->pMethods->xRead(in, buffer.get(), n, at) != SQLITE_OK)
            raise(err::DatabaseError, QStringLiteral("The database file cannot be read: '%1'").arg(source.path()));
        for (int done = 0; done < n;) {
            const ssize_t w = ::write(fd, buffer.get() + done, size_t(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                raiseWriteError(w < 0 ? errno : ENOSPC);
            done += int(w);
        }
        at += n;
    }
    return true;
}

// The names of a database's tables, each with the names of its columns, all in upper case.
QHash<QString, QSet<QString>> tablesOf(sqlite3 *db)
{
    QHash<QString, QSet<QString>> out;
    sqlite3_stmt *st = nullptr;
    const char *query = "SELECT m.name, p.name FROM sqlite_master m, pragma_table_info(m.name) p "
                        "WHERE m.type='table' AND m.name NOT LIKE 'sqlite\\_%' ESCAPE '\\'";
    if (sqlite3_prepare_v2(db, query, -1, &st, nullptr) != SQLITE_OK)
        raiseFrom(db, sqlite3_errcode(db));
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        out[QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0))).toUpper()]
            << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 1))).toUpper();
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        raiseFrom(db, rc);
    return out;
}

// The tables and columns of the model that the database lacks, or "".
QString missingParts(const QHash<QString, QSet<QString>> &needed, const QHash<QString, QSet<QString>> &present)
{
    QStringList missing;
    for (auto it = needed.cbegin(); it != needed.cend(); ++it) {
        const auto table = present.constFind(it.key());
        if (table == present.cend()) {
            missing << QStringLiteral("table ") + it.key();
            continue;
        }
        for (const QString &column : it.value())
            if (!table->contains(column))
                missing << QStringLiteral("column ") + it.key() + QLatin1Char('.') + column;
    }
    if (missing.isEmpty())
        return {};
    missing.sort();
    return QStringLiteral("missing ") + missing.join(QStringLiteral(", "));
}

QHash<QString, QSet<QString>> modelTables(const QString &model)
{
    sqlite3 *m = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(model).constData(), &m, SQLITE_OPEN_READONLY, nullptr);
    struct Closer {
        sqlite3 *&db;
        ~Closer() { sqlite3_close_v2(db); }
    } closer{m};
    if (rc != SQLITE_OK)
        raiseFrom(m, rc);
    return tablesOf(m);
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
        if (!copyUnderReadLock(from, scratch))
            backup(from, scratch, from.ConnectionTimeout);
        from.Close();
        fso.PutInPlace(scratch, target, kJournals);
    } catch (...) {
        QFile::remove(scratch);
        throw;
    }
}

namespace {

using Tables = QHash<QString, QSet<QString>>;

// The defect of the file, with the tables it needs read from where the caller says. A file
// whose pages the system holds in memory already (a fresh copy) is checked through a mapping
// of it, which reads those pages where they are instead of reading the file once more.
QString defectOf(const QString &path, const std::function<Tables()> &needed, bool mapped = false)
{
    if (!QFileInfo(path).isFile())
        raise(err::FileNotFound, QStringLiteral("File not found: ") + path);
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    struct Closer {
        sqlite3 *&db;
        ~Closer() { sqlite3_close_v2(db); }
    } closer{db};
    if (rc != SQLITE_OK)
        return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_busy_timeout(db, 30000);
    if (mapped) {
        const QByteArray mapping = "PRAGMA mmap_size=" + QByteArray::number(QFileInfo(path).size());
        sqlite3_exec(db, mapping.constData(), nullptr, nullptr, nullptr);
    }
    // The quick check reads every page and checks the structure of every table, index and the
    // free list; it leaves out only the comparison of index entries with their rows.
    sqlite3_stmt *st = nullptr;
    rc = sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &st, nullptr);
    QString verdict;
    if (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW)
        verdict = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    const QString engineMessage = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(st);
    if (rc != SQLITE_ROW)
        return engineMessage;
    if (verdict != QLatin1String("ok"))
        return verdict.remove(QStringLiteral("*** in database main ***\n"));
    // A model that cannot be read is the installation's fault, not this file's: its error is raised.
    const Tables tables = needed();
    if (tables.isEmpty())
        return {};
    try {
        return missingParts(tables, tablesOf(db));
    } catch (const VbError &e) {
        return e.description;
    }
}

std::function<Tables()> tablesOfModel(const QString &model)
{
    return [model] { return model.isEmpty() || !QFileInfo(model).isFile() ? Tables() : modelTables(model); };
}

// fdatasync of the file at path; 0 or the error number.
int syncData(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = ::fdatasync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

} // namespace

QString databaseDefect(const QString &path, const QString &model) { return defectOf(path, tablesOfModel(model)); }

QString copyCheckedDatabase(const QString &source, const QString &destination, const QString &model)
{
    FileSystemObject fso;
    const QString target = fso.CheckedCopyTarget(source, destination, true);
    const QString scratch = fso.FreshScratchBeside(target);
    try {
        Connection from;
        from.Open(connectionStringFor(source));
        if (!copyUnderReadLock(from, scratch))
            backup(from, scratch, from.ConnectionTimeout);
        from.Close();
    } catch (const VbError &e) {
        QFile::remove(scratch);
        // A source the engine cannot even read through is refused as the check would refuse it;
        // what is left is an error of the copy itself.
        if (e.number == err::DatabaseError)
            if (const QString defect = defectOf(source, tablesOfModel(model)); !defect.isEmpty())
                return defect;
        throw;
    }
    // Writing the copy to disk waits on the device and the check on the processor: side by
    // side they cost little more than the longer of the two.
    int syncError = 0;
    std::thread sync([&] { syncError = syncData(scratch); });
    QString defect;
    std::exception_ptr checkFailure;
    try {
        defect = defectOf(scratch, tablesOfModel(model), true);
    } catch (...) {
        checkFailure = std::current_exception();
    }
    sync.join();
    try {
        if (checkFailure)
            std::rethrow_exception(checkFailure);
        if (!defect.isEmpty()) {
            QFile::remove(scratch);
            return defect;
        }
        if (syncError != 0)
            raiseWriteError(syncError);
        fso.PutInPlace(scratch, target, kJournals, true);
    } catch (...) {
        QFile::remove(scratch);
        throw;
    }
    return {};
}

QString databaseDefect(const QString &path, const QMap<QString, QStringList> &needed)
{
    return defectOf(path, [&] {
        Tables tables;
        for (auto it = needed.cbegin(); it != needed.cend(); ++it)
            for (const QString &column : it.value())
                tables[it.key().toUpper()] << column.toUpper();
        return tables;
    });
}

void removeColdJournal(const QString &path)
{
    const QString journal = path + QStringLiteral("-journal");
    if (!QFileInfo::exists(journal) || !QFileInfo(path).isFile())
        return;
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    struct Closer {
        sqlite3 *&db;
        ~Closer() { sqlite3_close_v2(db); }
    } closer{db};
    // Without waiting: a database another program is using is left as it is.
    if (rc != SQLITE_OK || sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return;
    QFile::remove(journal);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
}

void replaceDatabase(const QString &finished, const QString &target)
{
    FileSystemObject().PutInPlace(finished, target, kJournals);
}

} // namespace vnt::db
