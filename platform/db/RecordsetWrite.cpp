// Writing a recordset's rows back: a field set, a row added, updated or deleted, each written
// at once to the row of its rowid.
#include "RecordsetImpl.h"
#include "SqlText.h"
#include "Values.h"

#include <QStringList>

#include <algorithm>

namespace vnt::db {

void Recordset::Impl::readRow(sqlite3_stmt *s, std::vector<Variant> &out, long at) const
{
    const int n = width();
    for (int i = 0; i < n; ++i)
        out[size_t(at) * n + i] = readValue(s, i, cols()[i].type);
}

// The connection's kept statement of a write by rowid or of a row read again.
Lease Recordset::Impl::statement(const QString &sql) const
{
    sqlite3 *h = db();
    return cnn->statements().lend(false, sql, [&](Prepared &p) { prepare(h, sql, &p.stmt); });
}

// Reads the stored row back, so that the snapshot shows what the table now holds
// (rounding of the column type, defaults of columns not written).
void Recordset::Impl::reread(sqlite3_int64 rowid, long at)
{
    const Lease st = statement(rereadSql);
    sqlite3_bind_int64(st.s, 1, rowid);
    const int rc = sqlite3_step(st.s);
    if (rc == SQLITE_ROW)
        readRow(st.s, values, at);
    else if (rc != SQLITE_DONE)
        raiseEngine(db(), rc);
}

void Recordset::Impl::step(sqlite3_stmt *s)
{
    const int rc = sqlite3_step(s);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        raiseEngine(db(), rc);
}

void Recordset::Impl::writeEdit()
{
    QString sql;
    bool typed = true;   // every value written has its column's declared type already
    for (int i = 0; i < width(); ++i)
        if (dirty[i]) {
            if (sql.isEmpty()) {
                sql += QStringView(u"UPDATE [");
                sql += table;
                sql += QStringView(u"] SET [");
            } else {
                sql += QStringView(u",[");
            }
            sql += cols()[i].origin;
            sql += QStringView(u"]=?");
            typed = typed && cols()[i].type != VarType::Empty;
        }
    if (sql.isEmpty())
        return;
    sql += QStringView(u" WHERE rowid=?");
    const Lease st = statement(sql);
    int p = 1;
    for (int i = 0; i < width(); ++i)
        if (dirty[i])
            bindValue(db(), st.s, p++, buffer[i]);
    sqlite3_bind_int64(st.s, p, rowids[pos]);
    step(st.s);
    if (sqlite3_changes(db()) == 0)
        raise(err::RowNotFound);
    std::copy(buffer.begin(), buffer.end(), values.begin() + size_t(pos) * width());
    // A value converted to its column's type is stored as it stands; one of a column of no
    // declared type is read back as the engine keeps it.
    if (!typed)
        reread(rowids[pos], pos);
}

void Recordset::Impl::writeNew()
{
    QStringList names, marks;
    for (int i = 0; i < width(); ++i)
        if (dirty[i]) {
            names << bracketed(cols()[i].origin);
            marks << QStringLiteral("?");
        }
    const QString sql = names.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(bracketed(table))
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(bracketed(table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    const Lease st = statement(sql);
    int p = 1;
    for (int i = 0; i < width(); ++i)
        if (dirty[i])
            bindValue(db(), st.s, p++, buffer[i]);
    step(st.s);
    const sqlite3_int64 rowid = sqlite3_last_insert_rowid(db());
    rowids.push_back(rowid);
    values.insert(values.end(), buffer.begin(), buffer.end());
    pos = rows() - 1;
    onDeleted = false;
    reread(rowid, pos);
}

void Recordset::Impl::discardPending()
{
    if (mode == Mode::Add)
        pos = posBeforeAdd;
    mode = Mode::None;
    buffer.clear();
    dirty.clear();
}

void Recordset::setField(int i, const Variant &v)
{
    if (!open_)
        raise(err::NotAllowedWhenClosed);
    if (i < 0 || i >= d->width())
        raise(err::ItemNotFound);
    if (d->mode == Impl::Mode::None && !d->hasRow())
        raise(err::NoCurrentRecord);
    if (!d->updatable)
        raise(err::NotUpdatable);
    const Impl::Column &c = d->cols()[i];
    if (c.origin.isEmpty())
        raise(err::NotUpdatable, QStringLiteral("Field '%1' cannot be updated.").arg(c.name));
    const Variant stored = convertTo(v, c.type);  // raises before anything changes
    // A value the row already holds is no change: writing it would dirty a page and cost a
    // sync for nothing.
    auto holds = [&](const Variant &now) { return now.type() == stored.type() && now == stored; };
    if (d->mode == Impl::Mode::None && holds(d->values[size_t(d->pos) * d->width() + i]))
        return;
    if (d->mode == Impl::Mode::None) {
        const auto row = d->values.begin() + size_t(d->pos) * d->width();
        d->buffer.assign(row, row + d->width());
        d->dirty.assign(size_t(d->width()), false);
        d->mode = Impl::Mode::Edit;
    }
    // A column named twice in the select list is one column of the table: both show the value,
    // and it is written once.
    for (int j = 0; j < d->width(); ++j) {
        if (sameName(d->cols()[j].origin, c.origin)) {
            d->buffer[j] = stored;
            d->dirty[j] = false;
        }
    }
    d->dirty[i] = d->mode == Impl::Mode::Add || !holds(d->values[size_t(d->pos) * d->width() + i]);
}

void Recordset::setField(const QString &name, const Variant &v)
{
    if (!open_)
        raise(err::NotAllowedWhenClosed);
    const int i = fieldIndex(name);
    if (i < 0)
        raise(err::ItemNotFound, standardDescription(err::ItemNotFound) + QStringLiteral(" (") + name + QLatin1Char(')'));
    setField(i, v);
}

void Recordset::AddNew()
{
    if (!open_)
        raise(err::NotAllowedWhenClosed);
    if (!d->updatable)
        raise(err::NotUpdatable);
    Update();
    d->posBeforeAdd = d->pos;
    d->buffer.assign(size_t(d->width()), Variant::null());
    d->dirty.assign(size_t(d->width()), false);
    d->mode = Impl::Mode::Add;
}

void Recordset::Update()
{
    if (!open_)
        raise(err::NotAllowedWhenClosed);
    if (d->mode == Impl::Mode::None)
        return;
    // A refused row is dropped: kept pending, the next AddNew or move would try it again and
    // either fail forever or, after its caller went on past the error, write it half-filled.
    try {
        if (d->mode == Impl::Mode::Add)
            d->writeNew();
        else
            d->writeEdit();
    } catch (...) {
        d->discardPending();
        throw;
    }
    d->mode = Impl::Mode::None;
    d->buffer.clear();
    d->dirty.clear();
}

void Recordset::CancelUpdate()
{
    if (!open_)
        raise(err::NotAllowedWhenClosed);
    d->discardPending();
}

void Recordset::Delete()
{
    if (!open_)
        raise(err::NotAllowedWhenClosed);
    if (d->mode == Impl::Mode::Add) {  // the row was never stored: deleting it drops it
        d->discardPending();
        return;
    }
    if (!d->hasRow())
        raise(err::NoCurrentRecord);
    if (!d->updatable)
        raise(err::NotUpdatable);
    d->discardPending();
    const Lease st = d->statement(QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(bracketed(d->table)));
    sqlite3_bind_int64(st.s, 1, d->rowids[d->pos]);
    d->step(st.s);
    const int w = d->width();
    d->values.erase(d->values.begin() + size_t(d->pos) * w, d->values.begin() + size_t(d->pos + 1) * w);
    d->rowids.erase(d->rowids.begin() + d->pos);
    d->onDeleted = true;
}

} // namespace vnt::db
