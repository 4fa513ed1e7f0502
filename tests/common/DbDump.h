// What a query returns, as one text a test can compare: dump(cnn, "SELECT ...") == "1;P1|2;Null".
#pragma once

#include "platform/db/Database.h"

#include <QString>
#include <QStringList>

namespace vnt::test {

// Every row of a query, fields joined by ";", rows by "|"; Null shows as "Null".
inline QString dump(const db::ConnectionPtr &cnn, const QString &sql)
{
    db::Recordset rs;
    rs.Open(sql, cnn);
    QStringList rows;
    for (; !rs.isEOF(); rs.MoveNext()) {
        QStringList fields;
        for (int i = 0; i < rs.FieldCount(); ++i) {
            const Variant v = rs.Fields(i);
            fields << (v.isNull() ? QStringLiteral("Null") : v.text());
        }
        rows << fields.join(QLatin1Char(';'));
    }
    return rows.join(QLatin1Char('|'));
}

} // namespace vnt::test
