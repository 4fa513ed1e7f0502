// What a recordset holds: its rows (a snapshot) or the statement standing on its row (forward
// only), and a row being edited or added. Opening, moving and reading are in RecordsetRead.cpp,
// writing in RecordsetWrite.cpp.
#pragma once

#include "Database.h"
#include "DatabaseInternal.h"
#include "StatementCache.h"
#include "../errors.h"

#include <sqlite3.h>

#include <memory>
#include <optional>
#include <vector>

namespace vnt::db {

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

    // Opening (RecordsetRead.cpp): the statement's columns, then its rows.
    int takeColumns(sqlite3_stmt *st, Prepared &plan);
    void openForward(std::optional<Lease> &lease);
    void readSnapshot(std::optional<Lease> &lease);

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

    void readRow(sqlite3_stmt *s, std::vector<Variant> &out, long at) const;
    Lease statement(const QString &sql) const;
    void reread(sqlite3_int64 rowid, long at);
    void step(sqlite3_stmt *s);
    void writeEdit();
    void writeNew();
    void discardPending();
};

} // namespace vnt::db
