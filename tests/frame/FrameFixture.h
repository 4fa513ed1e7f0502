// A throw-away installation of the program in a temporary folder: program folder with the
// templates, archive with the user's row, presets, one project, and the registry value; the
// frame program and the desktop's opener are replaced by recorders.
#pragma once

#include "common/SchemaDb.h"
#include "common/TestSupport.h"
#include "frame/frmMAIN.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sqlite3.h>

namespace vnt::test {

// Runs SQL on a database file, creating it when missing.
inline void sql(const QString &file, const QString &statements)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr), SQLITE_OK);
    char *msg = nullptr;
    const int rc = sqlite3_exec(db, statements.toUtf8().constData(), nullptr, nullptr, &msg);
    EXPECT_EQ(rc, SQLITE_OK) << (msg ? msg : "");
    sqlite3_free(msg);
    sqlite3_close(db);
}

// The first column of the first row, or "<none>".
inline QString scalar(const QString &file, const QString &query)
{
    sqlite3 *db = nullptr;
    QString out = QStringLiteral("<none>");
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(db, query.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            out = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}

struct Recorder {
    QStringList started, opened;
};
inline Recorder &recorder()
{
    static Recorder r;
    return r;
}

class Installation {
public:
    explicit Installation(const QString &programFolderName = QStringLiteral("VANT"))
    {
        root = tmp.path();
        program = root + QLatin1Char('/') + programFolderName;
        daten = root + QStringLiteral("/DATEN");
        projekte = root + QStringLiteral("/PROJEKTE");
        projectFolder = projekte + QStringLiteral("/Demo");
        for (const QString &d : {program, daten, projectFolder})
            QDir().mkpath(d);
        user = sys::userName().toUpper();

        sql(program + QStringLiteral("/VANT.mdb"), kProjectSchema);
        sql(program + QStringLiteral("/VORGABE.mdb"), kPresetSchema);
        sql(daten + QStringLiteral("/VORGABE.mdb"), kPresetSchema);
        makeArchiveDatabase(archive());
        sql(archive(), QStringLiteral("INSERT INTO ADMIN VALUES ('%1','KORVANE','%2','Demo','Erika Muster');").arg(user, projekte));
        sql(projectDb(), kProjectSchema);

        previousSettings_ = registry::settingsFile();
        registry::setSettingsFile(root + QStringLiteral("/settings.ini"));
        registry::SaveSetting(QStringLiteral("KORVANE"), QStringLiteral("Extras"), QStringLiteral("Datenbankpfad"), daten);

        recorder() = {};
        shell::setStarter([](const QString &p) { recorder().started << p; return true; });
        shell::setOpener([](const QString &p) { recorder().opened << p; return true; });
    }
    ~Installation() { registry::setSettingsFile(previousSettings_); }

    QString archive() const { return daten + QStringLiteral("/ARCHIV.mdb"); }
    QString projectDb() const { return projectFolder + QStringLiteral("/VANT.mdb"); }
    QString working() const { return root + QStringLiteral("/BENUTZER/") + user + QStringLiteral("/VANT.mdb"); }
    QString frameProgram() const { return root + QStringLiteral("/KORVANE"); }
    QString prog() const { return scalar(archive(), QStringLiteral("SELECT PROG FROM ADMIN")); }
    void makeFrameProgram() const
    {
        QFile f(frameProgram());
        f.open(QIODevice::WriteOnly);
        f.write("#!/bin/sh\n");
    }

    static constexpr const char *kProjectSchemaText =
        "CREATE TABLE E1 (ID INTEGER, KEN TEXT COLLATE NOCASE, KOM TEXT COLLATE NOCASE, AKT BOOLEAN);";
    inline static const QString kProjectSchema = QString::fromLatin1(kProjectSchemaText);
    inline static const QString kPresetSchema = QStringLiteral("CREATE TABLE VANT_V11 (IDT INTEGER, KENT TEXT COLLATE NOCASE);");

    QTemporaryDir tmp;
    QString root, program, daten, projekte, projectFolder, user;

private:
    QString previousSettings_;
};

// The input window and the preset editor read every preset table, which the installation's
// small preset database lacks: the full preset schema in its place.
inline void withPresetTables(const Installation &inst)
{
    QFile presets(schemaSqlFile(QStringLiteral("presets.sql")));
    ASSERT_TRUE(presets.open(QIODevice::ReadOnly));
    sql(inst.daten + QStringLiteral("/VORGABE.mdb"), QStringLiteral("DROP TABLE VANT_V11;") + QString::fromUtf8(presets.readAll()));
}

} // namespace vnt::test
