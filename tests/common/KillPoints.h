// What a kill at each commit would leave on disk: a file layer wrapped around the default one
// that, whenever a rollback journal is synced (the instant a commit starts to change its
// database), keeps the bytes the database file holds at that moment. A run killed there leaves
// a hot journal that the next open rolls back, so the file as kept is what the next start sees;
// a run killed after the last commit leaves the file as it ends. Together these are every state
// a kill while the watched work runs can leave behind, read through the engine's own handles so
// that no lock of the process is lost.
#pragma once

#include <sqlite3.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstring>
#include <iterator>

namespace vnt::test {

namespace killpoints {

struct File {
    sqlite3_file base;
    sqlite3_file *real;
    const char *name;   // the engine keeps it unchanged until the file is closed
    bool mainDb;
    bool journal;
};

inline sqlite3_vfs *&realVfs()
{
    static sqlite3_vfs *v = nullptr;
    return v;
}

// The open main database files by name, to be read when their journal is synced; every
// connection to a file opens it anew.
inline QMultiMap<QString, File *> &openDatabases()
{
    static QMultiMap<QString, File *> m;
    return m;
}

inline QString canonical(const QString &path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? path : c;
}

struct Watch {
    QString database;           // the file watched; empty: none
    QList<QByteArray> states;   // the file's bytes at each journal sync
};

inline Watch &watch()
{
    static Watch w;
    return w;
}

inline sqlite3_file *real(sqlite3_file *f) { return reinterpret_cast<File *>(f)->real; }

inline QByteArray contents(File *db)
{
    sqlite3_int64 size = 0;
    if (real(&db->base)->pMethods->xFileSize(real(&db->base), &size) != SQLITE_OK)
        return {};
    QByteArray bytes(qsizetype(size), '\0');
    if (size > 0 && real(&db->base)->pMethods->xRead(real(&db->base), bytes.data(), int(size), 0) != SQLITE_OK)
        return {};
    return bytes;
}

inline int kClose(sqlite3_file *f)
{
    auto *file = reinterpret_cast<File *>(f);
    if (file->mainDb)
        for (auto it = openDatabases().begin(); it != openDatabases().end();)
            it = it.value() == file ? openDatabases().erase(it) : std::next(it);
    return real(f)->pMethods ? real(f)->pMethods->xClose(real(f)) : SQLITE_OK;
}
inline int kRead(sqlite3_file *f, void *b, int n, sqlite3_int64 o) { return real(f)->pMethods->xRead(real(f), b, n, o); }
inline int kWrite(sqlite3_file *f, const void *b, int n, sqlite3_int64 o) { return real(f)->pMethods->xWrite(real(f), b, n, o); }
inline int kTruncate(sqlite3_file *f, sqlite3_int64 s) { return real(f)->pMethods->xTruncate(real(f), s); }
inline int kSync(sqlite3_file *f, int flags)
{
    auto *file = reinterpret_cast<File *>(f);
    const int rc = real(f)->pMethods->xSync(real(f), flags);
    Watch &w = watch();
    if (file->journal && !w.database.isEmpty()) {
        QString journal = QString::fromUtf8(file->name);
        journal.chop(int(std::strlen("-journal")));
        if (canonical(journal) == w.database)
            if (File *db = openDatabases().value(w.database))
                w.states << contents(db);
    }
    return rc;
}
inline int kFileSize(sqlite3_file *f, sqlite3_int64 *s) { return real(f)->pMethods->xFileSize(real(f), s); }
inline int kLock(sqlite3_file *f, int l) { return real(f)->pMethods->xLock(real(f), l); }
inline int kUnlock(sqlite3_file *f, int l) { return real(f)->pMethods->xUnlock(real(f), l); }
inline int kCheckReserved(sqlite3_file *f, int *r) { return real(f)->pMethods->xCheckReservedLock(real(f), r); }
inline int kFileControl(sqlite3_file *f, int op, void *a) { return real(f)->pMethods->xFileControl(real(f), op, a); }
inline int kSectorSize(sqlite3_file *f) { return real(f)->pMethods->xSectorSize(real(f)); }
inline int kDevice(sqlite3_file *f) { return real(f)->pMethods->xDeviceCharacteristics(real(f)); }
inline int kShmMap(sqlite3_file *f, int p, int s, int e, void volatile **m) { return real(f)->pMethods->xShmMap(real(f), p, s, e, m); }
inline int kShmLock(sqlite3_file *f, int o, int n, int fl) { return real(f)->pMethods->xShmLock(real(f), o, n, fl); }
inline void kShmBarrier(sqlite3_file *f) { real(f)->pMethods->xShmBarrier(real(f)); }
inline int kShmUnmap(sqlite3_file *f, int d) { return real(f)->pMethods->xShmUnmap(real(f), d); }

// Memory-mapped reads are left out: every page then goes through xRead, which the layer sees.
inline const sqlite3_io_methods *methods(int version)
{
    static const sqlite3_io_methods v1 = {1, kClose, kRead, kWrite, kTruncate, kSync, kFileSize, kLock, kUnlock,
                                          kCheckReserved, kFileControl, kSectorSize, kDevice,
                                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    static const sqlite3_io_methods v2 = {2, kClose, kRead, kWrite, kTruncate, kSync, kFileSize, kLock, kUnlock,
                                          kCheckReserved, kFileControl, kSectorSize, kDevice,
                                          kShmMap, kShmLock, kShmBarrier, kShmUnmap, nullptr, nullptr};
    return version >= 2 ? &v2 : &v1;
}

inline int kOpen(sqlite3_vfs *, const char *name, sqlite3_file *f, int flags, int *outFlags)
{
    auto *file = reinterpret_cast<File *>(f);
    file->real = reinterpret_cast<sqlite3_file *>(file + 1);
    file->name = name ? name : "";
    file->mainDb = (flags & SQLITE_OPEN_MAIN_DB) != 0;
    file->journal = (flags & SQLITE_OPEN_MAIN_JOURNAL) != 0;
    std::memset(file->real, 0, size_t(realVfs()->szOsFile));
    const int rc = realVfs()->xOpen(realVfs(), name, file->real, flags, outFlags);
    f->pMethods = file->real->pMethods ? methods(file->real->pMethods->iVersion) : nullptr;
    if (rc == SQLITE_OK && file->mainDb)
        openDatabases().insert(canonical(QString::fromUtf8(file->name)), file);
    return rc;
}

inline void install()
{
    static sqlite3_vfs vfs = [] {
        sqlite3_initialize();
        realVfs() = sqlite3_vfs_find(nullptr);
        sqlite3_vfs v = *realVfs();
        v.zName = "vnt-kill-points";
        v.szOsFile = int(sizeof(File)) + realVfs()->szOsFile;
        v.xOpen = kOpen;
        v.pNext = nullptr;
        return v;
    }();
    if (sqlite3_vfs_find(nullptr) != &vfs)
        sqlite3_vfs_register(&vfs, 1);
}

} // namespace killpoints

// Keeps, from construction until states() is called, what a kill at each commit into the
// database at path would leave. Only connections opened after the layer was installed are seen:
// install() it before the database is opened, or open it again after construction.
class KillPoints {
public:
    explicit KillPoints(const QString &path)
    {
        killpoints::install();
        killpoints::watch() = {killpoints::canonical(path), {}};
    }
    ~KillPoints() { killpoints::watch() = {}; }
    static void install() { killpoints::install(); }
    QString database() const { return killpoints::watch().database; }
    KillPoints(const KillPoints &) = delete;
    KillPoints &operator=(const KillPoints &) = delete;

    // The file's bytes at each kill point, then as it is now.
    QList<QByteArray> states() const
    {
        QList<QByteArray> out = killpoints::watch().states;
        QFile f(killpoints::watch().database);
        if (f.open(QIODevice::ReadOnly))
            out << f.readAll();
        return out;
    }

    // What the query's first value reads in each state, each different answer once, in order.
    QStringList seen(const QString &query) const
    {
        QStringList out;
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("state.db"));
        for (const QByteArray &state : states()) {
            QFile f(file);
            if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(state) != state.size())
                return {QStringLiteral("<unwritable>")};
            f.close();
            QString value = QStringLiteral("<none>");
            sqlite3 *db = nullptr;
            if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
                sqlite3_stmt *st = nullptr;
                if (sqlite3_prepare_v2(db, query.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
                    value = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
                sqlite3_finalize(st);
            }
            sqlite3_close(db);
            if (!out.contains(value))
                out << value;
        }
        return out;
    }
};

} // namespace vnt::test
