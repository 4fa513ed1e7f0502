// The database layer over the SQLite C API: what its files share and no caller sees.
#pragma once

#include "Database.h"

#include <QString>

struct sqlite3;

namespace vnt::db {

// The error number for an engine failure, from its result code and message.
int numberFor(int rc, const QString &message);
// Raises the engine's message of the connection (or of the result code when there is none).
[[noreturn]] void raiseEngine(sqlite3 *db, int rc);

} // namespace vnt::db
