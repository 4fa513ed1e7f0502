// Reading a query's text: its shape, the literals of its condition, names as the engine
// compares them, and names and texts written for the engine.
#pragma once

#include "Database.h"

#include <QString>
#include <sqlite3.h>

#include <vector>

namespace vnt::db {

// A query "SELECT <list> FROM <one table> [alias] [WHERE ...] [ORDER BY ...]" can have its rows
// written back; it is read with the rowid appended to the select list.
struct QueryShape {
    bool oneTable = false;
    QString table;
    int fromPos = 0;        // where FROM begins
    int tableEnd = 0;       // just past the table and its alias
};

QueryShape analyse(const QString &sql);

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

LiftedQuery liftLiterals(const QString &sql);

bool sameName(const QString &a, const QString &b);
QString bracketed(const QString &name);   // [name]

} // namespace vnt::db
