// In-cell editing: the value check, commits, Enter on the last cell, copy, paste and fill.
#include "GridFixture.h"
#include "common/TestSupport.h"
#include "grid/GridText.h"
#include "platform/Variant.h"
#include <QApplication>
#include <QDateTime>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>

using namespace vnt;
using namespace vnt::test;

namespace {

// Columns: index 1..99, value 0..10, date with limits, equal limits, -10..empty,
// 0..1E+100, 0..2.5, time, value without limits.
void declareCheckedColumns(GridWindow &gw)
{
    gw.flx->setELST1(FlexValue::texts({"Nr", "Wert", "Datum", "Gleich", "Neg", "Kosten", "Klein", "Zeit", "Frei"}));
    gw.flx->setELSTYP(ints({1, 0, 4, 0, 0, 0, 0, 5, 0}));
    gw.flx->setELMIN(FlexValue::list({1, 0, 1, 5, -10, 0, 0, FlexValue(), FlexValue()}));
    gw.flx->setELMAX(FlexValue::list({99, 10, 5, 5, FlexValue(), FlexValue(1e100), FlexValue(2.5), FlexValue(), FlexValue()}));
    gw.grid->setRows(3);
}

// Opens the editor on the cell, types the text and presses Enter in it.
void commit(GridWindow &gw, int row, int col, const QString &text)
{
    gw.select(row, col);
    gw.flx->BEARBEITEN(0, 0);
    gw.txt->setText(text);
    gw.flx->EINFUEGEN(13);
}

const QString kRange = QStringLiteral("Zahlenwert außerhalb der vorgegeben Schranken:\r\nMinimum: ");
const QString kNoNumber = QStringLiteral("Eingegeber Wert ist kein gültiges Zahlenformat!");
const QString kNoDate = QStringLiteral("Eingegeber Wert ist kein gültiges Datums- oder Zeitformat!");
const QString kNotWhole = QStringLiteral("Eingegeber Wert ist keine ganze Zahl!");

struct CheckCase {
    int col;
    QString text;
    QString message;   // empty: accepted
    QString title;
};

void runCheckTable(QLocale::Language lang, const std::vector<CheckCase> &cases)
{
    LocaleScope locale(lang);
    for (const CheckCase &c : cases) {
        SCOPED_TRACE((c.text + " in column " + QString::number(c.col)).toStdString());
        GridWindow gw(9);
        declareCheckedColumns(gw);
        gw.grid->setTextMatrix(1, c.col, "alt");
        Boxes boxes;
        if (!c.message.isEmpty())
            boxes.answer(ui::vbOK);
        commit(gw, 1, c.col, c.text);
        if (c.message.isEmpty()) {
            EXPECT_EQ(gw.cell(1, c.col), c.text);
            EXPECT_TRUE(gw.txt->isHidden());
        } else {
            ASSERT_EQ(boxes.records().size(), 1u);
            EXPECT_EQ(boxes.records()[0].text, c.message);
            EXPECT_EQ(boxes.records()[0].title, c.title);
            EXPECT_EQ(boxes.records()[0].style, ui::vbOKOnly | ui::vbExclamation);
            EXPECT_EQ(gw.cell(1, c.col), "alt");
            EXPECT_FALSE(gw.txt->isHidden());   // the editor stays open with the user's text
            EXPECT_EQ(gw.txt->text(), c.text);
        }
    }
}

} // namespace

TEST(GridCheck, ValueCheckUnderGermanLocale)
{
    runCheckTable(QLocale::German, {
        {0, "3,5", kNotWhole, "MSFlexGrid / Indexspalte Nr"},
        {0, "0", kRange + "1, Maximum: 99", "MSFlexGrid / Indexspalte Nr"},
        {0, "12", "", ""},
        {2, "31.02.2026", kNoDate, "MSFlexGrid / Datumsspalte Datum"},
        {2, "28.02.2026", "", ""},
        {2, "12.03.2031", "", ""},            // limits never apply to dates
        {7, "25:00", kNoDate, "MSFlexGrid / Uhrzeitspalte Zeit"},
        {7, "23:30", "", ""},
        {1, " 7 ", "", ""},                   // checked trimmed, stored as typed
        {1, "abc", kNoNumber, "MSFlexGrid / Spalte Wert"},
        {3, "abc", "", ""},                   // equal limits: no check
        {4, "5", kRange + "-10, Maximum: 0", "MSFlexGrid / Spalte Neg"},
        {4, "-3", "", ""},
        {5, "-1", kRange + "0, Maximum: 1E+100", "MSFlexGrid / Spalte Kosten"},
        {5, "1000000", "", ""},
        {6, "3", kRange + "0, Maximum: 2,5", "MSFlexGrid / Spalte Klein"},
        {6, "2,5", "", ""},
        {8, "Wort", "", ""},
        {2, "", "", ""},
    });
}

TEST(GridCheck, ValueCheckUnderEnglishLocale)
{
    runCheckTable(QLocale::English, {
        {0, "3.5", kNotWhole, "MSFlexGrid / Indexspalte Nr"},
        {0, "3,5", kNoNumber, "MSFlexGrid / Indexspalte Nr"},
        {0, "0", kRange + "1, Maximum: 99", "MSFlexGrid / Indexspalte Nr"},
        {2, "2/31/2026", kNoDate, "MSFlexGrid / Datumsspalte Datum"},
        {2, "2/28/2026", "", ""},
        {1, " 7 ", "", ""},
        {3, "abc", "", ""},
        {4, "5", kRange + "-10, Maximum: 0", "MSFlexGrid / Spalte Neg"},
        {6, "3", kRange + "0, Maximum: 2.5", "MSFlexGrid / Spalte Klein"},
        {6, "2.5", "", ""},
    });
}

// A date cell holds what the column accessor showed; the grid must read it as the same date,
// and take the label's form TT.MM.JJ, whatever the locale (en_GB writes the day first).
TEST(GridCheck, DatesShownByTheAccessorReadBackUnderEveryLocale)
{
    const double march2 = toDayCount(QDateTime(QDate(2026, 3, 2), QTime(0, 0)));
    std::vector<QLocale> locales;
    for (const auto lang : kEveryLocale)
        locales.push_back(LocaleScope::localeOf(lang));
    locales.push_back(QLocale(QLocale::English, QLocale::UnitedKingdom));
    const QLocale before = sys::locale();
    for (const QLocale &l : locales) {
        sys::setLocale(l);
        SCOPED_TRACE(l.name().toStdString());
        for (const double days : {march2, march2 + 0.25}) {
            const QString shown = Variant::date(days).toString();
            EXPECT_EQ(gridtext::readDateTime(shown), std::optional<double>(days)) << shown.toStdString();
        }
        EXPECT_EQ(gridtext::readDateTime("02.03.26"), std::optional<double>(march2));
        EXPECT_EQ(gridtext::readDateTime("2:30 PM"), std::optional<double>(14.5 / 24));
        EXPECT_FALSE(gridtext::isDate("31.02.26"));
    }
    sys::setLocale(before);
}

TEST(GridEdit, EditorOpensByCodeWithTextAndAlignment)
{
    GridWindow gw(3);
    gw.flx->setELSTYP(ints({0, 0, 7}));
    gw.flx->setELCBO(2, FlexValue::texts({"Fels", "Kies"}));
    gw.grid->setTextMatrix(1, 0, "12,5");
    gw.grid->setTextMatrix(1, 1, "Wort");
    gw.grid->setTextMatrix(1, 2, "Ki");

    gw.select(1, 0);
    gw.flx->BEARBEITEN(0, 0);
    EXPECT_FALSE(gw.txt->isHidden());
    EXPECT_EQ(gw.txt->text(), "12,5");
    EXPECT_EQ(gw.txt->selectedText(), "12,5");
    EXPECT_TRUE(gw.txt->alignment() & Qt::AlignRight);
    EXPECT_EQ(gw.txt->geometry(), QRect(gw.grid->pos() + gw.grid->cellRect(1, 0).topLeft(), gw.grid->cellRect(1, 0).size()));
    gw.flx->BEARBEITEN('9', 0);   // an open editor is left alone
    EXPECT_EQ(gw.txt->text(), "12,5");
    gw.flx->EINFUEGEN(13);

    gw.select(1, 1);
    gw.flx->BEARBEITEN('x', 0);
    EXPECT_EQ(gw.txt->text(), "x");   // the typed character replaces the cell's text
    EXPECT_EQ(gw.txt->cursorPosition(), 1);
    EXPECT_TRUE(gw.txt->alignment() & Qt::AlignLeft);
    gw.flx->EINFUEGEN(13);
    EXPECT_EQ(gw.cell(1, 1), "x");

    gw.select(1, 2);
    gw.flx->BEARBEITEN('e', 0);
    EXPECT_TRUE(gw.txt->isHidden());
    EXPECT_FALSE(gw.cbo->isHidden());
    EXPECT_EQ(gw.cbo->count(), 2);
    EXPECT_EQ(gw.cbo->currentText(), "Kie");   // appended on a choice cell
    gw.flx->EINFUEGEN(13);
    EXPECT_EQ(gw.cell(1, 2), "Kie");
    EXPECT_TRUE(gw.cbo->isHidden());
}

TEST(GridEdit, CommitLandsInTheCellThatOpenedTheEditor)
{
    GridWindow gw(3);
    gw.grid->setRows(4);
    gw.select(1, 1);
    gw.flx->BEARBEITEN('4', 0);
    gw.select(3, 2);                 // the user clicks another cell
    gw.flx->EINFUEGEN(0);
    EXPECT_EQ(gw.cell(1, 1), "4");
    EXPECT_EQ(gw.cell(3, 2), "");
    EXPECT_EQ(gw.flx->EZNR(), 1);
    EXPECT_EQ(gw.flx->ESNR(), 1);
    EXPECT_EQ(gw.grid->Row(), 3);    // a commit does not move the current cell
}

TEST(GridEdit, CommitAppliesTheColumnPattern)
{
    GridWindow gw(2);
    gw.flx->setELFORMAT(FlexValue::list({FlexValue("#0.00"), FlexValue::missing()}));
    commit(gw, 1, 0, "3,14159");
    EXPECT_EQ(gw.cell(1, 0), "3,14");
    commit(gw, 1, 1, "3,14159");
    EXPECT_EQ(gw.cell(1, 1), "3,14159");
    commit(gw, 1, 0, "");
    EXPECT_EQ(gw.cell(1, 0), "");
}

TEST(GridEdit, EnterOnTheLastCellAppendsHereAndOnTheChainedGridOnly)
{
    GridWindow a(3), b(2), c(2);
    a.flx->setELSTYP(ints({1, 0, 0}));
    b.flx->setELSTYP(ints({1, 0}));
    a.flx->setEFLXK(b.flx);
    b.flx->setEFLXK(c.flx);

    a.select(1, 1);
    a.flx->BEARBEITEN(13, 0);   // not the last cell
    EXPECT_EQ(a.grid->Rows(), 2);

    a.select(1, 2);
    a.flx->BEARBEITEN(13, 0);
    EXPECT_EQ(a.grid->Rows(), 3);
    EXPECT_EQ(a.grid->Row(), 2);
    EXPECT_EQ(a.grid->Col(), 1);    // the first editable column
    EXPECT_EQ(a.cell(2, 0), "1");
    EXPECT_EQ(b.grid->Rows(), 3);
    EXPECT_EQ(b.cell(2, 0), "1");
    EXPECT_EQ(c.grid->Rows(), 2);

    a.flx->setEBOH(0);
    a.select(2, 2);
    a.flx->BEARBEITEN(13, 0);
    EXPECT_EQ(a.grid->Rows(), 3);
}

TEST(GridEdit, CopyAndPasteBlocks)
{
    GridWindow gw(4);
    gw.grid->setRows(5);
    gw.select(1, 0);
    gw.grid->setTextMatrix(1, 0, "a");
    gw.grid->setTextMatrix(1, 1, "b");
    gw.grid->setTextMatrix(2, 0, "c");
    gw.grid->setTextMatrix(2, 1, "d");
    gw.grid->setSelection(2, 1);
    gw.flx->BEARBEITEN(-1, 0);
    EXPECT_EQ(QApplication::clipboard()->text(), "a\tb\rc\td");

    // into a 2 x 2 block: the block takes what fits
    QApplication::clipboard()->setText("1\t2\t3\r\n4\t5\t6\r\n7\t8\t9\r\n");
    gw.select(2, 2);
    gw.grid->setSelection(3, 3);
    gw.flx->EINFUEGEN(-1);
    EXPECT_EQ(gw.cell(2, 2), "1");
    EXPECT_EQ(gw.cell(2, 3), "2");
    EXPECT_EQ(gw.cell(3, 2), "4");
    EXPECT_EQ(gw.cell(3, 3), "5");
    EXPECT_EQ(gw.cell(4, 2), "");

    // a single selected cell takes only the first value
    QApplication::clipboard()->setText("x\ty\rz\tw");
    gw.select(1, 3);
    gw.flx->EINFUEGEN(-1);
    EXPECT_EQ(gw.cell(1, 3), "x");
    EXPECT_EQ(gw.cell(2, 3), "2");

    // an empty, disabled grid takes nothing
    GridWindow empty(2);
    empty.flx->ZEILEENTFERNEN();
    empty.select(1, 0);
    empty.flx->EINFUEGEN(-1);
    EXPECT_EQ(empty.cell(1, 0), "");
}

TEST(GridEdit, PasteWritesOnlyValuesThatPassAndNamesTheRefusedCellOnce)
{
    GridWindow gw(9);
    declareCheckedColumns(gw);
    gw.grid->setRows(4);
    gw.grid->setTextMatrix(1, 1, "1");
    gw.grid->setTextMatrix(2, 1, "2");
    gw.grid->setTextMatrix(1, 2, "01.01.2026");
    QApplication::clipboard()->setText("5\t31.02.2026\r11\t02.01.2026\r");
    gw.select(1, 1);
    gw.grid->setSelection(2, 2);
    Boxes boxes;
    boxes.answer(ui::vbOK);
    gw.flx->EINFUEGEN(-1);
    EXPECT_EQ(gw.cell(1, 1), "5");
    EXPECT_EQ(gw.cell(1, 2), "01.01.2026");   // refused: old text kept
    EXPECT_EQ(gw.cell(2, 1), "2");            // refused: 11 is above 10
    EXPECT_EQ(gw.cell(2, 2), "02.01.2026");
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].title, "MSFlexGrid / Einfügen");
    // the row as its numbering cell shows it (numbered from 0 here), not the grid's row index
    EXPECT_TRUE(boxes.records()[0].text.contains("Zeile 0, Spalte Datum")) << boxes.records()[0].text.toStdString();
    EXPECT_TRUE(boxes.records()[0].text.contains(kNoDate));
}

// The refused cell's row is named as the user sees it: by the numbering columns where the grid
// has them (all levels), otherwise counted from 1 among the data rows.
TEST(GridEdit, PasteNamesTheRefusedRowAsTheGridNumbersIt)
{
    struct Case { const char *name; QList<FlexValue> types; int row; const char *expected; };
    const Case cases[] = {
        {"numbered from 0, fifteenth data row", {1, 0}, 15, "Zeile 14, Spalte Wert"},
        {"two numbering levels", {1, 2, 0}, 5, "Zeile 1.1, Spalte Wert"},
        {"no numbering column", {0, 0}, 15, "Zeile 15, Spalte Wert"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const int cols = int(c.types.size());
        GridWindow gw(cols);
        QStringList heads(cols, QStringLiteral("Nr"));
        heads.last() = QStringLiteral("Wert");
        gw.flx->setELST1(FlexValue::texts(heads));
        QList<FlexValue> mins(cols, FlexValue()), maxs(cols, FlexValue());
        mins.last() = FlexValue(0);
        maxs.last() = FlexValue(10);
        gw.flx->setELMIN(FlexValue::list(mins));
        gw.flx->setELMAX(FlexValue::list(maxs));
        gw.flx->setELSTYP(FlexValue::list(c.types));
        if (cols == 3)
            gw.flx->setELINDEXMAX(FlexValue(2));   // level 2 runs 0, 1, 2
        gw.grid->setRows(17);
        gw.flx->NUMMERIEREN();
        QApplication::clipboard()->setText("11");
        gw.select(c.row, cols - 1);
        Boxes boxes;
        boxes.answer(ui::vbOK);
        gw.flx->EINFUEGEN(-1);
        ASSERT_EQ(boxes.records().size(), 1u);
        EXPECT_TRUE(boxes.records()[0].text.startsWith(QStringLiteral("Der Wert für ") + c.expected))
            << boxes.records()[0].text.toStdString();
    }
}

TEST(GridEdit, FillHandleArmsOnTheRightFifteenPercentAndFillsDownAndRightOnly)
{
    GridWindow gw(4);
    gw.grid->setRows(5);
    gw.select(2, 1);
    const int L = gw.grid->CellLeft(), W = gw.grid->CellWidth();
    const float edge = float(double(L) + 0.85 * W);
    struct Press { float x; bool armed; };
    for (Press p : {Press{edge, false}, Press{float(L + W), false}, Press{edge + 1, true}, Press{float(L + W - 1), true},
                    Press{float(L + 1), false}}) {
        gw.flx->BEARBEITEN(-2, p.x);
        EXPECT_EQ(gw.grid->MousePointer() == GridControl::PointerCross, p.armed) << p.x;
    }

    gw.grid->setTextMatrix(2, 1, "7");
    gw.flx->BEARBEITEN(-2, edge + 1);
    gw.grid->setSelection(3, 2);
    gw.flx->EINFUEGEN(-2);
    for (auto [r, c] : {std::pair{2, 2}, {3, 1}, {3, 2}})
        EXPECT_EQ(gw.cell(r, c), "7") << r << "," << c;
    EXPECT_EQ(gw.grid->MousePointer(), GridControl::PointerDefault);

    // upward and leftward: nothing
    gw.select(3, 3);
    gw.grid->setTextMatrix(3, 3, "9");
    gw.flx->BEARBEITEN(-2, float(gw.grid->CellLeft() + gw.grid->CellWidth() - 1));
    gw.grid->setSelection(1, 0);
    gw.flx->EINFUEGEN(-2);
    EXPECT_EQ(gw.cell(1, 0), "");
    EXPECT_EQ(gw.cell(2, 3), "");
    EXPECT_EQ(gw.grid->MousePointer(), GridControl::PointerDefault);

    // a release without an armed handle fills nothing
    gw.select(1, 0);
    gw.grid->setTextMatrix(1, 0, "5");
    gw.grid->setSelection(2, 0);
    gw.flx->EINFUEGEN(-2);
    EXPECT_EQ(gw.cell(2, 0), "");
}

TEST(GridEdit, FillKeepsCellsWhoseColumnRefusesTheValue)
{
    GridWindow gw(9);
    declareCheckedColumns(gw);
    gw.grid->setRows(4);
    gw.flx->NUMMERIEREN();                 // rows 0, 1, 2, as the messages name them
    gw.select(1, 3);                       // column without a check
    gw.grid->setTextMatrix(1, 3, "8");
    gw.flx->BEARBEITEN(-2, float(gw.grid->CellLeft() + gw.grid->CellWidth() - 1));
    gw.grid->setSelection(2, 4);           // column 4 takes -10..0
    Boxes boxes;
    boxes.answer(ui::vbOK);
    gw.flx->EINFUEGEN(-2);
    EXPECT_EQ(gw.cell(2, 3), "8");
    EXPECT_EQ(gw.cell(1, 4), "");
    EXPECT_EQ(gw.cell(2, 4), "");
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_TRUE(boxes.records()[0].text.contains("Zeile 0, Spalte Neg"));
    EXPECT_TRUE(boxes.records()[0].text.contains("1 weitere"));

    // a text loaded beyond its own column's limits is not spread down that column
    gw.select(1, 1);                       // column 1 takes 0..10
    gw.grid->setTextMatrix(1, 1, "50");
    gw.grid->setTextMatrix(2, 1, "3");
    gw.flx->BEARBEITEN(-2, float(gw.grid->CellLeft() + gw.grid->CellWidth() - 1));
    gw.grid->setSelection(2, 1);
    boxes.answer(ui::vbOK);
    gw.flx->EINFUEGEN(-2);
    EXPECT_EQ(gw.cell(1, 1), "50");
    EXPECT_EQ(gw.cell(2, 1), "3");
    ASSERT_EQ(boxes.records().size(), 2u);
    EXPECT_TRUE(boxes.records()[1].text.contains("Zeile 1, Spalte Wert"));
}

TEST(GridEdit, MouseDragFromTheHandleFillsTheDraggedBlock)
{
    GridWindow gw(4);
    gw.grid->setRows(5);
    gw.grid->setTextMatrix(1, 1, "3");
    QObject::connect(gw.grid, &GridControl::MouseDown, [&](int, int, float x, float) { gw.flx->BEARBEITEN(-2, x); });
    QObject::connect(gw.grid, &GridControl::MouseUp, [&](int, int, float, float) { gw.flx->EINFUEGEN(-2); });
    QWidget *vp = gw.grid->viewport();
    auto at = [&](int row, int col, bool handle) {
        const QRect r = gw.grid->visualRect(gw.grid->model()->index(row - 1, col));
        return QPointF(handle ? r.right() - 2 : r.center().x(), r.center().y());
    };
    auto send = [&](QEvent::Type t, QPointF p, Qt::MouseButtons held) {
        QMouseEvent e(t, p, vp->mapToGlobal(p), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(vp, &e);
    };
    send(QEvent::MouseButtonPress, at(1, 1, true), Qt::LeftButton);
    EXPECT_EQ(gw.grid->MousePointer(), GridControl::PointerCross);
    send(QEvent::MouseMove, at(3, 1, false), Qt::LeftButton);
    EXPECT_EQ(gw.grid->Row(), 1);      // the cell the drag began on stays the current cell
    EXPECT_EQ(gw.grid->RowSel(), 3);
    send(QEvent::MouseButtonRelease, at(3, 1, false), Qt::NoButton);
    EXPECT_EQ(gw.cell(2, 1), "3");
    EXPECT_EQ(gw.cell(3, 1), "3");
    EXPECT_EQ(gw.cell(4, 1), "");
    EXPECT_EQ(gw.grid->MousePointer(), GridControl::PointerDefault);

    // a press in the middle of a cell only selects
    send(QEvent::MouseButtonPress, at(1, 2, false), Qt::LeftButton);
    send(QEvent::MouseMove, at(2, 2, false), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, at(2, 2, false), Qt::NoButton);
    EXPECT_EQ(gw.cell(2, 2), "");
}

TEST(GridEdit, KeysTypedOnTheGridReachTheWindow)
{
    GridWindow gw(3);
    QList<int> codes;
    QObject::connect(gw.grid, &GridControl::KeyPress, [&](int c) { codes << c; });
    for (auto [key, text] : {std::pair{Qt::Key_A, QString("a")}, {Qt::Key_Return, QString("\r")}, {Qt::Key_5, QString("5")}}) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(gw.grid, &e);
    }
    EXPECT_EQ(codes, (QList<int>{'a', 13, '5'}));
}

TEST(GridEdit, FixedNumberingCellsAreNeverCurrent)
{
    GridWindow gw(4);
    gw.flx->setELSTYP(ints({1, 0, 0, 0}));
    gw.grid->setRows(5);
    QWidget *vp = gw.grid->viewport();
    auto centre = [&](int row, int col) { return QPointF(gw.grid->visualRect(gw.grid->model()->index(row - 1, col)).center()); };
    auto mouse = [&](QEvent::Type t, QPointF p, Qt::MouseButtons held) {
        QMouseEvent e(t, p, vp->mapToGlobal(p), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(vp, &e);
    };
    auto key = [&](Qt::Key k) {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(gw.grid, &e);
    };

    // a click on a section number picks its row at the first editable column
    mouse(QEvent::MouseButtonPress, centre(3, 0), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, centre(3, 0), Qt::NoButton);
    EXPECT_EQ(gw.grid->Row(), 3);
    EXPECT_EQ(gw.grid->Col(), 1);

    // keys stop at the first editable column
    gw.select(2, 2);
    for (Qt::Key k : {Qt::Key_Left, Qt::Key_Left, Qt::Key_Home}) {
        key(k);
        EXPECT_EQ(gw.grid->Col(), 1) << k;
    }

    gw.grid->setLeftCol(3);                // scrolled: a step left brings back one column
    gw.select(2, 3);
    key(Qt::Key_Left);
    EXPECT_EQ(gw.grid->Col(), 2);
    EXPECT_EQ(gw.grid->LeftCol(), 2);
    gw.grid->setLeftCol(1);

    // a drag into the numbering selects up to the first editable column only
    mouse(QEvent::MouseButtonPress, centre(1, 2), Qt::LeftButton);
    mouse(QEvent::MouseMove, centre(2, 0), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, centre(2, 0), Qt::NoButton);
    EXPECT_EQ(gw.grid->RowSel(), 2);
    EXPECT_EQ(gw.grid->ColSel(), 1);
    gw.flx->BEARBEITEN(-1, 0);
    EXPECT_EQ(QApplication::clipboard()->text(), "\t\r\t");   // no section numbers in the copy
}
