// The demo installation command: the layout the program's start-up looks for, a second
// run that keeps the user's data, and sample records the evaluation can complete.
#include "SqlFile.h"

#include "platform/registry.h"
#include "platform/system.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>

using vnt::test::SqlFile;
using vnt::test::buildPath;

namespace {

class Demo : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString root() const { return tmp.path() + "/inst"; }
    QString settings() const { return tmp.path() + "/settings.ini"; }

    // Runs the command; returns its exit code, keeps what it wrote.
    int run(const QStringList &args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VANTREL_SETTINGS", settings());
        p.setProcessEnvironment(env);
        p.start(buildPath("bin/vantrel-demo"), args);
        if (!p.waitForFinished(60000))
            return -1;
        output = QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    int install(const QString &program = {})
    {
        QStringList args{"--root", root()};
        if (!program.isEmpty())
            args << "--program" << program;
        return run(args);
    }
    void writeFile(const QString &path, const QByteArray &data)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(data);
    }
    QByteArray readFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString output;
};

double num(const QString &s) { return s == "<null>" ? NAN : s.toDouble(); }

} // namespace

TEST_F(Demo, CreatesTheLayoutTheStartUpLooksFor)
{
    const QString program = tmp.path() + "/VANT-built";
    writeFile(program, "#!/bin/sh\n");
    ASSERT_EQ(install(program), 0) << output.toStdString();

    const QString user = vnt::sys::userName().toUpper();
    for (const char *f : {"VANT/VANT", "VANT/VANT.mdb", "VANT/VORGABE.mdb", "KORVANE", "DATEN/ARCHIV.mdb", "DATEN/VORGABE.mdb",
                             "PROJEKTE/Demo/VANT.mdb"})
        EXPECT_TRUE(QFileInfo(root() + "/" + f).isFile()) << f;
    EXPECT_TRUE(QFileInfo(root() + "/BENUTZER/" + user).isDir());
    EXPECT_TRUE(QFileInfo(root() + "/VANT/VANT").isExecutable());
    EXPECT_TRUE(QFileInfo(root() + "/KORVANE").isExecutable());

    // The start-up reads the database folder without a trailing separator and appends
    // "/ARCHIV.mdb"; the user's row names the folder that holds the project folders.
    vnt::registry::setSettingsFile(settings());
    EXPECT_EQ(vnt::registry::GetSetting("KORVANE", "Extras", "Datenbankpfad"), root() + "/DATEN");
    vnt::registry::setSettingsFile({});

    SqlFile archive(root() + "/DATEN/ARCHIV.mdb");
    const auto rows = archive.rows(QString("SELECT * FROM [ADMIN] WHERE [BENUTZER]='%1'").arg(user));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], user);
    EXPECT_EQ(rows[0][2], root() + "/PROJEKTE");
    EXPECT_EQ(rows[0][3], "Demo");
    EXPECT_EQ(rows[0][4], vnt::sys::userName());
    EXPECT_TRUE(QFileInfo(rows[0][2] + "/" + rows[0][3] + "/VANT.mdb").isFile());

    // The template beside the program is empty; the project holds the records.
    SqlFile tmpl(root() + "/VANT/VANT.mdb");
    EXPECT_EQ(tmpl.one("SELECT COUNT(*) FROM E1"), "0");
}

TEST_F(Demo, SecondRunKeepsTheUsersDataAndRefreshesTheProgram)
{
    const QString program = tmp.path() + "/VANT-built";
    writeFile(program, "first build");
    ASSERT_EQ(install(program), 0) << output.toStdString();
    {
        SqlFile project(root() + "/PROJEKTE/Demo/VANT.mdb");
        ASSERT_TRUE(project.exec("UPDATE E1 SET KOM='mine' WHERE ID=1"));
        SqlFile presets(root() + "/DATEN/VORGABE.mdb");
        ASSERT_TRUE(presets.exec("DELETE FROM VANT_V11 WHERE IDT=0"));
        SqlFile archive(root() + "/DATEN/ARCHIV.mdb");
        ASSERT_TRUE(archive.exec("UPDATE ADMIN SET PROJEKT='Other'"));
        SqlFile tmpl(root() + "/VANT/VANT.mdb");
        ASSERT_TRUE(tmpl.exec("INSERT INTO E1 (ID) VALUES (5)"));
    }
    writeFile(program, "second build");

    ASSERT_EQ(install(program), 0) << output.toStdString();

    SqlFile project(root() + "/PROJEKTE/Demo/VANT.mdb");
    EXPECT_EQ(project.one("SELECT KOM FROM E1 WHERE ID=1"), "mine");
    SqlFile presets(root() + "/DATEN/VORGABE.mdb");
    EXPECT_EQ(presets.one("SELECT COUNT(*) FROM VANT_V11 WHERE IDT=0"), "0");
    SqlFile archive(root() + "/DATEN/ARCHIV.mdb");
    EXPECT_EQ(archive.one("SELECT COUNT(*) FROM ADMIN"), "1");
    EXPECT_EQ(archive.one("SELECT PROJEKT FROM ADMIN"), "Other");
    SqlFile tmpl(root() + "/VANT/VANT.mdb");
    EXPECT_EQ(tmpl.one("SELECT COUNT(*) FROM E1"), "0");
    EXPECT_EQ(readFile(root() + "/VANT/VANT"), "second build");
}

TEST_F(Demo, ReportsAMissingProgramOrBadArguments)
{
    EXPECT_EQ(install(tmp.path() + "/no-such-program"), 1);
    EXPECT_TRUE(output.contains("no-such-program")) << output.toStdString();
    EXPECT_EQ(run({"--root"}), 2);
    EXPECT_EQ(run({"--unknown"}), 2);
}

// Every sample record must pass the evaluation without a notice, its keys must name
// presets, and together they must offer each way the evaluation completes times.
TEST_F(Demo, SampleRecordsAreCompleteForTheEvaluation)
{
    ASSERT_EQ(install(), 0) << output.toStdString();
    SqlFile db(root() + "/PROJEKTE/Demo/VANT.mdb");
    SqlFile pre(root() + "/DATEN/VORGABE.mdb");

    const auto presetKeys = [&](const QString &table, const QString &col) {
        QStringList keys;
        for (const auto &r : pre.rows(QString("SELECT [%1] FROM [%2]").arg(col, table)))
            keys << r[0];
        return keys;
    };
    const QStringList rigs = presetKeys("VANT_V11", "KENT"), casings = presetKeys("VANT_V12", "KENV"),
                      cutting = presetKeys("VANT_V13", "KENL"), conveying = presetKeys("VANT_V14", "KENF"),
                      rocks = presetKeys("VANT_V2", "KENG"), costSets = presetKeys("VANT_V3", "KENK");

    const auto records = db.rows("SELECT ID, KEN, AKT, GBRZ, GNTZ, FNE FROM E1 ORDER BY ID");
    EXPECT_GE(records.size(), 4u);
    EXPECT_LE(records.size(), 6u);
    int active = 0, perSectionParts = 0, perSectionFactors = 0, totalsByFactor = 0, totalsByLength = 0;
    for (const QStringList &rec : records) {
        const QString id = rec[0];
        SCOPED_TRACE(rec[1].toStdString());
        active += rec[2] == "1";

        const auto secs = db.rows(QString(
            "SELECT E2.I2, E2.Z, E5.BRZ, E5.NTZ, E5.AUZ, E5.PPZ, E5.STZ, E5.NEZ, E5.FA, E5.FAUZ, E5.FPPZ, E5.FSTZ,"
            " E3.KENT, E3.KENV, E3.KENL, E3.KENF, E3.PER, E4.KENG"
            " FROM E2 JOIN E3 ON E3.ID=E2.ID AND E3.I2=E2.I2 JOIN E4 ON E4.ID=E2.ID AND E4.I2=E2.I2"
            " JOIN E5 ON E5.ID=E2.ID AND E5.I2=E2.I2 WHERE E2.ID=%1 ORDER BY E2.I2").arg(id));
        ASSERT_GE(secs.size(), 8u);
        ASSERT_LE(secs.size(), 30u);
        for (const char *t : {"E2", "E3", "E4", "E5"})
            EXPECT_EQ(db.one(QString("SELECT COUNT(*) FROM %1 WHERE ID=%2").arg(t, id)).toInt(), int(secs.size())) << t;
        EXPECT_EQ(costSets.count(db.one(QString("SELECT KENK FROM E6 WHERE ID=%1").arg(id))), 1);

        bool timesGiven = true, partsGiven = true, faGiven = true;
        double lastZ = 0.0;
        for (size_t i = 0; i < secs.size(); ++i) {
            const QStringList &s = secs[i];
            EXPECT_EQ(s[0].toInt(), int(i));
            EXPECT_GT(num(s[1]), lastZ) << "depths must grow, section " << i;
            lastZ = num(s[1]);
            timesGiven = timesGiven && s[2] != "<null>" && s[3] != "<null>";
            partsGiven = partsGiven && s[4] != "<null>" && s[5] != "<null>" && s[6] != "<null>";
            faGiven = faGiven && s[8] != "<null>";
            EXPECT_TRUE(rigs.contains(s[12]) && casings.contains(s[13]) && cutting.contains(s[14])
                        && conveying.contains(s[15]) && rocks.contains(s[17])) << "section " << i;
            EXPECT_GT(s[16].toInt(), 0) << "crew, section " << i;
            if (partsGiven && timesGiven) {
                // What the input shows as gross and ancillary time is what the evaluation derives.
                const double nez = num(s[4]) + num(s[5]) + num(s[6]);
                EXPECT_NEAR(num(s[7]), nez, 1e-3) << "section " << i;
                EXPECT_NEAR(num(s[2]), num(s[3]) + nez, 1e-3) << "section " << i;
            }
        }
        if (!timesGiven) {
            EXPECT_GT(num(rec[3]), 0.0) << "whole-bore gross time";
            EXPECT_TRUE(rec[4] != "<null>" || rec[5] != "<null>") << "net time or ancillary ratio";
        }
        if (!partsGiven) {
            for (const QStringList &s : secs)
                EXPECT_GT(num(s[9]) + num(s[10]) + num(s[11]), 0.0) << "ancillary factors, section " << s[0].toStdString();
        }

        if (timesGiven)
            (partsGiven ? perSectionParts : perSectionFactors)++;
        else
            (faGiven ? totalsByFactor : totalsByLength)++;
    }
    EXPECT_GE(active, 2) << "the multiple evaluation compares two or more active records";
    // Every record comes evaluated, its results marked as current.
    EXPECT_EQ(db.one("SELECT COUNT(*) FROM E2 LEFT JOIN A2 ON A2.ID=E2.ID AND A2.I2=E2.I2 WHERE A2.ID IS NULL"), "0");
    EXPECT_EQ(db.one("SELECT COUNT(*) FROM A1 WHERE BONEU=0"), QString::number(records.size()));
    // The combinations group the active records' sections in several ways, and one finds none.
    EXPECT_GE(db.one("SELECT COUNT(DISTINCT M2.I1) FROM M2 JOIN E4 ON E4.KENG=M2.KENG JOIN E1 ON E1.ID=E4.ID AND E1.AKT")
                  .toInt(), 4);
    EXPECT_EQ(db.one("SELECT COUNT(*) FROM M2 WHERE KENG='SST'"), "1");
    EXPECT_GE(perSectionParts, 1);
    EXPECT_GE(perSectionFactors, 1);
    EXPECT_GE(totalsByFactor, 1);
    EXPECT_GE(totalsByLength, 1);
    EXPECT_GT(db.one("SELECT COUNT(*) FROM E3 WHERE ZKT>0 OR ZKV>0 OR ZKL>0 OR ZKF>0").toInt(), 0);

    // The multiple evaluation needs a unit-cost set with separate staff costs; the record
    // pages show the fallback of a set without.
    EXPECT_NE(pre.one("SELECT COUNT(*) FROM VANT_V3 WHERE KENKPG=0"), "0");
    EXPECT_NE(pre.one("SELECT COUNT(*) FROM VANT_V3 WHERE KENKPG=1"), "0");
    // Logger values are numbered from 0 without gaps.
    EXPECT_EQ(pre.one("SELECT COUNT(*) = MAX(MNR) + 1 FROM VANT_VE2 WHERE IDK=1"), "1");
}
