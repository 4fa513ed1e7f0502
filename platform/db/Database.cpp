// The database layer over the SQLite C API. A recordset is a snapshot: Open reads every row
// with its rowid, so that moving is free and the writes of a one-table query can go straight
// to the row they belong to, whatever else has happened to the table since.
#include "Database.h"
#include "../errors.h"

#include <QFileInfo>
#include <QHash>
#include <sqlite3.h>

#include <array>
#include <charconv>
#include <cstring>
#include <functional>
#include <optional>

namespace vnt::db {

namespace {

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

// Kept statements are told so, which lets the engine place them for a long life.
int prepareKept(sqlite3 *db, const QString &sql, sqlite3_stmt **out)
{
    const QByteArray utf8 = sql.toUtf8();
    return sqlite3_prepare_v3(db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, out, nullptr);
}

void prepare(sqlite3 *db, const QString &sql, sqlite3_stmt **out)
{
    const int rc = prepareKept(db, sql, out);
    if (rc != SQLITE_OK)
        raiseEngine(db, rc);
}

// --- What a query reads -------------------------------------------------------------------

struct Token {
    QString text;   // a name without its brackets or quotes
    int pos = 0;
    int end = 0;
    bool word = false;
};

bool isWordChar(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)   // plain ASCII first: every query is scanned on each Open
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == '$';
    return c.isLetterOrNumber();
}

// Past the comment that starts at i ("-- ..." to the line's end, "/* ... */"); i when none does.
int pastComment(const QString &sql, int i)
{
    const int n = sql.size();
    if (i + 1 >= n)
        return i;
    if (sql[i] == QLatin1Char('-') && sql[i + 1] == QLatin1Char('-')) {
        while (i < n && sql[i] != QLatin1Char('\n'))
            ++i;
        return i;
    }
    if (sql[i] == QLatin1Char('/') && sql[i + 1] == QLatin1Char('*')) {
        const int e = sql.indexOf(QLatin1String("*/"), i + 2);
        return e < 0 ? n : e + 2;
    }
    return i;
}

bool opensQuote(QChar c)
{
    return c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('[');
}

// Reads the text or quoted name that opens at i into `text` (without its quotes, a doubled
// quote as one) and returns where it ends.
int readQuoted(const QString &sql, int i, QString &text)
{
    const int n = sql.size();
    const QChar close = sql[i] == QLatin1Char('[') ? QLatin1Char(']') : sql[i];
    ++i;
    while (i < n) {
        if (sql[i] == close) {
            if (close != QLatin1Char(']') && i + 1 < n && sql[i + 1] == close) {
                text += close;
                i += 2;
                continue;
            }
            break;
        }
        text += sql[i++];
    }
    return qMin(i + 1, n);
}

// The tokens of the query's outermost level: what stands inside parentheses or literals is skipped.
QList<Token> topLevelTokens(const QString &sql)
{
    QList<Token> out;
    int depth = 0;
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            ++i;
        } else if (const int past = pastComment(sql, i); past != i) {
            i = past;
        } else if (opensQuote(c)) {
            const int start = i;
            QString text;
            i = readQuoted(sql, i, text);
            if (depth == 0)
                out.append({text, start, i, c != QLatin1Char('\'')});
        } else if (isWordChar(c)) {
            const int start = i;
            while (i < n && isWordChar(sql[i]))
                ++i;
            if (depth == 0)
                out.append({sql.mid(start, i - start), start, i, true});
        } else {
            if (depth == 0)
                out.append({QString(c), i, i + 1, false});
            if (c == QLatin1Char('('))
                ++depth;
            else if (c == QLatin1Char(')') && depth > 0)
                --depth;
            ++i;
        }
    }
    return out;
}

// Column names compare without regard to case, as the engine compares them. The names are
// short and nearly always plain ASCII: those are compared here, letter by letter.
bool sameName(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x == y)
            continue;
        if (x >= 128 || y >= 128)
            return a.compare(b, Qt::CaseInsensitive) == 0;
        const char16_t lx = x | 0x20, ly = y | 0x20;
        if (lx != ly || lx < 'a' || lx > 'z')
            return false;
    }
    return true;
}

bool is(const Token &t, const char *keyword)
{
    return t.word && t.text.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

// A query "SELECT <list> FROM <one table> [alias] [WHERE ...] [ORDER BY ...]" can have its rows
// written back; it is read with the rowid appended to the select list.
struct QueryShape {
    bool oneTable = false;
    QString table;
    int fromPos = 0;        // where FROM begins
    int tableEnd = 0;       // just past the table and its alias
};

QueryShape analyse(const QString &sql)
{
    QueryShape q;
    const QList<Token> t = topLevelTokens(sql);
    if (t.isEmpty() || !is(t[0], "SELECT") || (t.size() > 1 && is(t[1], "DISTINCT")))
        return q;
    int from = -1;
    for (int k = 1; k < t.size(); ++k) {
        for (const char *kw : {"UNION", "INTERSECT", "EXCEPT", "GROUP", "WINDOW", "VALUES"})
            if (is(t[k], kw))
                return q;
        if (from < 0 && is(t[k], "FROM"))
            from = k;
    }
    if (from < 0 || from + 1 >= t.size() || !t[from + 1].word)
        return q;
    int k = from + 1;
    QString table = t[k].text;
    int end = t[k].end;
    ++k;
    if (k + 1 < t.size() && t[k].text == QLatin1String(".") && t[k + 1].word) {  // schema.table
        table = t[k + 1].text;
        end = t[k + 1].end;
        k += 2;
    }
    static const char *const clauseWords[] = {"WHERE", "ORDER", "LIMIT", "JOIN", "INNER", "LEFT", "RIGHT", "CROSS",
                                              "NATURAL", "FULL", "OUTER", "ON", "USING", "HAVING", "INDEXED", "NOT"};
    auto isClause = [&](const Token &tok) {
        for (const char *w : clauseWords)
            if (is(tok, w))
                return true;
        return false;
    };
    if (k < t.size() && is(t[k], "AS") && k + 1 < t.size() && t[k + 1].word) {
        end = t[k + 1].end;
        k += 2;
    } else if (k < t.size() && t[k].word && !isClause(t[k])) {
        end = t[k].end;
        ++k;
    }
    if (k < t.size()) {
        const Token &next = t[k];
        const bool allowed = is(next, "WHERE") || is(next, "ORDER") || is(next, "LIMIT") || next.text == QLatin1String(";");
        if (!allowed)
            return q;
    }
    q.oneTable = true;
    q.table = table;
    q.fromPos = t[from].pos;
    q.tableEnd = end;
    return q;
}

// --- Values of a condition as parameters -------------------------------------------------

// A literal of a query's condition, bound in its place.
struct Literal {
    enum Kind { Integer, Real, Text } kind = Integer;
    sqlite3_int64 integer = 0;
    double real = 0;
    QByteArray text;
};

struct LiftedQuery {
    QString text;                   // the query with a "?" for each lifted literal
    std::vector<Literal> values;    // in the order of the "?"
};

// The number literal that starts at `at`, as the engine reads it (digits, a point, an exponent),
// and where it ends; nothing when the text there is no plain decimal number (a hex number).
std::optional<std::pair<Literal, int>> numberAt(const QString &sql, int at)
{
    const int n = sql.size();
    int i = at;
    auto digits = [&] {
        const int from = i;
        while (i < n && sql[i].unicode() >= '0' && sql[i].unicode() <= '9')
            ++i;
        return i > from;
    };
    if (!digits())
        return std::nullopt;
    bool real = false;
    if (i < n && sql[i] == QLatin1Char('.')) {
        ++i;
        digits();
        real = true;
    }
    if (i < n && (sql[i] == QLatin1Char('e') || sql[i] == QLatin1Char('E'))) {
        ++i;
        if (i < n && (sql[i] == QLatin1Char('+') || sql[i] == QLatin1Char('-')))
            ++i;
        if (!digits())
            return std::nullopt;
        real = true;
    }
    char ascii[64];
    if ((i < n && (isWordChar(sql[i]) || sql[i] == QLatin1Char('.'))) || i - at > int(sizeof ascii))
        return std::nullopt;
    for (int k = at; k < i; ++k)
        ascii[k - at] = char(sql[k].unicode());
    const char *first = ascii, *last = ascii + (i - at);
    Literal lit;
    if (!real && std::from_chars(first, last, lit.integer).ec == std::errc())
        return std::pair(lit, i);
    lit.kind = Literal::Real;
    if (std::from_chars(first, last, lit.real).ec != std::errc())
        return std::nullopt;   // out of range: the engine's own reading stays
    return std::pair(lit, i);
}

bool isKeyword(QStringView word, const char *keyword)
{
    return word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

// Whether a word of the outermost level opens (true) or ends (false) the WHERE condition.
std::optional<bool> conditionBoundary(QStringView word)
{
    if (word.size() < 5 || word.size() > 9)   // the lengths of the clause words
        return std::nullopt;
    switch (word[0].toUpper().unicode()) {
    case 'W':
        if (isKeyword(word, "WHERE"))
            return true;
        return isKeyword(word, "WINDOW") ? std::optional(false) : std::nullopt;
    case 'O': return isKeyword(word, "ORDER") ? std::optional(false) : std::nullopt;
    case 'G': return isKeyword(word, "GROUP") ? std::optional(false) : std::nullopt;
    case 'L': return isKeyword(word, "LIMIT") ? std::optional(false) : std::nullopt;
    case 'H': return isKeyword(word, "HAVING") ? std::optional(false) : std::nullopt;
    case 'U': return isKeyword(word, "UNION") ? std::optional(false) : std::nullopt;
    case 'I': return isKeyword(word, "INTERSECT") ? std::optional(false) : std::nullopt;
    case 'E': return isKeyword(word, "EXCEPT") ? std::optional(false) : std::nullopt;
    case 'R': return isKeyword(word, "RETURNING") ? std::optional(false) : std::nullopt;
    default: return std::nullopt;
    }
}

// The program writes its key values into the query text, so that nearly every query is new
// to the engine. The number and text literals of the outermost WHERE condition become
// parameters: queries that differ only in those values share one prepared statement. What
// stands in parentheses, in the select list or in ORDER BY keeps its text (an ORDER BY 1 is
// a column, not a value), and a query that names parameters of its own is left whole, so
// that their numbers do not move.
LiftedQuery liftLiterals(const QString &sql)
{
    LiftedQuery out{sql, {}};
    QString text;
    int copied = 0;
    int depth = 0;
    bool inCondition = false;
    auto lift = [&](int from, int to, Literal lit) {
        if (depth != 0 || !inCondition)
            return;
        if (text.isEmpty())
            text.reserve(sql.size());
        text += QStringView(sql).mid(copied, from - copied);
        text += QLatin1Char('?');
        copied = to;
        out.values.push_back(std::move(lit));
    };
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        const QChar c = sql[i];
        const QChar next = i + 1 < n ? sql[i + 1] : QChar();
        if (const int past = pastComment(sql, i); past != i) {
            i = past;
        } else if (opensQuote(c)) {
            const int start = i;
            QString value;
            i = readQuoted(sql, i, value);
            // X'..' is a blob, not a text.
            if (c == QLatin1Char('\'') && !(start > 0 && isWordChar(sql[start - 1]))) {
                Literal lit;
                lit.kind = Literal::Text;
                lit.text = value.toUtf8();
                lift(start, i, std::move(lit));
            }
        } else if (c == QLatin1Char('?') || c == QLatin1Char(':') || c == QLatin1Char('@') || c == QLatin1Char('$')) {
            return LiftedQuery{sql, {}};
        } else if (c.isDigit() || (c == QLatin1Char('.') && next.isDigit())) {
            const int start = i;
            const auto number = c.isDigit() ? numberAt(sql, i) : std::nullopt;
            if (number) {
                i = number->second;
                lift(start, i, number->first);
            } else {
                while (i < n && (isWordChar(sql[i]) || sql[i] == QLatin1Char('.')))
                    ++i;
            }
        } else if (isWordChar(c)) {
            const int start = i;
            while (i < n && isWordChar(sql[i]))
                ++i;
            if (depth == 0)
                if (const auto boundary = conditionBoundary(QStringView(sql).mid(start, i - start)))
                    inCondition = *boundary;
        } else {
            if (c == QLatin1Char('('))
                ++depth;
            else if (c == QLatin1Char(')') && depth > 0)
                --depth;
            else if (c == QLatin1Char(';') && depth == 0)
                inCondition = false;
            ++i;
        }
    }
    if (out.values.empty())
        return out;
    text += QStringView(sql).mid(copied);
    out.text = std::move(text);
    return out;
}

// --- Prepared statements kept for reuse ------------------------------------------------------

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

} // namespace

struct Connection::Statements {
    // Enough for every query text a window or an evaluation runs over and over; beyond it the
    // one used longest ago goes.
    static constexpr int kCapacity = 200;

    // A recordset's query and a statement of the layer's own (a write by rowid) may have the
    // same text and are still kept apart.
    struct Key {
        bool query = false;
        QString text;
        bool operator==(const Key &o) const
        {
            return query == o.query && text.size() == o.text.size()
                && std::memcmp(text.constData(), o.text.constData(), size_t(text.size()) * sizeof(QChar)) == 0;
        }
        friend size_t qHash(const Key &k, size_t seed = 0) { return qHash(k.text, seed) ^ size_t(k.query); }
    };

    QHash<Key, std::shared_ptr<Prepared>> byText;
    quint64 clock = 0;

    // The statements lent lately, by the very text they were asked for: a caller that keeps its
    // query texts (the accessor keeps one per shape of call) hands in the same characters again,
    // and that is known without reading them.
    struct Recent {
        bool query = false;
        QString text;
        std::shared_ptr<Prepared> p;
    };
    std::array<Recent, 16> recent;
    size_t recentNext = 0;

    // A text over characters it does not own (fromRawData) could change under the same
    // address: only texts that own theirs are known by it.
    static bool ownsCharacters(const QString &text) { return text.data_ptr().isMutable(); }

    std::shared_ptr<Prepared> *recentOf(bool query, const QString &text)
    {
        if (!ownsCharacters(text))
            return nullptr;
        for (Recent &r : recent)
            if (r.p && r.text.constData() == text.constData() && r.text.size() == text.size() && r.query == query)
                return &r.p;
        return nullptr;
    }
    void noteRecent(bool query, const QString &text, const std::shared_ptr<Prepared> &p)
    {
        if (!ownsCharacters(text) || recentOf(query, text))
            return;
        Recent &r = recent[recentNext];
        recentNext = (recentNext + 1) % recent.size();
        r = Recent{query, text, p};
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

    Lease lend(bool query, const QString &text, const std::function<void(Prepared &)> &make)
    {
        if (std::shared_ptr<Prepared> *p = recentOf(query, text); p && !(*p)->busy) {
            (*p)->busy = true;
            (*p)->lastUse = ++clock;
            return Lease(*p);
        }
        const Key key{query, text};
        if (last && !last->busy && lastKey == key) {
            last->busy = true;
            last->lastUse = ++clock;
            noteRecent(query, text, last);
            return Lease(last);
        }
        auto it = byText.find(key);
        if (it != byText.end()) {
            lastKey = it.key();   // the kept copy: the caller's characters may not stay as they are
            last = *it;
            noteRecent(query, text, *it);
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
            lastKey = ownsCharacters(text) ? key : Key{query, QString(text.constData(), text.size())};
            byText.insert(lastKey, p);
            last = p;
            noteRecent(query, text, p);
        }
        return Lease(p);
    }

    void dropOldest()
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
    void clear()
    {
        last.reset();
        lastKey = Key();
        recent.fill(Recent());
        byText.clear();
    }
};

namespace {

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

QString bracketed(const QString &name)
{
    return QLatin1Char('[') + name + QLatin1Char(']');
}

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

QString sqlText(const QString &s)
{
    QString t = s;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

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

int Connection::preparedStatementCount() const
{
    return int(statements_->byText.size());
}

Connection::Statements &Connection::statements()
{
    return *statements_;
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

// --- Recordset ----------------------------------------------------------------------------

struct Recordset::Impl {
    using Column = QueryColumn;
    enum class Mode { None, Edit, Add };

    ConnectionPtr cnn;
    // The query's columns, shared with its statement until a recordset types one by its values.
    std::shared_ptr<const std::vector<Column>> colsShared = std::make_shared<const std::vector<Column>>();
    const std::vector<Column> &cols() const { return *colsShared; }
    std::vector<Column> &ownCols()
    {
        if (!ownColumns) {
            colsShared = std::make_shared<std::vector<Column>>(*colsShared);
            ownColumns = true;
        }
        return const_cast<std::vector<Column> &>(*colsShared);
    }
    bool ownColumns = false;
    std::vector<Variant> values;        // row-major, cols().size() per row
    std::vector<sqlite3_int64> rowids;
    long pos = 0;                       // -1 before the first row, rows() past the last
    bool onDeleted = false;             // the current row was deleted; pos is the row after it
    bool updatable = false;
    QString table;
    QString rereadSql;                  // the query's columns of one row, by rowid

    // Forward only: the statement standing on the current row; none once past the last row.
    bool forward = false;
    std::unique_ptr<Lease> cursor;
    bool cursorMoved = false;
    std::vector<bool> undeclared;       // columns read as what each value is

    Mode mode = Mode::None;
    long posBeforeAdd = 0;
    std::vector<Variant> buffer;
    std::vector<bool> dirty;

    long rows() const { return long(rowids.size()); }
    int width() const { return int(cols().size()); }
    bool hasRow() const { return forward ? cursor != nullptr : !onDeleted && pos >= 0 && pos < rows(); }

    // Forward only: the next row, or the end, where the statement goes back at once so that
    // no read stays open on the file.
    void advance()
    {
        const int rc = sqlite3_step(cursor->s);
        if (rc == SQLITE_ROW)
            return;
        cursor.reset();
        if (rc != SQLITE_DONE)
            raiseEngine(db(), rc);
    }

    sqlite3 *db() const
    {
        if (!cnn || !cnn->isOpen())
            raise(err::InvalidConnection);
        return cnn->handle();
    }

    void readRow(sqlite3_stmt *s, std::vector<Variant> &out, long at) const
    {
        const int n = width();
        for (int i = 0; i < n; ++i)
            out[size_t(at) * n + i] = readValue(s, i, cols()[i].type);
    }

    // The connection's kept statement of a write by rowid or of a row read again.
    Lease statement(const QString &sql) const
    {
        sqlite3 *h = db();
        return cnn->statements().lend(false, sql, [&](Prepared &p) { prepare(h, sql, &p.stmt); });
    }

    // Reads the stored row back, so that the snapshot shows what the table now holds
    // (rounding of the column type, defaults of columns not written).
    void reread(sqlite3_int64 rowid, long at)
    {
        const Lease st = statement(rereadSql);
        sqlite3_bind_int64(st.s, 1, rowid);
        const int rc = sqlite3_step(st.s);
        if (rc == SQLITE_ROW)
            readRow(st.s, values, at);
        else if (rc != SQLITE_DONE)
            raiseEngine(db(), rc);
    }

    void step(sqlite3_stmt *s)
    {
        const int rc = sqlite3_step(s);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW)
            raiseEngine(db(), rc);
    }

    void writeEdit()
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

    void writeNew()
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

    void discardPending()
    {
        if (mode == Mode::Add)
            pos = posBeforeAdd;
        mode = Mode::None;
        buffer.clear();
        dirty.clear();
    }
};

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

namespace {

// Prepares a recordset's query: with the rowid read too where the query's rows can be written.
void prepareQuery(sqlite3 *db, const QString &sql, Prepared &p)
{
    const QueryShape shape = analyse(sql);
    if (shape.oneTable) {
        static const QString extra = QStringLiteral(",rowid ");
        const QString withRowid = sql.left(shape.fromPos) + extra + sql.mid(shape.fromPos);
        // A view has no rowid: such a query is still read, only not written.
        if (prepareKept(db, withRowid, &p.stmt) == SQLITE_OK) {
            p.rowidRead = true;
            p.table = shape.table;
            p.rereadSql = withRowid.left(shape.tableEnd + extra.size()) + QStringLiteral(" WHERE rowid=?");
            return;
        }
        sqlite3_finalize(p.stmt);
        p.stmt = nullptr;
    }
    prepare(db, sql, &p.stmt);
}

Lease lendQuery(Connection &cnn, const QString &sql)
{
    return cnn.statements().lend(true, sql, [&](Prepared &p) { prepareQuery(cnn.handle(), sql, p); });
}

// A statement stepped only during Open may bind the text where it stands; one that stays open
// for a forward walk keeps its own copy.
void bindLiteral(sqlite3 *db, sqlite3_stmt *s, int pos, const Literal &v, bool copy)
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

} // namespace

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
        lease.emplace(lendQuery(*cnn, lifted.text));
    } catch (const VbError &) {
        // Whatever the lifting missed, the query as written has the last word (and its message).
        if (lifted.values.empty())
            throw;
        lease.emplace(lendQuery(*cnn, sql));
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
    pending.lease.emplace(lendQuery(*cnn, sql));
    sqlite3_stmt *st = pending.lease->s;
    if (sqlite3_bind_parameter_count(st) != int(params.size()))
        raise(err::DatabaseError, QStringLiteral("The query takes %1 values, %2 were given.")
                                      .arg(sqlite3_bind_parameter_count(st))
                                      .arg(params.size()));
    for (size_t k = 0; k < params.size(); ++k)
        bindValue(cnn->handle(), st, int(k) + 1, params[k]);
    finishOpen(pending, cnn, cursor);
}

void Recordset::finishOpen(Pending &pending, const ConnectionPtr &cnn, CursorType cursor)
{
    sqlite3 *db = cnn->handle();
    std::optional<Lease> &lease = pending.lease;
    sqlite3_stmt *st = lease->s;
    Prepared &plan = lease->plan();
    // Built in place: a closed recordset holds nothing, and a failed Open leaves it closed.
    Impl &fresh = *d;   // closed: as a new one
    fresh.cnn = cnn;
    // The rows are read by a function of their own so that any way out of it leaves the
    // recordset closed.
    const auto read = [&] {
        const bool rowidRead = plan.rowidRead;
        int n = -1;
        // The columns are taken after the first step: a kept statement that the engine prepared
        // again for a changed table tells its new columns only then.
        auto readColumns = [&] {
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
                    if (rowidRead && origin && table && plan.table.compare(QString::fromUtf8(table), Qt::CaseInsensitive) == 0) {
                        c.origin = QString::fromUtf8(origin);
                        plan.anyWritable = true;
                    }
                    columns->push_back(c);
                }
                plan.columns = std::move(columns);
                plan.columnsOfVersion = version;
            }
            fresh.colsShared = plan.columns;
            n = int(fresh.cols().size());
        };

        if (cursor == CursorType::ForwardOnly) {
            const int rc = sqlite3_step(st);
            if (rc != SQLITE_DONE && rc != SQLITE_ROW)
                raiseEngine(db, rc);
            readColumns();
            fresh.forward = true;
            fresh.table = plan.table;
            // A column of no declared type is read as what each value is; an expression column
            // tells the type of what its first row holds.
            fresh.undeclared.assign(size_t(n), false);
            for (int i = 0; i < n; ++i) {
                if (fresh.cols()[i].type != VarType::Empty)
                    continue;
                Impl::Column &c = fresh.ownCols()[i];
                fresh.undeclared[size_t(i)] = true;
                if (c.origin.isEmpty())
                    c.type = rc == SQLITE_ROW && sqlite3_column_type(st, i) != SQLITE_NULL ? readValue(st, i, VarType::Empty).type()
                                                                                          : VarType::Double;
            }
            if (rc == SQLITE_ROW)
                fresh.cursor = std::make_unique<Lease>(std::move(*lease));
            lease.reset();
            return;
        }
        for (;;) {
            const int rc = sqlite3_step(st);
            if (rc != SQLITE_DONE && rc != SQLITE_ROW)
                raiseEngine(db, rc);
            if (n < 0)
                readColumns();
            if (rc == SQLITE_DONE)
                break;
            const size_t at = fresh.values.size();
            fresh.values.resize(at + size_t(n));
            for (int i = 0; i < n; ++i)
                fresh.values[at + i] = readValue(st, i, fresh.cols()[i].type);
            fresh.rowids.push_back(rowidRead ? sqlite3_column_int64(st, n) : 0);
        }
        fresh.updatable = rowidRead && plan.anyWritable;
        fresh.table = plan.table;
        fresh.rereadSql = plan.rereadSql;
        lease.reset();

        // An expression column (COUNT, MAX, ...) takes the type of what it holds.
        for (int i = 0; i < n; ++i) {
            // (a column of no declared type that can be written keeps what it is given)
            if (fresh.cols()[i].type != VarType::Empty || !fresh.cols()[i].origin.isEmpty())
                continue;
            Impl::Column &c = fresh.ownCols()[i];
            c.type = VarType::Double;
            for (long r = 0; r < fresh.rows(); ++r) {
                const Variant &v = fresh.values[size_t(r) * n + i];
                if (!v.isNull()) {
                    c.type = v.type();
                    break;
                }
            }
        }
        fresh.pos = 0;
    };
    try {
        read();
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

double Recordset::doubleField(int i) const
{
    if (open_ && d->forward && d->cursor && i >= 0 && i < d->width()) {
        sqlite3_stmt *s = d->cursor->s;
        const int st = sqlite3_column_type(s, i);
        if (st == SQLITE_NULL)
            return 0;
        if (st == SQLITE_INTEGER || st == SQLITE_FLOAT) {
            switch (d->cols()[i].type) {
            case VarType::Single: return double(float(sqlite3_column_double(s, i)));
            case VarType::Boolean: return sqlite3_column_double(s, i) != 0.0 ? -1.0 : 0.0;
            case VarType::String: break;   // a number in a text column converts as its text
            default: return sqlite3_column_double(s, i);
            }
        }
    }
    const Variant v = Fields(i);
    return v.isNull() ? 0.0 : v.toDouble();
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
