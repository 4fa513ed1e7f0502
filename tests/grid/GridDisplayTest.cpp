// Fonts, painted header lines, and the elapsed-time column.
#include "GridFixture.h"
#include "common/Shots.h"
#include "common/TestSupport.h"
#include "grid/GridText.h"
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

using namespace vnt;
using namespace vnt::test;

TEST(GridDisplay, SmallHeaderFontsFollowTheGridFont)
{
    struct Case { int size; int small; };
    for (Case c : {Case{9, 8}, Case{11, 9}, Case{0, 9}, Case{12, 10}}) {
        GridWindow gw(2);
        gw.flx->SCHRIFTEINSTELLUNGEN("", int16_t(c.size), 0, 0, 0, 0);
        EXPECT_EQ(gw.flx->headerFont("h").pointSize(), c.small) << c.size;
        EXPECT_EQ(gw.flx->headerFont("gt").pointSize(), c.small) << c.size;
        EXPECT_EQ(gw.flx->headerFont("").pointSize(), c.size ? c.size : 11);
    }
    GridWindow gw(2);
    gw.flx->SCHRIFTEINSTELLUNGEN("Times New Roman", 10, 1, 1, 1, 0x0000FF);
    EXPECT_EQ(gw.grid->font().family(), "Liberation Serif");
    EXPECT_TRUE(gw.grid->font().bold() && gw.grid->font().italic() && gw.grid->font().underline());
    EXPECT_EQ(gw.grid->ForeColor(), QColor(255, 0, 0));   // colours come as blue-green-red numbers
    EXPECT_EQ(gw.txt->font(), gw.grid->font());
    EXPECT_EQ(gw.cbo->font(), gw.grid->font());
    EXPECT_EQ(gw.pic->font(), gw.grid->font());   // headers are centred by their width in it
}

TEST(GridDisplay, SecondHeaderLineDoublesTheHeaderRowOnlyBeforeTheFontStep)
{
    GridWindow gw(2);
    const int single = gw.grid->RowHeight(0);
    EXPECT_EQ(single, gw.grid->RowHeight(1));
    gw.flx->setELST2(FlexValue::texts({"[m]", "[h]"}));
    gw.flx->SCHRIFTEINSTELLUNGEN("", 11, 0, 0, 0, 0);
    EXPECT_EQ(gw.grid->RowHeight(0), 2 * gw.grid->RowHeight(1));

    GridWindow late(2);
    late.flx->SCHRIFTEINSTELLUNGEN("", 11, 0, 0, 0, 0);
    late.flx->setELST2(FlexValue::texts({"[m]", "[h]"}));
    EXPECT_EQ(late.grid->RowHeight(0), late.grid->RowHeight(1));
}

namespace {
// The painted header, cut to its ink, so that texts centred on different widths compare.
QImage paintHeader(const QString &text)
{
    GridWindow gw(1, QSize(300, 100));
    gw.flx->setELSB(ints({40}));
    gw.flx->setELST1(FlexValue::list({FlexValue(text)}));
    gw.flx->BESCHRIFTEN();
    const QImage img = gw.flx->headerImage();
    const QRgb bg = img.pixel(0, 0);
    QRect ink;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != bg)
                ink |= QRect(x, y, 1, 1);
    return img.copy(ink);
}
} // namespace

TEST(GridDisplay, HeaderMarkup)
{
    // a character given by code paints like the character itself
    EXPECT_EQ(paintHeader("{c,176}C"), paintHeader(QString::fromUtf8("°C")));
    // Greek from the symbol letters
    EXPECT_EQ(paintHeader("{g,1}a"), paintHeader(QString::fromUtf8("α")));
    // the count is cut at the end of the text
    EXPECT_EQ(paintHeader("{h,9}ab"), paintHeader("{h,2}ab"));
    // raised and lowered pieces differ from plain and from each other
    const QImage plain = paintHeader("m3"), raised = paintHeader("m{h,1}3"), lowered = paintHeader("m{t,1}3");
    EXPECT_NE(raised, plain);
    EXPECT_NE(lowered, plain);
    EXPECT_NE(raised, lowered);
    // the small 3 reaches above the m when raised and below it when lowered
    EXPECT_GT(raised.height(), paintHeader("m").height());
    EXPECT_GT(lowered.height(), paintHeader("m").height());
    EXPECT_LT(paintHeader("{h,1}3").height(), paintHeader("3").height());
    EXPECT_EQ(paintHeader("{gh,1}b"), paintHeader("{h,1}" + QString::fromUtf8("β")));
    // a code that only begins like the Greek ones paints on in the plain font
    EXPECT_EQ(paintHeader("b{gx,1}a"), paintHeader("b{x,1}a"));
}

TEST(GridDisplay, MalformedHeaderGroupsShowTheTextBox)
{
    Boxes boxes;
    boxes.answer(ui::vbOK).answer(ui::vbCancel);
    paintHeader("{h2}");           // no comma: the text ends with the box
    paintHeader("ab{h,x}cd");      // no whole number
    ASSERT_EQ(boxes.records().size(), 2u);
    EXPECT_EQ(boxes.records()[0].title, "MSFlexGrid / Text");
    EXPECT_EQ(boxes.records()[1].title, "MSFlexGrid / Text");
    EXPECT_TRUE(boxes.records()[1].text.startsWith("VB-Error: 13"));
}

TEST(GridDisplay, PictureWidthFollowsTheVisibleColumns)
{
    {
        GridWindow wide(3, QSize(600, 200));
        wide.flx->BESCHRIFTEN();
        EXPECT_NEAR(wide.pic->width() * 15, 3 * 1134, 15);
    }
    {
        GridWindow narrow(8, QSize(400, 200));   // 8 x 20 mm = 9072 twips > 6000
        narrow.flx->BESCHRIFTEN();
        EXPECT_NEAR(narrow.pic->width() * 15, 6000 - 56.7, 15);
        narrow.grid->setRows(40);                // now it scrolls vertically
        narrow.flx->BESCHRIFTEN();
        EXPECT_NEAR(narrow.pic->width() * 15, 6000 - 311.85, 15);
    }
}

namespace {
// Date, time, a group column and the elapsed time, one row per entry.
struct TimeRow { const char *date, *time, *group; };
GridWindow *timeGrid(std::initializer_list<TimeRow> rows, std::initializer_list<int> types)
{
    auto *gw = new GridWindow(4);
    gw->flx->setELSTYP(ints(types));
    gw->grid->setRows(int(rows.size()) + 1);
    int r = 1;
    for (const TimeRow &t : rows) {
        gw->grid->setTextMatrix(r, 0, t.date);
        gw->grid->setTextMatrix(r, 1, t.time);
        gw->grid->setTextMatrix(r, 2, t.group);
        gw->grid->setTextMatrix(r, 3, "alt");
        ++r;
    }
    gw->flx->setELFORMAT(FlexValue::list({FlexValue::missing(), FlexValue::missing(), FlexValue::missing(), FlexValue::missing()}));
    return gw;
}
QString elapsed(GridWindow &gw)
{
    QStringList l;
    for (int r = 1; r < gw.grid->Rows(); ++r)
        l << gw.cell(r, 3);
    return l.join('|');
}
} // namespace

TEST(GridDisplay, ElapsedTimeAcrossMidnightAndByUnit)
{
    std::unique_ptr<GridWindow> gw(timeGrid({{"10.12.2026", "23:30", ""}, {"11.12.2026", "00:15", ""}, {"11.12.2026", "01:00", ""}},
                                            {4, 5, 0, 6}));
    gw->flx->AKTUALISIEREN();
    EXPECT_EQ(elapsed(*gw), "0|45|45");
    gw->flx->setEDETE("hh");
    gw->flx->AKTUALISIEREN();
    EXPECT_EQ(elapsed(*gw), "0|0,75|0,75");
    gw->flx->setEDETE("ss");
    gw->flx->setEDET(0);
    gw->flx->AKTUALISIEREN();
    EXPECT_EQ(elapsed(*gw), "0|2700|5400");

    // an empty pattern, as the width list leaves it, writes the single's own digits
    std::unique_ptr<GridWindow> third(timeGrid({{"", "08:00", ""}, {"", "08:20", ""}}, {0, 5, 0, 6}));
    third->flx->setELFORMAT(FlexValue::list({FlexValue(), FlexValue(), FlexValue(), FlexValue()}));
    third->flx->setEDETE("hh");
    third->flx->AKTUALISIEREN();
    EXPECT_EQ(elapsed(*third), "0|0,3333333");
}

TEST(GridDisplay, ElapsedTimeForDatesOnlyIsWholeDays)
{
    std::unique_ptr<GridWindow> gw(timeGrid({{"10.12.2026", "", ""}, {"13.12.2026", "", ""}, {"", "", ""}, {"01.01.2027", "", ""}},
                                            {4, 0, 0, 6}));
    gw->flx->setEDETE("hh");
    gw->flx->AKTUALISIEREN();
    // the empty row keeps its cell; the row after it measures from the empty date (no date: 0)
    EXPECT_EQ(elapsed(*gw), "0|3|alt|0");
}

TEST(GridDisplay, ElapsedTimeMeasuresRunsFromTheRowBeforeThem)
{
    std::unique_ptr<GridWindow> gw(timeGrid({{"", "08:00", "A"}, {"", "08:10", "A"}, {"", "08:30", "B"}, {"", "09:00", "B"},
                                             {"", "09:30", "B"}},
                                            {0, 5, 0, 6}));
    gw->flx->setEDET(2);
    gw->flx->AKTUALISIEREN();
    EXPECT_EQ(elapsed(*gw), "0|10|20|50|80");
}

TEST(GridDisplay, AktualisierenReformatsFormattedColumns)
{
    GridWindow gw(2);
    gw.grid->setRows(3);
    gw.grid->setTextMatrix(1, 0, "3,14159");
    gw.grid->setTextMatrix(2, 0, "Wort");
    gw.grid->setTextMatrix(1, 1, "2,5");
    gw.flx->setELFORMAT(FlexValue::list({FlexValue("#0.0"), FlexValue::missing()}));
    gw.flx->AKTUALISIEREN();
    EXPECT_EQ(gw.cell(1, 0), "3,1");
    EXPECT_EQ(gw.cell(2, 0), "Wort");
    EXPECT_EQ(gw.cell(1, 1), "2,5");
}

// A grid as a user sees it: headers, numbering and the elapsed time drawn in their cells, the
// editor over the cell it edits.
TEST(GridDisplay, ScreenshotOfHeadersNumberingAndElapsedTime)
{
    GridWindow gw(7, QSize(640, 220));
    gw.flx->setELSB(ints({12, 24, 20, 18, 18, 26, 18}));
    gw.flx->setELST1(FlexValue::texts({"Nr.", "Datum", "Uhrzeit", "{g,1}D t", "Tiefe", "{g,1}s{t,1}v", "T{t,3}max"}));
    gw.flx->setELST2(FlexValue::texts({"", "[TT.MM.JJ]", "[hh:mm]", "[min]", "[m]", "[kN/m{h,1}2]", "[{c,176}C]"}));
    gw.flx->setELSTYP(ints({1, 4, 5, 6, 0, 0, 0}));
    gw.flx->setELFORMAT(FlexValue::list({FlexValue::missing(), FlexValue::missing(), FlexValue::missing(), FlexValue("#0"),
                                         FlexValue("#0.00"), FlexValue("#0.0"), FlexValue::missing()}));
    gw.flx->SCHRIFTEINSTELLUNGEN("", 11, 0, 0, 0, 0);
    gw.grid->setRows(6);
    const char *rows[][6] = {{"10.12.26", "22:40", "", "0,5", "120,5", "12"},
                             {"10.12.26", "23:30", "", "1,25", "131", "14"},
                             {"11.12.26", "00:15", "", "2", "140,25", "15"},
                             {"11.12.26", "01:05", "", "2,8", "128", "15"},
                             {"11.12.26", "02:00", "", "3,75", "150", "16"}};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 6; ++c)
            gw.grid->setTextMatrix(r + 1, c + 1, rows[r][c]);
    gw.flx->AKTUALISIEREN();
    gw.flx->BESCHRIFTEN();
    EXPECT_EQ(gw.cell(3, 3), "45");
    EXPECT_EQ(gw.cell(5, 0), "4");
    const QImage shot = shotOf(gw.window);
    EXPECT_TRUE(keepShot(shot, "grid-shot"));
    auto cell = [&](int row, int col) { return inWindow(gw.window, *gw.grid, gw.grid->cellRect(row, col).adjusted(2, 2, -2, -2)); };
    EXPECT_GT(inkIn(shot, cell(3, 3)), 10);   // 45, the elapsed minutes
    EXPECT_GT(inkIn(shot, cell(5, 0)), 5);    // 4, the numbering
    EXPECT_EQ(inkIn(shot, cell(5, 3).translated(0, gw.grid->cellRect(5, 3).height())), 0);   // below the last row
    // The header of the elapsed time is painted in both its lines.
    const QRect header = cell(0, 3);
    EXPECT_GT(inkIn(shot, header.adjusted(0, 0, 0, -header.height() / 2)), 10);
    EXPECT_GT(inkIn(shot, header.adjusted(0, header.height() / 2, 0, 0)), 10);

    gw.select(2, 4);
    gw.flx->BEARBEITEN('7', 0);   // the editor over its cell
    const QImage editing = shotOf(gw.window);
    EXPECT_TRUE(keepShot(editing, "grid-shot-edit"));
    EXPECT_TRUE(gw.txt->isVisible());
    EXPECT_TRUE(gw.txt->geometry().intersects(cell(2, 4)));
    EXPECT_NE(editing.copy(cell(2, 4)), shot.copy(cell(2, 4)));
}

TEST(GridDisplay, FixedColumnsStayWhileTheOthersScroll)
{
    GridWindow gw(8, QSize(300, 150));
    gw.flx->setELSTYP(ints({1, 0, 0, 0, 0, 0, 0, 0}));
    gw.flx->setELST2(FlexValue::texts({"", "[m]", "[m]", "[m]", "[m]", "[m]", "[m]", "[m]"}));
    gw.flx->SCHRIFTEINSTELLUNGEN("", 9, 0, 0, 0, 0);
    gw.grid->setRows(4);
    gw.flx->NUMMERIEREN();
    gw.grid->setLeftCol(5);
    gw.flx->BESCHRIFTEN();
    EXPECT_TRUE(gw.grid->ColIsVisible(0));
    EXPECT_FALSE(gw.grid->ColIsVisible(1));
    EXPECT_TRUE(gw.grid->ColIsVisible(5));
    EXPECT_EQ(gw.grid->cellRect(1, 5).left(), gw.grid->cellRect(1, 0).left() + gw.grid->columnWidth(0));
    EXPECT_TRUE(keepShot(shotOf(gw.window), "grid-shot-scrolled"));
}

// A value shows in its column's pattern however it reached the cell (typed, loaded, pasted),
// while the cell keeps its own text, so that a loaded value is saved again with every digit.
TEST(GridDisplay, NumbersShowInTheColumnPatternWhateverPutThemThere)
{
    for (auto lang : {QLocale::German, QLocale::English}) {
        SCOPED_TRACE(lang == QLocale::German ? "de" : "en");
        LocaleScope locale(lang);
        auto dec = [&](const char *t) { return QString::fromLatin1(t).replace('.', lang == QLocale::German ? ',' : '.'); };
        GridWindow gw(4);
        gw.flx->SCHRIFTEINSTELLUNGEN("", 11, 0, 0, 0, 0);
        gw.flx->setELFORMAT(FlexValue::list({FlexValue("#0.000"), FlexValue("#0.00"), FlexValue("#0"), FlexValue::missing()}));
        gw.grid->setRows(3);
        struct Case { int col; const char *cell, *shown; };
        const Case cases[] = {
            {0, "1", "1.000"}, {0, "4.5", "4.500"}, {1, "0.88", "0.88"}, {1, "0.8765", "0.88"}, {2, "3", "3"},
            {0, "abc", "abc"},        // no number: as it stands
            {3, "0.8765", "0.8765"},  // no pattern: as it stands
            {0, "", ""},
        };
        for (const Case &c : cases) {
            SCOPED_TRACE(c.cell);
            gw.grid->setTextMatrix(1, c.col, dec(c.cell));
            EXPECT_EQ(gw.grid->shownText(1, c.col), dec(c.shown));
            EXPECT_EQ(gw.cell(1, c.col), dec(c.cell));
        }
        // typed: the commit writes the formatted text, which shows the same
        gw.select(2, 0);
        gw.flx->BEARBEITEN(0, 0);
        gw.txt->setText(dec("19.5"));
        gw.flx->EINFUEGEN(13);
        EXPECT_EQ(gw.cell(2, 0), dec("19.500"));
        EXPECT_EQ(gw.grid->shownText(2, 0), dec("19.500"));
    }
}

// A number wider than its column loses decimals rather than showing cut-off digits; one whose
// whole part does not fit shows as "#" marks, never as a shorter, wrong number.
TEST(GridDisplay, NumbersTooWideForTheirColumnStillReadRight)
{
    GridWindow gw(2);
    gw.flx->SCHRIFTEINSTELLUNGEN("", 11, 0, 0, 0, 0);
    gw.flx->setELSB(FlexValue::list({FlexValue(15), FlexValue(6)}));   // millimetres
    gw.flx->setELFORMAT(FlexValue::list({FlexValue("#0.000"), FlexValue("#0.000")}));
    gw.grid->setTextMatrix(1, 0, QStringLiteral("1000,000"));   // "1e3" as the commit formats it
    gw.grid->setTextMatrix(1, 1, QStringLiteral("123456789"));
    const QFontMetrics fm(gw.grid->font());
    for (int col : {0, 1}) {
        SCOPED_TRACE(col);
        const QString shown = gw.grid->shownText(1, col);
        EXPECT_LT(fm.horizontalAdvance(shown), gw.grid->columnWidth(col)) << shown.toStdString();
        if (col == 0) {
            EXPECT_TRUE(shown.startsWith(QStringLiteral("1000"))) << shown.toStdString();
            EXPECT_EQ(gridtext::readNumber(shown), 1000.0);
        } else {
            EXPECT_FALSE(shown.isEmpty());
            EXPECT_EQ(shown, QString(shown.size(), QLatin1Char('#')));
        }
    }
}

// Frozen columns stay beside the fixed ones while the rest scroll, yet stay editable; the
// Left key from the first scrolling column brings back the columns scrolled out of view.
TEST(GridDisplay, FrozenColumnsStayInViewAndEditable)
{
    GridWindow gw(8, QSize(300, 150));
    gw.flx->setELSTYP(ints({1, 0, 0, 0, 0, 0, 0, 0}));
    gw.grid->setRows(4);
    gw.grid->setFrozenCols(2);
    gw.grid->setLeftCol(0);
    EXPECT_EQ(gw.grid->LeftCol(), 2);
    gw.grid->setLeftCol(5);
    for (int c : {0, 1, 5})
        EXPECT_TRUE(gw.grid->ColIsVisible(c)) << c;
    for (int c : {2, 3, 4})
        EXPECT_FALSE(gw.grid->ColIsVisible(c)) << c;
    EXPECT_EQ(gw.grid->cellRect(1, 5).left(), gw.grid->cellRect(1, 1).left() + gw.grid->columnWidth(1));

    gw.select(2, 5);
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QApplication::sendEvent(gw.grid, &left);
    EXPECT_EQ(gw.grid->Col(), 4);
    EXPECT_TRUE(gw.grid->ColIsVisible(4));
    EXPECT_TRUE(gw.grid->ColIsVisible(1));

    // a click on the fixed numbering cell picks the row at the frozen key column
    const QRect fixedCell = gw.grid->cellRect(3, 0);
    const QPoint at = gw.grid->viewport()->mapFrom(gw.grid, fixedCell.center());
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), QPointF(gw.grid->viewport()->mapToGlobal(at)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(gw.grid->viewport(), &press);
    EXPECT_EQ(gw.grid->Row(), 3);
    EXPECT_EQ(gw.grid->Col(), 1);
    gw.flx->BEARBEITEN('x', 0);
    EXPECT_FALSE(gw.txt->isHidden());
}
