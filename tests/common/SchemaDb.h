// Databases with the program's real tables, made from the SQL files in schema/, so that a test
// works on the same column names, order and declared types as the program does:
//   auto cnn = vnt::test::makeProjectDatabase(dir.filePath("VANT.mdb"));
// A project database has the record, result, figure and multiple-evaluation tables; a preset
// database the preset tables; an archive database the user table; a development project both
// the project and the preset tables (the program then reads its presets from it).
// The schema folder comes from VANTREL_SCHEMA_DIR, which every test executable sets.
// A test that needs only a few tables of its own starts from makeEmptyDatabase.
#pragma once

#include "platform/db/Database.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace vnt::test {

inline QString schemaSqlFile(const QString &name)
{
    return QString::fromLocal8Bit(qgetenv("VANTREL_SCHEMA_DIR")) + QLatin1Char('/') + name;
}

// Creates the file (the data layer never creates one; an empty file is an empty database)
// and opens it.
inline db::ConnectionPtr makeEmptyDatabase(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot create " + path.toStdString());
    file.close();
    return db::openDatabase(path);
}

// A new database with the named SQL files run on it, in order. A missing or broken SQL file
// throws, so the test fails at its first line.
inline db::ConnectionPtr makeSchemaDatabase(const QString &path, const QStringList &sqlFiles)
{
    auto cnn = makeEmptyDatabase(path);
    for (const QString &name : sqlFiles) {
        QFile sql(schemaSqlFile(name));
        if (!sql.open(QIODevice::ReadOnly))
            throw std::runtime_error("schema file missing: " + sql.fileName().toStdString()
                                    );
        cnn->Execute(QString::fromUtf8(sql.readAll()));
    }
    return cnn;
}

inline db::ConnectionPtr makeProjectDatabase(const QString &path)
{
    return makeSchemaDatabase(path, {QStringLiteral("project.sql")});
}

inline db::ConnectionPtr makePresetDatabase(const QString &path)
{
    return makeSchemaDatabase(path, {QStringLiteral("presets.sql")});
}

inline db::ConnectionPtr makeArchiveDatabase(const QString &path)
{
    return makeSchemaDatabase(path, {QStringLiteral("archive.sql")});
}

inline db::ConnectionPtr makeDevelopmentDatabase(const QString &path)
{
    return makeSchemaDatabase(path, {QStringLiteral("project.sql"), QStringLiteral("presets.sql")});
}

} // namespace vnt::test
