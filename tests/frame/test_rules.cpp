// The frame's window-free rules: shortened project path, sizes, compaction file and gain,
// credits, language, contact lines and the start window's arrangement.
#include "common/TestSupport.h"
#include "frame/FrameRules.h"
#include "frame/clsADRESSE.h"
#include "platform/RunContext.h"

using namespace vnt;

TEST(FrameRules, ShortenedProjectPath)
{
    const struct { const char *path, *shown; } cases[] = {
        {"/home/x", "/home/x"},
        {"12345678901234567890", "12345678901234567890"},               // exactly 20: as it is
        {"D:/Daten/Projekte/Tunnelbau", " ... /Projekte/Tunnelbau"},
        {"/a/bb/ccc/dddd/eeeee/ffffff/ggggggg", " ... /ffffff/ggggggg"},
        // a last folder name longer than 20 characters leaves no place to cut: shown whole
        {"/srv/AVeryLongProjectFolderName", "/srv/AVeryLongProjectFolderName"},
        {"NoSeparatorAtAllButLonger", "NoSeparatorAtAllButLonger"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(shortenedProjectPath(QString::fromLatin1(c.path)), QString::fromLatin1(c.shown)) << c.path;
}

TEST(FrameRules, SizesInMegabytesAndTheirText)
{
    EXPECT_FLOAT_EQ(sizeInMegabytes(10049999), 10.0f);
    EXPECT_FALSE(sizeInMegabytes(10049999) > 10);        // no compaction offer
    EXPECT_FLOAT_EQ(sizeInMegabytes(10050001), 10.1f);
    EXPECT_TRUE(sizeInMegabytes(10050001) > 10);
    EXPECT_EQ(megabytesText(10.1f, QStringLiteral(",")), QStringLiteral("10,1"));
    EXPECT_EQ(megabytesText(10.0f, QStringLiteral(",")), QStringLiteral("10"));
    EXPECT_EQ(megabytesText(0.04f, QStringLiteral(".")), QStringLiteral("0"));
    EXPECT_EQ(megabytesText(97.25f, QStringLiteral(".")), QStringLiteral("97.2"));
}

TEST(FrameRules, CompactionFileIsNamedFromTheFileName)
{
    EXPECT_EQ(compactionFilePath(QStringLiteral("/x/BENUTZER/U/VANT.mdb")), QStringLiteral("/x/BENUTZER/U/VANTTEMP.mdb"));
    // a ".mdb" in a folder name must not move the compaction file out of the folder
    EXPECT_EQ(compactionFilePath(QStringLiteral("/x/old.MDB.d/U/VANT.mdb")), QStringLiteral("/x/old.MDB.d/U/VANTTEMP.mdb"));
    EXPECT_EQ(compactionFilePath(QStringLiteral("/x/Vant.MDB")), QStringLiteral("/x/VantTEMP.mdb"));
}

TEST(FrameRules, CompactionGainNeverDividesByZero)
{
    EXPECT_FLOAT_EQ(compactionGain(20.0f, 5.0f, 20000000, 5000000), 75.0f);
    EXPECT_FLOAT_EQ(compactionGain(10.1f, 0.1f, 10100000, 100000), 99.0f);
    EXPECT_FLOAT_EQ(compactionGain(0.0f, 0.0f, 40000, 30000), 25.0f);   // rounds to 0.0 MB
    EXPECT_FLOAT_EQ(compactionGain(0.0f, 0.0f, 0, 0), 0.0f);
}

TEST(FrameRules, CreditsCutRule)
{
    const QString fifty(50, QLatin1Char('x'));
    EXPECT_EQ(shortenedCredits(fifty), fifty);
    QString seventy(70, QLatin1Char('y'));
    seventy[29] = QLatin1Char(',');   // character 30
    seventy[59] = QLatin1Char(',');   // character 60
    EXPECT_EQ(shortenedCredits(seventy), seventy.left(60) + QStringLiteral(" ..."));
    QString noLateComma(70, QLatin1Char('z'));
    noLateComma[10] = QLatin1Char(',');
    EXPECT_EQ(shortenedCredits(noLateComma), noLateComma);
    QString commaAt50 = QString(70, QLatin1Char('w'));
    commaAt50[49] = QLatin1Char(',');
    EXPECT_EQ(shortenedCredits(commaAt50), commaAt50.left(50) + QStringLiteral(" ..."));
}

TEST(FrameRules, LanguageOfTheLocale)
{
    EXPECT_EQ(languageCodeFor(QStringLiteral("de")), 3);
    EXPECT_EQ(languageCodeFor(QStringLiteral("en")), 1);
    EXPECT_EQ(languageCodeFor(QStringLiteral("fr")), 3);
    EXPECT_EQ(languageCodeFor(QStringLiteral("EN")), 3);   // the comparison is exact
    EXPECT_EQ(languageCodeFor(QString()), 3);
}

TEST(FrameRules, ContactLinesByLanguage)
{
    SimpleRunContext ctx;
    clsADRESSE a(ctx);
    QStringList fixed[3];
    for (int code : {1, 3, 2}) {
        ctx.sprache = code;
        const bool known = code == 1 || code == 3;
        EXPECT_EQ(a.FIRMA1().isEmpty(), !known) << code;
        EXPECT_EQ(a.FIRMA2().isEmpty(), !known) << code;
        EXPECT_EQ(a.PLZ().isEmpty(), !known) << code;
        fixed[code - 1] = {a.STR(), a.VORSITZ(), a.TEL(), a.FAX(), a.EMAIL(), a.URL()};
    }
    EXPECT_EQ(fixed[0], fixed[1]);
    EXPECT_EQ(fixed[0], fixed[2]);
    ctx.sprache = 1;
    const QString english = a.FIRMA1();
    ctx.sprache = 3;
    EXPECT_NE(a.FIRMA1(), english);   // read afresh at every call
}

TEST(FrameRules, StartWindowArrangement)
{
    AutostartSizes s;
    s.titleWidth = 3000;
    s.titleHeight = 750;
    s.subtitleWidth = 0;
    s.subtitleHeight = 750;
    s.barHeight = 300;
    s.versionTextHeight = 195;
    const AutostartLayout l = autostartLayout(12000, 8000, s);
    EXPECT_FLOAT_EQ(l.fraWidth, 11760);
    EXPECT_FLOAT_EQ(l.fraLeft, 120);
    EXPECT_FLOAT_EQ(l.versionTop, 7000);
    EXPECT_FLOAT_EQ(l.versionLeft, 200);
    EXPECT_FLOAT_EQ(l.barWidth, 3000);
    EXPECT_FLOAT_EQ(l.barLeft, 200);
    EXPECT_FLOAT_EQ(l.barTop, 7000 - 3 * 300);
    EXPECT_FLOAT_EQ(l.titleLeft, 4500);
    EXPECT_NEAR(l.titleTop, (8000 - 750) / 2.75, 0.01);
    // the empty subtitle is still placed below the title
    EXPECT_FLOAT_EQ(l.subtitleLeft, 6000);
    EXPECT_NEAR(l.subtitleTop, l.titleTop + 750 * 1.15, 0.01);
    EXPECT_FLOAT_EQ(l.photoLeft, 12000 - 3390 - 1000);
    EXPECT_FLOAT_EQ(l.photoTop, 8000 - 4080 - 1000 + 195);
    EXPECT_FLOAT_EQ(l.logoHeight, 1710 * 0.85f);
    EXPECT_FLOAT_EQ(l.logoLeft, 11760 - 1500 - 171 / 2.0f);
}
