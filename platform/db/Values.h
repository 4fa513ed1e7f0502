// Values between the engine and Variants: a column's declared type, a value read as that type,
// a Variant bound to a statement, and a Variant converted to what a column stores.
#pragma once

#include "../Variant.h"

#include <QString>
#include <sqlite3.h>

namespace vnt::db {

VarType typeFromDeclared(const char *decl);
QString columnText(sqlite3_stmt *s, int i);
Variant readValue(sqlite3_stmt *s, int i, VarType type);
void bindValue(sqlite3 *db, sqlite3_stmt *s, int pos, const Variant &v);
Variant convertTo(const Variant &v, VarType type);

} // namespace vnt::db
