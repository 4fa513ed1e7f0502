// A small ADO-like layer over SQLite: a connection, a static snapshot recordset and its fields.
// Callers build SQL as the program always did (square brackets, true, texts in apostrophes).
#pragma once

#include "Variant.h"
#include <QString>
#include <QStringList>
#include <memory>
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

    // Opens the file named by ConnectionString (or by the argument when it is not empty).
    // Never creates a missing file: that raises an error.
    void Open(const QString &connectionString = {});
    void Close();
    bool isOpen() const;
    QString path() const;         // the file behind the connection

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool inTransaction() const;

    // Runs one or more statements that return no rows (schema, VACUUM INTO, bulk deletes).
    void Execute(const QString &sql);

    sqlite3 *handle() const { return db_; }

private:
    sqlite3 *db_ = nullptr;
    QString path_;
    int transDepth_ = 0;
};

using ConnectionPtr = std::shared_ptr<Connection>;

// Opens a connection to a file with the program's connection string.
ConnectionPtr openDatabase(const QString &path);
QString connectionStringFor(const QString &path);

class Recordset {
public:
    Recordset();
    ~Recordset();

    // Reads every row of the query at once, in ORDER BY order (static cursor, optimistic locking).
    void Open(const QString &sql, const ConnectionPtr &cnn);
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
    VarType FieldType(int i) const;   // the declared type of the column
    int fieldIndex(const QString &name) const; // -1 when absent (case ignored)

    Variant Fields(int i) const;
    Variant Fields(const QString &name) const;
    // Converts to the column's declared type (13 type mismatch, 6 overflow).
    void setField(int i, const Variant &v);
    void setField(const QString &name, const Variant &v);

    // Writes go through at once for one-table queries; others raise an error.
    void AddNew();
    void Update();
    void Delete();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    bool open_ = false;
};

} // namespace vnt::db
