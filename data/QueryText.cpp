// The SQL texts of the column accessor. The blanks stand exactly as the program always wrote
// them: stored queries, logs and tests compare these texts character for character.
#include "QueryText.h"

#include "platform/db/Database.h"

#include <charconv>

namespace vnt {

namespace {

QString shortestNumber(double d)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, d);
    return QString::fromLatin1(buf, int(res.ptr - buf));
}

QString bracket(const QString &name)
{
    return QLatin1Char('[') + name + QLatin1Char(']');
}

// Opens the condition or continues it.
QString joiner(const QString &condition)
{
    return condition.isEmpty() ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ");
}

} // namespace

QString sqlKeyValue(const Variant &v)
{
    switch (v.type()) {
    case VarType::Empty:
        return {};   // a value that has to be there and is not: the query fails, as it should
    case VarType::Null:
        return QStringLiteral("NULL");
    case VarType::Boolean:
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case VarType::Integer:
    case VarType::Long:
        return QString::number(v.toLong());
    case VarType::Single:
        // A FLOAT column holds the float widened to double; the literal must be that value.
        return shortestNumber(double(v.toSingle()));
    case VarType::Double:
        return shortestNumber(v.toDouble());
    case VarType::Date:
        return shortestNumber(v.toDate());
    case VarType::String:
        return db::sqlText(v.toString());
    }
    return {};
}

namespace {

// Puts a key value into the text, or, when `params` is given, a "?" for it and the value into
// `params`: numbers and texts, the values a query's text would carry as literals. Booleans,
// Null and a missing value keep their words, so that both texts select alike.
void keyValue(QString &q, const Variant &v, QVarLengthArray<Variant, 8> *params)
{
    if (params) {
        switch (v.type()) {
        case VarType::Integer:
        case VarType::Long:
        case VarType::Double:
        case VarType::Date:
        case VarType::String:
            q += QLatin1Char('?');
            params->push_back(v);
            return;
        case VarType::Single:   // as its literal would be read: the float widened to double
            q += QLatin1Char('?');
            params->push_back(Variant(double(v.toSingle())));
            return;
        default:
            break;
        }
    }
    q += sqlKeyValue(v);
}

// Built in one buffer: the accessor makes one of these for every value it moves.
QString buildSelection(const AccessorState &s, const QString &SPV, const KeyPairs &keys, QVarLengthArray<Variant, 8> *params)
{
    QString q;
    q.reserve(256);
    auto name = [&q](const QString &column) {
        q += QChar(u'[');
        q += column;
        q += QChar(u']');
    };
    q += QStringView(u"SELECT ");
    name(SPV);
    if (!s.ESPID.isEmpty()) {
        q += QChar(u',');
        name(s.ESPID);
    }
    for (const KeyPair &k : keys)
        if (k.named()) {
            q += QChar(u',');
            name(k.name);
        }
    for (const QString *fixed : {&s.ESPK1, &s.ESPK2, &s.ESPK3})
        if (!fixed->isEmpty()) {
            q += QChar(u',');
            name(*fixed);
        }
    q += QStringView(u" FROM ");
    name(s.ETABELLE);

    bool condition = false;
    // Opens the condition or continues it.
    auto join = [&](QStringView andWord) {
        q += condition ? andWord : QStringView(u" WHERE ");
        condition = true;
    };
    if (!s.ESPID.isEmpty()) {
        join(QStringView(u" AND "));
        name(s.ESPID);
        q += QStringView(u" = ");
        if (params) {
            q += QChar(u'?');
            params->push_back(Variant(s.ESPIDW));
        } else {
            q += QString::number(s.ESPIDW);
        }
    }
    for (const KeyPair &k : keys)
        if (k.restricts()) {
            join(QStringView(u" AND "));
            name(k.name);
            q += QChar(u'=');
            keyValue(q, k.value, params);
        }
    const std::pair<const QString *, const QString *> fixedKeys[] = {{&s.ESPK1, &s.ESPK1W}, {&s.ESPK2, &s.ESPK2W}, {&s.ESPK3, &s.ESPK3W}};
    for (const auto &[column, value] : fixedKeys)
        if (!column->isEmpty()) {
            join(column == &s.ESPK3 ? QStringView(u"  AND ") : QStringView(u" AND "));
            name(*column);
            q += QStringView(u" =");
            keyValue(q, Variant(*value), params);
        }

    if (keys[0].named()) {
        q += QStringView(u" ORDER BY ");
        name(keys[0].name);
        for (size_t i = 1; i < keys.size(); ++i)
            if (keys[i].named()) {
                q += QChar(u',');
                name(keys[i].name);
            }
    }
    return q;
}

} // namespace

QString selectionQuery(const AccessorState &s, const QString &SPV, const KeyPairs &keys)
{
    return buildSelection(s, SPV, keys, nullptr);
}

SelectionStatement selectionStatement(const AccessorState &s, const QString &SPV, const KeyPairs &keys)
{
    SelectionStatement out;
    out.text = buildSelection(s, SPV, keys, &out.params);
    return out;
}

void selectionParams(const AccessorState &s, const KeyPairs &keys, QVarLengthArray<Variant, 8> &params)
{
    // The order of buildSelection's condition: record, key pairs, fixed keys.
    if (!s.ESPID.isEmpty())
        params.push_back(Variant(s.ESPIDW));
    auto bound = [&](const Variant &v) {
        switch (v.type()) {
        case VarType::Integer:
        case VarType::Long:
        case VarType::Double:
        case VarType::Date:
        case VarType::String: params.push_back(v); break;
        case VarType::Single: params.push_back(Variant(double(v.toSingle()))); break;
        default: break;
        }
    };
    for (const KeyPair &k : keys)
        if (k.restricts())
            bound(k.value);
    for (const auto &[column, value] : {std::pair(&s.ESPK1, &s.ESPK1W), std::pair(&s.ESPK2, &s.ESPK2W),
                                        std::pair(&s.ESPK3, &s.ESPK3W)})
        if (!column->isEmpty())
            params.push_back(Variant(*value));
}

SelectionShapes::Form SelectionShapes::formOf(const KeyPair &k)
{
    if (!k.named())
        return Form::Unnamed;
    switch (k.value.type()) {
    case VarType::Empty: return Form::OrderOnly;
    case VarType::Null: return Form::Null;
    case VarType::Boolean: return k.value.toBool() ? Form::True : Form::False;
    default: return Form::Bound;
    }
}

const QString &SelectionShapes::text(const AccessorState &s, const QString &SPV, const KeyPairs &keys)
{
    std::array<Form, 4> forms;
    for (size_t i = 0; i < keys.size(); ++i)
        forms[i] = formOf(keys[i]);
    for (const Shape &shape : shapes_) {
        if (shape.forms != forms || shape.SPV != SPV)
            continue;
        bool same = true;
        for (size_t i = 0; same && i < keys.size(); ++i)
            same = forms[i] == Form::Unnamed || shape.names[i] == keys[i].name;
        if (same)
            return shape.text;
    }
    // Enough for the columns one accessor moves in a loop; beyond it the oldest goes.
    constexpr size_t kKept = 24;
    Shape shape;
    shape.SPV = SPV;
    for (size_t i = 0; i < keys.size(); ++i)
        if (forms[i] != Form::Unnamed)
            shape.names[i] = keys[i].name;
    shape.forms = forms;
    QVarLengthArray<Variant, 8> unused;
    shape.text = buildSelection(s, SPV, keys, &unused);
    if (shapes_.size() < kKept) {
        shapes_.push_back(std::move(shape));
        return shapes_.back().text;
    }
    Shape &replaced = shapes_[next_];
    next_ = (next_ + 1) % kKept;
    replaced = std::move(shape);
    return replaced.text;
}

QString indexQuery(const AccessorState &s, const KeyPairs &keys)
{
    const bool n1 = keys[0].named(), n2 = keys[1].named(), n3 = keys[2].named(), n4 = keys[3].named();
    auto restriction = [&](size_t i) { return bracket(keys[i].name) + QLatin1Char('=') + sqlKeyValue(keys[i].value); };

    // A naming with a gap fits none of the cases and names no column; the database rejects it.
    QString measured, condition;
    if (!n2 && !n3 && !n4) {
        measured = keys[0].name;
    } else if (n1 && n2 && !n3 && !n4) {
        measured = keys[1].name;
        condition = QStringLiteral(" WHERE ") + restriction(0);
    } else if (n1 && n2 && n3 && !n4) {
        measured = keys[2].name;
        condition = QStringLiteral(" WHERE ") + restriction(0) + QStringLiteral(" AND ") + restriction(1);
    } else if (n1 && n2 && n3 && n4) {
        measured = keys[3].name;
        condition = QStringLiteral(" WHERE ") + restriction(0) + QStringLiteral(" AND ") + restriction(1)
                  + QStringLiteral(" AND ") + restriction(2);
    }

    if (!s.ESPK1.isEmpty()) {
        condition += joiner(condition) + bracket(s.ESPK1) + QStringLiteral(" =") + db::sqlText(s.ESPK1W);
        if (!s.ESPK2.isEmpty())
            condition += QStringLiteral(" AND ") + bracket(s.ESPK2) + QLatin1Char('=') + db::sqlText(s.ESPK2W);
        if (!s.ESPK3.isEmpty())
            condition += QStringLiteral(" AND ") + bracket(s.ESPK3) + QLatin1Char('=') + db::sqlText(s.ESPK3W);
    }
    if (!s.ESPID.isEmpty())
        condition += joiner(condition) + bracket(s.ESPID) + QStringLiteral(" = ") + QString::number(s.ESPIDW);

    return QStringLiteral("SELECT ") + bracket(measured) + QStringLiteral(" FROM ") + s.ETABELLE + condition
         + QStringLiteral(" ORDER BY ") + bracket(measured);
}

} // namespace vnt
