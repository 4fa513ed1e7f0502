// A fresh demo installation for the frame's tests, laid out by the demo command itself.
#pragma once

#include "platform/registry.h"
#include "platform/shell.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

namespace vnt::test {

// A fresh demo installation, laid out by the demo command as a new user's first start does,
// with the program's settings in the installation's folder.
class DemoInstallation {
public:
    DemoInstallation()
    {
        root = tmp.filePath(QStringLiteral("inst"));
        const QString settings = tmp.filePath(QStringLiteral("settings.ini"));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VANTREL_SETTINGS"), settings);
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("VANTREL_BUILD_DIR") + QStringLiteral("/bin/vantrel-demo"), {QStringLiteral("--root"), root});
        ok = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        output = QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
        previousSettings_ = registry::settingsFile();
        registry::setSettingsFile(settings);
        shell::setStarter([](const QString &) { return true; });
        shell::setOpener([](const QString &) { return true; });
    }
    ~DemoInstallation() { registry::setSettingsFile(previousSettings_); }

    QString program() const { return root + QStringLiteral("/VANT"); }
    QString project() const { return root + QStringLiteral("/PROJEKTE/Demo/VANT.mdb"); }

    QTemporaryDir tmp;
    QString root, output;
    bool ok = false;

private:
    QString previousSettings_;
};

} // namespace vnt::test
