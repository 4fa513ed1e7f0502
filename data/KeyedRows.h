// The rows of one record of a table, read at once and written row by row, for a caller that
// writes a whole record's values by one number column (a section, a combination).
#pragma once

#include "platform/Variant.h"
#include "platform/db/Database.h"

#include <QHash>
#include <QStringList>
#include <span>

namespace vnt {

class clsDATEN;

// A key whose one row holds the values given already costs nothing more, and a changed one is
// written by its row, where the column accessor opens one selection per value. A key without
// its row, or with more than one, is left to the accessor, which adds and removes rows; so is
// every key when the rows could not be read, and a write the database refuses (the accessor
// then tells it as it tells every refused write).
class KeyedRows {
public:
    // The accessor's table and record (its id column and value); `columns` are the value
    // columns in the order write() takes them. False when the rows could not be read.
    bool read(const clsDATEN &accessor, const QString &keyColumn, const QStringList &columns);
    // True when key k has its one row here and it now holds `values`. An empty value or text is
    // written as Null, as the accessor writes it.
    bool write(int k, std::span<const Variant> values);

private:
    db::Recordset rs_;
    int width_ = 0;
    QHash<int, int> rows_;   // rows by key
};

} // namespace vnt
