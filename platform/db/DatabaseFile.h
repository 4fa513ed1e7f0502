// Whole database files copied and replaced as databases, never as bytes: a journal left beside
// a file by a run that was killed while writing belongs to that file alone. Copies read the
// source through the engine (which first rolls such a journal back into the source), are
// flushed to disk before they take the destination's place, and leave no journal and no
// scratch file of the destination behind.
#pragma once

#include <QString>

namespace vnt::db {

// Copies the database at source over destination (replacing it), with the checks and error
// numbers of FileSystemObject::CopyFile; a source that is no database raises DatabaseError.
void copyDatabase(const QString &source, const QString &destination);

// Puts a finished database file (a compacted copy) in place of target, flushed, with the
// target's journal files removed first.
void replaceDatabase(const QString &finished, const QString &target);

} // namespace vnt::db
