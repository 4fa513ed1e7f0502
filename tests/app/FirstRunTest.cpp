// What a first ./run.sh on a fresh clone builds: the program and the command that lays out its
// demo installation, nothing of the tests or benchmarks (./test.sh builds those), so that the
// window shows after a fraction of the whole build.
#include "SqlFile.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using vnt::test::buildPath;

namespace {

// The targets run.sh asks the build for, with a cmake of our own on the path that notes its
// arguments and fails the build, so that nothing is built and nothing starts.
QStringList targetsRunScriptBuilds()
{
    QTemporaryDir tmp;
    const QString calls = tmp.filePath(QStringLiteral("calls"));
    QFile fake(tmp.filePath(QStringLiteral("cmake")));
    if (!fake.open(QIODevice::WriteOnly))
        return {QStringLiteral("<no fake cmake>")};
    fake.write(QStringLiteral("#!/bin/sh\necho \"$*\" >> '%1'\n[ \"$1\" = --build ] && exit 3\nexit 0\n").arg(calls).toUtf8());
    fake.close();
    fake.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PATH"), tmp.path() + QLatin1Char(':') + env.value(QStringLiteral("PATH")));
    run.setProcessEnvironment(env);
    run.start(QStringLiteral("bash"), {QStringLiteral(VANTREL_SOURCE_DIR "/run.sh")});
    if (!run.waitForFinished(120000) || run.exitCode() == 0)
        return {QStringLiteral("<run.sh went past its build>")};
    QFile log(calls);
    if (!log.open(QIODevice::ReadOnly))
        return {QStringLiteral("<run.sh called no cmake>")};
    for (const QString &line : QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'))) {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.value(0) != QLatin1String("--build"))
            continue;
        QStringList targets;
        for (qsizetype i = words.indexOf(QStringLiteral("--target")) + 1; i > 0 && i < words.size() && !words[i].startsWith(QLatin1Char('-')); ++i)
            targets << words[i];
        return targets.isEmpty() ? QStringList{QStringLiteral("all")} : targets;
    }
    return {QStringLiteral("<run.sh built nothing>")};
}

} // namespace

TEST(FirstRun, RunScriptBuildsOnlyTheProgramAndTheDemoInstaller)
{
    const QStringList targets = targetsRunScriptBuilds();
    ASSERT_FALSE(targets.isEmpty());
    ASSERT_FALSE(targets[0].startsWith(QLatin1Char('<'))) << targets[0].toStdString();
    // Every command those targets need, whether built already or not.
    QProcess ninja;
    ninja.start(QStringLiteral(VANTREL_NINJA), QStringList{QStringLiteral("-C"), buildPath({}), QStringLiteral("-t"), QStringLiteral("commands")} + targets);
    ASSERT_TRUE(ninja.waitForFinished(60000));
    ASSERT_EQ(ninja.exitCode(), 0) << ninja.readAllStandardError().toStdString();
    const QString commands = QString::fromUtf8(ninja.readAllStandardOutput());
    EXPECT_TRUE(commands.contains(QStringLiteral("bin/VANT "))) << "the program is not linked";
    EXPECT_TRUE(commands.contains(QStringLiteral("bin/vantrel-demo "))) << "the demo installer is not linked";
    // Compiling a source of tests/ or bench/, or linking a test or benchmark program.
    const QRegularExpression testsOrBenchmarks(QStringLiteral(R"( -c \S*/(tests|bench)/|-o bin/(test|bench)_)"));
    const QRegularExpressionMatch found = testsOrBenchmarks.match(commands);
    EXPECT_FALSE(found.hasMatch()) << "builds " << found.captured().toStdString() << " for " << targets.join(' ').toStdString();
}
