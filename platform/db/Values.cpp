#include "Values.h"
#include "DatabaseInternal.h"

namespace vnt::db {

VarType typeFromDeclared(const char *decl)
{
    if (!decl)
        return VarType::Empty;
    QString d = QString::fromLatin1(decl).trimmed().toUpper();
    const int paren = d.indexOf(QLatin1Char('('));
    if (paren >= 0)
        d = d.left(paren).trimmed();
    if (d == QLatin1String("SMALLINT") || d == QLatin1String("SHORT") || d == QLatin1String("INT2"))
        return VarType::Integer;
    if (d == QLatin1String("INTEGER") || d == QLatin1String("INT") || d == QLatin1String("LONG"))
        return VarType::Long;
    if (d == QLatin1String("FLOAT") || d == QLatin1String("REAL") || d == QLatin1String("SINGLE"))
        return VarType::Single;
    if (d.startsWith(QLatin1String("DOUBLE")) || d == QLatin1String("NUMERIC") || d == QLatin1String("DECIMAL"))
        return VarType::Double;
    if (d == QLatin1String("BOOLEAN") || d == QLatin1String("BOOL") || d == QLatin1String("BIT") || d == QLatin1String("YESNO"))
        return VarType::Boolean;
    if (d == QLatin1String("DATETIME") || d == QLatin1String("DATE") || d == QLatin1String("TIMESTAMP"))
        return VarType::Date;
    if (d.contains(QLatin1String("CHAR")) || d.contains(QLatin1String("TEXT")) || d == QLatin1String("MEMO") || d == QLatin1String("CLOB"))
        return VarType::String;
    return VarType::Empty;  // the value decides
}

QString columnText(sqlite3_stmt *s, int i)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, i)), sqlite3_column_bytes(s, i));
}

Variant readValue(sqlite3_stmt *s, int i, VarType type)
{
    const int st = sqlite3_column_type(s, i);
    if (st == SQLITE_NULL)
        return Variant::null();
    const bool number = st == SQLITE_INTEGER || st == SQLITE_FLOAT;
    switch (type) {
    case VarType::Integer:
        if (st == SQLITE_INTEGER) {
            const sqlite3_int64 v = sqlite3_column_int64(s, i);
            if (v >= INT16_MIN && v <= INT16_MAX)
                return Variant(int16_t(v));
        }
        break;
    case VarType::Long:
        if (st == SQLITE_INTEGER) {
            const sqlite3_int64 v = sqlite3_column_int64(s, i);
            if (v >= INT32_MIN && v <= INT32_MAX)
                return Variant(int32_t(v));
        }
        break;
    case VarType::Single:
        if (number)
            return Variant(float(sqlite3_column_double(s, i)));
        break;
    case VarType::Double:
        if (number)
            return Variant(sqlite3_column_double(s, i));
        break;
    case VarType::Boolean:
        if (number)
            return Variant(sqlite3_column_double(s, i) != 0.0);
        break;
    case VarType::Date:
        if (number)
            return Variant::date(sqlite3_column_double(s, i));
        break;
    case VarType::String:
        if (st != SQLITE_BLOB)
            return Variant(columnText(s, i));
        break;
    default:
        break;
    }
    // A value that does not fit its column's declared type (written by another program) is
    // passed on as what it is rather than lost.
    switch (st) {
    case SQLITE_INTEGER: return Variant::fromLongLong(sqlite3_column_int64(s, i));
    case SQLITE_FLOAT: return Variant(sqlite3_column_double(s, i));
    default: return Variant(columnText(s, i));
    }
}

void bindValue(sqlite3 *db, sqlite3_stmt *s, int pos, const Variant &v)
{
    int rc = SQLITE_OK;
    switch (v.type()) {
    case VarType::Empty:
    case VarType::Null: rc = sqlite3_bind_null(s, pos); break;
    case VarType::Boolean: rc = sqlite3_bind_int(s, pos, v.toBool() ? 1 : 0); break;
    case VarType::Integer:
    case VarType::Long: rc = sqlite3_bind_int64(s, pos, v.toLong()); break;
    case VarType::Single:
    case VarType::Double:
    case VarType::Date: rc = sqlite3_bind_double(s, pos, v.toDouble()); break;
    case VarType::String: {
        const QByteArray utf8 = v.toString().toUtf8();
        rc = sqlite3_bind_text(s, pos, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        break;
    }
    }
    if (rc != SQLITE_OK)
        raiseEngine(db, rc);
}

// The value as the column's declared type stores it; raises 13 or 6 where it cannot.
Variant convertTo(const Variant &v, VarType type)
{
    if (v.isNull() || v.isEmpty())
        return Variant::null();
    switch (type) {
    case VarType::Integer: return Variant(v.toInt());
    case VarType::Long: return Variant(v.toLong());
    case VarType::Single: return Variant(v.toSingle());
    case VarType::Double: return Variant(v.toDouble());
    case VarType::Boolean: return Variant(v.toBool());
    case VarType::Date: return Variant::date(v.toDate());
    case VarType::String: return Variant(v.toString());
    default: return v;
    }
}

} // namespace vnt::db
