// Reading a query's text as the engine will: its outermost tokens past comments and quotes,
// whether its rows can be written back, and the literals of its condition lifted out.
#include "SqlText.h"

#include <QList>

#include <charconv>
#include <optional>

namespace vnt::db {

// --- What a query reads -------------------------------------------------------------------

namespace {

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

} // namespace

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

namespace {

bool is(const Token &t, const char *keyword)
{
    return t.word && t.text.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

} // namespace

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

namespace {

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

} // namespace

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

QString bracketed(const QString &name)
{
    return QLatin1Char('[') + name + QLatin1Char(']');
}

QString sqlText(const QString &s)
{
    QString t = s;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

} // namespace vnt::db
