// A small ADO-like layer over SQLite: a connection, a static snapshot recordset and its fields.
// Callers build SQL as the program always did (square brackets, true, texts in apostrophes).
// Failures raise VbError: the engine's message as the description and one of the numbers in
// errors.h (NoSuchTable, NoSuchColumn, SyntaxError, IntegrityViolation, else DatabaseError);
// misuse of the objects raises the recordset numbers there (3021, 3251, 3265, 3704, 3705, 3709).
#pragma once

#include "../Variant.h"
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <memory>
#include <span>
#include <vector>

struct sqlite3;

namespace vnt::db {

// Quotes a text for use inside an SQL text literal: apostrophes doubled, wrapped in apostrophes.
QString sqlText(const QString &s);

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    QString ConnectionString;     // "...Data Source=<path>;..." as the program builds it
    int ConnectionTimeout = 30;   // seconds; becomes the busy timeout

    // Opens the file named by "Data Source=<path>;" in ConnectionString (or in the argument when
    // it is not empty, which then becomes the ConnectionString). Never creates a missing file:
    // that raises DatabaseError "Could not find file '<path>'.", as does a file that is no database.
    void Open(const QString &connectionString = {});
    void Close();
    bool isOpen() const;
    QString path() const;         // the file behind the connection

    // Nested calls are counted (inner levels are savepoints); only the outermost commit is durable.
    // Close rolls back what is not committed.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool inTransaction() const;

    // Runs one or more statements that return no rows (schema, VACUUM INTO, bulk deletes).
    void Execute(const QString &sql);

    // The recordsets' statements are prepared once per query text and kept until the connection
    // closes (the engine prepares one again by itself when its tables change); queries that
    // differ only in the number and text values of their WHERE condition share one. How many
    // are kept now:
    int preparedStatementCount() const;
    struct Statements;   // opaque outside the layer
    Statements &statements();

    sqlite3 *handle() const { return db_; }

private:
    sqlite3 *db_ = nullptr;
    QString path_;
    int transDepth_ = 0;
    std::unique_ptr<Statements> statements_;
};

using ConnectionPtr = std::shared_ptr<Connection>;

// One unit of work on a connection: begins on construction, commits when told, and rolls back
// when it is left any other way (an error, an early return), so that a half-written unit never
// stays behind. A failure to roll back while leaving is swallowed: the connection's own close
// undoes the open transaction anyway, and the error that caused the leave is the one to report.
class TransactionScope {
public:
    // What commit does with a unit whose writes, taken together, changed nothing (values set
    // and set back, as a drawing that clears its scales and works them out again): Keep
    // commits it as any other, Discard rolls it back instead, so that it costs no sync.
    enum class Unchanged { Keep, Discard };

    explicit TransactionScope(Connection &cnn, Unchanged unchanged = Unchanged::Keep);
    explicit TransactionScope(const ConnectionPtr &cnn, Unchanged unchanged = Unchanged::Keep)
        : TransactionScope(*cnn, unchanged) {}
    ~TransactionScope();
    TransactionScope(const TransactionScope &) = delete;
    TransactionScope &operator=(const TransactionScope &) = delete;

    void commit();
    // Rolls back now (once); raises when the rollback itself fails.
    void rollback();
    bool active() const { return active_; }

private:
    struct Written;
    bool writesChangedNothing() const;
    void stopWatching();

    Connection &cnn_;
    bool active_ = false;
    std::unique_ptr<Written> written_;   // the rows an outermost Discard unit wrote
};

// Opens a connection to a file with the program's connection string.
ConnectionPtr openDatabase(const QString &path);
QString connectionStringFor(const QString &path);

// How a recordset moves: a static snapshot (every row read at Open, free movement, writable),
// or forward only (each row read from the statement as MoveNext reaches it, read only).
enum class CursorType { Static, ForwardOnly };

class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(Recordset &&) noexcept;
    Recordset &operator=(Recordset &&) noexcept;

    // Reads every row of the query at once, in ORDER BY order (static cursor, optimistic locking).
    // Later writes by others are not seen. A one-table query (SELECT <list> or * FROM one table,
    // no DISTINCT, GROUP BY or compound) can be written; any other query only read.
    void Open(const QString &sql, const ConnectionPtr &cnn);
    // Forward only: nothing is copied; Fields reads the current row straight from the engine,
    // so a walk costs little more than the engine's own steps. The query stays open on the
    // connection until the recordset is closed or reaches its end; writes through the same
    // connection meanwhile are allowed. MovePrevious and MoveLast raise 3219, RecordCount is -1,
    // and the rows cannot be written (3251). MoveFirst before the first MoveNext is harmless.
    void Open(const QString &sql, const ConnectionPtr &cnn, CursorType cursor);
    // A query with a "?" for each value, bound in order as the values' types store them; the
    // text is taken as it stands. What a caller that knows its values uses instead of writing
    // them into the text.
    void Open(const QString &sql, std::span<const Variant> params, const ConnectionPtr &cnn,
              CursorType cursor = CursorType::Static);
    // Changes not stored with Update are dropped. Closing twice is harmless.
    void Close();
    bool isOpen() const { return open_; }

    bool isEOF() const;           // empty, or past the last row
    bool isBOF() const;           // empty, or before the first row
    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    long RecordCount() const;

    int FieldCount() const;
    QString FieldName(int i) const;
    VarType FieldType(int i) const;   // the declared type of the column; an expression's from its values
    int fieldIndex(const QString &name) const; // -1 when absent (case ignored)

    Variant Fields(int i) const;
    Variant Fields(const QString &name) const;
    // Typed reads of the current row without a Variant in between: Null reads as true, 0 and "".
    // utf8Field's bytes stay valid until the next move (forward only; a snapshot raises 3219).
    bool isNullField(int i) const;
    double doubleField(int i) const;
    // doubleField of `count` columns from `first` on into out: the row's checks made once, for
    // readers that take many numbers of many rows.
    void doubleFields(int first, int count, double *out) const;
    QByteArrayView utf8Field(int i) const;
    // Converts to the column's declared type (13 type mismatch, 6 overflow).
    void setField(int i, const Variant &v);
    void setField(const QString &name, const Variant &v);

    // Writes go through at once for one-table queries; others raise 3251.
    // AddNew: a new row of Nulls becomes current; columns outside the select list keep the
    // table's defaults. Update stores the pending row (moving and AddNew store it too) and
    // leaves it current, so a following MoveNext stands past the end. A failed Update drops
    // the pending row or changes, so that no later call writes what was refused; CancelUpdate
    // drops them for a caller that could not complete them. Delete removes the current row at
    // once; MoveNext then reaches the next row.
    void AddNew();
    void Update();
    void CancelUpdate();
    void Delete();

private:
    struct Impl;
    struct Pending;
    void finishOpen(Pending &pending, const ConnectionPtr &cnn, CursorType cursor);
    std::unique_ptr<Impl> d;
    bool open_ = false;
};

} // namespace vnt::db
