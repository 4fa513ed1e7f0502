// Creation and filling of the demo databases over the SQLite C API.
#include "DemoDatabase.h"

#include <QDate>
#include <QFile>
#include <sqlite3.h>

namespace vnt::demo {

namespace {

[[noreturn]] void fail(sqlite3 *db, const QString &what)
{
    throw DemoError(QStringLiteral("%1: %2").arg(what, QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory")).toStdString());
}

QString readSql(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw DemoError(QStringLiteral("cannot read %1").arg(path).toStdString());
    return QString::fromUtf8(f.readAll());
}

// Closes the connection however the work ends.
struct OpenFile {
    sqlite3 *db = nullptr;
    OpenFile(const QString &p, int flags)
    {
        if (sqlite3_open_v2(QFile::encodeName(p).constData(), &db, flags, nullptr) != SQLITE_OK)
            fail(db, QStringLiteral("cannot open %1").arg(p));
        sqlite3_busy_timeout(db, 30000);
    }
    ~OpenFile() { sqlite3_close(db); }
};

} // namespace

void DemoDatabase::exec(const QString &sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : "error");
        sqlite3_free(err);
        throw DemoError(msg.toStdString());
    }
}

void DemoDatabase::insert(const QString &table, const std::vector<Value> &row)
{
    QString sql = QStringLiteral("INSERT INTO [%1] VALUES (").arg(table);
    for (size_t i = 0; i < row.size(); ++i)
        sql += i ? QStringLiteral(",?") : QStringLiteral("?");
    sql += ')';
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        fail(db_, table);
    for (size_t i = 0; i < row.size(); ++i) {
        const int n = int(i) + 1;
        const Value &v = row[i];
        if (auto l = std::get_if<long long>(&v))
            sqlite3_bind_int64(st, n, *l);
        else if (auto d = std::get_if<double>(&v))
            sqlite3_bind_double(st, n, *d);
        else if (auto s = std::get_if<QString>(&v))
            sqlite3_bind_text(st, n, s->toUtf8().constData(), -1, SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(st, n);
    }
    const int rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        fail(db_, table);
}

long long DemoDatabase::count(const QString &sql)
{
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        fail(db_, sql);
    long long n = 0;
    if (sqlite3_step(st) == SQLITE_ROW)
        n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return n;
}

void DemoDatabase::create(const QString &path, const QStringList &sqlFiles,
                          const std::function<void(DemoDatabase &)> &fill)
{
    const QString tmp = path + QStringLiteral(".tmp");
    QFile::remove(tmp);
    {
        OpenFile f(tmp, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        DemoDatabase d(f.db);
        try {
            for (const QString &sql : sqlFiles)
                d.exec(readSql(sql));
            d.exec(QStringLiteral("BEGIN"));
            if (fill)
                fill(d);
            d.exec(QStringLiteral("COMMIT"));
        } catch (...) {
            sqlite3_close(f.db);
            f.db = nullptr;
            QFile::remove(tmp);
            throw;
        }
    }
    QFile::remove(path);
    if (!QFile::rename(tmp, path)) {
        QFile::remove(tmp);
        throw DemoError(QStringLiteral("cannot write %1").arg(path).toStdString());
    }
}

void DemoDatabase::update(const QString &path, const std::function<void(DemoDatabase &)> &work)
{
    OpenFile f(path, SQLITE_OPEN_READWRITE);
    DemoDatabase d(f.db);
    d.exec(QStringLiteral("BEGIN"));
    try {
        work(d);
        d.exec(QStringLiteral("COMMIT"));
    } catch (...) {
        sqlite3_exec(f.db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

double dayCount(int year, int month, int day)
{
    return double(QDate(1899, 12, 30).daysTo(QDate(year, month, day)));
}

} // namespace vnt::demo
