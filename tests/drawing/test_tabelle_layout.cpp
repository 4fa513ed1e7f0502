// Table layout arithmetic: head rules and spanned head cells, decimal-point placement, cell
// formatting and the body rows chosen under a scroll bar on screen and on paper.
#include "drawing/TabelleLayout.h"
#include "platform/errors.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

using namespace vnt;
using namespace vnt::tabelle;

TEST(TabelleLayout, HeadRuleLeavesOutRowsByTextHeight)
{
    const double y0 = 7, HK = 12, h = 3, erz = 0.5;
    struct Case { int k; double start; double length; };
    const Case cases[] = {
        {0, 7, 12},                                // through the whole head
        {1, 7 + 3 + 0.5 + 1, 12 - 3 - 0.5 - 1},    // skipped rows counted with h, not the pitch
        {2, 7 + 6 + 0.5 + 1, 12 - 6 - 0.5 - 1},
        {3, 7, 0},                                 // every head row: no visible rule
    };
    for (const Case &c : cases) {
        const VRule r = headRule(y0, HK, h, erz, c.k, 3);
        EXPECT_DOUBLE_EQ(r.start, c.start) << "k=" << c.k;
        EXPECT_DOUBLE_EQ(r.length, c.length) << "k=" << c.k;
    }
}

TEST(TabelleLayout, HeadCellsSpanUntilAPresentRule)
{
    // The rock table: identifier, comment, then three groups of three columns whose inner
    // rules leave out the two heading rows.
    const QList<double> w{13, 37, 13, 13, 13, 13, 13, 13, 13, 13, 13};
    const QList<int> leer{0, 0, 2, 2, 0, 2, 2, 0, 2, 2};
    const auto leaveOut = [&](int i) { return leer.at(i); };

    for (int row : {0, 1}) {
        const QList<HeadCell> cells = headCells(w, leaveOut, row);
        ASSERT_EQ(cells.size(), 5) << "row " << row;
        const int firstCols[] = {0, 1, 2, 5, 8};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(cells[i].column, firstCols[i]);
        EXPECT_DOUBLE_EQ(cells[2].left, 50);
        EXPECT_DOUBLE_EQ(cells[2].width, 39);
        EXPECT_DOUBLE_EQ(cells[4].left, 128);
    }
    const QList<HeadCell> last = headCells(w, leaveOut, 2);
    ASSERT_EQ(last.size(), 11);
    EXPECT_DOUBLE_EQ(last[3].left, 63);
    EXPECT_DOUBLE_EQ(last[3].width, 13);

    // A rule absent in every head row joins its neighbours in every row.
    const QList<HeadCell> joined = headCells({10, 20}, [](int) { return 1; }, 0);
    ASSERT_EQ(joined.size(), 1);
    EXPECT_DOUBLE_EQ(joined[0].width, 30);
}

TEST(TabelleLayout, DecimalPointFollowsTheLocale)
{
    {
        test::LocaleScope de(QLocale::German);
        EXPECT_EQ(decimalSignPosition(QStringLiteral("1.234,56")), 6);
        EXPECT_EQ(decimalSignPosition(QStringLiteral("12")), 0);
    }
    {
        test::LocaleScope en(QLocale::English);
        EXPECT_EQ(decimalSignPosition(QStringLiteral("1,234.56")), 6);
    }
    // "#0.00": point at 3 of 5 characters, half a character right of the middle.
    EXPECT_DOUBLE_EQ(decimalShift(QStringLiteral("#0.00"), 13), (2.5 - 3) * (6.5 - 1.5) / 5);
    // No point in the pattern: the pattern's whole left half lies left of the centre line.
    EXPECT_DOUBLE_EQ(decimalShift(QStringLiteral("0"), 13), 0.5 * 5);
    try {
        decimalShift(QString(), 13);
        ADD_FAILURE() << "an empty pattern has no point to align on";
    } catch (const VbError &e) {
        EXPECT_EQ(e.number, err::DivisionByZero);
    }
}

TEST(TabelleLayout, CellFormatting)
{
    test::LocaleScope de(QLocale::German);
    const QString money = QStringLiteral("#,###,##0.00");
    EXPECT_EQ(formatCell(Variant(1234.5), money), QStringLiteral("1.234,50"));
    EXPECT_EQ(formatCell(Variant(QStringLiteral("12,5")), QStringLiteral("#0.00")), QStringLiteral("12,50"));
    // The unit-cost table marks costs inside the equipment costs with "*".
    EXPECT_EQ(formatCell(Variant(QStringLiteral("*")), money), QStringLiteral("*"));
    EXPECT_EQ(formatCell(Variant(QStringLiteral("KENT")), QString()), QStringLiteral("KENT"));
    EXPECT_EQ(formatCell(Variant(float(2.5)), QString()), QStringLiteral("2,5"));
    EXPECT_EQ(formatCell(Variant(), money), QString());
    EXPECT_EQ(formatCell(Variant::null(), money), QString());

    // Scientific patterns go through the shared formatter, which has the full list of cases.
    const QString sci = QStringLiteral("#0.0E+0");
    EXPECT_EQ(formatCell(Variant(1234.5), sci), QStringLiteral("1,2E+3"));
    EXPECT_EQ(formatCell(Variant(QStringLiteral("9,96")), sci), QStringLiteral("1,0E+1"));
    EXPECT_EQ(formatCell(Variant(1e9), QStringLiteral("#0.00E-00")), QStringLiteral("1,00E09"));
    EXPECT_EQ(formatCell(Variant(QStringLiteral("-")), sci), QStringLiteral("-"));
}

namespace {
// Rows one millimetre apart from y = 1: row i's text line ends at 1 + i.
BodyGeometry twentyRows()
{
    BodyGeometry g;
    g.h = 1;
    g.pitch = 1;
    g.rows = 20;
    return g;
}
} // namespace

TEST(TabelleLayout, RowsChosenByTheScrollValue)
{
    const BodyGeometry g = twentyRows();
    // Eight rows (0..7) end at or above 8.5.
    EXPECT_EQ(lastFittingRow(g, 8.5), 7);
    EXPECT_EQ(lastFittingRow(g, 100), 19);
    EXPECT_EQ(lastFittingRow(g, 0.5), 0);   // not even the first fits: it is still shown

    struct Case { int value; int first; int last; };
    const Case cases[] = {
        {0, 0, 7},
        {5000, 6, 13},       // half of the twelve hidden rows
        {10000, 12, 19},     // the end of the bar shows the last row
        {2500, 3, 10},
    };
    for (const Case &c : cases) {
        const RowSelection s = screenRows(g, 8.5, c.value, 0, 10000);
        EXPECT_EQ(s.EEZ, c.first) << c.value;
        EXPECT_EQ(s.ELZ, c.last) << c.value;
        EXPECT_DOUBLE_EQ(s.height, 1 + 7) << c.value;
        // Paper shows the same rows when the bar is 8.5 mm high.
        const RowSelection p = printedRows(g, true, 8.5, c.value, 0, 10000);
        EXPECT_EQ(p.EEZ, c.first) << c.value;
        EXPECT_EQ(p.ELZ, c.last) << c.value;
    }
    // 0.0625 * 12 = 0.75 rounds to 1; the fraction itself is rounded to three decimals first.
    EXPECT_DOUBLE_EQ(scrollFraction(625, 0, 10000), 0.062);
    EXPECT_EQ(firstShownRow(scrollFraction(625, 0, 10000), 20, 7), 1);
    // A bar without a range has not been scrolled.
    EXPECT_EQ(scrollFraction(0, 0, 0), 0);
}

TEST(TabelleLayout, HiddenBarPrintsEveryRow)
{
    const BodyGeometry g = twentyRows();
    // A stale 3-mm height from an earlier drawing must not cut the printed body.
    const RowSelection p = printedRows(g, false, 3, 0, 0, 10000);
    EXPECT_EQ(p.EEZ, 0);
    EXPECT_EQ(p.ELZ, 19);
    EXPECT_DOUBLE_EQ(p.height, 1 + 19);

    // Without a bar: a caller's selection bounded, 0 or too large meaning "to the end".
    EXPECT_EQ(unscrolledRows(g, -3, 0).EEZ, 0);
    EXPECT_EQ(unscrolledRows(g, 0, 0).ELZ, 19);
    EXPECT_EQ(unscrolledRows(g, 2, 40).ELZ, 19);
    EXPECT_EQ(unscrolledRows(g, 2, 5).ELZ, 5);
    EXPECT_DOUBLE_EQ(unscrolledRows(g, 2, 5).height, 1 + 3);
}

TEST(TabelleLayout, BarPlacedBesideTheTable)
{
    BodyGeometry g;
    g.h = 3;
    g.pitch = 3;
    g.erz = 0.5;
    g.ero = 7;
    g.eru = 2.5;
    g.headHeight = 7;
    g.rows = 30;
    EXPECT_FALSE(bodyFits(g, 50));
    const BarLayout b = barLayout(g, 2, 111, 50);
    EXPECT_DOUBLE_EQ(b.top, 7 + 7 + 0.5);
    EXPECT_DOUBLE_EQ(b.left, 2 + 111 + 1.5);
    EXPECT_DOUBLE_EQ(b.width, 5);
    EXPECT_DOUBLE_EQ(b.height, 50 - 14.5 - 2.5 + 0.5);
    EXPECT_EQ(b.min, 0);
    EXPECT_EQ(b.max, 10000);
    EXPECT_EQ(b.largeChange, 2000);
    EXPECT_EQ(b.smallChange, 300);

    g.rows = 3;   // 10 mm of body under a 14-mm top, 2.5 mm above the lower edge: more than 26.5 mm
    EXPECT_TRUE(bodyFits(g, 26.6));
    EXPECT_FALSE(bodyFits(g, 26.5));
    // The full-height test counts the spacing below the last row, the row limit does not:
    // all three rows still fit, so every row is shown although the bar is.
    const RowSelection all = screenRows(g, 26.5, 0, 0, 10000);
    EXPECT_EQ(all.EEZ, 0);
    EXPECT_EQ(all.ELZ, 2);
}
