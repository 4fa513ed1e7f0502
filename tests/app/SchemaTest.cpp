// The SQL that makes every database: it applies, keeps the column order that copying by
// position relies on, and uses only the declared types the data layer maps to values.
#include "SqlFile.h"

#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using vnt::test::SqlFile;
using vnt::test::readText;
using vnt::test::schemaFile;
using vnt::test::buildPath;

namespace {

const QStringList kProjectTables = {"A1", "A2", "E1", "E2", "E3", "E4", "E5", "E6", "G0", "G1",
                                    "G2_1", "G2_2", "G3", "M1", "M2", "M3", "M4"};
const QStringList kPresetTables = {"VANT_V11", "VANT_V12", "VANT_V13", "VANT_V14", "VANT_V2",
                                   "VANT_V3", "VANT_VE1", "VANT_VE2"};

// Every column in the order the program reads, writes and copies it.
const QMap<QString, QString> kColumns = {
    {"E1", "ID KEN KOM AKT DATUMA DATUME NN ZGW GBRZ GNTZ FNE"},
    {"E2", "ID I2 Z"},
    {"E3", "ID I2 D KENT KENV KENL KENF ZKT ZKV ZKL ZKF PER"},
    {"E4", "ID I2 KENG"},
    {"E5", "ID I2 BRZ NTZ AUZ PPZ STZ NEZ FA FAUZ FPPZ FSTZ"},
    {"E6", "ID KENK K ZAUF"},
    {"A1", "ID BONEU"},
    {"A2", "ID I2 DEZ NTZ AUZ PPZ STZ BRZ PER"},
    {"G0", "ID IDOBJEKT OX OY RL RR RO RU MYMX XMIN XMAX YMIN YMAX MX MY MSP"},
    {"G1", "ID IDOBJEKT KEN LFDNR SA SG SF SU SK FB XP YP TXT WI ARX ARY"},
    {"G2_1", "ID IDOBJEKT KEN LFDNR TXT LA FB LB PSTYP PSIT PNR LAGETEXT LAGEPFEIL"},
    {"G2_2", "ID IDOBJEKT KEN LFDNR PKTNR PX PY"},
    {"G3", "ID IDOBJEKT KEN LFDNR LA FB LB MPX MPY PX1 PY1 WI"},
    {"M1", "IDM KOM VZ"},
    {"M2", "IDM I1 KENG KENT KENV KENL KENF"},
    {"M3", "IDM I1 BOKOMB SDEZ SBRZ SBRKT SBRKV SBRKL SBRKF SBRKP SBRPH SNTZ SNTKT SNTKV SNTKL SNTKF SNTKP SNTPH "
           "SAUZ SAUK SAUPH SPPZ SPPK SPPPH SSTZ SSTK SSTPH SZKT ANZKT SZKV ANZKV SZKL ANZKL SZKF ANZKF"},
    {"M4", "IDM I1 XQBRV SXBRV XQNTV SXNTV XQBRK SXBRK XQNTK SXNTK XQNEZ SXNEZ XQNEK SXNEK XQZK SXZK XQZKM SXZKM"},
    {"VANT_V11", "IDT KENT KOMT EKT"},
    {"VANT_V12", "IDV KENV KOMV EKV"},
    {"VANT_V13", "IDL KENL KOML EKL"},
    {"VANT_V14", "IDF KENF KOMF EKF"},
    {"VANT_V2", "IDG KENG KOMG SICQ SICMIN SICMAX QGQ QGMIN QGMAX CAIQ CAIMIN CAIMAX"},
    {"VANT_V3", "IDK KENK KOMK EKP KENKPG FKG FKP FZK"},
    {"VANT_VE1", "IDK AKVK ZL DATUM UHRZEIT KENZ1NR KENZ1KZ TZS TZZ"},
    {"VANT_VE2", "IDK MNR SPALTE POSITION PRAEFIX SUFFIX FAKTOR FORMAT"},
    {"ADMIN", "BENUTZER PROG PROJEKTSPFAD PROJEKT BEARBEITER"},
};

// Types the data layer gives a field's value kind by; any other name would read untyped.
const QStringList kDeclaredTypes = {"SMALLINT", "INTEGER", "FLOAT", "DOUBLE", "BOOLEAN", "DATETIME", "TEXT"};

// A whole installation's tables in one database.
void applyAll(SqlFile &db)
{
    for (const char *f : {"project.sql", "presets.sql", "archive.sql"})
        ASSERT_TRUE(db.exec(readText(schemaFile(f)))) << f << ": " << db.error().toStdString();
}

} // namespace

TEST(Schema, FilesApplyAloneAndAsADevelopmentProject)
{
    const std::vector<QStringList> sets = {
        {"project.sql"}, {"presets.sql"}, {"archive.sql"}, {"project.sql", "presets.sql"}};
    for (const QStringList &set : sets) {
        SqlFile db(":memory:", true);
        for (const QString &f : set) {
            const QString sql = readText(schemaFile(f));
            ASSERT_FALSE(sql.isEmpty()) << f.toStdString();
            EXPECT_TRUE(db.exec(sql)) << f.toStdString() << ": " << db.error().toStdString();
        }
    }
}

TEST(Schema, EveryTableHasItsColumnsInOrder)
{
    SqlFile db(":memory:", true);
    applyAll(db);
    QStringList expected = kColumns.keys();
    expected.sort();
    EXPECT_EQ(db.tables(), expected);
    for (auto it = kColumns.begin(); it != kColumns.end(); ++it) {
        QStringList names;
        for (const QStringList &c : db.columns(it.key()))
            names << c[0];
        EXPECT_EQ(names.join(' '), it.value()) << it.key().toStdString();
    }
}

TEST(Schema, ColumnsUseTheMappedTypesAndNoDefaults)
{
    SqlFile db(":memory:", true);
    applyAll(db);
    for (const QString &table : db.tables())
        for (const QStringList &c : db.columns(table)) {
            const QString type = c[1].section(' ', 0, 0).toUpper();
            EXPECT_TRUE(kDeclaredTypes.contains(type)) << table.toStdString() << "." << c[0].toStdString() << " " << c[1].toStdString();
            EXPECT_EQ(c[2], "<null>") << table.toStdString() << "." << c[0].toStdString() << " has a default";
        }
    // Spot checks of kinds the program relies on.
    const auto typeOf = [&](const QString &t, const QString &col) {
        for (const QStringList &c : db.columns(t))
            if (c[0] == col)
                return c[1].section(' ', 0, 0).toUpper();
        return QString();
    };
    EXPECT_EQ(typeOf("E1", "ID"), "INTEGER");
    EXPECT_EQ(typeOf("E1", "AKT"), "BOOLEAN");
    EXPECT_EQ(typeOf("E1", "DATUMA"), "DATETIME");
    EXPECT_EQ(typeOf("E2", "I2"), "SMALLINT");
    EXPECT_EQ(typeOf("A2", "BRZ"), "FLOAT");
    EXPECT_EQ(typeOf("M3", "BOKOMB"), "BOOLEAN");
    EXPECT_EQ(typeOf("VANT_V3", "KENKPG"), "SMALLINT");
}

TEST(Schema, NamesCompareWithoutCaseAndRecordIdsStayUnique)
{
    SqlFile db(":memory:", true);
    applyAll(db);
    ASSERT_TRUE(db.exec("INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'p1', 1)"));
    EXPECT_EQ(db.one("SELECT ID FROM [E1] WHERE [KEN]='P1'"), "1");
    EXPECT_EQ(db.one("SELECT COUNT(*) FROM [E1] WHERE [AKT]=true"), "1");
    EXPECT_FALSE(db.exec("INSERT INTO E1 (ID, KEN) VALUES (1, 'P2')"));
    ASSERT_TRUE(db.exec("INSERT INTO ADMIN VALUES ('ANNA', 'KORVANE', '/p', 'X', 'anna')"));
    EXPECT_EQ(db.one("SELECT PROJEKT FROM [ADMIN] WHERE [BENUTZER]='anna'"), "X");
    // Section rows are kept unique by the program, which rewrites them row by row; the
    // database must not refuse an intermediate state (stale rows of a deleted record).
    EXPECT_TRUE(db.exec("INSERT INTO E2 VALUES (1, 0, 1.5); INSERT INTO E2 VALUES (1, 0, 2.5)"));
}

TEST(Schema, BuiltTemplateHoldsTheProjectTablesOnly)
{
    SqlFile tmpl(buildPath("bin/VANT.mdb"));
    ASSERT_TRUE(tmpl.ok()) << tmpl.error().toStdString();
    QStringList expected = kProjectTables;
    expected.sort();
    EXPECT_EQ(tmpl.tables(), expected);
    EXPECT_EQ(tmpl.one("SELECT COUNT(*) FROM E1"), "0");

    // The development project is read for presets too.
    SqlFile dev(buildPath("TE0000.00/VANT.mdb"));
    ASSERT_TRUE(dev.ok()) << dev.error().toStdString();
    expected = kProjectTables + kPresetTables;
    expected.sort();
    EXPECT_EQ(dev.tables(), expected);

    // The empty preset database beside the program, which the start-up measures presets against.
    SqlFile presets(buildPath("bin/VORGABE.mdb"));
    ASSERT_TRUE(presets.ok()) << presets.error().toStdString();
    expected = kPresetTables;
    expected.sort();
    EXPECT_EQ(presets.tables(), expected);
}

// The development project fills up with a developer's records; a later build must not
// make it afresh, while the template is always made anew.
TEST(Schema, BuildToolKeepsAnExistingDevelopmentProject)
{
    QTemporaryDir dir;
    const QString db = dir.path() + "/VANT.mdb";
    const QString tool = buildPath("schema/vantrel-mkdb");
    const QStringList sql{schemaFile("project.sql"), schemaFile("presets.sql")};
    ASSERT_EQ(QProcess::execute(tool, QStringList{db} + sql), 0);
    {
        SqlFile f(db);
        ASSERT_TRUE(f.exec("INSERT INTO E1 (ID, KEN) VALUES (1, 'P1')"));
    }
    EXPECT_EQ(QProcess::execute(tool, QStringList{"--if-missing", db} + sql), 0);
    EXPECT_EQ(SqlFile(db).one("SELECT KEN FROM E1"), "P1");
    EXPECT_EQ(QProcess::execute(tool, QStringList{db} + sql), 0);
    EXPECT_EQ(SqlFile(db).one("SELECT COUNT(*) FROM E1"), "0");

    // A broken SQL file fails the build step and leaves no database behind.
    const QString broken = dir.path() + "/broken.sql";
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("CREATE TABLE X (A INTEGER);\nCREATE TABLE;\n");
    f.close();
    const QString out = dir.path() + "/NEW.mdb";
    EXPECT_NE(QProcess::execute(tool, {out, broken}), 0);
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_FALSE(QFileInfo::exists(out + ".tmp"));
}
