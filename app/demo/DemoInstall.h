// Lays out a demo installation: program folder, frame-program stand-in, archive and preset
// databases, a sample project, the user's folder and the registry value.
#pragma once

#include <QString>
#include <QStringList>

namespace vnt::demo {

struct InstallOptions {
    QString root;       // the installation folder
    QString program;    // the built program to copy into the program folder; may be empty
    QString schemaDir;  // the folder holding project.sql, presets.sql and archive.sql
};

// ~/.local/share/Vantrel (the user's data folder), never inside a checkout.
QString defaultRoot();
// The schema folder: VANTREL_SCHEMA_DIR when set, else the checkout this tool was built from.
QString defaultSchemaDir();

// Creates what is missing and refreshes the program copy and the template; never
// replaces the user's databases. Returns the lines to report; throws DemoError.
QStringList install(const InstallOptions &options);

} // namespace vnt::demo
