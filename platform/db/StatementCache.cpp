#include "StatementCache.h"

namespace vnt::db {

namespace {

// Kept statements are told so, which lets the engine place them for a long life.
int prepareKept(sqlite3 *db, const QString &sql, sqlite3_stmt **out)
{
    const QByteArray utf8 = sql.toUtf8();
    return sqlite3_prepare_v3(db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, out, nullptr);
}

// Prepares a recordset's query: with the rowid read too where the query's rows can be written.
void prepareQuery(sqlite3 *db, const QString &sql, Prepared &p, bool forwardOnly)
{
    const QueryShape shape = analyse(sql);
    if (shape.oneTable && forwardOnly) {
        prepare(db, sql, &p.stmt);
        p.tableKnown = true;
        p.table = shape.table;
        return;
    }
    if (shape.oneTable) {
        static const QString extra = QStringLiteral(",rowid ");
        const QString withRowid = sql.left(shape.fromPos) + extra + sql.mid(shape.fromPos);
        // A view has no rowid: such a query is still read, only not written.
        if (prepareKept(db, withRowid, &p.stmt) == SQLITE_OK) {
            p.rowidRead = true;
            p.tableKnown = true;
            p.table = shape.table;
            p.rereadSql = withRowid.left(shape.tableEnd + extra.size()) + QStringLiteral(" WHERE rowid=?");
            return;
        }
        sqlite3_finalize(p.stmt);
        p.stmt = nullptr;
    }
    prepare(db, sql, &p.stmt);
}

} // namespace

void prepare(sqlite3 *db, const QString &sql, sqlite3_stmt **out)
{
    const int rc = prepareKept(db, sql, out);
    if (rc != SQLITE_OK)
        raiseEngine(db, rc);
}

Lease lendQuery(Connection &cnn, const QString &sql, bool forwardOnly)
{
    return cnn.statements().lend(
        true, sql, [&](Prepared &p) { prepareQuery(cnn.handle(), sql, p, forwardOnly); }, forwardOnly);
}

Lease Connection::Statements::lend(bool query, const QString &text, const std::function<void(Prepared &)> &make,
                                   bool forward)
{
    const Key key{query, text, forward};
    if (std::shared_ptr<Prepared> *p = recentOf(key); p && !(*p)->busy) {
        (*p)->busy = true;
        (*p)->lastUse = ++clock;
        return Lease(*p);
    }
    if (last && !last->busy && lastKey == key) {
        last->busy = true;
        last->lastUse = ++clock;
        noteRecent(key, last);
        return Lease(last);
    }
    auto it = byText.find(key);
    if (it != byText.end()) {
        lastKey = it.key();   // the kept copy: the caller's characters may not stay as they are
        last = *it;
        noteRecent(key, *it);
    }
    if (it != byText.end() && !(*it)->busy) {
        (*it)->busy = true;
        (*it)->lastUse = ++clock;
        return Lease(*it);
    }
    auto p = std::make_shared<Prepared>();
    make(*p);
    p->busy = true;
    p->lastUse = ++clock;
    if (it == byText.end()) {
        if (byText.size() >= kCapacity)
            dropOldest();
        // A text over characters it does not own is kept as a copy of what it says now.
        lastKey = ownsCharacters(text) ? key : Key{query, QString(text.constData(), text.size()), forward};
        byText.insert(lastKey, p);
        last = p;
        noteRecent(key, p);
    }
    return Lease(p);
}

void Connection::Statements::dropOldest()
{
    auto oldest = byText.end();
    for (auto it = byText.begin(); it != byText.end(); ++it)
        if (!(*it)->busy && (oldest == byText.end() || (*it)->lastUse < (*oldest)->lastUse))
            oldest = it;
    if (oldest != byText.end()) {
        if (*oldest == last)
            last.reset();
        forgetRecent(*oldest);
        byText.erase(oldest);
    }
}

// A statement still lent out is finalized when its user gives it back.
void Connection::Statements::clear()
{
    last.reset();
    lastKey = Key();
    recent.fill(Recent());
    byText.clear();
}

int Connection::preparedStatementCount() const
{
    return int(statements_->byText.size());
}

Connection::Statements &Connection::statements()
{
    return *statements_;
}

} // namespace vnt::db
