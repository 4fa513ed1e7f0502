// The demo installation. Databases that exist are the user's data and are kept as they
// are; only the program copy and the empty templates, which belong to the build, are
// replaced. New files appear only when complete, so an interrupted run is simply repeated.
#include "DemoInstall.h"

#include "DemoData.h"
#include "DemoDatabase.h"
#include "platform/registry.h"
#include "platform/system.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>

namespace vnt::demo {

namespace {

const QString kTitle = QStringLiteral("VANT");
const QString kProject = QStringLiteral("Demo");

void makeFolder(const QString &path)
{
    if (!QDir().mkpath(path))
        throw DemoError(QStringLiteral("cannot create folder %1").arg(path).toStdString());
}

// Copies through a temporary name and renames, so a running program keeps its file
// and a broken copy never replaces a good one.
void refreshCopy(const QString &source, const QString &target, bool executable)
{
    const QString tmp = target + QStringLiteral(".tmp");
    QFile::remove(tmp);
    if (!QFile::copy(source, tmp))
        throw DemoError(QStringLiteral("cannot copy %1 to %2").arg(source, target).toStdString());
    QFile::Permissions perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    if (executable)
        perms |= QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    QFile::setPermissions(tmp, perms);
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(target).constData(), ec);
    if (ec) {
        QFile::remove(tmp);
        throw DemoError(QStringLiteral("cannot replace %1: %2").arg(target, QString::fromStdString(ec.message())).toStdString());
    }
}

void writeFrameProgram(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw DemoError(QStringLiteral("cannot write %1").arg(path).toStdString());
    f.write("#!/bin/sh\n"
            "# Stand-in for the family's frame program in the demo installation.\n"
            "echo \"KORVANE: Rahmenprogramm (Demo-Platzhalter). Das Programm wurde geschlossen.\"\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                     | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

} // namespace

QString defaultRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Vantrel");
}

QString defaultSchemaDir()
{
    const QByteArray env = qgetenv("VANTREL_SCHEMA_DIR");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    // The build names its checkout: a compiler cache may give this file a name relative to the
    // build folder, which would lead elsewhere from any other working folder.
    return QStringLiteral(VANTREL_SOURCE_DIR "/schema");
}

QStringList install(const InstallOptions &o)
{
    QStringList report;
    const QString root = QDir::cleanPath(QDir(o.root).absolutePath());
    const QString schema = QDir::cleanPath(o.schemaDir);
    const QString projectSql = schema + QStringLiteral("/project.sql");
    const QString presetsSql = schema + QStringLiteral("/presets.sql");
    const QString archiveSql = schema + QStringLiteral("/archive.sql");
    for (const QString &sql : {projectSql, presetsSql, archiveSql})
        if (!QFileInfo::exists(sql))
            throw DemoError(QStringLiteral("schema file missing: %1").arg(sql).toStdString());

    const QString programDir = root + QStringLiteral("/VANT");
    const QString dataDir = root + QStringLiteral("/DATEN");
    const QString projectsDir = root + QStringLiteral("/PROJEKTE");
    const QString projectDir = projectsDir + QLatin1Char('/') + kProject;
    const QString login = sys::userName();
    const QString user = login.toUpper();       // the form the program looks the user up by
    const QString userDir = root + QStringLiteral("/BENUTZER/") + user;

    if (programDir.contains(QStringLiteral("SOURCE"), Qt::CaseInsensitive))
        report << QStringLiteral("warning: %1 contains \"source\"; the program would start in its development mode there").arg(programDir);

    for (const QString &dir : {programDir, dataDir, projectDir, userDir})
        makeFolder(dir);

    // The build's own files: always refreshed.
    if (!o.program.isEmpty()) {
        if (!QFileInfo(o.program).isFile())
            throw DemoError(QStringLiteral("program not found: %1").arg(o.program).toStdString());
        refreshCopy(o.program, programDir + QLatin1Char('/') + kTitle, true);
        report << QStringLiteral("program    %1/%2").arg(programDir, kTitle);
    }
    DemoDatabase::create(programDir + QLatin1Char('/') + kTitle + QStringLiteral(".mdb"), {projectSql}, {});
    report << QStringLiteral("template   %1/%2.mdb").arg(programDir, kTitle);
    DemoDatabase::create(programDir + QStringLiteral("/VORGABE.mdb"), {presetsSql}, {});
    report << QStringLiteral("template   %1/VORGABE.mdb").arg(programDir);

    const QString frame = root + QStringLiteral("/KORVANE");
    if (!QFileInfo::exists(frame))
        writeFrameProgram(frame);

    // The user's data: made once, then left alone.
    const QString archive = dataDir + QStringLiteral("/ARCHIV.mdb");
    if (!QFileInfo::exists(archive))
        DemoDatabase::create(archive, {archiveSql}, {});
    // A user who has no row yet gets one beside the others' rows.
    DemoDatabase::update(archive, [&](DemoDatabase &db) {
        const QString quoted = QString(user).replace(QLatin1Char('\''), QStringLiteral("''"));
        if (db.count(QStringLiteral("SELECT COUNT(*) FROM [ADMIN] WHERE [BENUTZER]='%1'").arg(quoted)) == 0)
            db.insert("ADMIN", {txt(user), txt("KORVANE"), txt(projectsDir), txt(kProject), txt(login)});
    });
    report << QStringLiteral("archive    %1").arg(archive);

    const QString presets = dataDir + QStringLiteral("/VORGABE.mdb");
    if (!QFileInfo::exists(presets))
        DemoDatabase::create(presets, {presetsSql}, fillPresets);
    report << QStringLiteral("presets    %1").arg(presets);

    const QString project = projectDir + QLatin1Char('/') + kTitle + QStringLiteral(".mdb");
    if (!QFileInfo::exists(project))
        DemoDatabase::create(project, {projectSql}, fillProject);
    report << QStringLiteral("project    %1").arg(project);

    registry::SaveSetting(QStringLiteral("KORVANE"), QStringLiteral("Extras"), QStringLiteral("Datenbankpfad"), dataDir);
    report << QStringLiteral("registry   KORVANE/Extras/Datenbankpfad = %1 (%2)").arg(dataDir, registry::settingsFile());
    return report;
}

} // namespace vnt::demo
