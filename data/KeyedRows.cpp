// A record's rows keyed by one number column, written where they differ.
#include "data/KeyedRows.h"

#include "data/clsDATEN.h"
#include "platform/errors.h"
#include "platform/system.h"

namespace vnt {

namespace {

QString bracketed(const QString &name) { return QLatin1Char('[') + name + QLatin1Char(']'); }

} // namespace

bool KeyedRows::read(const clsDATEN &accessor, const QString &keyColumn, const QStringList &columns)
{
    rs_.Close();
    rows_.clear();
    width_ = int(columns.size());
    // Fixed key columns narrow the accessor's selections further than the record: left to it.
    if (!accessor.ESPK1().isEmpty() || !accessor.ESPK2().isEmpty() || !accessor.ESPK3().isEmpty()
        || accessor.ESPID().isEmpty() || !accessor.connection())
        return false;
    QStringList names;
    for (const QString &c : columns)
        names << bracketed(c);
    names << bracketed(keyColumn);
    try {
        const Variant id(accessor.ESPIDW());
        rs_.Open(QStringLiteral("SELECT ") + names.join(QLatin1Char(',')) + QStringLiteral(" FROM ")
                     + bracketed(accessor.ETABELLE()) + QStringLiteral(" WHERE ") + bracketed(accessor.ESPID())
                     + QStringLiteral("=? ORDER BY ") + bracketed(keyColumn),
                 std::span<const Variant>(&id, 1), accessor.connection(), db::CursorType::Static);
        for (; !rs_.isEOF(); rs_.MoveNext())
            if (!rs_.isNullField(width_))
                ++rows_[int(rs_.doubleField(width_))];
        if (rs_.RecordCount() > 0)
            rs_.MoveFirst();
        return true;
    } catch (const VbError &) {
        rs_.Close();
        rows_.clear();
        return false;
    }
}

bool KeyedRows::write(int k, std::span<const Variant> values)
{
    if (!rs_.isOpen() || rows_.value(k) != 1 || int(values.size()) != width_)
        return false;
    try {
        // Callers write their keys in rising order, so the rows are walked once; a key below
        // the current row starts the walk again.
        if (rs_.isEOF() || (!rs_.isNullField(width_) && rs_.doubleField(width_) > k))
            rs_.MoveFirst();
        while (!rs_.isEOF() && (rs_.isNullField(width_) || rs_.doubleField(width_) < k))
            rs_.MoveNext();
        if (rs_.isEOF() || rs_.doubleField(width_) != k)
            return false;
        for (int c = 0; c < width_; ++c) {
            const Variant &v = values[size_t(c)];
            const bool blank = v.isEmpty() || (v.type() == VarType::String && v.toString().isEmpty());
            rs_.setField(c, blank ? Variant::null() : v);
        }
        rs_.Update();
        sys::DoEventsThrottled();
        return true;
    } catch (const VbError &) {
        try {
            rs_.CancelUpdate();
        } catch (const VbError &) {
        }
        return false;
    }
}

} // namespace vnt
