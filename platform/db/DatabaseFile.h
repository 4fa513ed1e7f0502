// Whole database files copied and replaced as databases, never as a plain file copy: a journal
// left beside a file by a run that was killed while writing belongs to that file alone. Copies
// open the source through the engine (which first rolls such a journal back into the source)
// and take its bytes only while the engine's shared lock keeps every writer out; they are
// flushed to disk before they take the destination's place, and leave no journal and no
// scratch file of the destination behind.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace vnt::db {

// Copies the database at source over destination (replacing it), with the checks and error
// numbers of FileSystemObject::CopyFile; a source that is no database raises DatabaseError.
void copyDatabase(const QString &source, const QString &destination);

// Why the database at path cannot be trusted, or "" when it can: a file that is no database, a
// damaged one (its structure fails the engine's quick check), or one without a table or column
// that the model database (when given and present) holds. A missing file raises FileNotFound.
// Nothing is written into the file; a journal left beside it by a killed write is rolled back
// into it first, as any open would.
QString databaseDefect(const QString &path, const QString &model = {});
// The same, with the tables and columns the file must hold given by name.
QString databaseDefect(const QString &path, const QMap<QString, QStringList> &needed);

// The start-up's working copy: copies the database at source over destination as copyDatabase
// does and returns "", or, when the copy fails databaseDefect with the model (the source's
// bytes and the copy's are one and the same), returns the defect and leaves destination as it
// was. The source is read once: the check reads the fresh copy while its pages are in memory,
// and runs while the copy is being written to disk.
QString copyCheckedDatabase(const QString &source, const QString &destination, const QString &model);

// Removes the journal beside the database at path when no open would ever play it back (a
// killed run can leave one whose header the engine had already zeroed). It is looked at only
// while the engine's exclusive lock keeps every other connection out, which first rolls back
// a journal that is still hot; a database in use elsewhere keeps its journal.
void removeColdJournal(const QString &path);

// Puts a finished database file (a compacted copy) in place of target, flushed, with the
// target's journal files removed first.
void replaceDatabase(const QString &finished, const QString &target);

} // namespace vnt::db
