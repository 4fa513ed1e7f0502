// Logger files of the three layouts read into a typed grid, with the clean-up of prefixes,
// dates, times, decimal signs and factors, and the messages of damaged or missing cycles.
#include "GridFixture.h"
#include "common/TestSupport.h"
#include "grid/LoggerImport.h"
#include "platform/RunContext.h"
#include "platform/db/Database.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

using namespace vnt;
using namespace vnt::test;

namespace {

const QString kTitle = QStringLiteral("MSFlexGrid / Importieren");

// A preset database with the logger tables and a run context over it.
class LoggerSetup {
public:
    LoggerSetup()
    {
        const QString path = dir.path() + "/VORGABE.mdb";
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.close();
        ctx.cnnV = db::openDatabase(path);
        QFile schema(QString::fromLocal8Bit(qgetenv("VANTREL_SCHEMA_DIR")) + "/presets.sql");
        EXPECT_TRUE(schema.open(QIODevice::ReadOnly));
        ctx.cnnV->Execute(QString::fromUtf8(schema.readAll()));
        const QString work = dir.path() + "/VANT.mdb";
        QFile w(work);
        w.open(QIODevice::WriteOnly);
        w.close();
        ctx.cnn = db::openDatabase(work);
        ctx.cnn->Execute("CREATE TABLE E1 (ID INTEGER, KEN TEXT, KOM TEXT, AKT BOOLEAN)");
        ctx.programpfad = dir.path() + "/VANT";
    }

    // One configuration: separators given as the preset stores them.
    void config(int idk, const QString &key, int zl, const QString &datum, const QString &uhrzeit, const QString &nr,
                const QString &kz, const QString &tzs, const QString &tzz)
    {
        auto q = [](const QString &s) { return s.isNull() ? QStringLiteral("NULL") : db::sqlText(s); };
        ctx.cnnV->Execute(QString("INSERT INTO VANT_VE1 VALUES (%1,%2,%3,%4,%5,%6,%7,%8,%9)")
                              .arg(idk)
                              .arg(q(key))
                              .arg(zl)
                              .arg(q(datum), q(uhrzeit), q(nr), q(kz), q(tzs), q(tzz)));
    }
    // One value: position < 0 leaves it empty; factor "NULL" leaves it empty.
    void value(int idk, int mnr, const QString &column, int position, const QString &prefix = {},
               const QString &factor = QStringLiteral("1"))
    {
        ctx.cnnV->Execute(QString("INSERT INTO VANT_VE2 VALUES (%1,%2,%3,%4,%5,NULL,%6,NULL)")
                              .arg(idk)
                              .arg(mnr)
                              .arg(db::sqlText(column))
                              .arg(position < 0 ? QStringLiteral("NULL") : QString::number(position))
                              .arg(prefix.isEmpty() ? QStringLiteral("NULL") : db::sqlText(prefix), factor));
    }
    // The five values every layout of these tests carries, at the positions given.
    void standardValues(int idk, int date, int time, int pressure, int way)
    {
        value(idk, 0, "DAT", date);
        value(idk, 1, "ZEIT", time);
        value(idk, 2, "DRUCK", pressure, "T=");
        value(idk, 3, "WEG", way, {}, "0.001");
    }

    // A logger file in the machines' code page, lines ended by CR LF.
    QString file(const QString &name, const QStringList &lines)
    {
        const QString path = dir.path() + "/" + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(logger::encodeAnsi(lines.join("\r\n") + "\r\n"));
        return path;
    }

    QTemporaryDir dir;
    SimpleRunContext ctx;
};

// Name, date, time, pressure, way: the import keys select the last four.
struct LoggerGrid : GridWindow {
    LoggerGrid() : GridWindow(5)
    {
        flx->setELSTYP(ints({0, 4, 5, 0, 0}));
        flx->setELSELEK(FlexValue::list({"", "DAT", "ZEIT", "DRUCK", "WEG"}));
    }
    QStringList row(int r) const
    {
        QStringList l;
        for (int c = 0; c < grid->Cols(); ++c)
            l << cell(r, c);
        return l;
    }
};

// A line-block cycle: count line, cycle number, date, time, pressure, way.
QStringList cycle(int n, const QString &time, const QString &pressure, const QString &way)
{
    return {"5", QString::number(n), "2003-05-07", time, pressure, way};
}

} // namespace

TEST(LoggerImport, LineBlocksFillRowsAndCleanUp)
{
    LoggerSetup s;
    s.config(1, "BLOCK", 6, "JJJJ-MM-TT", "hhmmss", {}, {}, {}, {});
    s.standardValues(1, 2, 3, 4, 5);
    QStringList lines = cycle(0, "120001", "T=12,5", "1234");
    lines << cycle(1, "120002", "T=-,5", "") << cycle(2, "120003", "T=,25", "7");
    const QString path = s.file("block.log", lines);

    LoggerGrid g;
    Boxes boxes;
    EXPECT_EQ(g.flx->IMPORTIEREN(s.ctx, "BLOCK", path), -1);
    ASSERT_EQ(g.grid->Rows(), 4);   // the empty grid's own row takes the first cycle
    EXPECT_EQ(g.row(1), QStringList({"", "07.05.03", "12:00:01", "12.5", "1,234"}));
    EXPECT_EQ(g.row(2), QStringList({"", "07.05.03", "12:00:02", "-0.5", ""}));
    EXPECT_EQ(g.row(3), QStringList({"", "07.05.03", "12:00:03", "0.25", "0,007"}));
}

TEST(LoggerImport, LineBlocksReportMissingCyclesAndGoOn)
{
    LoggerSetup s;
    s.config(1, "BLOCK", 6, {}, {}, {}, {}, {}, {});
    s.standardValues(1, 2, 3, 4, 5);
    QStringList lines = cycle(0, "a", "1", "1");
    lines << cycle(1, "b", "2", "1") << cycle(3, "d", "4", "1");
    const QString path = s.file("gap.log", lines);

    LoggerGrid g;
    Boxes boxes;
    boxes.answer(ui::vbOK);
    EXPECT_EQ(importLoggerFile(s.ctx, *g.flx, "BLOCK", path), -1);
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].text, "Es fehlen ein oder mehrere Zyklen nach ZyklusNr. 1 !");
    EXPECT_EQ(boxes.records()[0].title, kTitle);
    ASSERT_EQ(g.grid->Rows(), 4);
    EXPECT_EQ(g.cell(3, 2), "d");   // cycle 3 goes into the row after cycle 1

    // Cancel ends the import; the rows read so far stay, uncleaned.
    LoggerGrid h;
    Boxes cancel;
    cancel.answer(ui::vbCancel);
    EXPECT_EQ(importLoggerFile(s.ctx, *h.flx, "BLOCK", path), 0);
    EXPECT_EQ(h.grid->Rows(), 3);
}

TEST(LoggerImport, LineBlocksRecoverFromDamageWithoutTouchingRowsAboveTheImport)
{
    LoggerSetup s;
    s.config(1, "BLOCK", 6, {}, {}, {}, {}, {}, {});
    s.standardValues(1, 2, 3, 4, 5);

    // The file begins inside a cycle: the structure message, then the reader finds cycle 1.
    QStringList lines = {"Bohrgerät 7", "Rest"};
    lines << cycle(1, "a", "1", "1") << cycle(2, "b", "2", "1");
    const QString path = s.file("head.log", lines);

    LoggerGrid g;
    g.grid->setRows(4);
    g.grid->setTextMatrix(1, 0, "alt 1");
    g.grid->setTextMatrix(2, 0, "alt 2");
    g.grid->setTextMatrix(2, 2, "keep");
    Boxes boxes;
    boxes.answer(ui::vbOK);
    EXPECT_EQ(importLoggerFile(s.ctx, *g.flx, "BLOCK", path), -1);
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].text, "Elektronikvorgaben passen nicht zur Struktur der Elektronikdatei!");
    EXPECT_EQ(g.cell(2, 2), "keep");   // the row above the import
    EXPECT_EQ(g.cell(3, 2), "a");      // the first cycle in the grid's last row
    EXPECT_EQ(g.cell(4, 2), "b");

    // Cycle 1 one line short: cycle 2 is passed over, cycle 3 fills the damaged row.
    QStringList shortLines = cycle(0, "a", "1", "1");
    QStringList c1 = cycle(1, "b", "2", "1");
    c1.removeLast();
    shortLines << c1 << cycle(2, "c", "3", "1") << cycle(3, "d", "4", "1");
    const QString shortPath = s.file("short.log", shortLines);
    LoggerGrid h;
    Boxes damage;
    damage.answer(ui::vbOK);
    EXPECT_EQ(importLoggerFile(s.ctx, *h.flx, "BLOCK", shortPath), -1);
    ASSERT_EQ(damage.records().size(), 1u);
    EXPECT_EQ(damage.records()[0].text, "ZyklusNr. 1 der Elektronikdatei ist beschädigt!");
    EXPECT_EQ(h.cell(1, 2), "a");
    EXPECT_EQ(h.cell(2, 2), "d");

    // Cycle 1 one line long: after OK the reader expects cycle 3 but finds cycle 2, and stops.
    QStringList longLines = cycle(0, "a", "1", "1");
    longLines << cycle(1, "b", "2", "1") << "zuviel" << cycle(2, "c", "3", "1");
    const QString longPath = s.file("long.log", longLines);
    LoggerGrid l;
    Boxes extra;
    extra.answer(ui::vbOK);
    EXPECT_EQ(importLoggerFile(s.ctx, *l.flx, "BLOCK", longPath), 0);
    ASSERT_EQ(extra.records().size(), 1u);
    EXPECT_EQ(extra.records()[0].text, "ZyklusNr. 1 der Elektronikdatei ist beschädigt!");
}

TEST(LoggerImport, OneLinePerCycleWithMarkerAndTabs)
{
    LoggerSetup s;
    s.config(2, "TAB", 4, "JJJJ-MM-TT", "hhmmss", {}, "Messwerte für Gerät", "<TAB>", {});
    s.standardValues(2, 0, 1, 2, 3);
    const QString path = s.file("tab.log", {"Kopf: Bohrgerät 7 ÄÖÜ", "Messwerte für Gerät 7",
                                            "2003-05-07\t120001\tT=12,5\t1234\t*",
                                            "2003-05-07\t120002\tT=1,5\t-20\t*"});
    LoggerGrid g;
    Boxes boxes;
    EXPECT_EQ(importLoggerFile(s.ctx, *g.flx, "TAB", path), -1);
    ASSERT_EQ(g.grid->Rows(), 3);
    EXPECT_EQ(g.row(1), QStringList({"", "07.05.03", "12:00:01", "12.5", "1,234"}));
    EXPECT_EQ(g.row(2), QStringList({"", "07.05.03", "12:00:02", "1.5", "-0,02"}));

    // A grid with rows receives the file below them; a damaged line is refilled by the next.
    const QString damaged = s.file("damaged.log", {"Messwerte für Gerät 7", "2003-05-07\t120001", "2003-05-07\t120009\tT=3\t1\t*"});
    LoggerGrid h;
    h.grid->setRows(4);
    Boxes ok;
    ok.answer(ui::vbOK);
    EXPECT_EQ(importLoggerFile(s.ctx, *h.flx, "TAB", damaged), -1);
    ASSERT_EQ(ok.records().size(), 1u);
    EXPECT_EQ(ok.records()[0].text, "ZyklusNr. 0 ist beschädigt!");
    ASSERT_EQ(h.grid->Rows(), 5);
    EXPECT_EQ(h.cell(4, 2), "12:00:09");
}

TEST(LoggerImport, SingleLineReadsWholeRecordsOnly)
{
    LoggerSetup s;
    s.config(3, "ONE", 4, {}, {}, "0", {}, ";", "|");
    s.standardValues(3, 0, 1, 2, 3);
    QString line = "|";
    for (int i = 0; i < 25; ++i)
        line += QString("d%1;t%1;T=%1;").arg(i) + QString::number(i) + "000;#|";
    line += "d25;t25";   // a partial record at the end
    const QString path = s.file("one.log", {line, "ignored"});
    LoggerGrid g;
    Boxes boxes;
    EXPECT_EQ(importLoggerFile(s.ctx, *g.flx, "ONE", path), -1);
    ASSERT_EQ(g.grid->Rows(), 26);
    EXPECT_EQ(g.row(1), QStringList({"", "d0", "t0", "0", "0"}));
    EXPECT_EQ(g.row(25), QStringList({"", "d24", "t24", "24", "24"}));
}

TEST(LoggerImport, ConfigurationRules)
{
    LoggerSetup s;
    // An empty factor leaves the value alone; a key no column selects is not imported.
    s.config(4, "RULES", 3, "TT.JJJJ", {}, {}, {}, ";", {});
    s.value(4, 0, "DAT", 0);
    s.value(4, 1, "WEG", 1, {}, "NULL");
    s.value(4, 2, "NIRGENDS", 2);
    const QString path = s.file("rules.log", {"07.05.2003;1234;XX;*"});
    LoggerGrid g;
    Boxes boxes;
    boxes.answer(ui::vbOK);   // the date pattern lacks the month
    EXPECT_EQ(importLoggerFile(s.ctx, *g.flx, "RULES", path), -1);
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].text,
              "Es wurde für diese Konfiguration ein ungültiges Datumsformat im Menü Elektronikvorgaben eingegeben!");
    EXPECT_EQ(g.row(1), QStringList({"", "07.05.2003", "", "", "1234"}));

    // A key without a configuration is named, and nothing is read.
    LoggerGrid h;
    Boxes missing;
    missing.answer(ui::vbOK);
    EXPECT_EQ(importLoggerFile(s.ctx, *h.flx, "FEHLT", path), 0);
    ASSERT_EQ(missing.records().size(), 1u);
    EXPECT_TRUE(missing.records()[0].text.contains("FEHLT"));
    EXPECT_EQ(h.grid->Rows(), 2);

    // A disabled grid and a missing file end at once.
    LoggerGrid d;
    d.grid->setEnabled(false);
    EXPECT_EQ(importLoggerFile(s.ctx, *d.flx, "RULES", path), 0);
    EXPECT_EQ(importLoggerFile(s.ctx, *h.flx, "RULES", s.dir.path() + "/none.log"), 0);
}

// Where reading starts: a count of cycles, lines or records to pass over, or a marker line.
TEST(LoggerImport, StartByCountOrMarkerInEachLayout)
{
    QStringList blocks;
    for (int n = 0; n < 4; ++n)
        blocks << cycle(n, QString("t%1").arg(n), "1", "1");
    // The marker stands in for the date line of cycle 1.
    QStringList marked = cycle(0, "t0", "1", "1");
    marked << "5" << "1" << "  Beginn  " << "t1" << "11" << "1" << cycle(2, "t2", "2", "1");

    struct Case {
        const char *what;
        int zl;
        QString nr, kz, tzs, tzz;
        std::array<int, 4> positions;   // date, time, pressure, way
        QStringList lines;
        QString box;                    // the one box answered with OK, if any
        int result;
        QList<QStringList> rows;
    };
    const Case cases[] = {
        {"line blocks, two cycles passed over: the reader expects cycle 2 next and finds it",
         6, "2", {}, {}, {}, {2, 3, 4, 5}, blocks, {}, -1,
         {{"", "2003-05-07", "t2", "1", "0,001"}, {"", "2003-05-07", "t3", "1", "0,001"}}},
        {"line blocks from a marker: the lines before it are counted into cycle 1, line 2; reading "
         "goes on with its line 3, and the next cycle is checked for the number 2",
         6, {}, "Beginn", {}, {}, {2, 3, 4, 5}, marked, {}, -1,
         {{"", "", "t1", "11", "0,001"}, {"", "2003-05-07", "t2", "2", "0,001"}}},
        {"one line per cycle, two lines passed over, fields apart by one blank; the cycles are "
         "numbered from 0 whatever was passed over",
         4, "2", {}, "<BLANK>", {}, {0, 1, 2, 3}, {"Kopf 1", "Kopf 2", "d0 t0 T=5 1000 *", "d1 t1", "d2 t2 T=6 2000 *"},
         "ZyklusNr. 1 ist beschädigt!", -1, {{"", "d0", "t0", "5", "1"}, {"", "d2", "t2", "6", "2"}}},
        {"one line, starting after the second record separator; the records are numbered from the "
         "count, and a damaged record ends the import with the rows read so far",
         4, "2", {}, ";", "|", {0, 1, 2, 3}, {"|d0;t0;T=0;0;#|d1;t1;T=1;1;#|d2;t2;T=2;2;#|kaputt|d4;t4;T=4;4;#|"},
         "ZyklusNr. 4 ist beschädigt!", 0, {{"", "d1", "t1", "T=1", "1"}, {"", "d2", "t2", "T=2", "2"}}},
    };
    LoggerSetup s;
    int idk = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString key = QString("START%1").arg(++idk);
        s.config(idk, key, c.zl, {}, {}, c.nr, c.kz, c.tzs, c.tzz);
        s.standardValues(idk, c.positions[0], c.positions[1], c.positions[2], c.positions[3]);
        LoggerGrid g;
        Boxes boxes;
        if (!c.box.isEmpty())
            boxes.answer(ui::vbOK);
        EXPECT_EQ(importLoggerFile(s.ctx, *g.flx, key, s.file(key + ".log", c.lines)), c.result);
        if (!c.box.isEmpty() && boxes.records().size() == 1)
            EXPECT_EQ(boxes.records()[0].text, c.box);
        ASSERT_EQ(g.grid->Rows(), 1 + c.rows.size());
        for (int r = 0; r < c.rows.size(); ++r)
            EXPECT_EQ(g.row(r + 1), c.rows[r]);
    }
}

TEST(LoggerImport, TimePatternWithoutSecondsLeavesTimesAsRead)
{
    LoggerSetup s;
    s.config(1, "ZEIT", 3, "TT.MM.JJ", "hh:mm", {}, {}, ";", {});
    s.value(1, 0, "DAT", 0);
    s.value(1, 1, "ZEIT", 1);
    const QString path = s.file("time.log", {"07.05.03;12:30;0;*"});
    LoggerGrid g;
    Boxes boxes;
    boxes.answer(ui::vbOK);
    EXPECT_EQ(importLoggerFile(s.ctx, *g.flx, "ZEIT", path), -1);
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].text,
              "Es wurde für diese Konfiguration ein ungültiges Zeitformat im Menü Elektronikvorgaben eingegeben!");
    EXPECT_EQ(boxes.records()[0].title, kTitle);
    EXPECT_EQ(boxes.records()[0].style, ui::vbOKOnly | ui::vbExclamation);
    EXPECT_EQ(g.row(1), QStringList({"", "07.05.03", "12:30", "", ""}));
}

// A cycle number far ahead is taken at once, not counted up to; one beyond the whole numbers
// the program keeps is named and ends the import.
TEST(LoggerImport, LargeCycleNumbersNeitherHangNorWrap)
{
    LoggerSetup s;
    s.config(1, "BLOCK", 6, {}, {}, {}, {}, {}, {});
    s.standardValues(1, 2, 3, 4, 5);
    QStringList lines = cycle(0, "a", "1", "1");
    lines << cycle(1, "b", "2", "1") << cycle(0, "c", "3", "1") << cycle(0, "d", "4", "1");
    lines[12 + 1] = "10000000";
    lines[18 + 1] = "10000001";
    const QString path = s.file("far.log", lines);
    LoggerGrid g;
    Boxes boxes;
    boxes.answer(ui::vbOK);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(importLoggerFile(s.ctx, *g.flx, "BLOCK", path), -1);
    EXPECT_LT(clock.elapsed(), 2000);
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].text, "Es fehlen ein oder mehrere Zyklen nach ZyklusNr. 1 !");
    EXPECT_EQ(g.cell(3, 2), "c");
    EXPECT_EQ(g.cell(4, 2), "d");

    for (const char *huge : {"9223372036854775807", "1e308", "2147483648"}) {
        SCOPED_TRACE(huge);
        lines[12 + 1] = QString::fromLatin1(huge);
        const QString hugePath = s.file("huge.log", lines);
        LoggerGrid h;
        Boxes range;
        range.answer(ui::vbOK);
        EXPECT_EQ(importLoggerFile(s.ctx, *h.flx, "BLOCK", hugePath), 0);
        ASSERT_EQ(range.records().size(), 1u);
        EXPECT_EQ(range.records()[0].text, "ZyklusNr. " + QString::fromLatin1(huge)
                                               + " der Elektronikdatei liegt außerhalb des Bereichs von 0 bis 2147483647!");
        EXPECT_EQ(range.records()[0].style, ui::vbOKOnly | ui::vbExclamation);
        EXPECT_EQ(h.cell(2, 2), "b");   // the cycles before it stay
    }
}

// The factor is applied in double precision; a product the column cannot hold is refused with
// the column's own check, named once, and its cell left empty.
TEST(LoggerImport, FactorProductsOutsideTheColumnAreRefused)
{
    LoggerSetup s;
    s.config(3, "FAKT", 2, {}, {}, {}, {}, ";", {});
    s.value(3, 0, "DRUCK", 0, {}, "0.001");
    s.value(3, 1, "WEG", 1, {}, "0.001");
    const QString path = s.file("fakt.log", {"1e39;1e39;*", "2000;1e45;*", "3000;5000;*"});
    LoggerGrid g;
    g.flx->setELST1(FlexValue::texts({"", "Datum", "Zeit", "Druck", "Weg"}));
    g.flx->setELMIN(FlexValue::list({FlexValue(), FlexValue(), FlexValue(), 0, FlexValue()}));
    g.flx->setELMAX(FlexValue::list({FlexValue(), FlexValue(), FlexValue(), 2.5, FlexValue()}));
    Boxes boxes;
    boxes.answer(ui::vbOK);
    EXPECT_EQ(importLoggerFile(s.ctx, *g.flx, "FAKT", path), -1);
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].title, kTitle);
    EXPECT_EQ(boxes.records()[0].text, "Der Wert für Zeile 1, Spalte Druck wurde nicht übernommen:\r\n"
                                       "Zahlenwert außerhalb der vorgegeben Schranken:\r\nMinimum: 0, Maximum: 2,5\r\n"
                                       "(2 weitere Zellen wurden ebenfalls nicht übernommen.)");
    EXPECT_EQ(g.row(1), QStringList({"", "", "", "", "1E+36"}));   // 1e39 x 0.001 was once "inf"
    EXPECT_EQ(g.row(2), QStringList({"", "", "", "2", ""}));
    EXPECT_EQ(g.row(3), QStringList({"", "", "", "", "5"}));
}
