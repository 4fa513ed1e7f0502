// The connection: opening a file, its transactions and savepoints, statements run without
// rows, and the unit of work that rolls back when it is not committed.
#include "Database.h"
#include "DatabaseInternal.h"
#include "StatementCache.h"
#include "../errors.h"

#include <QFileInfo>
#include <sqlite3.h>

#include <cstring>

namespace vnt::db {

int numberFor(int rc, const QString &message)
{
    if (message.startsWith(QLatin1String("no such table"), Qt::CaseInsensitive))
        return err::NoSuchTable;
    if (message.startsWith(QLatin1String("no such column"), Qt::CaseInsensitive))
        return err::NoSuchColumn;
    if ((rc & 0xff) == SQLITE_CONSTRAINT)
        return err::IntegrityViolation;
    if (message.contains(QLatin1String("syntax error")) || message.contains(QLatin1String("incomplete input")))
        return err::SyntaxError;
    return err::DatabaseError;
}

[[noreturn]] void raiseEngine(sqlite3 *db, int rc)
{
    const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    raise(numberFor(rc, msg), msg);
}

namespace {

QString dataSource(const QString &connectionString)
{
    for (const QString &part : connectionString.split(QLatin1Char(';'))) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq < 0 || part.left(eq).trimmed().compare(QLatin1String("Data Source"), Qt::CaseInsensitive) != 0)
            continue;
        QString path = part.mid(eq + 1).trimmed();
        if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
            path = path.mid(1, path.size() - 2);
        return path;
    }
    return {};
}

} // namespace

// --- Connection ---------------------------------------------------------------------------

Connection::Connection() : statements_(std::make_unique<Statements>()) {}

Connection::~Connection()
{
    Close();
}

void Connection::Open(const QString &connectionString)
{
    if (db_)
        raise(err::NotAllowedWhenOpen);
    if (!connectionString.isEmpty())
        ConnectionString = connectionString;
    const QString file = dataSource(ConnectionString);
    if (file.isEmpty())
        raise(err::DatabaseError, QStringLiteral("The connection string names no database file (Data Source)."));
    // Opening must never leave an empty database behind where the user expected their data.
    if (!QFileInfo(file).isFile())
        raise(err::DatabaseError, QStringLiteral("Could not find file '%1'.").arg(file));

    sqlite3 *db = nullptr;
    // A connection is used by the thread that opened it only: the engine need not lock it
    // around every call.
    int rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, ConnectionTimeout > 0 ? ConnectionTimeout * 1000 : 0);
        // SQLite reads the file lazily; a file that is no database should fail here, not later.
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        raise(err::DatabaseError, QStringLiteral("%1: '%2'").arg(msg, file));
    }
    db_ = db;
    path_ = file;
    transDepth_ = 0;
}

void Connection::Close()
{
    // The kept statements go first: a statement left over would keep the file open after Close.
    statements_->clear();
    if (db_)
        sqlite3_close_v2(db_);  // an open transaction is rolled back
    db_ = nullptr;
    transDepth_ = 0;
}

bool Connection::isOpen() const
{
    return db_ != nullptr;
}

QString Connection::path() const
{
    return path_;
}

// Nested transactions become savepoints, so that an inner rollback undoes only its own part
// and only the outermost commit makes the work durable.
void Connection::BeginTrans()
{
    Execute(transDepth_ == 0 ? QStringLiteral("BEGIN") : QStringLiteral("SAVEPOINT vnt_%1").arg(transDepth_));
    ++transDepth_;
}

void Connection::CommitTrans()
{
    if (transDepth_ == 0)
        raise(err::DatabaseError, QStringLiteral("No transaction is active."));
    Execute(transDepth_ == 1 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE vnt_%1").arg(transDepth_ - 1));
    --transDepth_;
}

void Connection::RollbackTrans()
{
    if (transDepth_ == 0)
        raise(err::DatabaseError, QStringLiteral("No transaction is active."));
    if (transDepth_ == 1) {
        Execute(QStringLiteral("ROLLBACK"));
    } else {
        const QString sp = QStringLiteral("vnt_%1").arg(transDepth_ - 1);
        Execute(QStringLiteral("ROLLBACK TO %1; RELEASE %1").arg(sp));
    }
    --transDepth_;
}

bool Connection::inTransaction() const
{
    return transDepth_ > 0;
}

// The rows a unit wrote, by table and rowid, as the engine reports them; `other` when it also
// added or deleted rows, which a unit that changed nothing cannot have done.
struct TransactionScope::Written {
    std::vector<std::pair<QByteArray, sqlite3_int64>> rows;
    bool other = false;

    static void hook(void *self, int op, const char *, const char *table, sqlite3_int64 rowid)
    {
        auto *w = static_cast<Written *>(self);
        if (op != SQLITE_UPDATE || w->rows.size() >= 256) {
            w->other = true;   // many rows: comparing them would cost more than the sync
            return;
        }
        const QByteArray name(table);
        for (const auto &r : w->rows)
            if (r.second == rowid && r.first == name)
                return;
        w->rows.emplace_back(name, rowid);
    }
};

TransactionScope::TransactionScope(Connection &cnn, Unchanged unchanged) : cnn_(cnn)
{
    const bool outermost = !cnn_.inTransaction();
    cnn_.BeginTrans();
    active_ = true;
    if (unchanged == Unchanged::Discard && outermost) {
        written_ = std::make_unique<Written>();
        sqlite3_update_hook(cnn_.handle(), &Written::hook, written_.get());
    }
}

TransactionScope::~TransactionScope()
{
    stopWatching();
    if (!active_)
        return;
    try {
        cnn_.RollbackTrans();
    } catch (const VbError &) {
    }
}

void TransactionScope::stopWatching()
{
    if (written_ && cnn_.handle())
        sqlite3_update_hook(cnn_.handle(), nullptr, nullptr);
}

namespace {

bool sameValue(sqlite3_stmt *a, sqlite3_stmt *b, int i)
{
    const int type = sqlite3_column_type(a, i);
    if (type != sqlite3_column_type(b, i))
        return false;
    switch (type) {
    case SQLITE_NULL: return true;
    case SQLITE_INTEGER: return sqlite3_column_int64(a, i) == sqlite3_column_int64(b, i);
    case SQLITE_FLOAT: {
        const double x = sqlite3_column_double(a, i), y = sqlite3_column_double(b, i);
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    default: {
        const int n = sqlite3_column_bytes(a, i);
        return n == sqlite3_column_bytes(b, i) && std::memcmp(sqlite3_column_blob(a, i), sqlite3_column_blob(b, i), size_t(n)) == 0;
    }
    }
}

// One row as this connection sees it and as the file holds it, compared value by value.
bool sameRow(sqlite3 *mine, sqlite3 *committed, const QByteArray &table, sqlite3_int64 rowid)
{
    QByteArray quoted = table;
    quoted.replace('"', "\"\"");
    const QByteArray sql = "SELECT * FROM \"" + quoted + "\" WHERE rowid=?";
    sqlite3_stmt *a = nullptr, *b = nullptr;
    bool same = sqlite3_prepare_v2(mine, sql.constData(), -1, &a, nullptr) == SQLITE_OK
             && sqlite3_prepare_v2(committed, sql.constData(), -1, &b, nullptr) == SQLITE_OK;
    if (same) {
        sqlite3_bind_int64(a, 1, rowid);
        sqlite3_bind_int64(b, 1, rowid);
        same = sqlite3_step(a) == SQLITE_ROW && sqlite3_step(b) == SQLITE_ROW
            && sqlite3_column_count(a) == sqlite3_column_count(b);
        for (int i = 0; same && i < sqlite3_column_count(a); ++i)
            same = sameValue(a, b, i);
    }
    sqlite3_finalize(a);
    sqlite3_finalize(b);
    return same;
}

} // namespace

// The file holds the committed rows until the commit (the engine writes it only then, or when
// its cache overflows, which locks out the reader below and so counts as a change).
bool TransactionScope::writesChangedNothing() const
{
    if (!written_ || written_->other || written_->rows.empty() || !cnn_.handle())
        return false;
    sqlite3 *committed = nullptr;
    const QByteArray file = QFile::encodeName(cnn_.path());
    bool same = sqlite3_open_v2(file.constData(), &committed, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK;
    for (size_t k = 0; same && k < written_->rows.size(); ++k)
        same = sameRow(cnn_.handle(), committed, written_->rows[k].first, written_->rows[k].second);
    sqlite3_close_v2(committed);
    return same;
}

void TransactionScope::commit()
{
    if (!active_)
        raise(err::DatabaseError, QStringLiteral("No transaction is active."));
    stopWatching();
    if (writesChangedNothing()) {
        cnn_.RollbackTrans();
        active_ = false;
        return;
    }
    cnn_.CommitTrans();
    active_ = false;
}

void TransactionScope::rollback()
{
    if (!active_)
        return;
    stopWatching();
    active_ = false;
    cnn_.RollbackTrans();
}

void Connection::Execute(const QString &sql)
{
    if (!db_)
        raise(err::NotAllowedWhenClosed);
    char *errmsg = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &errmsg);
    if (rc != SQLITE_OK) {
        const QString msg = errmsg ? QString::fromUtf8(errmsg) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(errmsg);
        raise(numberFor(rc, msg), msg);
    }
}

QString connectionStringFor(const QString &path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") + path + QStringLiteral(";Persist Security Info=False");
}

ConnectionPtr openDatabase(const QString &path)
{
    auto c = std::make_shared<Connection>();
    c->ConnectionString = connectionStringFor(path);
    c->Open();
    return c;
}

} // namespace vnt::db
