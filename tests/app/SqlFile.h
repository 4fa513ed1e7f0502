// A minimal SQLite reader for the tests of this folder, independent of the program's own
// data layer: the schema and the demo data are checked as stored.
#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <ostream>
#include <sqlite3.h>
#include <vector>

// Readable texts in the tests' failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os) { *os << '[' << l.join(QStringLiteral(", ")).toStdString() << ']'; }

namespace vnt::test {

class SqlFile {
public:
    explicit SqlFile(const QString &path, bool create = false)
    {
        const int flags = create ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE : SQLITE_OPEN_READWRITE;
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags, nullptr) != SQLITE_OK) {
            error_ = QString::fromUtf8(sqlite3_errmsg(db_));
            sqlite3_close(db_);
            db_ = nullptr;
        }
    }
    ~SqlFile() { sqlite3_close(db_); }
    SqlFile(const SqlFile &) = delete;
    SqlFile &operator=(const SqlFile &) = delete;

    bool ok() const { return db_ != nullptr; }
    QString error() const { return error_; }

    bool exec(const QString &sql)
    {
        char *err = nullptr;
        const bool done = db_ && sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err) == SQLITE_OK;
        error_ = done ? QString() : QString::fromUtf8(err ? err : "no database");
        sqlite3_free(err);
        return done;
    }

    // Every row as texts; a database Null reads as "<null>".
    std::vector<QStringList> rows(const QString &sql)
    {
        std::vector<QStringList> out;
        sqlite3_stmt *st = nullptr;
        if (!db_ || sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
            error_ = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("no database");
            return out;
        }
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList row;
            for (int i = 0; i < sqlite3_column_count(st); ++i)
                row << (sqlite3_column_type(st, i) == SQLITE_NULL
                            ? QStringLiteral("<null>")
                            : QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i))));
            out.push_back(row);
        }
        sqlite3_finalize(st);
        return out;
    }

    QString one(const QString &sql)
    {
        const auto r = rows(sql);
        return r.empty() || r.front().isEmpty() ? QStringLiteral("<none>") : r.front().front();
    }

    QStringList tables()
    {
        QStringList t;
        for (const auto &r : rows(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name")))
            t << r.front();
        return t;
    }

    // (name, declared type, default) of each column, in table order.
    std::vector<QStringList> columns(const QString &table)
    {
        std::vector<QStringList> out;
        for (const auto &r : rows(QStringLiteral("PRAGMA table_info([%1])").arg(table)))
            out.push_back({r[1], r[2], r[4]});
        return out;
    }

private:
    sqlite3 *db_ = nullptr;
    QString error_;
};

inline QString readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

inline QString schemaFile(const QString &name)
{
    return QString::fromLocal8Bit(qgetenv("VANTREL_SCHEMA_DIR")) + QLatin1Char('/') + name;
}

inline QString buildPath(const QString &rel)
{
    return QString::fromLocal8Bit(qgetenv("VANTREL_BUILD_DIR")) + QLatin1Char('/') + rel;
}

} // namespace vnt::test
