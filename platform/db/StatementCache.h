// The prepared statements a connection keeps for reuse, and how they are lent out.
#pragma once

#include "Database.h"
#include "DatabaseInternal.h"
#include "SqlText.h"

#include <QHash>
#include <sqlite3.h>

#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace vnt::db {

struct QueryColumn {
    QString name;       // as the query names it
    QString origin;     // the table's column; empty for an expression
    VarType type = VarType::Empty;
};

// One prepared statement and what Open learned of its query text.
struct Prepared {
    sqlite3_stmt *stmt = nullptr;
    bool busy = false;          // lent out; a second user of the same text gets a statement of its own
    quint64 lastUse = 0;
    // For a recordset's query: whether it reads the rowid too (its rows can then be written),
    // its table, and the query that reads one of its rows again.
    bool rowidRead = false;
    bool tableKnown = false;    // one table's query, its columns named by their origins
    QString table;
    QString rereadSql;
    // Its columns, as the statement was prepared when they were read: the engine prepares a
    // kept statement again when a table changed, and its columns may then differ.
    std::shared_ptr<const std::vector<QueryColumn>> columns;   // shared with the recordsets
    bool anyWritable = false;
    int columnsOfVersion = -1;

    Prepared() = default;
    Prepared(const Prepared &) = delete;
    Prepared &operator=(const Prepared &) = delete;
    ~Prepared() { sqlite3_finalize(stmt); }
};

// A statement for one use: it goes back reset and with its values cleared on every way out,
// so that no read stays open on the file and no value stays bound for the next user.
class Lease {
public:
    explicit Lease(std::shared_ptr<Prepared> p) : s(p->stmt), p_(std::move(p)) {}
    Lease(Lease &&) noexcept = default;
    Lease &operator=(Lease &&) = delete;
    ~Lease()
    {
        if (!p_)
            return;
        sqlite3_reset(s);
        sqlite3_clear_bindings(s);
        p_->busy = false;
    }
    Prepared &plan() const { return *p_; }

    sqlite3_stmt *const s;

private:
    std::shared_ptr<Prepared> p_;
};

struct Connection::Statements {
    // Enough for every query text a window or an evaluation runs over and over; beyond it the
    // one used longest ago goes.
    static constexpr int kCapacity = 200;

    // A recordset's query and a statement of the layer's own (a write by rowid) may have the
    // same text and are still kept apart; so are a query walked forward only, which reads no
    // rowid, and the same query read whole.
    struct Key {
        bool query = false;
        QString text;
        bool forward = false;
        bool operator==(const Key &o) const
        {
            return query == o.query && forward == o.forward && text.size() == o.text.size()
                && std::memcmp(text.constData(), o.text.constData(), size_t(text.size()) * sizeof(QChar)) == 0;
        }
        friend size_t qHash(const Key &k, size_t seed = 0)
        {
            return qHash(k.text, seed) ^ size_t(k.query) ^ (size_t(k.forward) << 1);
        }
    };

    QHash<Key, std::shared_ptr<Prepared>> byText;
    quint64 clock = 0;

    // The statements lent lately, by the very text they were asked for: a caller that keeps its
    // query texts (the accessor keeps one per shape of call) hands in the same characters again,
    // and that is known without reading them.
    struct Recent {
        bool query = false;
        bool forward = false;
        QString text;
        std::shared_ptr<Prepared> p;
    };
    std::array<Recent, 16> recent;
    size_t recentNext = 0;

    // A text over characters it does not own (fromRawData) could change under the same
    // address: only texts that own theirs are known by it.
    static bool ownsCharacters(const QString &text) { return text.data_ptr().isMutable(); }

    std::shared_ptr<Prepared> *recentOf(const Key &key)
    {
        if (!ownsCharacters(key.text))
            return nullptr;
        for (Recent &r : recent)
            if (r.p && r.text.constData() == key.text.constData() && r.text.size() == key.text.size()
                && r.query == key.query && r.forward == key.forward)
                return &r.p;
        return nullptr;
    }
    void noteRecent(const Key &key, const std::shared_ptr<Prepared> &p)
    {
        if (!ownsCharacters(key.text) || recentOf(key))
            return;
        Recent &r = recent[recentNext];
        recentNext = (recentNext + 1) % recent.size();
        r = Recent{key.query, key.forward, key.text, p};
    }
    void forgetRecent(const std::shared_ptr<Prepared> &p)
    {
        for (Recent &r : recent)
            if (r.p == p)
                r = Recent();
    }

    // The kept statement of that text, prepared by `make` the first time (when `make` throws,
    // nothing is kept). A text whose statement is lent out already gets one of its own.
    // The last statement lent: loops run one text over and over with other values.
    Key lastKey;
    std::shared_ptr<Prepared> last;

    Lease lend(bool query, const QString &text, const std::function<void(Prepared &)> &make, bool forward = false);
    void dropOldest();
    void clear();
};

// Prepares a statement the connection keeps; raises the engine's error.
void prepare(sqlite3 *db, const QString &sql, sqlite3_stmt **out);
// A recordset's query, from the connection's kept statements. One walked forward only is never
// written through, and so reads no rowid.
Lease lendQuery(Connection &cnn, const QString &sql, bool forwardOnly = false);

// A statement stepped only during Open may bind the text where it stands; one that stays open
// for a forward walk keeps its own copy.
inline void bindLiteral(sqlite3 *db, sqlite3_stmt *s, int pos, const Literal &v, bool copy)
{
    int rc = SQLITE_OK;
    switch (v.kind) {
    case Literal::Integer: rc = sqlite3_bind_int64(s, pos, v.integer); break;
    case Literal::Real: rc = sqlite3_bind_double(s, pos, v.real); break;
    case Literal::Text:
        rc = sqlite3_bind_text(s, pos, v.text.constData(), int(v.text.size()), copy ? SQLITE_TRANSIENT : SQLITE_STATIC);
        break;
    }
    if (rc != SQLITE_OK)
        raiseEngine(db, rc);
}

} // namespace vnt::db
