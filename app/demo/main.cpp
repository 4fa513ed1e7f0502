// vantrel-demo [--root DIR] [--program PATH]: creates or refreshes a demo installation.
#include "DemoDatabase.h"
#include "DemoInstall.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    vnt::demo::InstallOptions options;
    options.root = vnt::demo::defaultRoot();
    options.schemaDir = vnt::demo::defaultSchemaDir();

    QTextStream err(stderr);
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--root") && hasValue)
            options.root = args[++i];
        else if (a == QLatin1String("--program") && hasValue)
            options.program = args[++i];
        else {
            err << "usage: vantrel-demo [--root DIR] [--program PATH]\n";
            return 2;
        }
    }

    try {
        QTextStream out(stdout);
        for (const QString &line : vnt::demo::install(options))
            out << line << '\n';
        out << "installation " << QDir(options.root).absolutePath() << '\n';
    } catch (const std::exception &e) {
        err << "vantrel-demo: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
