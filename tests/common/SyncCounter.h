// Counts the disk syncs the database engine asks for: a file layer wrapped around the default
// one, made the default for every connection opened after install(). A commit that changed
// pages syncs the database file once (and its journal before that); a commit that changed
// nothing syncs nothing.
#pragma once

#include <sqlite3.h>

#include <atomic>
#include <cstring>

namespace vnt::test {

struct SyncCounts {
    long database = 0;   // syncs of a main database file: one per commit that changed pages
    long all = 0;        // every sync, journals included
};

namespace detail {

inline std::atomic<long> &databaseSyncs()
{
    static std::atomic<long> n{0};
    return n;
}

inline std::atomic<long> &allSyncs()
{
    static std::atomic<long> n{0};
    return n;
}

struct CountingFile {
    sqlite3_file base;
    sqlite3_file *real;
    bool mainDb;
};

inline sqlite3_vfs *&realVfs()
{
    static sqlite3_vfs *v = nullptr;
    return v;
}

inline sqlite3_file *real(sqlite3_file *f) { return reinterpret_cast<CountingFile *>(f)->real; }

inline int cClose(sqlite3_file *f) { return real(f)->pMethods ? real(f)->pMethods->xClose(real(f)) : SQLITE_OK; }
inline int cRead(sqlite3_file *f, void *b, int n, sqlite3_int64 o) { return real(f)->pMethods->xRead(real(f), b, n, o); }
inline int cWrite(sqlite3_file *f, const void *b, int n, sqlite3_int64 o) { return real(f)->pMethods->xWrite(real(f), b, n, o); }
inline int cTruncate(sqlite3_file *f, sqlite3_int64 s) { return real(f)->pMethods->xTruncate(real(f), s); }
inline int cSync(sqlite3_file *f, int flags)
{
    ++allSyncs();
    if (reinterpret_cast<CountingFile *>(f)->mainDb)
        ++databaseSyncs();
    return real(f)->pMethods->xSync(real(f), flags);
}
inline int cFileSize(sqlite3_file *f, sqlite3_int64 *s) { return real(f)->pMethods->xFileSize(real(f), s); }
inline int cLock(sqlite3_file *f, int l) { return real(f)->pMethods->xLock(real(f), l); }
inline int cUnlock(sqlite3_file *f, int l) { return real(f)->pMethods->xUnlock(real(f), l); }
inline int cCheckReserved(sqlite3_file *f, int *r) { return real(f)->pMethods->xCheckReservedLock(real(f), r); }
inline int cFileControl(sqlite3_file *f, int op, void *a) { return real(f)->pMethods->xFileControl(real(f), op, a); }
inline int cSectorSize(sqlite3_file *f) { return real(f)->pMethods->xSectorSize(real(f)); }
inline int cDevice(sqlite3_file *f) { return real(f)->pMethods->xDeviceCharacteristics(real(f)); }
inline int cShmMap(sqlite3_file *f, int p, int s, int e, void volatile **m) { return real(f)->pMethods->xShmMap(real(f), p, s, e, m); }
inline int cShmLock(sqlite3_file *f, int o, int n, int fl) { return real(f)->pMethods->xShmLock(real(f), o, n, fl); }
inline void cShmBarrier(sqlite3_file *f) { real(f)->pMethods->xShmBarrier(real(f)); }
inline int cShmUnmap(sqlite3_file *f, int d) { return real(f)->pMethods->xShmUnmap(real(f), d); }
inline int cFetch(sqlite3_file *f, sqlite3_int64 o, int n, void **p) { return real(f)->pMethods->xFetch(real(f), o, n, p); }
inline int cUnfetch(sqlite3_file *f, sqlite3_int64 o, void *p) { return real(f)->pMethods->xUnfetch(real(f), o, p); }

inline const sqlite3_io_methods *countingMethods(int version)
{
    static const sqlite3_io_methods v1 = {1, cClose, cRead, cWrite, cTruncate, cSync, cFileSize, cLock, cUnlock,
                                          cCheckReserved, cFileControl, cSectorSize, cDevice,
                                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    static const sqlite3_io_methods v2 = {2, cClose, cRead, cWrite, cTruncate, cSync, cFileSize, cLock, cUnlock,
                                          cCheckReserved, cFileControl, cSectorSize, cDevice,
                                          cShmMap, cShmLock, cShmBarrier, cShmUnmap, nullptr, nullptr};
    static const sqlite3_io_methods v3 = {3, cClose, cRead, cWrite, cTruncate, cSync, cFileSize, cLock, cUnlock,
                                          cCheckReserved, cFileControl, cSectorSize, cDevice,
                                          cShmMap, cShmLock, cShmBarrier, cShmUnmap, cFetch, cUnfetch};
    return version >= 3 ? &v3 : version == 2 ? &v2 : &v1;
}

inline int cOpen(sqlite3_vfs *vfs, const char *name, sqlite3_file *f, int flags, int *outFlags)
{
    auto *file = reinterpret_cast<CountingFile *>(f);
    file->real = reinterpret_cast<sqlite3_file *>(file + 1);
    file->mainDb = (flags & SQLITE_OPEN_MAIN_DB) != 0;
    std::memset(file->real, 0, size_t(realVfs()->szOsFile));
    const int rc = realVfs()->xOpen(realVfs(), name, file->real, flags, outFlags);
    f->pMethods = file->real->pMethods ? countingMethods(file->real->pMethods->iVersion) : nullptr;
    (void)vfs;
    return rc;
}

} // namespace detail

// Installs the counting layer as the default once; connections opened earlier keep theirs.
inline void installSyncCounter()
{
    using namespace detail;
    static sqlite3_vfs vfs = [] {
        sqlite3_initialize();
        realVfs() = sqlite3_vfs_find(nullptr);
        sqlite3_vfs v = *realVfs();
        v.zName = "vnt-sync-counter";
        v.szOsFile = int(sizeof(CountingFile)) + realVfs()->szOsFile;
        v.xOpen = cOpen;
        v.pNext = nullptr;
        return v;
    }();
    if (sqlite3_vfs_find(nullptr) != &vfs)
        sqlite3_vfs_register(&vfs, 1);
}

inline SyncCounts syncCounts()
{
    return {detail::databaseSyncs().load(), detail::allSyncs().load()};
}

// The syncs between construction and the call.
class SyncMeter {
public:
    SyncMeter() : start_(syncCounts()) { installSyncCounter(); }
    SyncCounts counted() const
    {
        const SyncCounts now = syncCounts();
        return {now.database - start_.database, now.all - start_.all};
    }

private:
    SyncCounts start_;
};

} // namespace vnt::test
