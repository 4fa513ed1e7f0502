// A recordset is a snapshot: Open reads every row with its rowid, so that moving is free and
// the writes of a one-table query can go straight to the row they belong to, whatever else has
// happened to the table since. Here it is opened, moved and read.
#include "RecordsetImpl.h"
#include "SqlText.h"
#include "Values.h"

#include <optional>

namespace vnt::db {

Recordset::Recordset() : d(std::make_unique<Impl>()) {}

Recordset::~Recordset() = default;
// A moved-from recordset is a closed one, not a broken one.
Recordset::Recordset(Recordset &&o) noexcept : d(std::make_unique<Impl>()), open_(false)
{
    std::swap(d, o.d);
    std::swap(open_, o.open_);
}

Recordset &Recordset::operator=(Recordset &&o) noexcept
{
    if (this != &o) {
        Close();
        std::swap(d, o.d);
        std::swap(open_, o.open_);
    }
    return *this;
}

void Recordset::Open(const QString &sql, const ConnectionPtr &cnn)
{
    Open(sql, cnn, CursorType::Static);
}

struct Recordset::Pending {
    std::optional<Lease> lease;
};

void Recordset::Open(const QString &sql, const ConnectionPtr &cnn, CursorType cursor)
{
    if (open_)
        raise(err::NotAllowedWhenOpen);
    if (!cnn || !cnn->isOpen())
        raise(err::InvalidConnection);
    sqlite3 *db = cnn->handle();

    const LiftedQuery lifted = liftLiterals(sql);
    Pending pending;
    std::optional<Lease> &lease = pending.lease;
    try {
        lease.emplace(lendQuery(*cnn, lifted.text, cursor == CursorType::ForwardOnly));
    } catch (const VbError &) {
        // Whatever the lifting missed, the query as written has the last word (and its message).
        if (lifted.values.empty())
            throw;
        lease.emplace(lendQuery(*cnn, sql, cursor == CursorType::ForwardOnly));
    }
    sqlite3_stmt *st = lease->s;
    if (sqlite3_bind_parameter_count(st) == int(lifted.values.size()))
        for (size_t k = 0; k < lifted.values.size(); ++k)
            bindLiteral(db, st, int(k) + 1, lifted.values[k], cursor == CursorType::ForwardOnly);
    finishOpen(pending, cnn, cursor);
}

void Recordset::Open(const QString &sql, std::span<const Variant> params, const ConnectionPtr &cnn,
                     CursorType cursor)
{
    if (open_)
        raise(err::NotAllowedWhenOpen);
    if (!cnn || !cnn->isOpen())
        raise(err::InvalidConnection);
    Pending pending;
    pending.lease.emplace(lendQuery(*cnn, sql, cursor == CursorType::ForwardOnly));
    sqlite3_stmt *st = pending.lease->s;
    if (sqlite3_bind_parameter_count(st) != int(params.size()))
        raise(err::DatabaseError, QStringLiteral("The query takes %1 values, %2 were given.")
                                      .arg(sqlite3_bind_parameter_count(st))
                                      .arg(params.size()));
    for (size_t k = 0; k < params.size(); ++k)
        bindValue(cnn->handle(), st, int(k) + 1, params[k]);
    finishOpen(pending, cnn, cursor);
}

// The statement's columns, taken after its first step: a kept statement that the engine
// prepared again for a changed table tells its new columns only then.
int Recordset::Impl::takeColumns(sqlite3_stmt *st, Prepared &plan)
{
    const bool rowidRead = plan.rowidRead;
    const int version = sqlite3_stmt_status(st, SQLITE_STMTSTATUS_REPREPARE, 0);
    if (plan.columnsOfVersion != version) {
        auto columns = std::make_shared<std::vector<QueryColumn>>();
        plan.anyWritable = false;
        const int count = sqlite3_column_count(st) - (rowidRead ? 1 : 0);
        for (int i = 0; i < count; ++i) {
            QueryColumn c;
            c.name = QString::fromUtf8(sqlite3_column_name(st, i));
            c.type = typeFromDeclared(sqlite3_column_decltype(st, i));
            const char *origin = sqlite3_column_origin_name(st, i);
            const char *table = sqlite3_column_table_name(st, i);
            if (plan.tableKnown && origin && table
                && plan.table.compare(QString::fromUtf8(table), Qt::CaseInsensitive) == 0) {
                c.origin = QString::fromUtf8(origin);
                plan.anyWritable = rowidRead;
            }
            columns->push_back(c);
        }
        plan.columns = std::move(columns);
        plan.columnsOfVersion = version;
    }
    colsShared = plan.columns;
    return int(cols().size());
}

// Forward only: the statement stays on its first row and is read from there.
void Recordset::Impl::openForward(std::optional<Lease> &lease)
{
    sqlite3_stmt *st = lease->s;
    Prepared &plan = lease->plan();
    const int rc = sqlite3_step(st);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        raiseEngine(db(), rc);
    const int n = takeColumns(st, plan);
    forward = true;
    table = plan.table;
    // A column of no declared type is read as what each value is; an expression column
    // tells the type of what its first row holds.
    undeclared.assign(size_t(n), false);
    for (int i = 0; i < n; ++i) {
        if (cols()[i].type != VarType::Empty)
            continue;
        Column &c = ownCols()[i];
        undeclared[size_t(i)] = true;
        if (c.origin.isEmpty())
            c.type = rc == SQLITE_ROW && sqlite3_column_type(st, i) != SQLITE_NULL ? readValue(st, i, VarType::Empty).type()
                                                                                  : VarType::Double;
    }
    if (rc == SQLITE_ROW)
        cursor = std::make_unique<Lease>(std::move(*lease));
    lease.reset();
}

// A snapshot: every row with its rowid, then the statement goes back to the cache.
void Recordset::Impl::readSnapshot(std::optional<Lease> &lease)
{
    sqlite3_stmt *st = lease->s;
    Prepared &plan = lease->plan();
    const bool rowidRead = plan.rowidRead;
    int n = -1;
    for (;;) {
        const int rc = sqlite3_step(st);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW)
            raiseEngine(db(), rc);
        if (n < 0)
            n = takeColumns(st, plan);
        if (rc == SQLITE_DONE)
            break;
        const size_t at = values.size();
        values.resize(at + size_t(n));
        for (int i = 0; i < n; ++i)
            values[at + i] = readValue(st, i, cols()[i].type);
        rowids.push_back(rowidRead ? sqlite3_column_int64(st, n) : 0);
    }
    updatable = rowidRead && plan.anyWritable;
    table = plan.table;
    rereadSql = plan.rereadSql;
    lease.reset();

    // An expression column (COUNT, MAX, ...) takes the type of what it holds.
    for (int i = 0; i < n; ++i) {
        // (a column of no declared type that can be written keeps what it is given)
        if (cols()[i].type != VarType::Empty || !cols()[i].origin.isEmpty())
            continue;
        Column &c = ownCols()[i];
        c.type = VarType::Double;
        for (long r = 0; r < rows(); ++r) {
            const Variant &v = values[size_t(r) * n + i];
            if (!v.isNull()) {
                c.type = v.type();
                break;
            }
        }
    }
    pos = 0;
}

void Recordset::finishOpen(Pending &pending, const ConnectionPtr &cnn, CursorType cursor)
{
    // Built in place: a closed recordset holds nothing, and a failed Open leaves it closed,
    // whatever way out of the reading is taken.
    Impl &fresh = *d;   // closed: as a new one
    fresh.cnn = cnn;
    try {
        if (cursor == CursorType::ForwardOnly)
            fresh.openForward(pending.lease);
        else
            fresh.readSnapshot(pending.lease);
    } catch (...) {
        *d = Impl();
        throw;
    }
    open_ = true;
}

void Recordset::Close()
{
    // Pending changes that were never stored are dropped, as a failed Update leaves them.
    *d = Impl();
    open_ = false;
}

bool Recordset::isEOF() const
{
    if (!open_)
        raise(err::NotAllowedWhenClosed);
    if (d->forward)
        return !d->cursor;
    if (d->mode == Impl::Mode::Add || d->onDeleted)
        return false;
    return d->pos >= d->rows();
}

bool Recordset::isBOF() const
{
    if (!open_)
        raise(err::NotAllowedWhenClosed);
    if (d->forward)
        return !d->cursor && !d->cursorMoved;
    if (d->mode == Impl::Mode::Add || d->onDeleted)
        return false;
    return d->rows() == 0 || d->pos < 0;
}

void Recordset::MoveFirst()
{
    if (!open_)
        raise(err::NotAllowedWhenClosed);
    if (d->forward) {
        if (d->cursorMoved)
            raise(err::NotAllowedInContext);
        return;
    }
    Update();
    d->onDeleted = false;
    d->pos = 0;
}

void Recordset::MoveLast()
{
    if (!open_)
        raise(err::NotAllowedWhenClosed);
    if (d->forward)
        raise(err::NotAllowedInContext);
    Update();
    d->onDeleted = false;
    d->pos = d->rows() > 0 ? d->rows() - 1 : 0;
}

void Recordset::MoveNext()
{
    if (!open_)
        raise(err::NotAllowedWhenClosed);
    if (d->forward) {
        if (!d->cursor)
            raise(err::NoCurrentRecord);
        d->cursorMoved = true;
        d->advance();
        return;
    }
    Update();
    if (d->onDeleted) {
        d->onDeleted = false;  // the row after the deleted one already stands at pos
        return;
    }
    if (d->pos >= d->rows())
        raise(err::NoCurrentRecord);
    ++d->pos;
}

void Recordset::MovePrevious()
{
    if (!open_)
        raise(err::NotAllowedWhenClosed);
    if (d->forward)
        raise(err::NotAllowedInContext);
    Update();
    if (d->onDeleted) {
        d->onDeleted = false;
        --d->pos;
        return;
    }
    if (d->pos < 0 || d->rows() == 0)
        raise(err::NoCurrentRecord);
    --d->pos;
}

long Recordset::RecordCount() const
{
    if (!open_)
        raise(err::NotAllowedWhenClosed);
    if (d->forward)
        return -1;
    return d->rows();
}

int Recordset::FieldCount() const
{
    return open_ ? d->width() : 0;
}

QString Recordset::FieldName(int i) const
{
    if (!open_ || i < 0 || i >= d->width())
        raise(err::ItemNotFound);
    return d->cols()[i].name;
}

VarType Recordset::FieldType(int i) const
{
    if (!open_ || i < 0 || i >= d->width())
        raise(err::ItemNotFound);
    return d->cols()[i].type;
}

int Recordset::fieldIndex(const QString &name) const
{
    for (int i = 0; i < d->width(); ++i)
        if (sameName(d->cols()[i].name, name))
            return i;
    return -1;
}

Variant Recordset::Fields(int i) const
{
    if (!open_)
        raise(err::NotAllowedWhenClosed);
    if (i < 0 || i >= d->width())
        raise(err::ItemNotFound);
    if (d->mode != Impl::Mode::None)
        return d->buffer[i];
    if (!d->hasRow())
        raise(err::NoCurrentRecord);
    if (d->forward)
        return readValue(d->cursor->s, i, d->undeclared[size_t(i)] ? VarType::Empty : d->cols()[i].type);
    return d->values[size_t(d->pos) * d->width() + i];
}

bool Recordset::isNullField(int i) const
{
    if (open_ && d->forward && d->cursor && i >= 0 && i < d->width())
        return sqlite3_column_type(d->cursor->s, i) == SQLITE_NULL;
    return Fields(i).isNull();
}

namespace {

// A number of a forward-only cursor's row as its column declares it; false where only the
// Variant conversion knows (a text, or a number in a text column).
bool storedNumber(sqlite3_stmt *s, int i, VarType declared, double &out)
{
    const int st = sqlite3_column_type(s, i);
    if (st == SQLITE_NULL) {
        out = 0;
        return true;
    }
    if (st != SQLITE_INTEGER && st != SQLITE_FLOAT)
        return false;
    switch (declared) {
    case VarType::Single: out = double(float(sqlite3_column_double(s, i))); return true;
    case VarType::Boolean: out = sqlite3_column_double(s, i) != 0.0 ? -1.0 : 0.0; return true;
    case VarType::String: return false;   // a number in a text column converts as its text
    default: out = sqlite3_column_double(s, i); return true;
    }
}

} // namespace

double Recordset::doubleField(int i) const
{
    double out = 0;
    if (open_ && d->forward && d->cursor && i >= 0 && i < d->width()
        && storedNumber(d->cursor->s, i, d->cols()[size_t(i)].type, out))
        return out;
    const Variant v = Fields(i);
    return v.isNull() ? 0.0 : v.toDouble();
}

void Recordset::doubleFields(int first, int count, double *out) const
{
    if (!(open_ && d->forward && d->cursor && first >= 0 && count >= 0 && first + count <= d->width())) {
        for (int k = 0; k < count; ++k)
            out[k] = doubleField(first + k);
        return;
    }
    sqlite3_stmt *s = d->cursor->s;
    const Impl::Column *cols = d->cols().data();
    for (int i = first; i < first + count; ++i, ++out)
        if (!storedNumber(s, i, cols[i].type, *out))
            *out = doubleField(i);   // a text: the Variant conversion knows
}

QByteArrayView Recordset::utf8Field(int i) const
{
    if (!open_)
        raise(err::NotAllowedWhenClosed);
    if (!d->forward)
        raise(err::NotAllowedInContext);
    if (i < 0 || i >= d->width())
        raise(err::ItemNotFound);
    if (!d->cursor)
        raise(err::NoCurrentRecord);
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(d->cursor->s, i));
    return text ? QByteArrayView(text, sqlite3_column_bytes(d->cursor->s, i)) : QByteArrayView();
}

Variant Recordset::Fields(const QString &name) const
{
    if (!open_)
        raise(err::NotAllowedWhenClosed);
    const int i = fieldIndex(name);
    if (i < 0)
        raise(err::ItemNotFound, standardDescription(err::ItemNotFound) + QStringLiteral(" (") + name + QLatin1Char(')'));
    return Fields(i);
}

} // namespace vnt::db
